// Feeds arbitrary bytes to PIX_DecodePngMemory, as a damaged or hostile image
// resource would, and checks what every caller relies on from a decoded bitmap:
// a size within the limits and equal to the header's, every pixel readable, and
// the pixel format's promises (opaque without transparency, grey stays grey).
// Any broken promise aborts, so libFuzzer keeps the input that caused it.
//
// Mutations nearly always break a chunk's CRC, which stops libpng at once, so
// each input whose CRCs are wrong is decoded a second time with every complete
// chunk's CRC set right: that lets mutations reach the header and image data.
//
// With the arguments --seed <dir> it writes a few small valid PNGs there, to
// start a corpus from, and exits.
#include <png.h>
#include <sanitizer/common_interface_defs.h>
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "imaging/png_decoder.h"

namespace {
using Bytes = std::vector<uint8_t>;

constexpr size_t kSignatureBytes = 8;
constexpr size_t kChunkFrame = 12;  // length, type and CRC around a chunk's data

// Keeps the reads of every pixel from being optimised away.
volatile uint32_t pixelSink = 0;

void Require(bool ok, const char* what) {
  if (ok) return;
  // Through the sanitizers' report channel: fuzz.sh closes our stderr, which
  // libpng fills with a line for every error it meets.
  const std::string report = std::string("png fuzzer: broken promise: ") + what;
  __sanitizer_report_error_summary(report.c_str());
  std::abort();
}

uint32_t BigEndian(const uint8_t* p) {
  return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

// Sets every complete chunk's CRC to match its type and data; true if any changed.
bool RepairCrcs(Bytes& png) {
  bool changed = false;
  size_t at = kSignatureBytes;
  while (at + kChunkFrame <= png.size()) {
    const size_t length = BigEndian(&png[at]);
    if (length > png.size() - at - kChunkFrame) break;
    const uint32_t crc = uint32_t(crc32(0, &png[at + 4], uInt(length + 4)));
    uint8_t* stored = &png[at + 8 + length];
    if (BigEndian(stored) != crc) {
      for (int i = 0; i < 4; ++i) stored[i] = uint8_t(crc >> (24 - 8 * i));
      changed = true;
    }
    at += kChunkFrame + length;
  }
  return changed;
}

// The data of the first header chunk, found by the chunk lengths as libpng
// walks them (ancillary chunks may come first), or null.
const uint8_t* FindHeader(const uint8_t* png, size_t size) {
  constexpr size_t kHeaderBytes = 13;
  size_t at = kSignatureBytes;
  while (at + kChunkFrame <= size) {
    const size_t length = BigEndian(&png[at]);
    if (length > size - at - kChunkFrame) break;
    if (std::memcmp(&png[at + 4], "IHDR", 4) == 0) {
      return length >= kHeaderBytes ? &png[at + 8] : nullptr;
    }
    at += kChunkFrame + length;
  }
  return nullptr;
}

// Whether any "tRNS" in the bytes: without one, no chunk can add
// transparency.
bool MentionsTransparency(const uint8_t* png, size_t size) {
  static const char kType[] = "tRNS";
  for (size_t i = 0; i + 4 <= size; ++i) {
    if (std::memcmp(&png[i], kType, 4) == 0) return true;
  }
  return false;
}

// Bytes the decoder is given, exactly as long as the input, so a read past
// them is caught.
void DecodeAndCheck(const uint8_t* png, size_t size) {
  PIX_MemBitmap* bitmap = PIX_DecodePngMemory(png, int(size));
  if (bitmap == nullptr) return;
  const uint8_t* header = FindHeader(png, size);
  Require(header != nullptr, "decoded without a header chunk");
  const int width = bitmap->PixelWidth();
  const int height = bitmap->PixelHeight();
  Require(width >= 1 && width <= PIX_PNG_MAX_SIDE, "width within the limit");
  Require(height >= 1 && height <= PIX_PNG_MAX_SIDE, "height within the limit");
  Require(int64_t{width} * height * 4 <= PIX_PNG_MAX_PIXEL_BYTES, "pixel bytes within the limit");
  Require(uint32_t(width) == BigEndian(header) && uint32_t(height) == BigEndian(header + 4),
          "size is the header's");
  Require(bitmap->PixelData() != nullptr && bitmap->RowPixels() >= width, "rows hold the width");
  Require(!bitmap->IsBottomUp(), "rows top-down");

  const uint8_t colorType = header[9];
  const bool grey = (colorType & PNG_COLOR_MASK_COLOR) == 0;
  const bool opaque = (colorType & PNG_COLOR_MASK_ALPHA) == 0 && !MentionsTransparency(png, size);
  uint32_t everyBit = 0;
  for (int y = 0; y < height; ++y) {
    const PIX_PixelWord* row = bitmap->PixelData() + ptrdiff_t(y) * bitmap->RowPixels();
    for (int x = 0; x < width; ++x) {
      const PIX_PixelWord p = row[x];
      everyBit |= p;
      if (opaque) Require(p >> 24 == 0xFF, "opaque image has alpha 255");
      if (grey) {
        Require(((p >> 16) & 0xFF) == (p & 0xFF) && ((p >> 8) & 0xFF) == (p & 0xFF),
                "grey image has R = G = B");
      }
    }
  }
  pixelSink = everyBit;
  delete bitmap;
}

// Seeds: small, valid and varied, so mutations start from every path.
struct Seed {
  const char* name;
  int colorType;
  int bitDepth;
  bool interlaced;
  bool transparent;
};

constexpr Seed kSeeds[] = {
    {"rgb8.png", PNG_COLOR_TYPE_RGB, 8, false, false},
    {"rgba16-adam7.png", PNG_COLOR_TYPE_RGB_ALPHA, 16, true, false},
    {"grey2-trns.png", PNG_COLOR_TYPE_GRAY, 2, false, true},
    {"grey-alpha8.png", PNG_COLOR_TYPE_GRAY_ALPHA, 8, false, false},
    {"palette4-trns-adam7.png", PNG_COLOR_TYPE_PALETTE, 4, true, true},
};

void Append(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

Bytes EncodeSeed(const Seed& seed) {
  constexpr int kWidth = 5;
  constexpr int kHeight = 9;
  const int channels = seed.colorType == PNG_COLOR_TYPE_RGB          ? 3
                       : seed.colorType == PNG_COLOR_TYPE_RGB_ALPHA  ? 4
                       : seed.colorType == PNG_COLOR_TYPE_GRAY_ALPHA ? 2
                                                                     : 1;
  const size_t rowBytes = (size_t(kWidth) * channels * seed.bitDepth + 7) / 8;
  Bytes pixels(rowBytes * kHeight);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = uint8_t(i * 37 + 11);
  png_bytep rows[kHeight];
  for (int y = 0; y < kHeight; ++y) rows[y] = &pixels[rowBytes * size_t(y)];

  Bytes out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png)) != 0) {
    png_destroy_write_struct(&png, &info);
    return {};
  }
  png_set_write_fn(png, &out, Append, nullptr);
  png_set_IHDR(png, info, kWidth, kHeight, seed.bitDepth, seed.colorType,
               seed.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_color palette[16];
  png_byte alphas[8];
  for (int i = 0; i < 16; ++i) palette[i] = png_color{uint8_t(i * 16), uint8_t(255 - i), 7};
  for (int i = 0; i < 8; ++i) alphas[i] = uint8_t(i * 32);
  if (seed.colorType == PNG_COLOR_TYPE_PALETTE) png_set_PLTE(png, info, palette, 16);
  if (seed.transparent) {
    png_color_16 key{};
    key.gray = 1;
    if (seed.colorType == PNG_COLOR_TYPE_PALETTE) {
      png_set_tRNS(png, info, alphas, 8, nullptr);
    } else {
      png_set_tRNS(png, info, nullptr, 0, &key);
    }
  }
  png_write_info(png, info);
  png_write_image(png, rows);
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

// Writes the seeds into dir; each must decode, or the checks above are void.
int WriteSeeds(const std::string& dir) {
  for (const Seed& seed : kSeeds) {
    const Bytes png = EncodeSeed(seed);
    PIX_MemBitmap* decoded = PIX_DecodePngMemory(png.data(), int(png.size()));
    Require(decoded != nullptr, "every seed decodes");
    delete decoded;
    const std::string path = dir + "/" + seed.name;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr || std::fwrite(png.data(), 1, png.size(), file) != png.size()) {
      std::fprintf(stderr, "png fuzzer: cannot write %s\n", path.c_str());
      return 1;
    }
    std::fclose(file);
  }
  return 0;
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  if (*argc == 3 && std::strcmp((*argv)[1], "--seed") == 0) std::exit(WriteSeeds((*argv)[2]));
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The decoder takes an int size; larger inputs are not images we ship.
  if (size > (1u << 24)) return 0;
  DecodeAndCheck(data, size);
  Bytes repaired(data, data + size);
  if (RepairCrcs(repaired)) DecodeAndCheck(repaired.data(), repaired.size());
  return 0;
}
