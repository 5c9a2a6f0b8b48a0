#include "tools/host/grittbox_settings.h"

#include "tools/host/plugin_loader.h"

void ApplySettings(LoadedPlugin& plugin, const GrittboxSettings& settings) {
  for (int i = 0; i < kGrittboxParams; ++i) {
    plugin.SetParameter(i, static_cast<float>(settings.percent[i] / 100.0));
  }
}
