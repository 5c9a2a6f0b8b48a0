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

  static constexpr uint32_t kMultiplier = 196314165u;
  static constexpr uint32_t kIncrement = 907633515u;
  // Two draws folded into one step (all modulo 2^32), so the second draw of a
  // channel-sample need not wait for the first.
  static constexpr uint32_t kMultiplierTwice = kMultiplier * kMultiplier;
  static constexpr uint32_t kIncrementTwice = kMultiplier * kIncrement + kIncrement;

  // Advances a state by one draw and returns the new state.
  static inline uint32_t Draw(uint32_t& state) {
    state = state * kMultiplier + kIncrement;
    return state;
  }
  // The state two draws after state, without changing it.
  static inline uint32_t PeekSecond(uint32_t state) {
    return state * kMultiplierTwice + kIncrementTwice;
  }
};
