#include "core/heap_string.h"

#include <cstring>

namespace {
int32_t LimitedLength(const char* text, int32_t limit) {
  if (text == nullptr) return 0;
  if (limit < 1) return static_cast<int32_t>(std::strlen(text));
  return static_cast<int32_t>(strnlen(text, static_cast<size_t>(limit)));
}
}  // namespace

int32_t HeapString::Length() const {
  const char* text = Text();
  return text != nullptr ? static_cast<int32_t>(std::strlen(text)) : 0;
}

void HeapString::WriteAt(int32_t position, const char* source, int32_t length) {
  if (length == 0) {
    if (position == 0 && buffer_.Resize(1, false) != nullptr) buffer_.Data()[0] = 0;
    return;
  }
  if (length < 0 || position < 0) return;
  const int64_t need64 = int64_t{position} + length + 1;
  if (need64 > INT32_MAX) return;
  const auto need = static_cast<int32_t>(need64);

  const int32_t oldSize = buffer_.Size();
  if (oldSize < need) {
    // The source may lie inside our own storage, which the growth can move.
    auto* src = reinterpret_cast<const uint8_t*>(source);
    buffer_.ResizeFollowing(need, src);
    source = reinterpret_cast<const char*>(src);
  }
  if (buffer_.Size() < need) return;
  uint8_t* data = buffer_.Data();
  if (source != nullptr) std::memmove(data + position, source, static_cast<size_t>(length));
  data[position + length] = 0;
  if (need < oldSize) buffer_.Resize(need, false);
}

void HeapString::Set(const char* text, int32_t limit) {
  WriteAt(0, text, LimitedLength(text, limit));
}

void HeapString::Append(const char* text, int32_t limit) {
  WriteAt(Length(), text, LimitedLength(text, limit));
}
