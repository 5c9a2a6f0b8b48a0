#include <cstring>

#include "core/mutex_lock.h"
#include "core/parameter.h"
#include "vst2/plugin_vst.h"
#include "vst2/vst2_callbacks.h"

namespace {
constexpr VstIntPtr kVstVersion = 2400;

// Host text buffers hold only what the interface promises: cut and terminate.
VstIntPtr CopyForHost(void* ptr, const char* text, int limit) {
  if (ptr == nullptr) return 0;
  CopyText(static_cast<char*>(ptr), limit, text);
  return 1;
}

VstIntPtr Dispatch(IPluginVST& plugin, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                   float opt) {
  IParameter* param = plugin.ParamAt(index);
  switch (opcode) {
    case effOpen:
      plugin.PrepareForHost();
      plugin.NotifyAllParamsChanged();
      return 0;
    case effGetParamLabel:
      if (param != nullptr) CopyForHost(ptr, param->UnitLabel(), kVstMaxParamStrLen);
      return 0;
    case effGetParamDisplay:
      if (param != nullptr && ptr != nullptr) {
        param->DisplayText(static_cast<char*>(ptr), kVstMaxParamStrLen, param->value, false, true);
      }
      return 0;
    case effGetParamName:
      if (param != nullptr) CopyForHost(ptr, param->name, kVstMaxParamStrLen);
      return 0;
    case effSetSampleRate:
      plugin.SetSampleRate(opt);
      plugin.RestartProcessing();
      return 0;
    case effSetBlockSize:
      plugin.SetMaxBlockSize(static_cast<int>(value));
      plugin.RestartProcessing();
      return 0;
    case effMainsChanged:
      if (value == 0) {
        plugin.ActivationChanged(false);
        plugin.RestartProcessing();
      } else {
        plugin.ActivationChanged(true);
      }
      return 0;
    case effCanBeAutomated:
      return 1;
    case effGetPlugCategory:
      return plugin.IsInstrument() ? kPlugCategSynth : kPlugCategEffect;
    case effGetEffectName:
      return CopyForHost(ptr, plugin.EffectName(), kVstMaxEffectNameLen);
    case effGetVendorString:
      return CopyForHost(ptr, plugin.MakerName(), kVstMaxVendorStrLen);
    case effGetProductString:
      return CopyForHost(ptr, plugin.ProductName(), kVstMaxProductStrLen);
    case effGetVendorVersion:
      return plugin.VendorVersionDecimal();
    case effGetTailSize:
      return plugin.TailSize();
    case effGetVstVersion:
      return kVstVersion;
    default:
      return 0;
  }
}
}  // namespace

VstIntPtr VSTCALLBACK VSTDispatcher(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                    VstIntPtr value, void* ptr, float opt) {
  IPluginVST* plugin = IPluginVST::FromEffect(effect);
  if (plugin == nullptr) return 0;
  if (opcode == effClose) {
    // Wait for any call in progress, then let go: the lock dies with the instance.
    { MutexHolder hold(plugin->Lock()); }
    delete plugin;
    return 0;
  }
  MutexHolder hold(plugin->Lock());
  return Dispatch(*plugin, opcode, index, value, ptr, opt);
}
