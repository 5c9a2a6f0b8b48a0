#pragma once
#include <cstdint>

#include "core/heap_buffer.h"
#include "core/heap_string.h"

// One legal channel configuration.
struct IChannelConfig {
  int32_t inputs = 0;
  int32_t outputs = 0;
};

// One input or output channel of an instance.
struct IChannelPort {
  bool connected = false;
  // This port's entry in the instance's buffer-pointer array: the 64-bit
  // buffer the processing reads or writes for the channel.
  double** bufferEntry = nullptr;
  // Output ports: the host's 32-bit buffer of the current block.
  float* hostFloatBuffer = nullptr;
  // One block of 64-bit samples (the largest block size).
  HeapBuffer scratch{4096};
  HeapString label{128};

  double* ScratchSamples() const { return reinterpret_cast<double*>(scratch.Data()); }
  int32_t ScratchFrames() const { return scratch.Size() / static_cast<int32_t>(sizeof(double)); }
};
