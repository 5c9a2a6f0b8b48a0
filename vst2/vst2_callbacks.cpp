#include "vst2/vst2_callbacks.h"

#include <algorithm>
#include <cmath>

#include "core/mutex_lock.h"
#include "vst2/plugin_vst.h"

namespace {
constexpr int kMaxPorts = 64;

enum class FloatMode { kAccumulate, kReplace };

int ConnectedPorts(const IPluginVST& plugin, bool inputs) {
  const int count = std::min(inputs ? plugin.InputCount() : plugin.OutputCount(), kMaxPorts);
  int connected = 0;
  for (int i = 0; i < count; ++i) {
    connected += (inputs ? plugin.InputPort(i) : plugin.OutputPort(i))->connected ? 1 : 0;
  }
  return connected;
}

// Runs one host block through the plug-in in pieces no longer than its scratch
// buffers, so a host that passes more frames than it announced is still served
// without writing past them. Processing is sample by sample, so the pieces give
// the same output as one call would.
template <typename Sample, typename RenderPiece>
void RunBlock(AEffect* effect, Sample** inputs, Sample** outputs, VstInt32 frames,
              RenderPiece renderPiece) {
  IPluginVST* plugin = IPluginVST::FromEffect(effect);
  if (plugin == nullptr) return;
  MutexHolder hold(plugin->Lock());
  if (plugin->WantsMidi()) plugin->CallHost(audioMasterWantMidi);
  if (frames <= 0 || inputs == nullptr || outputs == nullptr) return;
  if (plugin->BlockSize() <= 0) plugin->SetMaxBlockSize(frames);  // never announced
  const int piece = plugin->BlockSize();
  if (piece <= 0) return;

  const int connectedIn = ConnectedPorts(*plugin, true);
  const int connectedOut = ConnectedPorts(*plugin, false);
  Sample* inPiece[kMaxPorts];
  Sample* outPiece[kMaxPorts];
  for (int done = 0; done < frames;) {
    const int n = std::min(piece, frames - done);
    for (int k = 0; k < connectedIn; ++k) inPiece[k] = inputs[k] ? inputs[k] + done : nullptr;
    for (int k = 0; k < connectedOut; ++k) outPiece[k] = outputs[k] ? outputs[k] + done : nullptr;
    renderPiece(*plugin, inPiece, outPiece, n);
    done += n;
  }
}

void RunFloatBlock(AEffect* effect, float** inputs, float** outputs, VstInt32 frames,
                   FloatMode mode) {
  RunBlock(effect, inputs, outputs, frames,
           [mode](IPluginVST& plugin, float** in, float** out, int n) {
             plugin.AttachInputsFloat(plugin.InputCount(), in, n);
             plugin.AttachOutputsFloat(plugin.OutputCount(), out);
             if (mode == FloatMode::kAccumulate) {
               plugin.RenderFloatAccumulating(n);
             } else {
               plugin.RenderFloatReplacing(n);
             }
           });
}
}  // namespace

void VSTCALLBACK VSTProcess(AEffect* effect, float** inputs, float** outputs, VstInt32 frames) {
  RunFloatBlock(effect, inputs, outputs, frames, FloatMode::kAccumulate);
}

void VSTCALLBACK VSTProcessReplacing(AEffect* effect, float** inputs, float** outputs,
                                     VstInt32 frames) {
  RunFloatBlock(effect, inputs, outputs, frames, FloatMode::kReplace);
}

void VSTCALLBACK VSTProcessDoubleReplacing(AEffect* effect, double** inputs, double** outputs,
                                           VstInt32 frames) {
  RunBlock(effect, inputs, outputs, frames,
           [](IPluginVST& plugin, double** in, double** out, int n) {
             plugin.AttachInputsDouble(plugin.InputCount(), in);
             plugin.AttachOutputsDouble(plugin.OutputCount(), out);
             plugin.RenderDouble(plugin.InputBuffers(), plugin.OutputBuffers(), n);
           });
}

void VSTCALLBACK VSTSetParameter(AEffect* effect, VstInt32 index, float value) {
  IPluginVST* plugin = IPluginVST::FromEffect(effect);
  if (plugin == nullptr) return;
  MutexHolder hold(plugin->Lock());
  IParameter* param = plugin->ParamAt(index);
  // A value that is not a number has no place in any range: ignore it.
  if (param == nullptr || std::isnan(value)) return;
  if (plugin->Editor() != nullptr) plugin->Editor()->PushParamToControls(index, value, true);
  param->SetFromNormalized(value);
  plugin->ParamChanged(index);
}

float VSTCALLBACK VSTGetParameter(AEffect* effect, VstInt32 index) {
  IPluginVST* plugin = IPluginVST::FromEffect(effect);
  if (plugin == nullptr) return 0.0f;
  MutexHolder hold(plugin->Lock());
  const IParameter* param = plugin->ParamAt(index);
  return param != nullptr ? static_cast<float>(param->Normalized()) : 0.0f;
}
