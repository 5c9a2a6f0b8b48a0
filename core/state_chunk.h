#pragma once
#include <cstdint>

#include "core/heap_buffer.h"
#include "core/heap_string.h"

// The byte block that carries every saved state. Values are stored
// little-endian (32-bit integers, IEEE 754 doubles); a text is its 32-bit
// length followed by its bytes, without a terminator. Reads take an explicit
// position and return the position after the value, or -1 when it does not fit.
// Not thread-safe: owners serialize access.
class IStateChunk {
 public:
  IStateChunk() : bytes_(4096) {}

  int32_t Size() const { return bytes_.Size(); }
  // Null while the size is 0.
  const uint8_t* Data() const { return bytes_.Data(); }
  uint8_t* MutableData() { return bytes_.Data(); }
  void Clear() { bytes_.Resize(0, true); }
  // New bytes are zero. Returns the old size.
  int32_t Resize(int32_t size) { return bytes_.ResizeZeroFill(size); }

  // Each append reports false, appending nothing, when the chunk cannot grow.
  bool AppendInt32(int32_t value);
  bool AppendDouble(double value);
  bool AppendByte(uint8_t value);
  bool AppendBool(bool value) { return AppendByte(value ? 1 : 0); }
  bool AppendBytes(const void* data, int32_t count);
  bool AppendText(const char* text);
  bool AppendChunk(const IStateChunk& other) { return AppendBytes(other.Data(), other.Size()); }

  int32_t ReadInt32(int32_t& out, int32_t position) const;
  int32_t ReadDouble(double& out, int32_t position) const;
  int32_t ReadByte(uint8_t& out, int32_t position) const;
  int32_t ReadBool(bool& out, int32_t position) const;
  // Returns position + 4 + stored length even when the text was not taken
  // (empty, or running past the end), so the next read fails.
  int32_t ReadText(HeapString& text, int32_t position) const;

  void Release() { bytes_.Release(); }

 private:
  // True when count bytes at position lie inside the chunk.
  bool Fits(int32_t position, int32_t count) const {
    return position >= 0 && int64_t{position} + count <= Size();
  }
  HeapBuffer bytes_;
};
