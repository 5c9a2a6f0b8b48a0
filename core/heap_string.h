#pragma once
#include <cstdint>

#include "core/heap_buffer.h"

// A zero-terminated text kept in a HeapBuffer; the buffer's size counts the
// terminator. Not thread-safe: owners serialize access.
class HeapString {
 public:
  explicit HeapString(int32_t granularity = 128) : buffer_(granularity) {}

  // The text, or null when nothing is stored (users treat null as empty).
  const char* Text() const { return reinterpret_cast<const char*>(buffer_.Data()); }
  int32_t Length() const;
  int32_t Size() const { return buffer_.Size(); }
  int32_t Capacity() const { return buffer_.Capacity(); }

  // Replaces everything from position on with length bytes of source (which may
  // point into this string). Writes nothing when the growth fails.
  void WriteAt(int32_t position, const char* source, int32_t length);
  // A limit below 1 takes the whole text; otherwise at most limit characters.
  void Set(const char* text, int32_t limit = 0);
  void Append(const char* text, int32_t limit = 0);
  void Release() { buffer_.Release(); }

 private:
  HeapBuffer buffer_;
};
