#include "imaging/png_decoder.h"

#include <png.h>

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "platform/file_open.h"

namespace {
constexpr uint8_t kSignature[8] = {137, 80, 78, 71, 13, 10, 26, 10};
constexpr int kBytesPerPixel = 4;

// What the memory decoder's read callback hands out next.
struct MemorySource {
  const uint8_t* next;
  size_t remaining;
};

// A read past the end is a libpng error, as a short read from a file is. Handing
// out zeros instead would let a few bytes that declare a chunk of up to 2 GiB
// keep libpng checksumming phantom data for seconds before it gives up.
void ReadFromMemory(png_structp png, png_bytep out, png_size_t length) {
  auto* source = static_cast<MemorySource*>(png_get_io_ptr(png));
  if (length > source->remaining) png_error(png, "read past the end of the data");
  std::memcpy(out, source->next, length);
  source->next += length;
  source->remaining -= length;
}

struct PngReader {
  png_structp png = nullptr;
  png_infop info = nullptr;
};

bool CreateReader(PngReader& reader) {
  reader.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (reader.png == nullptr) return false;
  reader.info = png_create_info_struct(reader.png);
  if (reader.info != nullptr) return true;
  png_destroy_read_struct(&reader.png, nullptr, nullptr);
  return false;
}

void DestroyReader(PngReader& reader) {
  png_destroy_read_struct(&reader.png, &reader.info, nullptr);
}

// Asks libpng for four bytes a pixel, A, R, G, B, whatever the colour type and
// bit depth of the file.
void RequestArgb(png_structp png, png_infop info, int colorType, int bitDepth) {
  if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
  if (png_get_valid(png, info, PNG_INFO_tRNS) != 0) {
    png_set_tRNS_to_alpha(png);
    colorType |= PNG_COLOR_MASK_ALPHA;
  }
  if (bitDepth == 16) png_set_strip_16(png);
  if (bitDepth < 8) png_set_packing(png);
  if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) {
    png_set_gray_to_rgb(png);
  }
  if ((colorType & PNG_COLOR_MASK_ALPHA) != 0) {
    png_set_swap_alpha(png);
  } else {
    png_set_filler(png, 0xff, PNG_FILLER_BEFORE);
  }
}

// The steps that can end in a libpng error each arm their own jump target and
// hold nothing that a jump past them could leak or leave half-built.

// Reads the header and sets up the transformations. False on a libpng error,
// an image beyond our limits, or rows that would not come out as four bytes a
// pixel (which would overrun the bitmap's rows).
bool ReadHeader(png_structp png, png_infop info, int* width, int* height) {
  if (setjmp(png_jmpbuf(png)) != 0) return false;
  // libpng refuses a wider or taller header itself, before it allocates.
  png_set_user_limits(png, PIX_PNG_MAX_SIDE, PIX_PNG_MAX_SIDE);
  png_read_info(png, info);
  png_uint_32 imageWidth = 0;
  png_uint_32 imageHeight = 0;
  int bitDepth = 0;
  int colorType = 0;
  png_get_IHDR(png, info, &imageWidth, &imageHeight, &bitDepth, &colorType, nullptr, nullptr,
               nullptr);
  if (imageWidth < 1 || imageHeight < 1 || imageWidth > PIX_PNG_MAX_SIDE ||
      imageHeight > PIX_PNG_MAX_SIDE ||
      int64_t{imageWidth} * imageHeight * kBytesPerPixel > PIX_PNG_MAX_PIXEL_BYTES) {
    return false;
  }
  RequestArgb(png, info, colorType, bitDepth);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  if (png_get_rowbytes(png, info) != size_t{imageWidth} * kBytesPerPixel) return false;
  *width = static_cast<int>(imageWidth);
  *height = static_cast<int>(imageHeight);
  return true;
}

bool ReadRows(png_structp png, png_bytepp rows) {
  if (setjmp(png_jmpbuf(png)) != 0) return false;
  png_read_image(png, rows);
  return true;
}

// A bitmap is fit to take the rows when it has exactly the image's size.
bool HoldsImage(PIX_IBitmap* bitmap, int width, int height) {
  return bitmap->PixelWidth() == width && bitmap->PixelHeight() == height &&
         bitmap->PixelData() != nullptr && bitmap->RowPixels() >= width;
}

// A, R, G, B as libpng delivers them to B, G, R, A, the PIX_PixelWord order.
void ReorderPixels(png_bytepp rows, int width, int height) {
  for (int y = 0; y < height; ++y) {
    png_bytep pixel = rows[y];
    for (int x = 0; x < width; ++x, pixel += kBytesPerPixel) {
      const png_byte a = pixel[0];
      const png_byte r = pixel[1];
      pixel[0] = pixel[3];
      pixel[1] = pixel[2];
      pixel[2] = r;
      pixel[3] = a;
    }
  }
}

// Decodes the image into a bitmap that holds it, in its row order.
bool ReadImage(png_structp png, PIX_IBitmap* bitmap, int width, int height) {
  auto** rows = static_cast<png_bytepp>(std::malloc(sizeof(png_bytep) * size_t(height)));
  if (rows == nullptr) return false;
  const ptrdiff_t stride = bitmap->RowPixels();
  PIX_PixelWord* first = bitmap->PixelData();
  if (bitmap->IsBottomUp()) {
    // The image's top row is the last one stored.
    first += stride * (height - 1);
    for (int y = 0; y < height; ++y) rows[y] = reinterpret_cast<png_bytep>(first - stride * y);
  } else {
    for (int y = 0; y < height; ++y) rows[y] = reinterpret_cast<png_bytep>(first + stride * y);
  }
  const bool read = ReadRows(png, rows);
  if (read) ReorderPixels(rows, width, height);
  std::free(rows);
  return read;
}
}  // namespace

PIX_MemBitmap* PIX_DecodePngMemory(const uint8_t* data, int size) {
  if (data == nullptr || size < 8 || std::memcmp(data, kSignature, sizeof kSignature) != 0) {
    return nullptr;
  }
  PngReader reader;
  if (!CreateReader(reader)) return nullptr;
  // libpng reads the signature again from the start.
  MemorySource source{data, static_cast<size_t>(size)};
  png_set_read_fn(reader.png, &source, ReadFromMemory);
  PIX_MemBitmap* bitmap = nullptr;
  int width = 0;
  int height = 0;
  if (ReadHeader(reader.png, reader.info, &width, &height)) {
    bitmap = new (std::nothrow) PIX_MemBitmap(width, height);
    if (bitmap != nullptr &&
        !(HoldsImage(bitmap, width, height) && ReadImage(reader.png, bitmap, width, height))) {
      delete bitmap;
      bitmap = nullptr;
    }
  }
  DestroyReader(reader);
  return bitmap;
}

PIX_IBitmap* PIX_DecodePngFile(const char* path, PIX_IBitmap* destination) {
  if (path == nullptr) return nullptr;
  std::FILE* file = OsOpenFileForReading(path);
  if (file == nullptr) return nullptr;
  PngReader reader;
  if (!CreateReader(reader)) {
    std::fclose(file);
    return nullptr;
  }
  png_init_io(reader.png, file);
  PIX_IBitmap* result = nullptr;
  int width = 0;
  int height = 0;
  if (ReadHeader(reader.png, reader.info, &width, &height)) {
    PIX_IBitmap* bitmap = destination;
    if (destination != nullptr) {
      destination->Reshape(width, height);
    } else {
      bitmap = new (std::nothrow) PIX_MemBitmap(width, height);
    }
    if (bitmap != nullptr && HoldsImage(bitmap, width, height) &&
        ReadImage(reader.png, bitmap, width, height)) {
      result = bitmap;
    } else if (bitmap != destination) {
      delete bitmap;
    }
  }
  DestroyReader(reader);
  std::fclose(file);
  return result;
}
