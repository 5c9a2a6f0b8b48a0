#pragma once
#include <string>
#include <vector>

#include "tools/host/plugin_loader.h"

// Runs interleaved mono or stereo frames through a plug-in's 32-bit replacing
// process. Plug-in inputs beyond the file's channels repeat its last channel, outputs
// beyond them are dropped. The buffers are sized once; Process allocates nothing.
class BlockProcessor {
 public:
  // Why the plug-in cannot process this many channels, or an empty text.
  static std::string CheckChannels(const LoadedPlugin& plugin, int channels);

  // The plug-in must have passed CheckChannels for channels.
  BlockProcessor(LoadedPlugin& plugin, int channels, int maxFrames);

  // frames is at most maxFrames; in and out hold frames * channels samples.
  void Process(const float* in, float* out, int frames);

 private:
  LoadedPlugin& plugin_;
  int channels_;
  int maxFrames_;
  std::vector<float> inputStore_;  // one run of maxFrames per plug-in input
  std::vector<float> outputStore_;
  std::vector<float*> inputs_;
  std::vector<float*> outputs_;
};
