#pragma once
#include <cstdint>

#include "core/channel.h"
#include "core/editor_hooks.h"
#include "core/heap_buffer.h"
#include "core/host_kind.h"
#include "core/midi_transport.h"
#include "core/mutex_lock.h"
#include "core/parameter.h"
#include "core/plugin_setup.h"
#include "core/preset_slot.h"
#include "core/ptr_list.h"
#include "core/state_chunk.h"

constexpr int kIdentityTextSize = 128;

// The core of every plug-in instance: parameters, preset slots, channel ports
// with their buffer routing, the editor, identity texts and the recursive lock
// that serializes everything the host and the editor do to the instance. It
// knows no plug-in interface; a binding derives from it and supplies the host
// services, the effect replaces ParamChanged and RenderDouble.
class IPluginBase {
 public:
  explicit IPluginBase(const IPluginSetup& setup);
  // Any thread, with no other call running on the instance.
  virtual ~IPluginBase();
  IPluginBase(const IPluginBase&) = delete;
  IPluginBase& operator=(const IPluginBase&) = delete;

  // ---- Virtual operations -------------------------------------------------
  // Any thread; takes the instance lock.
  virtual void RestartProcessing();
  // Any thread; takes the instance lock. The effect recomputes what depends on
  // parameter index.
  virtual void ParamChanged(int index);
  // Audio thread, under the instance lock. Default: inputs pass through to the
  // outputs of the same index; other outputs are zero.
  virtual void RenderDouble(double** inputs, double** outputs, int frames);
  // Editor thread.
  virtual void EditorOpened() {}
  virtual void EditorClosed() {}
  // Any thread; takes the instance lock.
  virtual void ActivationChanged(bool active);
  // Audio thread, under the instance lock. Default: sends the message back to the host.
  virtual void HandleMidiMessage(const IMidiShortMessage& message);
  virtual void HandleSysExBlock(const ISysExBlock& /*block*/) {}
  // Any thread under the instance lock. Default: empty text, false.
  virtual bool MidiKeyLabel(int key, char* text, int textSize);
  // Any thread; the default takes the instance lock (SerializeParams).
  virtual bool SaveState(IStateChunk& chunk);
  // Any thread; the default takes the instance lock (UnserializeParams).
  virtual int32_t LoadState(const IStateChunk& chunk, int32_t position);
  // Editor thread.
  virtual void EditorResized() {}
  // Any thread under the instance lock.
  virtual void HostIdentified() {}
  // Editor thread.
  virtual void ShowParamContextMenu(int /*index*/, int /*x*/, int /*y*/) {}
  // Editor thread; takes the instance lock. The editor passes only valid indices.
  virtual void SetParamFromEditor(int index, double normalized);

  // Host services, supplied by the binding. Any thread; they take no lock.
  virtual void NotifyHostGestureBegin(int index) = 0;
  virtual void NotifyHostParamValue(int index, double normalized) = 0;
  virtual void NotifyHostGestureEnd(int index) = 0;
  virtual void NotifyHostDisplayChanged() = 0;
  virtual bool QueryOfflineRendering() { return false; }
  virtual int32_t QueryTransportSample() = 0;
  virtual double QueryHostTempo() = 0;
  virtual void QueryTimeSignature(int32_t& numerator, int32_t& denominator) = 0;
  virtual void QueryTransport(ITransportInfo& info) = 0;
  // Any thread under the instance lock.
  virtual int32_t IdentifyHost() { return hostKind_; }
  virtual int BindingKind() const { return bindingKind_; }
  // Editor thread.
  virtual void EditorSizeChanged(int width, int height) = 0;
  // Any thread under the instance lock.
  virtual void PrepareForHost() {}
  // Construction or editor thread; takes the instance lock. Takes ownership.
  virtual void BindEditor(IEditorHooks* editor);
  // Any thread under the instance lock.
  virtual void ChangeLatency(int samples) { latency_ = samples; }
  // Audio thread under the instance lock.
  virtual bool EmitMidiMessage(const IMidiShortMessage& message) = 0;
  virtual bool EmitSysExBlock(const ISysExBlock& /*block*/) { return false; }
  // Any thread under the instance lock; takes no lock itself.
  virtual void RefreshEditorControls();
  virtual void PresetListChanged() {}
  // Any thread under the instance lock; takes no lock itself. Sizes the
  // scratch buffers to frames samples, all zero.
  virtual void SetMaxBlockSize(int frames);

  // ---- Parameters and state -----------------------------------------------
  // Null for an index outside the parameters.
  IParameter* ParamAt(int index) const { return params_.Get(index); }
  int ParamCount() const { return params_.Count(); }
  // Under the instance lock.
  void NotifyAllParamsChanged();
  // Any thread; take the instance lock. The state is each parameter's real
  // value as a little-endian double, in index order.
  bool SerializeParams(IStateChunk& chunk);
  // Returns the position after the state, or -1 when it ran short; a short
  // read sets that parameter to 0 limited to its range and stops.
  int32_t UnserializeParams(const IStateChunk& chunk, int32_t position);
  // Any thread under the instance lock. Gives up to count unused preset slots
  // the name ("Empty" for null) and the current state.
  void FillEmptyPresets(const char* name, int count);

  IPresetSlot* PresetAt(int index) const { return presets_.Get(index); }
  int PresetCount() const { return presets_.Count(); }

  // ---- Presets and chunk formats (any thread under the instance lock) -----
  // Appends every slot's name, used flag and, when used, its stored state.
  bool SerializePresets(IStateChunk& chunk);
  // Reads slots back until the data runs out, then loads the current slot.
  // Returns the position after the bank, or -1 when it was short or refused.
  int32_t UnserializePresets(const IStateChunk& chunk, int32_t position);
  // Replaces the chunk with the 8-byte header.
  static void WriteChunkHeader(IStateChunk& chunk);
  // The format version after a valid header (position moves past it), or 0:
  // without the magic the position stays; a header cut short sets it to -1.
  static int32_t ReadChunkHeader(const IStateChunk& chunk, int32_t& position);
  // "user preset N", numbered after the slots already named so.
  void NextUserPresetName(char* out, int outSize) const;
  // Makes a slot current: loads its state, or captures the current parameters
  // into a slot not used yet. False for an index outside the slots.
  bool LoadPreset(int index);
  // The slot's name; empty for an index outside the slots.
  const char* PresetName(int index) const;
  // Stores the current parameters in the current slot and renames it when a
  // non-empty name is given.
  void ModifyCurrentPreset(const char* name);

  // ---- Channels and routing (under the instance lock) ---------------------
  bool LegalIO(int inputs, int outputs) const;
  int ConfigCount() const { return configs_.Count(); }
  const IChannelConfig* ConfigAt(int index) const { return configs_.Get(index); }
  int InputCount() const { return inputPorts_.Count(); }
  int OutputCount() const { return outputPorts_.Count(); }
  IChannelPort* InputPort(int index) const { return inputPorts_.Get(index); }
  IChannelPort* OutputPort(int index) const { return outputPorts_.Get(index); }
  double** InputBuffers() const { return reinterpret_cast<double**>(inputBuffers_.Data()); }
  double** OutputBuffers() const { return reinterpret_cast<double**>(outputBuffers_.Data()); }

  void ConnectInputs(int start, int count, bool connected);
  void ConnectOutputs(int start, int count, bool connected);
  void AttachInputsDouble(int count, double** hostBuffers);
  void AttachInputsFloat(int count, float** hostBuffers, int frames);
  void AttachOutputsDouble(int count, double** hostBuffers);
  void AttachOutputsFloat(int count, float** hostBuffers);
  // frames must not exceed the last SetMaxBlockSize.
  void RenderFloatReplacing(int frames);
  void RenderFloatAccumulating(int frames);
  void RestrictToStereo();

  // ---- Identity and host --------------------------------------------------
  const char* EffectName() const { return effectName_; }
  const char* ProductName() const { return productName_; }
  const char* MakerName() const { return makerName_; }
  int32_t UniqueId() const { return uniqueId_; }
  int32_t MakerId() const { return makerId_; }
  uint32_t VersionWord() const { return versionWord_; }
  int VendorVersionDecimal() const;
  int32_t HostKind() const { return hostKind_; }
  uint32_t HostVersion() const { return hostVersion_; }
  bool StateAsChunks() const { return stateAsChunks_; }
  bool IsInstrument() const { return instrument_; }
  bool WantsMidi() const { return wantsMidi_; }
  int CurrentPreset() const { return currentPreset_; }
  double SampleRate() const { return sampleRate_; }
  int BlockSize() const { return blockSize_; }
  int Latency() const { return latency_; }
  int TailSize() const { return tailSize_; }
  IEditorHooks* Editor() const { return editor_; }
  MutexLock& Lock() { return lock_; }

  // Any thread under the instance lock.
  void SetHostIdentity(int32_t kind, uint32_t version) {
    hostKind_ = kind;
    hostVersion_ = version;
  }
  void SetCurrentPreset(int index) { currentPreset_ = index; }
  void SetSampleRate(double rate) { sampleRate_ = rate; }

 private:
  void ParseChannelIO(const char* channelIO, int& maxInputs, int& maxOutputs);
  static void ConnectPorts(PtrList<IChannelPort>& ports, int start, int count, bool connected);
  static void AttachDouble(PtrList<IChannelPort>& ports, int count, double** hostBuffers);
  void WriteFloatOutputs(int frames, bool accumulate);

  PtrList<IChannelConfig> configs_;
  MutexLock lock_;
  char effectName_[kIdentityTextSize] = {};
  char productName_[kIdentityTextSize] = {};
  char makerName_[kIdentityTextSize] = {};
  int32_t uniqueId_;
  int32_t makerId_;
  uint32_t versionWord_;
  int32_t bindingKind_;
  int32_t hostKind_ = kHostNotIdentified;
  uint32_t hostVersion_ = 0;
  bool stateAsChunks_;
  bool instrument_;
  bool wantsMidi_;
  int32_t currentPreset_ = 0;
  double sampleRate_ = 44100.0;
  int32_t blockSize_ = 0;
  int32_t latency_;
  int32_t tailSize_ = 0;
  IEditorHooks* editor_ = nullptr;
  PtrList<IParameter> params_;
  PtrList<IPresetSlot> presets_;
  HeapBuffer inputBuffers_;
  HeapBuffer outputBuffers_;
  PtrList<IChannelPort> inputPorts_;
  PtrList<IChannelPort> outputPorts_;
};
