#pragma once
#include "imaging/bitmap.h"
#include "platform/drawing_surface.h"

// A bitmap whose pixels live in an OS bitmap selected into its own memory
// drawing context, so our routines and the OS (text, copies to a window) work
// on the same pixels. Shrinking keeps the OS bitmap.
class PIX_SysBitmap : public PIX_IBitmap {
 public:
  PIX_SysBitmap(int width = 0, int height = 0);
  ~PIX_SysBitmap() override;
  PIX_SysBitmap(const PIX_SysBitmap&) = delete;
  PIX_SysBitmap& operator=(const PIX_SysBitmap&) = delete;

  PIX_PixelWord* PixelData() override { return pixels_; }
  int PixelWidth() override { return width_; }
  int PixelHeight() override { return height_; }
  int RowPixels() override { return allocatedRowPixels_; }
  bool Reshape(int width, int height) override;
  void* DrawingContext() override { return context_; }

 private:
  void ReleaseOsBitmap();

  int width_ = 0;
  int height_ = 0;
  OsDrawingContext context_ = nullptr;
  PIX_PixelWord* pixels_ = nullptr;
  int allocatedRowPixels_ = 0;
  int allocatedHeight_ = 0;
  OsBitmap bitmap_ = nullptr;
  void* previouslySelected_ = nullptr;
};
