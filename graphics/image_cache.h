#pragma once

class PIX_IBitmap;

// The process-wide cache of decoded editor images by resource id, shared by
// every instance and editor; it owns the images until the library unloads.
// Any thread: each lookup and insertion takes the cache's lock.
PIX_IBitmap* FindCachedBitmap(int id);
void CacheBitmap(PIX_IBitmap* bitmap, int id);
// Exit-time teardown, single-threaded: destroys every cached image.
void ReleaseBitmapCache();
