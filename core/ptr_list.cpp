#include "core/ptr_list.h"

#include <cstring>

namespace {
constexpr int32_t kSlot = static_cast<int32_t>(sizeof(void*));
}

void* PtrListStorage::Get(int32_t index) const {
  if (index < 0 || index >= Count() || Slots() == nullptr) return nullptr;
  return Slots()[index];
}

bool PtrListStorage::Add(void* element) {
  const int32_t count = Count();
  buffer_.Resize((count + 1) * kSlot, false);
  if (Count() != count + 1) return false;
  Slots()[count] = element;
  return true;
}

bool PtrListStorage::Insert(int32_t index, void* element) {
  const int32_t count = Count();
  if (index < 0 || index > count) return false;
  buffer_.Resize((count + 1) * kSlot, false);
  if (Count() != count + 1) return false;
  void** slots = Slots();
  std::memmove(slots + index + 1, slots + index, static_cast<size_t>(count - index) * kSlot);
  slots[index] = element;
  return true;
}

void PtrListStorage::RemoveLast() {
  if (Count() > 0) buffer_.Resize((Count() - 1) * kSlot, false);
}
