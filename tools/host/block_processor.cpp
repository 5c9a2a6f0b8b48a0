#include "tools/host/block_processor.h"

#include <algorithm>

namespace {
// More ports than any effect we host would have: a record claiming more is broken.
constexpr int kMaxPorts = 64;
}  // namespace

std::string BlockProcessor::CheckChannels(const LoadedPlugin& plugin, int channels) {
  const int inputs = plugin.InputCount();
  const int outputs = plugin.OutputCount();
  if (inputs > kMaxPorts || outputs > kMaxPorts) {
    return "the plug-in claims " + std::to_string(inputs) + " inputs and " +
           std::to_string(outputs) + " outputs";
  }
  if (inputs < channels || outputs < channels) {
    return "the plug-in has " + std::to_string(inputs) + " inputs and " + std::to_string(outputs) +
           " outputs, too few for " + std::to_string(channels) + " channels";
  }
  return std::string();
}

BlockProcessor::BlockProcessor(LoadedPlugin& plugin, int channels, int maxFrames)
    : plugin_(plugin),
      channels_(channels),
      maxFrames_(maxFrames),
      inputStore_(static_cast<size_t>(plugin.InputCount()) * maxFrames, 0.0f),
      outputStore_(static_cast<size_t>(plugin.OutputCount()) * maxFrames, 0.0f),
      inputs_(plugin.InputCount()),
      outputs_(plugin.OutputCount()) {
  for (int k = 0; k < plugin.InputCount(); ++k) inputs_[k] = inputStore_.data() + k * maxFrames;
  for (int k = 0; k < plugin.OutputCount(); ++k) outputs_[k] = outputStore_.data() + k * maxFrames;
}

void BlockProcessor::Process(const float* in, float* out, int frames) {
  frames = std::min(frames, maxFrames_);
  if (frames <= 0) return;
  for (int c = 0; c < channels_; ++c) {
    float* planar = inputs_[c];
    for (int i = 0; i < frames; ++i) planar[i] = in[i * channels_ + c];
  }
  // The effect's channels share one sample-and-hold, so a mono file feeds every
  // input: with silent extra inputs, half of the held values would be silence.
  for (size_t k = channels_; k < inputs_.size(); ++k) {
    std::copy_n(inputs_[channels_ - 1], frames, inputs_[k]);
  }
  plugin_.ProcessReplacing(inputs_.data(), outputs_.data(), frames);
  for (int c = 0; c < channels_; ++c) {
    const float* planar = outputs_[c];
    for (int i = 0; i < frames; ++i) out[i * channels_ + c] = planar[i];
  }
}
