#include "core/plugin_base.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>

#include "core/trace.h"

namespace {
// Reads a decimal integer as "%d" would (leading blanks, optional sign),
// advancing text; a number that cannot be read counts as 0.
int ReadCount(const char*& text) {
  char* end = nullptr;
  const long parsed = std::strtol(text, &end, 10);
  if (end == text) return 0;
  text = end;
  return static_cast<int>(std::clamp<long>(parsed, 0, 64));  // a plug-in has few channels
}
}  // namespace

IPluginBase::IPluginBase(const IPluginSetup& setup)
    : uniqueId_(setup.uniqueId),
      makerId_(setup.makerId),
      versionWord_(setup.versionWord),
      bindingKind_(setup.bindingKind),
      stateAsChunks_(setup.stateAsChunks),
      instrument_(setup.instrument),
      wantsMidi_(setup.wantsMidi),
      latency_(setup.latency) {
  Trace("IPluginBase::IPluginBase", __LINE__, "%s:%s", setup.effectName, "");
  for (int i = 0; i < setup.parameterCount; ++i) params_.Add(new IParameter);
  for (int i = 0; i < setup.presetCount; ++i) presets_.Add(new IPresetSlot);
  CopyText(effectName_, kIdentityTextSize, setup.effectName);
  CopyText(productName_, kIdentityTextSize, setup.productName);
  CopyText(makerName_, kIdentityTextSize, setup.makerName);

  int maxInputs = 0;
  int maxOutputs = 0;
  ParseChannelIO(setup.channelIO, maxInputs, maxOutputs);
  // Sized once: each port keeps a pointer to its own entry.
  inputBuffers_.ResizeZeroFill(maxInputs * static_cast<int32_t>(sizeof(double*)));
  outputBuffers_.ResizeZeroFill(maxOutputs * static_cast<int32_t>(sizeof(double*)));
  for (int i = 0; i < maxInputs && InputBuffers() != nullptr; ++i) {
    auto* port = new IChannelPort;
    port->bufferEntry = &InputBuffers()[i];
    inputPorts_.Add(port);
  }
  for (int i = 0; i < maxOutputs && OutputBuffers() != nullptr; ++i) {
    auto* port = new IChannelPort;
    port->bufferEntry = &OutputBuffers()[i];
    outputPorts_.Add(port);
  }
}

IPluginBase::~IPluginBase() {
  delete editor_;
  editor_ = nullptr;
  params_.DeleteAll();
  presets_.DeleteAll();
  inputPorts_.DeleteAll();
  outputPorts_.DeleteAll();
  configs_.DeleteAll();
  params_.Release();
  presets_.Release();
  inputPorts_.Release();
  outputPorts_.Release();
  configs_.Release();
  inputBuffers_.Release();
  outputBuffers_.Release();
}

void IPluginBase::ParseChannelIO(const char* channelIO, int& maxInputs, int& maxOutputs) {
  const char* cursor = channelIO != nullptr ? channelIO : "";
  while (true) {
    auto* config = new IChannelConfig;
    config->inputs = ReadCount(cursor);
    if (*cursor == '-') {
      ++cursor;
      config->outputs = ReadCount(cursor);
    }
    maxInputs = std::max(maxInputs, config->inputs);
    maxOutputs = std::max(maxOutputs, config->outputs);
    if (!configs_.Add(config)) delete config;
    const char* space = std::strchr(cursor, ' ');
    if (space == nullptr) break;
    cursor = space + 1;
  }
}

void IPluginBase::RestartProcessing() {
  MutexHolder hold(lock_);
}

void IPluginBase::ParamChanged(int /*index*/) {
  MutexHolder hold(lock_);
}

void IPluginBase::ActivationChanged(bool /*active*/) {
  MutexHolder hold(lock_);
}

void IPluginBase::RenderDouble(double** inputs, double** outputs, int frames) {
  if (outputs == nullptr || frames <= 0) return;
  const auto bytes = static_cast<size_t>(frames) * sizeof(double);
  for (int j = 0; j < OutputCount(); ++j) {
    if (outputs[j] == nullptr) continue;
    if (inputs != nullptr && j < InputCount() && inputs[j] != nullptr) {
      std::memmove(outputs[j], inputs[j], bytes);
    } else {
      std::memset(outputs[j], 0, bytes);
    }
  }
}

void IPluginBase::HandleMidiMessage(const IMidiShortMessage& message) {
  EmitMidiMessage(message);
}

bool IPluginBase::MidiKeyLabel(int /*key*/, char* text, int textSize) {
  if (text != nullptr && textSize > 0) text[0] = 0;
  return false;
}

bool IPluginBase::SaveState(IStateChunk& chunk) {
  return SerializeParams(chunk);
}

int32_t IPluginBase::LoadState(const IStateChunk& chunk, int32_t position) {
  return UnserializeParams(chunk, position);
}

void IPluginBase::SetParamFromEditor(int index, double normalized) {
  MutexHolder hold(lock_);
  IParameter* param = ParamAt(index);
  if (param == nullptr) return;
  param->SetFromNormalized(normalized);
  NotifyHostParamValue(index, normalized);
  ParamChanged(index);
}

void IPluginBase::BindEditor(IEditorHooks* editor) {
  if (editor == nullptr) return;
  MutexHolder hold(lock_);
  for (int i = 0; i < ParamCount(); ++i) {
    editor->PushParamToControls(i, ParamAt(i)->Normalized(), true);
  }
  editor->PrepareDrawing();
  if (editor_ != editor) delete editor_;
  editor_ = editor;
}

void IPluginBase::RefreshEditorControls() {
  if (editor_ == nullptr) return;
  for (int i = 0; i < ParamCount(); ++i) editor_->PushParamToControls(i, ParamAt(i)->value, false);
}

void IPluginBase::SetMaxBlockSize(int frames) {
  frames = std::max(frames, 0);
  if (frames == blockSize_) return;
  const int64_t bytes = int64_t{frames} * static_cast<int64_t>(sizeof(double));
  if (bytes > INT32_MAX) return;  // no scratch of that size: keep the old block size
  int held = frames;
  for (PtrList<IChannelPort>* ports : {&inputPorts_, &outputPorts_}) {
    for (int i = 0; i < ports->Count(); ++i) {
      IChannelPort* port = ports->Get(i);
      port->scratch.Resize(static_cast<int32_t>(bytes), true);
      if (port->scratch.Data() != nullptr) {
        std::memset(port->scratch.Data(), 0, static_cast<size_t>(port->scratch.Size()));
      }
      held = std::min(held, port->ScratchFrames());
      if (!port->connected) *port->bufferEntry = port->ScratchSamples();
    }
  }
  // A failed growth leaves some scratch smaller: never promise more than all hold.
  blockSize_ = held;
}

void IPluginBase::NotifyAllParamsChanged() {
  for (int i = 0; i < ParamCount(); ++i) ParamChanged(i);
}

bool IPluginBase::SerializeParams(IStateChunk& chunk) {
  MutexHolder hold(lock_);
  bool ok = true;
  for (int i = 0; i < ParamCount() && ok; ++i) {
    IParameter* param = ParamAt(i);
    Trace("IPluginBase::SerializeParams", __LINE__, "%d %s %f", i, param->name, param->value);
    ok = chunk.AppendDouble(param->value);
  }
  return ok;
}

int32_t IPluginBase::UnserializeParams(const IStateChunk& chunk, int32_t position) {
  MutexHolder hold(lock_);
  for (int i = 0; i < ParamCount() && position >= 0; ++i) {
    IParameter* param = ParamAt(i);
    Trace("IPluginBase::UnserializeParams", __LINE__, "%d %s %f", i, param->name, param->value);
    double v = 0.0;
    position = chunk.ReadDouble(v, position);
    param->SetClamped(v);
  }
  NotifyAllParamsChanged();
  return position;
}

void IPluginBase::FillEmptyPresets(const char* name, int count) {
  for (int n = 0; n < count; ++n) {
    IPresetSlot* slot = nullptr;
    for (int i = 0; i < PresetCount() && slot == nullptr; ++i) {
      if (!PresetAt(i)->used) slot = PresetAt(i);
    }
    if (slot == nullptr) return;  // no free slot: the remaining repetitions do nothing too
    slot->used = true;
    CopyText(slot->name, kPresetNameSize, name != nullptr ? name : "Empty");
    SaveState(slot->state);
  }
}

bool IPluginBase::LegalIO(int inputs, int outputs) const {
  bool legal = false;
  for (int i = 0; i < ConfigCount() && !legal; ++i) {
    const IChannelConfig* config = ConfigAt(i);
    legal = config->inputs == inputs && (outputs == -1 || config->outputs == outputs);
  }
  Trace("IPluginBase::LegalIO", __LINE__, "%d:%d:%s", inputs, outputs, legal ? "legal" : "illegal");
  return legal;
}

void IPluginBase::ConnectPorts(PtrList<IChannelPort>& ports, int start, int count, bool connected) {
  const int64_t end = std::min<int64_t>(int64_t{start} + count, ports.Count());
  for (int64_t i = std::max(start, 0); i < end; ++i) {
    IChannelPort* port = ports.Get(static_cast<int>(i));
    port->connected = connected;
    if (!connected) *port->bufferEntry = port->ScratchSamples();
  }
}

void IPluginBase::ConnectInputs(int start, int count, bool connected) {
  ConnectPorts(inputPorts_, start, count, connected);
}

void IPluginBase::ConnectOutputs(int start, int count, bool connected) {
  ConnectPorts(outputPorts_, start, count, connected);
}

void IPluginBase::AttachDouble(PtrList<IChannelPort>& ports, int count, double** hostBuffers) {
  if (hostBuffers == nullptr) return;
  const int n = std::min(count, ports.Count());
  int next = 0;
  for (int i = 0; i < n; ++i) {
    IChannelPort* port = ports.Get(i);
    if (port->connected) *port->bufferEntry = hostBuffers[next++];
  }
}

void IPluginBase::AttachInputsDouble(int count, double** hostBuffers) {
  AttachDouble(inputPorts_, count, hostBuffers);
}

void IPluginBase::AttachOutputsDouble(int count, double** hostBuffers) {
  AttachDouble(outputPorts_, count, hostBuffers);
}

void IPluginBase::AttachInputsFloat(int count, float** hostBuffers, int frames) {
  if (hostBuffers == nullptr) return;
  const int n = std::min(count, InputCount());
  int next = 0;
  for (int i = 0; i < n; ++i) {
    IChannelPort* port = InputPort(i);
    if (!port->connected) continue;
    const float* source = hostBuffers[next++];
    double* scratch = port->ScratchSamples();
    // Never past the scratch: callers split longer blocks.
    const int convert = std::min(frames, port->ScratchFrames());
    if (source != nullptr) {
      for (int s = 0; s < convert; ++s) scratch[s] = source[s];
    }
    *port->bufferEntry = scratch;
  }
}

void IPluginBase::AttachOutputsFloat(int count, float** hostBuffers) {
  if (hostBuffers == nullptr) return;
  const int n = std::min(count, OutputCount());
  int next = 0;
  for (int i = 0; i < n; ++i) {
    IChannelPort* port = OutputPort(i);
    if (!port->connected) continue;
    *port->bufferEntry = port->ScratchSamples();
    port->hostFloatBuffer = hostBuffers[next++];
  }
}

void IPluginBase::WriteFloatOutputs(int frames, bool accumulate) {
  for (int i = 0; i < OutputCount(); ++i) {
    IChannelPort* port = OutputPort(i);
    const double* rendered = *port->bufferEntry;
    float* host = port->hostFloatBuffer;
    if (!port->connected || rendered == nullptr || host == nullptr) continue;
    if (accumulate) {
      for (int s = 0; s < frames; ++s) host[s] = static_cast<float>(rendered[s]) + host[s];
    } else {
      for (int s = 0; s < frames; ++s) host[s] = static_cast<float>(rendered[s]);
    }
  }
}

void IPluginBase::RenderFloatReplacing(int frames) {
  frames = std::min(frames, blockSize_);  // the scratch buffers hold no more
  RenderDouble(InputBuffers(), OutputBuffers(), frames);
  WriteFloatOutputs(frames, false);
}

void IPluginBase::RenderFloatAccumulating(int frames) {
  frames = std::min(frames, blockSize_);
  RenderDouble(InputBuffers(), OutputBuffers(), frames);
  WriteFloatOutputs(frames, true);
}

void IPluginBase::RestrictToStereo() {
  if (InputCount() > 2) ConnectInputs(2, InputCount() - 2, false);
  if (OutputCount() > 2) ConnectOutputs(2, OutputCount() - 2, true);
}

int IPluginBase::VendorVersionDecimal() const {
  const uint32_t v = versionWord_;
  return static_cast<int>((v >> 16) * 10000 + ((v >> 8) & 0xFF) * 100 + (v & 0xFF));
}
