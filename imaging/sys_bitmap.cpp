#include "imaging/sys_bitmap.h"

PIX_SysBitmap::PIX_SysBitmap(int width, int height) : context_(OsCreateMemoryContext()) {
  Reshape(width, height);
}

PIX_SysBitmap::~PIX_SysBitmap() {
  ReleaseOsBitmap();
  OsDeleteMemoryContext(context_);
}

void PIX_SysBitmap::ReleaseOsBitmap() {
  if (previouslySelected_ != nullptr && context_ != nullptr) {
    OsSelectIntoContext(context_, previouslySelected_);
  }
  previouslySelected_ = nullptr;
  OsDeleteBitmap(bitmap_);
  bitmap_ = nullptr;
  pixels_ = nullptr;
}

bool PIX_SysBitmap::Reshape(int width, int height) {
  if (context_ == nullptr) {
    width_ = height_ = 0;
    pixels_ = nullptr;
    return false;
  }
  if (width == width_ && height == height_) return false;
  width_ = width;
  height_ = height;
  if (width != 0 && height != 0 && width <= allocatedRowPixels_ && height <= allocatedHeight_ &&
      pixels_ != nullptr) {
    return true;
  }
  allocatedHeight_ = height;
  allocatedRowPixels_ = PIX_RoundedRowPixels(width);
  ReleaseOsBitmap();
  if (allocatedRowPixels_ < 1 || height < 1) return false;
  bitmap_ = OsCreatePixelBitmap(allocatedRowPixels_, height, IsBottomUp(), &pixels_);
  if (bitmap_ != nullptr) {
    previouslySelected_ = OsSelectIntoContext(context_, bitmap_);
  } else {
    pixels_ = nullptr;
    width_ = height_ = 0;
  }
  return true;
}
