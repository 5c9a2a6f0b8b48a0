#include "effect/noise_generator.h"

#include <atomic>
#include <ctime>

namespace {
// Bit 32 marks the generator as seeded; the low 32 bits are its state.
constexpr uint64_t kSeeded = uint64_t{1} << 32;
std::atomic<uint64_t> sharedState{0};
}  // namespace

uint32_t NoiseGenerator::Take() {
  const uint64_t word = sharedState.load(std::memory_order_acquire);
  if (word & kSeeded) return static_cast<uint32_t>(word);
  return static_cast<uint32_t>(static_cast<uint64_t>(std::time(nullptr)));
}

void NoiseGenerator::Put(uint32_t state) {
  sharedState.store(kSeeded | state, std::memory_order_release);
}
