#pragma once
#include <cstdint>

#include "imaging/bitmap.h"
#include "imaging/mem_bitmap.h"

// The largest image we decode; anything bigger is refused before pixel memory
// is taken, so a hostile header cannot make us allocate what it declares.
constexpr int PIX_PNG_MAX_SIDE = 16384;
constexpr int64_t PIX_PNG_MAX_PIXEL_BYTES = int64_t{256} << 20;

// PNG bytes in memory, such as an image resource, to a new bitmap of the
// image's size owned by the caller: PIX_PixelWord pixels, straight alpha, alpha
// 255 where the image has no transparency, no gamma applied. Null for anything
// but a whole, well-formed PNG within the limits above.
PIX_MemBitmap* PIX_DecodePngMemory(const uint8_t* data, int size);

// A PNG file named by a UTF-8 path, decoded as above. With a destination the
// image is decoded into it (reshaped to the image's size) and the destination is
// returned; without one a new bitmap is. Null on failure; a destination then
// keeps whatever size and rows it had got by then.
PIX_IBitmap* PIX_DecodePngFile(const char* path, PIX_IBitmap* destination);
