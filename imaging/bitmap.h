#pragma once
#include <cstdint>

// One pixel: 0xAARRGGBB, stored as the bytes B, G, R, A; straight alpha.
using PIX_PixelWord = uint32_t;

// The one interface every drawing routine reaches pixels through. A bitmap
// with null pixels or a non-positive size is safe to draw into and from: every
// routine then draws nothing. No lock: one thread uses a bitmap at a time.
class PIX_IBitmap {
 public:
  virtual ~PIX_IBitmap() = default;
  virtual PIX_PixelWord* PixelData() = 0;
  virtual int PixelWidth() = 0;
  virtual int PixelHeight() = 0;
  // Pixels from one stored row to the next.
  virtual int RowPixels() = 0;
  // True when the first stored row is the bottom row of the image.
  virtual bool IsBottomUp() { return false; }
  // True if anything changed. Contents are unspecified after a size change.
  virtual bool Reshape(int width, int height) = 0;
  // The OS drawing context that holds these pixels, or null.
  virtual void* DrawingContext() { return nullptr; }
  virtual intptr_t QueryExtension(int /*id*/, void* /*data*/) { return 0; }
};

// A width rounded up to a whole multiple of 4 pixels, the row length of both
// bitmap kinds; widths near the int limit round down instead of overflowing.
inline int PIX_RoundedRowPixels(int width) {
  return width > INT32_MAX - 3 ? INT32_MAX & ~3 : (width + 3) & ~3;
}

// True when a bitmap has pixels to draw into or from.
inline bool PIX_IsDrawable(PIX_IBitmap* bitmap) {
  return bitmap != nullptr && bitmap->PixelData() != nullptr && bitmap->PixelWidth() > 0 &&
         bitmap->PixelHeight() > 0;
}
