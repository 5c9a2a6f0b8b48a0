#include <new>

#include "effect/grittbox.h"
#include "vst2/plugin_factory.h"

IPluginVST* CreatePluginInstance(audioMasterCallback host) {
  return new (std::nothrow) Grittbox(host);
}
