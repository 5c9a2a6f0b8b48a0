#pragma once
#include "imaging/bitmap.h"

// A bitmap in a heap block, 64-byte aligned rows of a multiple of 4 pixels;
// decoded images and scratch surfaces. The block grows by a quarter more than
// asked and never shrinks while the bitmap lives.
class PIX_MemBitmap : public PIX_IBitmap {
 public:
  PIX_MemBitmap(int width = 0, int height = 0);
  ~PIX_MemBitmap() override;
  PIX_MemBitmap(const PIX_MemBitmap&) = delete;
  PIX_MemBitmap& operator=(const PIX_MemBitmap&) = delete;

  PIX_PixelWord* PixelData() override;
  int PixelWidth() override { return width_; }
  int PixelHeight() override { return height_; }
  int RowPixels() override { return PIX_RoundedRowPixels(width_); }
  bool Reshape(int width, int height) override;

  int Capacity() const { return capacity_; }

 private:
  void* block_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  int capacity_ = 0;  // bytes usable; the block holds 63 more for alignment
};
