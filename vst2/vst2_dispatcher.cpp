#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "core/mutex_lock.h"
#include "core/parameter.h"
#include "core/trace.h"
#include "vst2/plugin_vst.h"
#include "vst2/vst2_callbacks.h"

namespace {
constexpr VstIntPtr kVstVersion = 2400;
constexpr VstIntPtr kIdentifyAnswer = 0x4E764566;  // 'NvEf'
constexpr VstIntPtr kVendorSpecificYes = 0xBEEF;
constexpr VstIntPtr kCanDoVendorExtensions = 0xBEEF0000;
constexpr int32_t kBankVersion = 0x00010000;
constexpr int kPinLabelSize = 64;
constexpr VstIntPtr kLargestBlock = 1 << 18;

// Host text buffers hold only what the interface promises: cut and terminate.
VstIntPtr CopyForHost(void* ptr, const char* text, int limit) {
  if (ptr == nullptr) return 0;
  CopyText(static_cast<char*>(ptr), limit, text);
  return 1;
}

VstIntPtr GetChunk(IPluginVST& plugin, bool bank, void* ptr) {
  if (ptr == nullptr) return 0;
  IStateChunk& chunk = bank ? plugin.BankChunk() : plugin.ProgramChunk();
  IPluginBase::WriteChunkHeader(chunk);
  bool ok;
  if (bank) {
    plugin.ModifyCurrentPreset(nullptr);
    ok = plugin.SerializePresets(chunk);
  } else {
    ok = plugin.SaveState(chunk);
  }
  if (!ok || chunk.Size() == 0) return 0;
  *static_cast<void**>(ptr) = chunk.MutableData();
  return chunk.Size();
}

// Makes chunk hold the count bytes at ptr. A host may hand back the very bytes
// effGetChunk lent it, which are this chunk's own storage: clearing first would
// free them, so those are moved to the front instead.
bool TakeHostBytes(IStateChunk& chunk, const void* ptr, int32_t count) {
  const auto own = reinterpret_cast<uintptr_t>(chunk.Data());
  const auto source = reinterpret_cast<uintptr_t>(ptr);
  if (own != 0 && source >= own && source - own < static_cast<uintptr_t>(chunk.Size())) {
    const auto offset = static_cast<int32_t>(source - own);
    if (count > chunk.Size() - offset) return false;  // more than was lent
    std::memmove(chunk.MutableData(), chunk.Data() + offset, static_cast<size_t>(count));
    chunk.Resize(count);
    return true;
  }
  chunk.Clear();
  return chunk.AppendBytes(ptr, count);
}

// Every byte a host hands over is untrusted: the walk refuses what does not fit.
VstIntPtr SetChunk(IPluginVST& plugin, bool bank, VstIntPtr byteCount, const void* ptr) {
  if (ptr == nullptr || byteCount < 0 || byteCount > INT32_MAX) return 0;
  IStateChunk& chunk = bank ? plugin.BankChunk() : plugin.ProgramChunk();
  if (!TakeHostBytes(chunk, ptr, static_cast<int32_t>(byteCount))) return 0;
  int32_t position = 0;
  const int32_t version = IPluginBase::ReadChunkHeader(chunk, position);
  if (bank && version >= kBankVersion) {
    position = plugin.UnserializePresets(chunk, position);
  } else {
    position = plugin.LoadState(chunk, position);
    plugin.ModifyCurrentPreset(nullptr);
  }
  if (position < 0) return 0;
  plugin.RefreshEditorControls();
  return 1;
}

VstIntPtr ProcessEvents(IPluginVST& plugin, const void* ptr) {
  if (ptr == nullptr) return 0;
  const auto* list = static_cast<const VstEvents*>(ptr);
  for (VstInt32 i = 0; i < list->numEvents; ++i) {
    const VstEvent* event = list->events[i];
    if (event == nullptr) continue;
    if (event->type == kVstMidiType) {
      const auto* midi = reinterpret_cast<const VstMidiEvent*>(event);
      IMidiShortMessage message;
      message.frameOffset = midi->deltaFrames;
      message.status = static_cast<uint8_t>(midi->midiData[0]);
      message.data1 = static_cast<uint8_t>(midi->midiData[1]);
      message.data2 = static_cast<uint8_t>(midi->midiData[2]);
      plugin.HandleMidiMessage(message);
    } else if (event->type == kVstSysExType) {
      const auto* sysex = reinterpret_cast<const VstMidiSysexEvent*>(event);
      ISysExBlock block;
      block.frameOffset = sysex->deltaFrames;
      block.size = sysex->dumpBytes;
      block.data = reinterpret_cast<const uint8_t*>(sysex->sysexDump);
      plugin.HandleSysExBlock(block);
    }
  }
  return 1;
}

VstIntPtr StringToParameter(IPluginVST& plugin, VstInt32 index, const char* text) {
  IParameter* param = plugin.ParamAt(index);
  if (param == nullptr) return 0;
  if (text == nullptr) return 1;
  double v;
  if (param->DisplayTextCount() > 0) {
    int32_t found = 0;
    if (!param->ValueForText(text, found)) return 0;
    v = found;
  } else {
    v = std::strtod(text, nullptr);  // the longest numeric prefix; 0.0 for none
    if (param->negateDisplay) v = -v;
  }
  if (plugin.Editor() != nullptr) plugin.Editor()->PushParamToControls(index, v, false);
  param->SetClamped(v);
  plugin.ParamChanged(index);
  return 1;
}

VstIntPtr PinProperties(IPluginVST& plugin, VstInt32 index, void* ptr, bool input) {
  const int channels = input ? plugin.InputCount() : plugin.OutputCount();
  if (ptr == nullptr || index < 0 || index >= channels) return 0;
  auto* pin = static_cast<VstPinProperties*>(ptr);
  pin->flags = kVstPinIsActive;
  if (index % 2 == 0 && index < channels - 1) pin->flags |= kVstPinIsStereo;
  const IChannelPort* port = input ? plugin.InputPort(index) : plugin.OutputPort(index);
  if (port->label.Length() > 0) {
    CopyText(pin->label, kPinLabelSize, port->label.Text());
  } else {
    std::snprintf(pin->label, kPinLabelSize, "%s %d", input ? "Input" : "Output", index + 1);
  }
  return 1;
}

// Connects the first numChannels ports of one side and disconnects the rest.
void ConnectFirst(IPluginVST& plugin, bool inputs, const VstSpeakerArrangement& arrangement) {
  const int ports = inputs ? plugin.InputCount() : plugin.OutputCount();
  const int n = std::clamp(arrangement.numChannels, 0, ports);  // hosts may send anything
  if (inputs) {
    plugin.ConnectInputs(0, n, true);
    plugin.ConnectInputs(n, ports - n, false);
  } else {
    plugin.ConnectOutputs(0, n, true);
    plugin.ConnectOutputs(n, ports - n, false);
  }
}

VstIntPtr SetSpeakerArrangement(IPluginVST& plugin, VstIntPtr value, void* ptr) {
  if (value != 0)
    ConnectFirst(plugin, true, *reinterpret_cast<const VstSpeakerArrangement*>(value));
  if (ptr != nullptr) ConnectFirst(plugin, false, *static_cast<const VstSpeakerArrangement*>(ptr));
  return 1;
}

VstIntPtr VendorSpecific(IPluginVST& plugin, VstInt32 index, VstIntPtr value, void* ptr,
                         float opt) {
  const bool validParam = value >= 0 && value < plugin.ParamCount();
  const IParameter* param = validParam ? plugin.ParamAt(static_cast<int>(value)) : nullptr;
  switch (index) {
    case 7:  // display text for a normalized value
      if (ptr == nullptr) return 0;
      if (param != nullptr) {
        param->DisplayText(static_cast<char*>(ptr), kVstMaxParamStrLen, opt, true, true);
      }
      return kVendorSpecificYes;
    case 8:  // is the parameter stepped
      return param != nullptr && param->kind != kParamDouble ? kVendorSpecificYes : 0;
    default:
      return 0;
  }
}

VstIntPtr CanDo(const IPluginVST& plugin, const char* text) {
  if (text == nullptr) return 0;
  Trace("IPluginVST::VSTDispatcher", __LINE__, "VSTCanDo(%s)", text);
  if (std::strcmp(text, "receiveVstTimeInfo") == 0) return 1;
  if (plugin.WantsMidi()) {
    for (const char* midi :
         {"sendVstEvents", "sendVstMidiEvent", "receiveVstEvents", "receiveVstMidiEvent"}) {
      if (std::strcmp(text, midi) == 0) return 1;
    }
  }
  if (std::strcmp(text, "hasVendorExtensions") == 0) return kCanDoVendorExtensions;
  if (std::strcmp(text, "hasVendorViewAsConfig") == 0) return kCanDoVendorExtensions;
  return 0;
}

VstIntPtr MidiKeyNameFor(IPluginVST& plugin, void* ptr) {
  if (ptr == nullptr) return 0;
  auto* key = static_cast<MidiKeyName*>(ptr);
  key->keyName[0] = 0;
  return plugin.MidiKeyLabel(key->thisKeyNumber, key->keyName, sizeof key->keyName) ? 1 : 0;
}

VstIntPtr Dispatch(IPluginVST& plugin, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                   float opt) {
  IParameter* param = plugin.ParamAt(index);
  switch (opcode) {
    case effOpen:
      plugin.PrepareForHost();
      plugin.NotifyAllParamsChanged();
      return 0;
    case effSetProgram:
      if (!plugin.StateAsChunks()) plugin.ModifyCurrentPreset(nullptr);
      if (value >= INT32_MIN && value <= INT32_MAX) plugin.LoadPreset(static_cast<int>(value));
      return 0;
    case effGetProgram:
      return plugin.CurrentPreset();
    case effSetProgramName:
      if (ptr != nullptr) {
        plugin.ModifyCurrentPreset(static_cast<const char*>(ptr));
        plugin.PresetListChanged();
      }
      return 0;
    case effGetProgramName:
      CopyForHost(ptr, plugin.PresetName(plugin.CurrentPreset()), kVstMaxProgNameLen);
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
      // Longer blocks are processed in pieces, so a huge announcement need not
      // become a huge allocation.
      plugin.SetMaxBlockSize(static_cast<int>(std::clamp<VstIntPtr>(value, 0, kLargestBlock)));
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
    case effEditGetRect:
      if (ptr == nullptr || plugin.Editor() == nullptr) return 0;
      *static_cast<ERect**>(ptr) = &plugin.EditorRect();
      return 1;
    case effEditOpen:
    case effEditClose:
      return 0;  // no editor window is bound to this binding yet
    case effIdentify:
      return kIdentifyAnswer;
    case effGetChunk:
      return GetChunk(plugin, index == 0, ptr);
    case effSetChunk:
      return SetChunk(plugin, index == 0, value, ptr);
    case effProcessEvents:
      return ProcessEvents(plugin, ptr);
    case effCanBeAutomated:
      return 1;
    case effString2Parameter:
      return StringToParameter(plugin, index, static_cast<const char*>(ptr));
    case effGetProgramNameIndexed:
      if (ptr == nullptr) return 0;
      CopyForHost(ptr, plugin.PresetName(index), kVstMaxProgNameLen);
      return static_cast<char*>(ptr)[0] != 0 ? 1 : 0;
    case effGetInputProperties:
      return PinProperties(plugin, index, ptr, true);
    case effGetOutputProperties:
      return PinProperties(plugin, index, ptr, false);
    case effGetPlugCategory:
      return plugin.IsInstrument() ? kPlugCategSynth : kPlugCategEffect;
    case effSetSpeakerArrangement:
      return SetSpeakerArrangement(plugin, value, ptr);
    case effGetEffectName:
      return CopyForHost(ptr, plugin.EffectName(), kVstMaxEffectNameLen);
    case effGetVendorString:
      return CopyForHost(ptr, plugin.MakerName(), kVstMaxVendorStrLen);
    case effGetProductString:
      return CopyForHost(ptr, plugin.ProductName(), kVstMaxProductStrLen);
    case effGetVendorVersion:
      return plugin.VendorVersionDecimal();
    case effVendorSpecific:
      return VendorSpecific(plugin, index, value, ptr, opt);
    case effCanDo:
      return CanDo(plugin, static_cast<const char*>(ptr));
    case effGetTailSize:
      return plugin.TailSize();
    case effGetVstVersion:
      return kVstVersion;
    case effGetMidiKeyName:
      return MidiKeyNameFor(plugin, ptr);
    case effGetSpeakerArrangement:
      if (value != 0) {
        *reinterpret_cast<VstSpeakerArrangement**>(value) = &plugin.InputArrangement();
      }
      if (ptr != nullptr) *static_cast<VstSpeakerArrangement**>(ptr) = &plugin.OutputArrangement();
      return 1;
    default:  // effEditIdle, effIdle, effProcessVarIo and every other code
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
