#include "imaging/mem_bitmap.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {
constexpr int64_t kAlignSlack = 63;
// The largest block we ask for: a 32-bit size with room for the slack.
constexpr int64_t kLargestCapacity = INT32_MAX - kAlignSlack;
}  // namespace

PIX_MemBitmap::PIX_MemBitmap(int width, int height) {
  if (width > 0 && height > 0) Reshape(width, height);
}

PIX_MemBitmap::~PIX_MemBitmap() {
  std::free(block_);
}

PIX_PixelWord* PIX_MemBitmap::PixelData() {
  if (block_ == nullptr) return nullptr;
  const auto address = (reinterpret_cast<uintptr_t>(block_) + 63) & ~uintptr_t{63};
  return reinterpret_cast<PIX_PixelWord*>(address);
}

bool PIX_MemBitmap::Reshape(int width, int height) {
  if (width == width_ && height == height_) return false;
  width_ = width;
  height_ = height;
  const int64_t required = width >= 1 && height >= 1 ? int64_t{RowPixels()} * height * 4 : 0;
  if (required > 0 && required <= kLargestCapacity) {
    if (block_ == nullptr) {
      capacity_ = static_cast<int>(required);
      block_ = std::malloc(static_cast<size_t>(required + kAlignSlack));
    } else if (capacity_ < required) {
      const int64_t grown = std::min(required + required / 4, kLargestCapacity);
      void* moved = std::realloc(block_, static_cast<size_t>(grown + kAlignSlack));
      if (moved != nullptr) {
        block_ = moved;
        capacity_ = static_cast<int>(grown);
      } else {
        std::free(block_);
        capacity_ = static_cast<int>(required);
        block_ = std::malloc(static_cast<size_t>(required + kAlignSlack));
      }
    }
  } else {
    // Nothing to hold, or more than a block of ours can: no pixels.
    std::free(block_);
    block_ = nullptr;
    capacity_ = 0;
  }
  if (block_ == nullptr) {
    capacity_ = 0;
    width_ = 0;
    height_ = 0;
  }
  return true;
}
