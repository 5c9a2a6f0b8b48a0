#include "vst2/plugin_vst.h"

#include <cmath>
#include <cstring>

#include "vst2/vst2_callbacks.h"

namespace {
constexpr int kInitialBlockSize = 1024;

VstInt16 To16Bits(int value) {
  return static_cast<VstInt16>(value);
}
}  // namespace

void FillSpeakerArrangement(VstSpeakerArrangement& arrangement, int channels) {
  std::memset(&arrangement, 0, sizeof arrangement);
  arrangement.numChannels = channels;
  switch (channels) {
    case 0:
      arrangement.type = kSpeakerArrEmpty;
      break;
    case 1:
      arrangement.type = kSpeakerArrMono;
      break;
    case 2:
      arrangement.type = kSpeakerArrStereo;
      break;
    default:
      arrangement.type = kSpeakerArrUserDefined;
      break;
  }
}

IPluginVST::IPluginVST(audioMasterCallback host, const IPluginSetup& setup)
    : IPluginBase(setup), hostCallback_(host) {
  std::memset(&effect_, 0, sizeof effect_);
  effect_.magic = kEffectMagic;
  effect_.dispatcher = VSTDispatcher;
  effect_.process = VSTProcess;
  effect_.setParameter = VSTSetParameter;
  effect_.getParameter = VSTGetParameter;
  effect_.numPrograms = PresetCount();
  effect_.numParams = ParamCount();
  effect_.numInputs = InputCount();
  effect_.numOutputs = OutputCount();
  effect_.flags = effFlagsCanReplacing | effFlagsCanDoubleReplacing;
  if (LegalIO(1, -1)) effect_.flags |= effFlagsCanMono;
  effect_.initialDelay = 0;
  effect_.ioRatio = 1.0f;
  effect_.object = this;
  effect_.uniqueID = UniqueId();
  effect_.version = VendorVersionDecimal();
  effect_.processReplacing = VSTProcessReplacing;
  effect_.processDoubleReplacing = VSTProcessDoubleReplacing;

  editorRect_ = ERect{};
  FillSpeakerArrangement(inputArrangement_, InputCount());
  FillSpeakerArrangement(outputArrangement_, OutputCount());
  ConnectInputs(0, InputCount(), true);
  ConnectOutputs(0, OutputCount(), true);
  SetMaxBlockSize(kInitialBlockSize);
}

IPluginVST::~IPluginVST() {
  bankChunk_.Release();
  programChunk_.Release();
}

VstIntPtr IPluginVST::CallHost(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                               float opt) {
  // Without a host there is nobody to tell; every service degrades to "no answer".
  if (hostCallback_ == nullptr) return 0;
  return hostCallback_(&effect_, opcode, index, value, ptr, opt);
}

void IPluginVST::NotifyHostGestureBegin(int index) {
  CallHost(audioMasterBeginEdit, index);
}

void IPluginVST::NotifyHostParamValue(int index, double normalized) {
  CallHost(audioMasterAutomate, index, 0, nullptr, static_cast<float>(normalized));
}

void IPluginVST::NotifyHostGestureEnd(int index) {
  CallHost(audioMasterEndEdit, index);
}

void IPluginVST::NotifyHostDisplayChanged() {
  CallHost(audioMasterUpdateDisplay);
}

bool IPluginVST::QueryOfflineRendering() {
  return CallHost(audioMasterGetCurrentProcessLevel) == kVstProcessLevelOffline;
}

const VstTimeInfo* IPluginVST::HostTime(VstInt32 request) {
  return reinterpret_cast<const VstTimeInfo*>(CallHost(audioMasterGetTime, 0, request));
}

int32_t IPluginVST::QueryTransportSample() {
  const VstTimeInfo* time = HostTime(0);
  if (time == nullptr || !(time->samplePos >= 0.0)) return 0;
  const double rounded = time->samplePos + 0.5;
  return rounded >= 2147483647.0 ? INT32_MAX : static_cast<int32_t>(rounded);
}

double IPluginVST::QueryHostTempo() {
  const VstTimeInfo* time = HostTime(kVstTempoValid);
  if (time != nullptr && (time->flags & kVstTempoValid) && time->tempo >= 0.0) return time->tempo;
  return 0.0;
}

void IPluginVST::QueryTimeSignature(int32_t& numerator, int32_t& denominator) {
  numerator = denominator = 0;
  const VstTimeInfo* time = HostTime(kVstTimeSigValid);
  if (time != nullptr && (time->flags & kVstTimeSigValid) && time->timeSigNumerator >= 0 &&
      time->timeSigDenominator >= 0) {
    numerator = time->timeSigNumerator;
    denominator = time->timeSigDenominator;
  }
}

void IPluginVST::QueryTransport(ITransportInfo& info) {
  constexpr VstInt32 kWanted =
      kVstPpqPosValid | kVstTempoValid | kVstBarsValid | kVstCyclePosValid | kVstTimeSigValid;
  const VstTimeInfo* time = HostTime(kWanted);
  if (time == nullptr || (time->flags & kWanted) == 0) return;
  info.samplePosition = time->samplePos;
  if ((time->flags & kVstPpqPosValid) && time->ppqPos >= 0.0) info.beatPosition = time->ppqPos;
  if ((time->flags & kVstTempoValid) && time->tempo > 0.0) info.beatsPerMinute = time->tempo;
  if ((time->flags & kVstBarsValid) && time->barStartPos >= 0.0) {
    info.barStartBeat = time->barStartPos;
  }
  if ((time->flags & kVstCyclePosValid) && time->cycleStartPos >= 0.0 && time->cycleEndPos >= 0.0) {
    info.loopStartBeat = time->cycleStartPos;
    info.loopEndBeat = time->cycleEndPos;
  }
  if ((time->flags & kVstTimeSigValid) && time->timeSigNumerator > 0 &&
      time->timeSigDenominator > 0) {
    info.meterNumerator = time->timeSigNumerator;
    info.meterDenominator = time->timeSigDenominator;
  }
  info.isPlaying = (time->flags & kVstTransportPlaying) != 0;
  info.isLooping = (time->flags & kVstTransportCycleActive) != 0;
}

int32_t IPluginVST::IdentifyHost() {
  if (HostKind() != kHostNotIdentified) return HostKind();
  char product[256];
  product[0] = 0;
  CallHost(audioMasterGetProductString, 0, 0, product);
  product[sizeof product - 1] = 0;  // a host that overfills gets cut, never read past
  uint32_t version = 0;
  if (product[0] != 0) {
    const VstIntPtr decimal = CallHost(audioMasterGetVendorVersion);
    const auto d = static_cast<uint32_t>(decimal < 0 ? 0 : decimal);
    version = (d / 10000) * 65536 + ((d % 10000) / 100) * 256 + d % 100;
  }
  const int32_t kind = HostKindFromName(product);
  SetHostIdentity(kind, version);
  return kind;
}

void IPluginVST::PrepareForHost() {
  if (hostPrepared_) return;
  hostPrepared_ = true;
  const int32_t kind = IdentifyHost();
  if (kind == kHostForte || kind == kHostAudition || kind == kHostOrion || kind == kHostSAWStudio) {
    RestrictToStereo();
  }
  effect_.numInputs = inputArrangement_.numChannels = InputCount();
  effect_.numOutputs = outputArrangement_.numChannels = OutputCount();
  HostIdentified();
}

void IPluginVST::SetEditorRectFromEditor() {
  editorRect_.top = 0;
  editorRect_.left = 0;
  editorRect_.bottom = To16Bits(Editor()->Height());
  editorRect_.right = To16Bits(Editor()->Width());
}

void IPluginVST::BindEditor(IEditorHooks* editor) {
  if (editor == nullptr) return;
  IPluginBase::BindEditor(editor);
  effect_.flags |= effFlagsHasEditor;
  SetEditorRectFromEditor();
}

void IPluginVST::EditorSizeChanged(int /*width*/, int /*height*/) {
  if (Editor() == nullptr) return;
  SetEditorRectFromEditor();
  EditorResized();
}

void IPluginVST::ChangeLatency(int samples) {
  effect_.initialDelay = samples;
  IPluginBase::ChangeLatency(samples);
}

VstIntPtr IPluginVST::SendEvent(void* event) {
  // The list layout hosts expect: a count, then event pointers.
  VstEvents list{};
  list.numEvents = 1;
  list.events[0] = static_cast<VstEvent*>(event);
  list.events[1] = nullptr;
  return CallHost(audioMasterProcessEvents, 0, 0, &list);
}

bool IPluginVST::EmitMidiMessage(const IMidiShortMessage& message) {
  VstMidiEvent event{};
  event.type = kVstMidiType;
  event.byteSize = sizeof(VstMidiEvent);
  event.deltaFrames = message.frameOffset;
  event.midiData[0] = static_cast<char>(message.status);
  event.midiData[1] = static_cast<char>(message.data1);
  event.midiData[2] = static_cast<char>(message.data2);
  return SendEvent(&event) == 1;
}

bool IPluginVST::EmitSysExBlock(const ISysExBlock& block) {
  VstMidiSysexEvent event{};
  event.type = kVstSysExType;
  event.byteSize = 32;  // what hosts expect here on both pointer widths
  event.deltaFrames = block.frameOffset;
  event.dumpBytes = block.size;
  event.sysexDump = const_cast<char*>(reinterpret_cast<const char*>(block.data));
  return SendEvent(&event) == 1;
}
