#pragma once
#include "core/plugin_base.h"
#include "core/state_chunk.h"
#include "vst2/vst2_abi.h"

// Binds the plug-in base to a VST 2.4 host: owns the effect record handed to
// the host and answers the base's host services through the host callback.
class IPluginVST : public IPluginBase {
 public:
  // Any thread, under the process-wide creation lock.
  IPluginVST(audioMasterCallback host, const IPluginSetup& setup);
  // Any thread, with the instance lock released (effClose).
  ~IPluginVST() override;

  // Host services: any thread; they take no lock and may be called under the
  // instance lock.
  void NotifyHostGestureBegin(int index) override;
  void NotifyHostParamValue(int index, double normalized) override;
  void NotifyHostGestureEnd(int index) override;
  void NotifyHostDisplayChanged() override;
  bool QueryOfflineRendering() override;
  int32_t QueryTransportSample() override;
  double QueryHostTempo() override;
  void QueryTimeSignature(int32_t& numerator, int32_t& denominator) override;
  void QueryTransport(ITransportInfo& info) override;
  // Any thread under the instance lock; asks the host once per instance.
  int32_t IdentifyHost() override;
  // Editor thread.
  void EditorSizeChanged(int width, int height) override;
  // Any thread under the instance lock; runs once per instance.
  void PrepareForHost() override;
  // Construction or editor thread; takes the instance lock.
  void BindEditor(IEditorHooks* editor) override;
  // Any thread under the instance lock.
  void ChangeLatency(int samples) override;
  // Audio thread under the instance lock.
  bool EmitMidiMessage(const IMidiShortMessage& message) override;
  bool EmitSysExBlock(const ISysExBlock& block) override;

  AEffect& Effect() { return effect_; }
  const AEffect& Effect() const { return effect_; }
  ERect& EditorRect() { return editorRect_; }
  VstSpeakerArrangement& InputArrangement() { return inputArrangement_; }
  VstSpeakerArrangement& OutputArrangement() { return outputArrangement_; }
  IStateChunk& ProgramChunk() { return programChunk_; }
  IStateChunk& BankChunk() { return bankChunk_; }
  bool HostPrepared() const { return hostPrepared_; }

  // Calls the host with this instance's record; 0 without a host. Any thread.
  VstIntPtr CallHost(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f);

  // The instance behind an effect record, or null.
  static IPluginVST* FromEffect(AEffect* effect) {
    return effect != nullptr ? static_cast<IPluginVST*>(effect->object) : nullptr;
  }

 private:
  // The host's time record for a validity request, or null.
  const VstTimeInfo* HostTime(VstInt32 request);
  // Sends one MIDI or SysEx event; the host's answer.
  VstIntPtr SendEvent(void* event);
  void SetEditorRectFromEditor();

  ERect editorRect_{};
  audioMasterCallback hostCallback_;
  VstSpeakerArrangement inputArrangement_{};
  VstSpeakerArrangement outputArrangement_{};
  bool hostPrepared_ = false;
  IStateChunk programChunk_;
  IStateChunk bankChunk_;
  AEffect effect_{};
};

// Fills an arrangement for a channel count: empty, mono, stereo or user-defined.
void FillSpeakerArrangement(VstSpeakerArrangement& arrangement, int channels);
