#pragma once
#include <cstdint>

#include "core/heap_buffer.h"

// The untyped storage of a PtrList: pointers back to back in a HeapBuffer.
class PtrListStorage {
 public:
  explicit PtrListStorage(int32_t granularity) : buffer_(granularity) {}

  int32_t Count() const { return buffer_.Size() / static_cast<int32_t>(sizeof(void*)); }
  void* Get(int32_t index) const;
  // Both return false, storing nothing, when the list cannot grow.
  bool Add(void* element);
  bool Insert(int32_t index, void* element);
  // Drops the last element without deleting it; the storage stays.
  void RemoveLast();
  void Release() { buffer_.Release(); }

 private:
  void** Slots() const { return reinterpret_cast<void**>(buffer_.Data()); }
  HeapBuffer buffer_;
};

// A list of pointers that does not own its elements by itself: each owner
// deletes them with DeleteAll in its teardown. Not thread-safe.
template <typename T>
class PtrList {
 public:
  explicit PtrList(int32_t granularity = 4096) : storage_(granularity) {}

  int32_t Count() const { return storage_.Count(); }
  // Null for an index outside the list.
  T* Get(int32_t index) const { return static_cast<T*>(storage_.Get(index)); }
  bool Add(T* element) { return storage_.Add(element); }
  bool Insert(int32_t index, T* element) { return storage_.Insert(index, element); }

  // Deletes and removes every element, last element first; the storage stays
  // until Release.
  template <typename Deleter>
  void DeleteAll(Deleter deleteOne) {
    for (int32_t i = Count() - 1; i >= 0; --i) {
      deleteOne(Get(i));
      storage_.RemoveLast();
    }
  }
  void DeleteAll() {
    DeleteAll([](T* element) { delete element; });
  }
  void Release() { storage_.Release(); }

 private:
  PtrListStorage storage_;
};
