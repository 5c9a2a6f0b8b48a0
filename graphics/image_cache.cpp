#include "graphics/image_cache.h"

#include "core/mutex_lock.h"
#include "core/ptr_list.h"
#include "imaging/bitmap.h"

namespace {
struct CacheEntry {
  int id;
  PIX_IBitmap* bitmap;
};

// Made when the library loads; its teardown is registered for unloading.
struct BitmapCache {
  BitmapCache() = default;
  ~BitmapCache() { Release(); }
  void Release() {
    for (int i = 0; i < entries.Count(); ++i) {
      delete entries.Get(i)->bitmap;
      entries.Get(i)->bitmap = nullptr;
    }
    entries.DeleteAll();
    entries.Release();
  }
  MutexLock lock;
  PtrList<CacheEntry> entries{4096};
};

BitmapCache bitmapCache;
}  // namespace

PIX_IBitmap* FindCachedBitmap(int id) {
  MutexHolder hold(bitmapCache.lock);
  for (int i = 0; i < bitmapCache.entries.Count(); ++i) {
    const CacheEntry* entry = bitmapCache.entries.Get(i);
    if (entry->id == id) return entry->bitmap;
  }
  return nullptr;
}

void CacheBitmap(PIX_IBitmap* bitmap, int id) {
  MutexHolder hold(bitmapCache.lock);
  auto* entry = new CacheEntry{id, bitmap};
  if (!bitmapCache.entries.Add(entry)) delete entry;
}

void ReleaseBitmapCache() {
  bitmapCache.Release();
}
