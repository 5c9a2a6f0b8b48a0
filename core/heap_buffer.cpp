#include "core/heap_buffer.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>

namespace {
constexpr int64_t kPage = 4096;
constexpr int64_t kAllocatorHeader = 96;  // keeps whole allocations page-sized
constexpr int64_t kLargestExtraGrowth = 0x400000;
}  // namespace

int64_t HeapBuffer::CapacityFor(int32_t n) const {
  if (n < 1) return 0;
  int64_t g = std::max<int64_t>(n / 2, granularity_);
  int64_t c;
  if (granularity_ < kPage) {
    c = int64_t{n} + g;
  } else {
    g = std::clamp<int64_t>(g / kPage * kPage, kPage, kLargestExtraGrowth);
    c = (int64_t{n} + kAllocatorHeader + g) / kPage * kPage - kAllocatorHeader;
  }
  return c > INT32_MAX ? -1 : c;
}

uint8_t* HeapBuffer::Resize(int32_t newSize, bool allowShrink) {
  const int32_t n = std::max(newSize, 0);
  if (n == size_) return Data();

  int64_t threshold = 0;
  if (allowShrink && n < size_) {
    threshold = std::max<int64_t>(
        std::min<int64_t>(int64_t{capacity_} - 4 * int64_t{granularity_}, capacity_ / 2), 1);
  }
  if (n > capacity_ || n < threshold) {
    const int64_t c = CapacityFor(n);
    if (c < 0) return Data();  // beyond a 32-bit size: a failed growth
    if (c != capacity_) {
      if (c == 0) {
        Release();
        return nullptr;
      }
      auto* grown = static_cast<uint8_t*>(std::realloc(data_, static_cast<size_t>(c)));
      if (grown == nullptr) {
        grown = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(c)));
        if (grown == nullptr) return Data();
        if (data_ != nullptr) std::memcpy(grown, data_, static_cast<size_t>(std::min(size_, n)));
        std::free(data_);
      }
      data_ = grown;
      capacity_ = static_cast<int32_t>(c);
    }
  }
  size_ = n;
  return Data();
}

uint8_t* HeapBuffer::ResizeFollowing(int32_t newSize, const uint8_t*& source) {
  const uint8_t* oldData = data_;
  const bool inside = oldData != nullptr && source >= oldData && source < oldData + capacity_;
  const ptrdiff_t offset = inside ? source - oldData : 0;
  Resize(newSize, false);
  if (inside) source = data_ + offset;
  return Data();
}

int32_t HeapBuffer::ResizeZeroFill(int32_t newSize) {
  const int32_t oldSize = size_;
  Resize(newSize, true);
  if (size_ > oldSize) std::memset(data_ + oldSize, 0, static_cast<size_t>(size_ - oldSize));
  return oldSize;
}

void HeapBuffer::Release() {
  std::free(data_);
  data_ = nullptr;
  capacity_ = 0;
  size_ = 0;
}
