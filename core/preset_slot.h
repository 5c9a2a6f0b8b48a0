#pragma once
#include "core/state_chunk.h"

constexpr int kPresetNameSize = 256;

// One preset: whether it holds a stored state, its name and that state.
struct IPresetSlot {
  bool used = false;
  char name[kPresetNameSize] = "empty";
  IStateChunk state;
};
