#pragma once
#include <cstdint>

// A growable block of bytes. Capacity grows in one step to hold at least half
// as much again as asked (or one granularity), large buffers are fitted to whole
// pages, and memory is given back only when a shrink is asked for explicitly.
// Not thread-safe: owners serialize access.
class HeapBuffer {
 public:
  explicit HeapBuffer(int32_t granularity = 4096) : granularity_(granularity) {}
  ~HeapBuffer() { Release(); }
  HeapBuffer(const HeapBuffer&) = delete;
  HeapBuffer& operator=(const HeapBuffer&) = delete;

  // The storage while the size is not 0, otherwise null.
  uint8_t* Data() const { return size_ != 0 ? data_ : nullptr; }
  int32_t Size() const { return size_; }
  int32_t Capacity() const { return capacity_; }
  int32_t Granularity() const { return granularity_; }

  // Sets the size (a negative size counts as 0) and returns Data() afterwards.
  // A growth that cannot be allocated leaves the buffer exactly as it was.
  uint8_t* Resize(int32_t newSize, bool allowShrink = true);
  // Resize without shrinking, for writers whose source may lie in this
  // buffer's own storage: source follows the storage when the growth moves it.
  uint8_t* ResizeFollowing(int32_t newSize, const uint8_t*& source);
  // Resize with shrinking allowed; bytes gained are zero. Returns the old size.
  int32_t ResizeZeroFill(int32_t newSize);
  // Gives the storage back; the buffer becomes empty.
  void Release();

 private:
  // The capacity the growth policy chooses for n bytes, or -1 when it does not
  // fit a 32-bit size.
  int64_t CapacityFor(int32_t n) const;

  uint8_t* data_ = nullptr;
  int32_t capacity_ = 0;
  int32_t size_ = 0;
  int32_t granularity_;
};
