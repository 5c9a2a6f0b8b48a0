#pragma once
#include <cstdint>

// The process-wide noise generator shared by every instance and channel: a
// linear congruential sequence seeded from the calendar clock on its first draw.
// A block takes the state once, draws from a local copy and puts it back, so
// instances on different threads never race on it and a single thread's draws
// follow the sequence exactly.
class NoiseGenerator {
 public:
  // Audio thread: the shared state, seeded on first use.
  static uint32_t Take();
  // Audio thread: stores the state after a block's draws.
  static void Put(uint32_t state);
  // Tests: sets the shared state as if seeded.
  static void Reset(uint32_t state) { Put(state); }

  // Advances a state by one draw and returns the new state.
  static inline uint32_t Draw(uint32_t& state) {
    state = state * 196314165u + 907633515u;
    return state;
  }
};
