#include <cstdint>
#include <cstdlib>
#include <new>

#include "platform/drawing_surface.h"

namespace {
// What a context holds: the object last selected into it.
struct StandInContext {
  void* selected = nullptr;
};

struct StandInBitmap {
  uint32_t* pixels = nullptr;
};

constexpr size_t kRowAlignment = 64;
}  // namespace

OsDrawingContext OsCreateMemoryContext() {
  return new (std::nothrow) StandInContext;
}

void OsDeleteMemoryContext(OsDrawingContext context) {
  delete static_cast<StandInContext*>(context);
}

OsBitmap OsCreatePixelBitmap(int rowPixels, int height, bool /*bottomUp*/, uint32_t** pixels) {
  *pixels = nullptr;
  if (rowPixels < 1 || height < 1) return nullptr;
  const uint64_t bytes = uint64_t(rowPixels) * uint64_t(height) * 4;
  if (bytes > INT32_MAX) return nullptr;  // as an OS would refuse
  auto* bitmap = new (std::nothrow) StandInBitmap;
  if (bitmap == nullptr) return nullptr;
  const size_t rounded = (bytes + kRowAlignment - 1) / kRowAlignment * kRowAlignment;
  bitmap->pixels = static_cast<uint32_t*>(std::aligned_alloc(kRowAlignment, rounded));
  if (bitmap->pixels == nullptr) {
    delete bitmap;
    return nullptr;
  }
  *pixels = bitmap->pixels;
  return bitmap;
}

void OsDeleteBitmap(OsBitmap bitmap) {
  auto* standIn = static_cast<StandInBitmap*>(bitmap);
  if (standIn == nullptr) return;
  std::free(standIn->pixels);
  delete standIn;
}

void* OsSelectIntoContext(OsDrawingContext context, void* object) {
  auto* standIn = static_cast<StandInContext*>(context);
  void* previous = standIn->selected;
  standIn->selected = object;
  return previous;
}
