#include "core/mutex_lock.h"
#include "vst2/plugin_factory.h"
#include "vst2/plugin_vst.h"

#if defined(_WIN32)
#define GRITTBOX_EXPORT extern "C" __declspec(dllexport)
#else
#define GRITTBOX_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace {
// Serializes instance creation; made on first use, destroyed at process exit.
MutexLock& CreationLock() {
  static MutexLock lock;
  return lock;
}
}  // namespace

// Any thread. The host's entry: one new instance per call.
GRITTBOX_EXPORT AEffect* VSTCALLBACK VSTPluginMain(audioMasterCallback host) {
  MutexHolder hold(CreationLock());
  IPluginVST* plugin = CreatePluginInstance(host);
  if (plugin == nullptr) return nullptr;
  plugin->FillEmptyPresets("Empty", plugin->PresetCount());
  AEffect& effect = plugin->Effect();
  if (effect.numPrograms < 1) effect.numPrograms = 1;
  return &effect;
}
