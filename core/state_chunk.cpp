#include "core/state_chunk.h"

#include <cstring>

namespace {
void StoreLittleEndian(uint8_t* out, uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out[i] = static_cast<uint8_t>(value >> (8 * i));
}

uint64_t LoadLittleEndian(const uint8_t* in, int bytes) {
  uint64_t value = 0;
  for (int i = 0; i < bytes; ++i) value |= uint64_t{in[i]} << (8 * i);
  return value;
}
}  // namespace

bool IStateChunk::AppendBytes(const void* data, int32_t count) {
  if (count <= 0) return count == 0;
  const int32_t oldSize = Size();
  if (int64_t{oldSize} + count > INT32_MAX) return false;
  // The source may be this chunk's own storage, which the growth can move.
  const auto* source = static_cast<const uint8_t*>(data);
  bytes_.ResizeFollowing(oldSize + count, source);
  if (Size() != oldSize + count) return false;
  if (source != nullptr) {
    std::memmove(bytes_.Data() + oldSize, source, static_cast<size_t>(count));
  } else {
    std::memset(bytes_.Data() + oldSize, 0, static_cast<size_t>(count));
  }
  return true;
}

bool IStateChunk::AppendInt32(int32_t value) {
  uint8_t image[4];
  StoreLittleEndian(image, static_cast<uint32_t>(value), 4);
  return AppendBytes(image, 4);
}

bool IStateChunk::AppendDouble(double value) {
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  uint8_t image[8];
  StoreLittleEndian(image, bits, 8);
  return AppendBytes(image, 8);
}

bool IStateChunk::AppendByte(uint8_t value) {
  return AppendBytes(&value, 1);
}

bool IStateChunk::AppendText(const char* text) {
  const auto length = static_cast<int32_t>(text != nullptr ? std::strlen(text) : 0);
  const int32_t oldSize = Size();
  if (!AppendInt32(length)) return false;
  if (AppendBytes(text, length)) return true;
  bytes_.Resize(oldSize, false);  // no half-written text
  return false;
}

int32_t IStateChunk::ReadInt32(int32_t& out, int32_t position) const {
  if (!Fits(position, 4)) return -1;
  out = static_cast<int32_t>(static_cast<uint32_t>(LoadLittleEndian(Data() + position, 4)));
  return position + 4;
}

int32_t IStateChunk::ReadDouble(double& out, int32_t position) const {
  if (!Fits(position, 8)) return -1;
  const uint64_t bits = LoadLittleEndian(Data() + position, 8);
  std::memcpy(&out, &bits, sizeof out);
  return position + 8;
}

int32_t IStateChunk::ReadByte(uint8_t& out, int32_t position) const {
  if (!Fits(position, 1)) return -1;
  out = Data()[position];
  return position + 1;
}

int32_t IStateChunk::ReadBool(bool& out, int32_t position) const {
  uint8_t byte = 0;
  const int32_t next = ReadByte(byte, position);
  if (next >= 0) out = byte != 0;
  return next;
}

int32_t IStateChunk::ReadText(HeapString& text, int32_t position) const {
  int32_t length = 0;
  const int32_t afterLength = ReadInt32(length, position);
  if (afterLength < 0) return -1;
  const int64_t end = int64_t{afterLength} + length;
  // A negative or oversized stored length is refused rather than moving the
  // read position backwards or past what a position can hold.
  if (length < 0 || end > INT32_MAX) return -1;
  if (end <= Size() && length > 0) {
    text.WriteAt(0, reinterpret_cast<const char*>(Data() + afterLength), length);
  }
  return static_cast<int32_t>(end);
}
