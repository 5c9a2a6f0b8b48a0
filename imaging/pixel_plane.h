#pragma once
#include <cstddef>

#include "imaging/bitmap.h"

// A bitmap's pixels and geometry, fetched once per drawing call so that the
// loops make no virtual calls.
struct PIX_PixelPlane {
  PIX_PixelWord* pixels = nullptr;
  int width = 0;
  int height = 0;
  int rowPixels = 0;
  bool bottomUp = false;

  // Image row y (0 at the top), wherever it is stored.
  PIX_PixelWord* Row(int y) const {
    const int stored = bottomUp ? height - 1 - y : y;
    return pixels + static_cast<ptrdiff_t>(stored) * rowPixels;
  }
};

// False, leaving nothing to draw, for a null bitmap, null pixels, a
// non-positive size or rows shorter than the width.
inline bool PIX_FetchPlane(PIX_IBitmap* bitmap, PIX_PixelPlane& plane) {
  if (bitmap == nullptr) return false;
  plane.pixels = bitmap->PixelData();
  plane.width = bitmap->PixelWidth();
  plane.height = bitmap->PixelHeight();
  plane.rowPixels = bitmap->RowPixels();
  plane.bottomUp = bitmap->IsBottomUp();
  return plane.pixels != nullptr && plane.width > 0 && plane.height > 0 &&
         plane.rowPixels >= plane.width;
}
