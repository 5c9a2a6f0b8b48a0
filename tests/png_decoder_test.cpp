// PNG decoding from memory and from files, and the image loader chain. Every
// fixture is encoded here with libpng, and every expected pixel is worked out
// from the samples that went into it.
#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "imaging/image_loader_chain.h"
#include "imaging/mem_bitmap.h"
#include "imaging/png_decoder.h"

namespace {
namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;
using Pixels = std::vector<PIX_PixelWord>;

// An image as it goes into the encoder.
struct PngImage {
  int width = 0;
  int height = 0;
  int colorType = PNG_COLOR_TYPE_RGB;
  int bitDepth = 8;
  bool interlaced = false;
  // Row by row, pixel by pixel, channel by channel; palette indexes for palettes.
  std::vector<uint16_t> samples;
  std::vector<png_color> palette;
  std::vector<uint8_t> paletteAlpha;  // tRNS of a palette image
  bool hasKey = false;                // tRNS of a grey or RGB image
  uint16_t key[3] = {};
  int idatBytes = 0;  // split the image data into chunks of about this size; 0: one chunk
};

int Channels(int colorType) {
  switch (colorType) {
    case PNG_COLOR_TYPE_GRAY_ALPHA:
      return 2;
    case PNG_COLOR_TYPE_RGB:
      return 3;
    case PNG_COLOR_TYPE_RGB_ALPHA:
      return 4;
    default:
      return 1;  // grey, palette
  }
}

void AppendToBytes(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

// Packs the samples into rows: sub-byte samples from the high bits down, 16-bit
// ones big-endian, as the format stores them.
std::vector<Bytes> PackRows(const PngImage& image) {
  const int channels = Channels(image.colorType);
  std::vector<Bytes> rows;
  for (int y = 0; y < image.height; ++y) {
    Bytes row((size_t(image.width) * channels * image.bitDepth + 7) / 8, 0);
    for (int i = 0; i < image.width * channels; ++i) {
      const uint16_t v = image.samples[size_t(y) * image.width * channels + i];
      if (image.bitDepth == 16) {
        row[2 * i] = uint8_t(v >> 8);
        row[2 * i + 1] = uint8_t(v);
      } else if (image.bitDepth == 8) {
        row[i] = uint8_t(v);
      } else {
        const int bit = i * image.bitDepth;
        row[bit / 8] |= uint8_t(v << (8 - image.bitDepth - bit % 8));
      }
    }
    rows.push_back(row);
  }
  return rows;
}

Bytes Encode(const PngImage& image) {
  Bytes out;
  std::vector<Bytes> rows = PackRows(image);
  std::vector<png_bytep> rowPointers;
  for (Bytes& row : rows) rowPointers.push_back(row.data());
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png)) != 0) {
    png_destroy_write_struct(&png, &info);
    ADD_FAILURE() << "libpng refused to write a fixture";
    return {};
  }
  png_set_write_fn(png, &out, AppendToBytes, nullptr);
  if (image.idatBytes > 0) png_set_compression_buffer_size(png, size_t(image.idatBytes));
  png_set_IHDR(png, info, png_uint_32(image.width), png_uint_32(image.height), image.bitDepth,
               image.colorType, image.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (!image.palette.empty()) {
    png_set_PLTE(png, info, image.palette.data(), int(image.palette.size()));
  }
  if (!image.paletteAlpha.empty()) {
    png_set_tRNS(png, info, image.paletteAlpha.data(), int(image.paletteAlpha.size()), nullptr);
  }
  if (image.hasKey) {
    png_color_16 key{};
    key.gray = image.key[0];
    key.red = image.key[0];
    key.green = image.key[1];
    key.blue = image.key[2];
    png_set_tRNS(png, info, nullptr, 0, &key);
  }
  png_write_info(png, info);
  png_write_image(png, rowPointers.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

// A sample at its own bit depth widened or narrowed to 8 bits the way the
// decoder must: low depths scaled to the full range, 16 bits by the high byte.
uint8_t To8(uint16_t v, int depth) {
  if (depth == 16) return uint8_t(v >> 8);
  return uint8_t(v * 255 / ((1 << depth) - 1));
}

PIX_PixelWord Word(unsigned a, unsigned r, unsigned g, unsigned b) {
  return PIX_PixelWord(a << 24 | r << 16 | g << 8 | b);
}

// The pixels a correct decoder gives for the image, top row first.
Pixels Expected(const PngImage& image) {
  const int channels = Channels(image.colorType);
  const int d = image.bitDepth;
  Pixels out;
  for (int p = 0; p < image.width * image.height; ++p) {
    const uint16_t* s = &image.samples[size_t(p) * channels];
    switch (image.colorType) {
      case PNG_COLOR_TYPE_GRAY: {
        const uint8_t g = To8(s[0], d);
        out.push_back(Word(image.hasKey && s[0] == image.key[0] ? 0 : 255, g, g, g));
        break;
      }
      case PNG_COLOR_TYPE_GRAY_ALPHA: {
        const uint8_t g = To8(s[0], d);
        out.push_back(Word(To8(s[1], d), g, g, g));
        break;
      }
      case PNG_COLOR_TYPE_RGB: {
        const bool keyed =
            image.hasKey && s[0] == image.key[0] && s[1] == image.key[1] && s[2] == image.key[2];
        out.push_back(Word(keyed ? 0 : 255, To8(s[0], d), To8(s[1], d), To8(s[2], d)));
        break;
      }
      case PNG_COLOR_TYPE_RGB_ALPHA:
        out.push_back(Word(To8(s[3], d), To8(s[0], d), To8(s[1], d), To8(s[2], d)));
        break;
      case PNG_COLOR_TYPE_PALETTE: {
        const png_color c = image.palette[s[0]];
        const uint8_t a = s[0] < image.paletteAlpha.size() ? image.paletteAlpha[s[0]] : 255;
        out.push_back(Word(a, c.red, c.green, c.blue));
        break;
      }
    }
  }
  return out;
}

// The bitmap's pixels top row first, without the row padding.
Pixels Read(PIX_IBitmap& bitmap) {
  Pixels out;
  for (int y = 0; y < bitmap.PixelHeight(); ++y) {
    const PIX_PixelWord* row = bitmap.PixelData() + ptrdiff_t(y) * bitmap.RowPixels();
    out.insert(out.end(), row, row + bitmap.PixelWidth());
  }
  return out;
}

// 9 by 7 pixels reach every pass of Adam7 interlacing and leave a partial byte
// at the end of every sub-byte row. Samples cover the whole range of the depth;
// 16-bit ones differ in both bytes. With transparency, pixel 1 is the key colour
// (or an entry with alpha), pixel 2 misses the key in one channel only.
PngImage MakeImage(int colorType, int bitDepth, bool transparent, bool interlaced) {
  PngImage image;
  image.width = 9;
  image.height = 7;
  image.colorType = colorType;
  image.bitDepth = bitDepth;
  image.interlaced = interlaced;
  const int channels = Channels(colorType);
  const uint32_t maximum = (1u << bitDepth) - 1;
  uint32_t state = uint32_t(colorType * 131 + bitDepth);
  for (int i = 0; i < image.width * image.height * channels; ++i) {
    state = state * 1664525u + 1013904223u;
    image.samples.push_back(uint16_t(i < channels ? maximum : (state >> 8) & maximum));
  }
  if (colorType == PNG_COLOR_TYPE_PALETTE) {
    for (uint32_t i = 0; i <= maximum; ++i) {
      image.palette.push_back(png_color{uint8_t(i * 7 + 1), uint8_t(255 - i), uint8_t(i * 3)});
    }
    if (transparent) {
      // Fewer alphas than entries: the entries past them stay opaque.
      for (uint32_t i = 0; i < (maximum + 1) / 2; ++i)
        image.paletteAlpha.push_back(uint8_t(i * 90));
      image.samples[1] = 1;
    }
  } else if (transparent) {
    image.hasKey = true;
    for (int c = 0; c < channels; ++c) image.key[c] = image.samples[size_t(channels) + c];
    for (int c = 0; c < channels; ++c) image.samples[size_t(2 * channels) + c] = image.key[c];
    image.samples[size_t(2 * channels)] ^= 1;
  }
  return image;
}

// A file system scratch folder for one test, removed afterwards.
class TempFolder {
 public:
  TempFolder() {
    std::random_device random;
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    root_ = fs::temp_directory_path() /
            ("grittbox-png-" + std::to_string(now) + "-" + std::to_string(random()));
    fs::create_directories(root_);
  }
  ~TempFolder() {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // Writes bytes to a file at a UTF-8 name below the folder, which may contain
  // subfolders; returns the whole path in UTF-8.
  std::string Write(const std::string& name, const Bytes& bytes) {
    const fs::path path = root_ / fs::u8path(name);
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    out.close();
    EXPECT_FALSE(out.fail()) << name;
    return path.u8string();
  }

  // The UTF-8 path of a name below the folder, without creating anything.
  std::string Path(const std::string& name) const { return (root_ / fs::u8path(name)).u8string(); }

 private:
  fs::path root_;
};

std::unique_ptr<PIX_MemBitmap> DecodeMemory(const Bytes& bytes) {
  return std::unique_ptr<PIX_MemBitmap>(PIX_DecodePngMemory(bytes.data(), int(bytes.size())));
}

std::unique_ptr<PIX_IBitmap> DecodeFile(const std::string& path) {
  return std::unique_ptr<PIX_IBitmap>(PIX_DecodePngFile(path.c_str(), nullptr));
}

// Where each chunk of an encoded file starts, by type.
struct Chunk {
  std::string type;
  size_t start;   // offset of its length field
  size_t length;  // of its data
};

std::vector<Chunk> Chunks(const Bytes& png) {
  std::vector<Chunk> chunks;
  for (size_t at = 8; at + 12 <= png.size();) {
    const size_t length =
        size_t(png[at]) << 24 | size_t(png[at + 1]) << 16 | size_t(png[at + 2]) << 8 | png[at + 3];
    chunks.push_back(
        {std::string(png.begin() + long(at) + 4, png.begin() + long(at) + 8), at, length});
    at += 12 + length;
  }
  return chunks;
}

void PutBigEndian(Bytes& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(v >> shift));
}

void AppendChunk(Bytes& out, const char* type, const Bytes& data) {
  PutBigEndian(out, uint32_t(data.size()));
  Bytes typed(type, type + 4);
  typed.insert(typed.end(), data.begin(), data.end());
  out.insert(out.end(), typed.begin(), typed.end());
  PutBigEndian(out, uint32_t(crc32(0, typed.data(), uInt(typed.size()))));
}

// A file whose header declares the given size, 8-bit RGBA, with a little image
// data that cannot fill it.
Bytes DeclaringSize(uint32_t width, uint32_t height) {
  Bytes png = {137, 80, 78, 71, 13, 10, 26, 10};
  Bytes header;
  PutBigEndian(header, width);
  PutBigEndian(header, height);
  header.insert(header.end(), {8, PNG_COLOR_TYPE_RGB_ALPHA, 0, 0, 0});
  AppendChunk(png, "IHDR", header);
  Bytes raw(64, 0);
  Bytes packed(compressBound(uLong(raw.size())));
  uLongf packedSize = uLongf(packed.size());
  compress(packed.data(), &packedSize, raw.data(), uLong(raw.size()));
  packed.resize(packedSize);
  AppendChunk(png, "IDAT", packed);
  AppendChunk(png, "IEND", {});
  return png;
}

// Every legal colour type and bit depth, with and without transparency where
// the format allows it, plain and interlaced.
struct FormatCase {
  int colorType;
  int bitDepth;
  bool transparent;
  bool interlaced;
};

std::vector<FormatCase> EveryFormat() {
  const struct {
    int colorType;
    std::vector<int> depths;
    bool keyable;
  } kinds[] = {
      {PNG_COLOR_TYPE_GRAY, {1, 2, 4, 8, 16}, true}, {PNG_COLOR_TYPE_RGB, {8, 16}, true},
      {PNG_COLOR_TYPE_PALETTE, {1, 2, 4, 8}, true},  {PNG_COLOR_TYPE_GRAY_ALPHA, {8, 16}, false},
      {PNG_COLOR_TYPE_RGB_ALPHA, {8, 16}, false},
  };
  std::vector<FormatCase> cases;
  for (const auto& kind : kinds) {
    for (const int depth : kind.depths) {
      for (const bool transparent : {false, true}) {
        if (transparent && !kind.keyable) continue;
        for (const bool interlaced : {false, true}) {
          cases.push_back({kind.colorType, depth, transparent, interlaced});
        }
      }
    }
  }
  return cases;
}

std::string FormatName(const testing::TestParamInfo<FormatCase>& info) {
  const FormatCase& c = info.param;
  const char* kind = c.colorType == PNG_COLOR_TYPE_GRAY         ? "Grey"
                     : c.colorType == PNG_COLOR_TYPE_GRAY_ALPHA ? "GreyAlpha"
                     : c.colorType == PNG_COLOR_TYPE_RGB        ? "Rgb"
                     : c.colorType == PNG_COLOR_TYPE_RGB_ALPHA  ? "Rgba"
                                                                : "Palette";
  return std::string(kind) + std::to_string(c.bitDepth) + (c.transparent ? "Trns" : "") +
         (c.interlaced ? "Adam7" : "");
}

class PngDecodeFormat : public testing::TestWithParam<FormatCase> {};

TEST_P(PngDecodeFormat, GivesExactPixelsFromMemoryAndFile) {
  const FormatCase& c = GetParam();
  const PngImage image = MakeImage(c.colorType, c.bitDepth, c.transparent, c.interlaced);
  const Bytes png = Encode(image);
  const Pixels expected = Expected(image);

  const auto fromMemory = DecodeMemory(png);
  ASSERT_NE(fromMemory, nullptr);
  EXPECT_EQ(fromMemory->PixelWidth(), image.width);
  EXPECT_EQ(fromMemory->PixelHeight(), image.height);
  EXPECT_EQ(Read(*fromMemory), expected);

  TempFolder folder;
  const auto fromFile = DecodeFile(folder.Write("image.png", png));
  ASSERT_NE(fromFile, nullptr);
  EXPECT_EQ(fromFile->PixelWidth(), image.width);
  EXPECT_EQ(fromFile->PixelHeight(), image.height);
  EXPECT_EQ(Read(*fromFile), expected);
}

INSTANTIATE_TEST_SUITE_P(PngEveryColourTypeAndDepth, PngDecodeFormat,
                         testing::ValuesIn(EveryFormat()), FormatName);

// A few images worked out by hand, so the expectations above rest on more
// than one reading of the format.
TEST(PngDecodeExamples, GiveTheseWords) {
  PngImage grey2;
  grey2.width = 4;
  grey2.height = 1;
  grey2.colorType = PNG_COLOR_TYPE_GRAY;
  grey2.bitDepth = 2;
  grey2.samples = {0, 1, 2, 3};
  grey2.hasKey = true;
  grey2.key[0] = 1;

  PngImage rgb;
  rgb.width = 1;
  rgb.height = 1;
  rgb.samples = {10, 20, 30};

  PngImage rgba16 = rgb;
  rgba16.width = 2;
  rgba16.colorType = PNG_COLOR_TYPE_RGB_ALPHA;
  rgba16.bitDepth = 16;
  rgba16.samples = {0x12AB, 0x34CD, 0x56EF, 0x7801, 0xC8FF, 0x6400, 0x3200, 0x00FF};

  PngImage palette = rgb;
  palette.width = 3;
  palette.colorType = PNG_COLOR_TYPE_PALETTE;
  palette.samples = {0, 1, 2};
  palette.palette = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
  palette.paletteAlpha = {0, 128};

  const struct {
    const char* name;
    PngImage image;
    Pixels words;
  } cases[] = {
      {"2-bit grey, key 1", grey2, {0xFF000000, 0x00555555, 0xFFAAAAAA, 0xFFFFFFFF}},
      {"8-bit RGB is opaque", rgb, {0xFF0A141E}},
      // High bytes only; colour under zero alpha stays as it was.
      {"16-bit RGBA", rgba16, {0x78123456, 0x00C86432}},
      {"palette with two alphas", palette, {0x00FF0000, 0x8000FF00, 0xFF0000FF}},
  };
  for (const auto& c : cases) {
    const auto bitmap = DecodeMemory(Encode(c.image));
    ASSERT_NE(bitmap, nullptr) << c.name;
    EXPECT_EQ(Read(*bitmap), c.words) << c.name;
  }
}

// A palette image whose data is split over several chunks, so cuts land in
// the middle and at the seams of its image data.
PngImage SplitPaletteImage() {
  PngImage image = MakeImage(PNG_COLOR_TYPE_PALETTE, 4, true, true);
  image.idatBytes = 16;
  return image;
}

TEST(PngDecodeRefuses, WhatIsNotAPng) {
  const Bytes png = Encode(MakeImage(PNG_COLOR_TYPE_RGB, 8, false, false));
  Bytes notPng(png.begin(), png.end());
  notPng[1] = 'p';
  EXPECT_EQ(PIX_DecodePngMemory(png.data(), 7), nullptr);
  EXPECT_EQ(PIX_DecodePngMemory(notPng.data(), int(notPng.size())), nullptr);
  EXPECT_EQ(PIX_DecodePngMemory(png.data(), 8), nullptr);  // the signature alone
  EXPECT_EQ(PIX_DecodePngMemory(png.data(), -1), nullptr);
  EXPECT_EQ(PIX_DecodePngMemory(nullptr, 100), nullptr);
  EXPECT_EQ(PIX_DecodePngFile(nullptr, nullptr), nullptr);

  TempFolder folder;
  EXPECT_EQ(DecodeFile(folder.Write("not.png", notPng)), nullptr);
  EXPECT_EQ(DecodeFile(folder.Write("empty.png", {})), nullptr);
  EXPECT_EQ(DecodeFile(folder.Path("absent.png")), nullptr);
}

TEST(PngDecodeRefuses, EveryCutBeforeTheEndOfTheImageData) {
  const Bytes png = Encode(SplitPaletteImage());
  const std::vector<Chunk> chunks = Chunks(png);
  ASSERT_GT(
      std::count_if(chunks.begin(), chunks.end(), [](const Chunk& c) { return c.type == "IDAT"; }),
      2);
  // Cut anywhere before the trailer and the data runs out before the image does.
  const size_t trailer = chunks.back().start;
  ASSERT_EQ(chunks.back().type, "IEND");
  TempFolder folder;
  for (size_t cut = 0; cut < trailer; ++cut) {
    const Bytes head(png.begin(), png.begin() + long(cut));
    EXPECT_EQ(DecodeMemory(head), nullptr) << "cut at " << cut;
    if (cut % 9 == 0 || cut + 1 == trailer) {
      EXPECT_EQ(DecodeFile(folder.Write("cut.png", head)), nullptr) << "file cut at " << cut;
    }
  }
  // Only the trailer missing: every row arrived.
  const Pixels expected = Expected(SplitPaletteImage());
  const auto whole = DecodeMemory(Bytes(png.begin(), png.begin() + long(trailer)));
  ASSERT_NE(whole, nullptr);
  EXPECT_EQ(Read(*whole), expected);
}

TEST(PngDecodeRefuses, AFlippedCrcByteInACriticalChunk) {
  const Bytes png = Encode(SplitPaletteImage());
  TempFolder folder;
  for (const Chunk& chunk : Chunks(png)) {
    // libpng drops a damaged ancillary chunk, and the trailer is never read.
    if (chunk.type != "IHDR" && chunk.type != "PLTE" && chunk.type != "IDAT") continue;
    Bytes damaged = png;
    damaged[chunk.start + 8 + chunk.length + 1] ^= 0x40;
    EXPECT_EQ(DecodeMemory(damaged), nullptr) << chunk.type << " at " << chunk.start;
    EXPECT_EQ(DecodeFile(folder.Write("crc.png", damaged)), nullptr) << chunk.type;
  }
  EXPECT_NE(DecodeMemory(png), nullptr);
}

// The limits hold before any pixel memory is taken: a destination that the
// decoder would reshape shows whether a size got that far.
TEST(PngDecodeRefuses, SizesBeyondTheLimitsBeforeAllocating) {
  const struct {
    uint32_t width;
    uint32_t height;
    bool withinLimits;
  } cases[] = {
      {100000, 100000, false},
      {PIX_PNG_MAX_SIDE + 1, 1, false},
      {1, PIX_PNG_MAX_SIDE + 1, false},
      {PIX_PNG_MAX_SIDE, 4097, false},  // one row more than the bytes allow
      {8192, 8193, false},
      {PIX_PNG_MAX_SIDE, 1, true},
      {8192, 8192, true},  // exactly the byte limit
  };
  TempFolder folder;
  for (const auto& c : cases) {
    const Bytes png = DeclaringSize(c.width, c.height);
    EXPECT_EQ(DecodeMemory(png), nullptr) << c.width << " x " << c.height;
    PIX_MemBitmap destination(3, 3);
    const std::string path = folder.Write("huge.png", png);
    EXPECT_EQ(PIX_DecodePngFile(path.c_str(), &destination), nullptr);
    const bool reshaped =
        destination.PixelWidth() == int(c.width) && destination.PixelHeight() == int(c.height);
    EXPECT_EQ(reshaped, c.withinLimits) << c.width << " x " << c.height;
    if (!c.withinLimits) {
      EXPECT_EQ(destination.PixelWidth(), 3);
    }
  }
}

// A few bytes that declare an ancillary chunk of 2 GiB must fail at the end of
// the bytes rather than be read as 2 GiB of zeros.
TEST(PngDecodeRefuses, AChunkLongerThanTheDataAtOnce) {
  Bytes png = DeclaringSize(1, 1);
  png.resize(8 + 25);  // the signature and the header chunk
  PutBigEndian(png, 0x7FFFFFFF);
  png.insert(png.end(), {'z', 'z', 'Z', 'z', 1, 2, 3});
  TempFolder folder;
  const std::string path = folder.Write("long-chunk.png", png);
  EXPECT_EQ(DecodeMemory(png), nullptr);
  EXPECT_EQ(DecodeFile(path), nullptr);
}

// A bitmap that reports its rows bottom to top.
class BottomUpBitmap : public PIX_MemBitmap {
 public:
  bool IsBottomUp() override { return true; }
};

// A bitmap whose size cannot change.
class FixedBitmap : public PIX_MemBitmap {
 public:
  FixedBitmap() : PIX_MemBitmap(2, 2) {}
  bool Reshape(int, int) override { return false; }
};

TEST(PngDecodeFile, IntoADestination) {
  const PngImage image = MakeImage(PNG_COLOR_TYPE_RGB_ALPHA, 8, false, true);
  const Pixels expected = Expected(image);
  TempFolder folder;
  const std::string path = folder.Write("image.png", Encode(image));

  PIX_MemBitmap other(20, 2);
  EXPECT_EQ(PIX_DecodePngFile(path.c_str(), &other), &other);
  EXPECT_EQ(other.PixelWidth(), image.width);
  EXPECT_EQ(other.PixelHeight(), image.height);
  EXPECT_EQ(Read(other), expected);

  // Stored bottom row first: the image's last row lands at the start.
  BottomUpBitmap bottomUp;
  ASSERT_EQ(PIX_DecodePngFile(path.c_str(), &bottomUp), &bottomUp);
  Pixels flipped;
  for (int y = image.height - 1; y >= 0; --y) {
    flipped.insert(flipped.end(), expected.begin() + y * image.width,
                   expected.begin() + (y + 1) * image.width);
  }
  EXPECT_EQ(Read(bottomUp), flipped);

  // Refused, and left to its owner.
  FixedBitmap fixed;
  EXPECT_EQ(PIX_DecodePngFile(path.c_str(), &fixed), nullptr);
  EXPECT_EQ(fixed.PixelWidth(), 2);
}

// Names beyond any 8-bit code page reach the file system intact.
TEST(PngDecodeFile, TakesUtf8Names) {
  const PngImage image = MakeImage(PNG_COLOR_TYPE_PALETTE, 8, true, false);
  const Bytes png = Encode(image);
  TempFolder folder;
  for (const char* name : {"bild-ä.png", "λ-漢/über.png"}) {
    const auto bitmap = DecodeFile(folder.Write(name, png));
    ASSERT_NE(bitmap, nullptr) << name;
    EXPECT_EQ(Read(*bitmap), Expected(image)) << name;
  }
}

TEST(PngLoaderChain, HoldsThePngLoaderAlone) {
  const PIX_ImageLoader* head = PIX_ImageLoaderChain();
  ASSERT_NE(head, nullptr);
  EXPECT_EQ(head->load, &PIX_PngLoadByName);
  EXPECT_EQ(head->filter, &PIX_PngFileFilter);
  EXPECT_EQ(head->next, nullptr);

  const char expected[] = "PNG files (*.PNG)\0*.PNG\0";  // and the array's own zero
  EXPECT_EQ(std::memcmp(head->filter(), expected, sizeof expected), 0);
}

TEST(PngLoaderChain, ChecksTheExtensionWhenAsked) {
  const std::string sep(1, char(fs::path::preferred_separator));
  const Bytes png = Encode(MakeImage(PNG_COLOR_TYPE_GRAY, 8, false, false));
  const struct {
    std::string name;
    bool isPng;
  } cases[] = {
      {"knob.PNG", true}, {"a" + sep + "b.png", true}, {"x.Png", true},
      {"png", false},     {"file.png.bak", false},     {"dir.png" + sep + "file", false},
      {"knob.pn", false}, {"knob.pngx", false},        {"knob_png", false},
  };
  TempFolder folder;
  const PIX_ImageLoader* head = PIX_ImageLoaderChain();
  ASSERT_NE(head, nullptr);
  for (const auto& c : cases) {
    const std::string path = folder.Write(c.name, png);
    std::unique_ptr<PIX_IBitmap> checked(head->load(path.c_str(), true, nullptr));
    EXPECT_EQ(checked != nullptr, c.isPng) << c.name;
    std::unique_ptr<PIX_IBitmap> unchecked(head->load(path.c_str(), false, nullptr));
    EXPECT_NE(unchecked, nullptr) << c.name;
  }
  EXPECT_EQ(PIX_PngLoadByName("", true, nullptr), nullptr);

  PIX_MemBitmap destination;
  const std::string path = folder.Write("into.png", png);
  EXPECT_EQ(PIX_PngLoadByName(path.c_str(), true, &destination), &destination);
  EXPECT_EQ(destination.PixelWidth(), 9);
}
}  // namespace
