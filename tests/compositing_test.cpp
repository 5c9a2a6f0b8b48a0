// Blend modes, fills and softening over bitmaps: exact pixel words, clipping,
// row order, and the whole-word and lane-wise paths against the plain rules.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "imaging/blend_mode.h"
#include "imaging/compositing.h"
#include "imaging/hsv.h"
#include "imaging/mem_bitmap.h"
#include "imaging/pixel_kernels.h"

namespace {
constexpr PIX_PixelWord kPadding = 0xDEADBEEFu;

// A bitmap with rows stored bottom-up on request, rows wider than the image
// (the padding holds kPadding, which no routine may touch) and storage of
// exactly rowPixels x height so that any stray access is out of bounds.
class TestBitmap : public PIX_IBitmap {
 public:
  TestBitmap(int width, int height, PIX_PixelWord fill = 0, bool bottomUp = false, int extra = 0)
      : width_(width), height_(height), rowPixels_(width + extra), bottomUp_(bottomUp) {
    pixels_.assign(static_cast<size_t>(rowPixels_) * height_, kPadding);
    Fill(fill);
  }
  // Reports its size but has no pixels, like a bitmap whose allocation failed.
  static TestBitmap Failed(int width, int height) {
    TestBitmap bitmap(width, height);
    bitmap.pixels_.clear();
    return bitmap;
  }

  PIX_PixelWord* PixelData() override { return pixels_.empty() ? nullptr : pixels_.data(); }
  int PixelWidth() override { return width_; }
  int PixelHeight() override { return height_; }
  int RowPixels() override { return rowPixels_; }
  bool IsBottomUp() override { return bottomUp_; }
  bool Reshape(int, int) override { return false; }

  // (x, y) in image coordinates, y = 0 the top row.
  PIX_PixelWord& At(int x, int y) {
    const int stored = bottomUp_ ? height_ - 1 - y : y;
    return pixels_[static_cast<size_t>(stored) * rowPixels_ + x];
  }
  PIX_PixelWord& Stored(int x, int storedRow) {
    return pixels_[static_cast<size_t>(storedRow) * rowPixels_ + x];
  }
  void Fill(PIX_PixelWord value) {
    for (int y = 0; y < height_; ++y) {
      for (int x = 0; x < width_; ++x) At(x, y) = value;
    }
  }
  // The image row by row, top first.
  std::vector<PIX_PixelWord> Image() {
    std::vector<PIX_PixelWord> image;
    for (int y = 0; y < height_; ++y) {
      for (int x = 0; x < width_; ++x) image.push_back(At(x, y));
    }
    return image;
  }
  bool PaddingIntact() {
    for (int y = 0; y < height_; ++y) {
      for (int x = width_; x < rowPixels_; ++x) {
        if (Stored(x, y) != kPadding) return false;
      }
    }
    return true;
  }

 private:
  int width_;
  int height_;
  int rowPixels_;
  bool bottomUp_;
  std::vector<PIX_PixelWord> pixels_;
};

// Source pixel (x, y) of a 4x3 fixture is 1 + x + 4y, so a destination shows
// which source pixel landed where; 0 is untouched.
TestBitmap NumberedSource(bool bottomUp) {
  TestBitmap src(4, 3, 0, bottomUp, 2);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 4; ++x) src.At(x, y) = static_cast<PIX_PixelWord>(1 + x + 4 * y);
  }
  return src;
}

// Five equal pixels blended at once: a group of four for lane-wise paths and
// one left over for the single-pixel path; both must agree.
PIX_PixelWord CompositeUniform(PIX_PixelWord d, PIX_PixelWord s, float alpha, int mode) {
  TestBitmap dest(5, 1, d), src(5, 1, s);
  PIX_CompositeRect(&dest, &src, 0, 0, nullptr, alpha, mode);
  for (int x = 1; x < 5; ++x) EXPECT_EQ(dest.At(x, 0), dest.At(0, 0)) << "pixel " << x;
  return dest.At(0, 0);
}

PIX_PixelWord PaintUniform(PIX_PixelWord d, PIX_PixelWord colour, float alpha, int mode) {
  TestBitmap dest(5, 1, d);
  PIX_PaintRect(&dest, 0, 0, 5, 1, colour, alpha, mode);
  for (int x = 1; x < 5; ++x) EXPECT_EQ(dest.At(x, 0), dest.At(0, 0)) << "pixel " << x;
  return dest.At(0, 0);
}

struct BlendCase {
  PIX_PixelWord dest;
  PIX_PixelWord src;
  float alpha;
  int mode;
  PIX_PixelWord expected;
};

void ExpectComposites(const std::vector<BlendCase>& cases) {
  for (const BlendCase& c : cases) {
    EXPECT_EQ(CompositeUniform(c.dest, c.src, c.alpha, c.mode), c.expected)
        << std::hex << "dest " << c.dest << " src " << c.src << " alpha " << c.alpha << " mode "
        << c.mode;
  }
}

constexpr int kSA = PIX_MIX_SOURCE_ALPHA;
}  // namespace

TEST(CompositeRectModes, Copy) {
  ExpectComposites({
      {0x11223344, 0x80FF0010, 1.0f, PIX_MIX_COPY, 0x80FF0010},
      // Each byte halved and added; 0.5 is exact in float.
      {0xFF000000, 0x00FF00FF, 0.5f, PIX_MIX_COPY, 0x7F7F007F},
      // w = 153: 255 + (-255 * 103) / 256 = 153, and 0 + 255 * 103 / 256 = 102.
      {0x00000000, 0xFFFFFFFF, 0.6f, PIX_MIX_COPY, 0x99999999},
      {0xFF00FF00, 0x00FF00FF, 0.6f, PIX_MIX_COPY, 0x66996699},
      {0x80402010, 0x10204080, 0.25f, PIX_MIX_COPY, 0x6438282C},
      {0xFF336699, 0x7FC08020, 0.6f, PIX_MIX_COPY, 0xB2887650},
      {0x40C81E64, 0xE6FF0A80, 0.9f, PIX_MIX_COPY, 0xD6FA0C7E},
      // Negative weights copy nothing.
      {0x11223344, 0xFFFFFFFF, -0.5f, PIX_MIX_COPY, 0x11223344},
  });
}

TEST(CompositeRectModes, CopyWithSourceAlpha) {
  ExpectComposites({
      // Full weight: clear source pixels leave the destination alone, opaque
      // ones replace it, and the destination alpha gains s_A.
      {0x80112233, 0x00FFFFFF, 1.0f, kSA, 0x80112233},
      {0x00112233, 0xFFAABBCC, 1.0f, kSA, 0xFFAABBCC},
      {0xFF000000, 0x80FF00FF, 1.0f, kSA, 0xFF810081},
      {0x00FFFFFF, 0x80000000, 1.0f, kSA, 0x807E7E7E},
      {0x40C81E64, 0xE6FF0A80, 1.0f, kSA, 0xFFFA0B7E},
      // Other weights: a = (s_A + 1) * w / 256.
      {0xFF000000, 0xFFFFFFFF, 0.5f, kSA, 0xFF808080},
      {0x80402010, 0x10204080, 0.3f, kSA, 0x853F2113},
      {0xFF336699, 0x7FC08020, 0.6f, kSA, 0xFF5D6E75},
      {0x40C81E64, 0xE6FF0A80, 0.9f, kSA, 0xFFF50D7B},
      {0x80112233, 0x00FFFFFF, 0.9f, kSA, 0x80112233},
  });
}

TEST(CompositeRectModes, AddDodgeMultiplyOverlay) {
  ExpectComposites({
      // Add saturates: 100 + 200 stays 255.
      {0x10640080, 0x20C80040, 1.0f, PIX_MIX_ADD, 0x30FF00C0},
      {0x10640080, 0x20C80040, 0.5f, PIX_MIX_ADD, 0x20C800A0},
      {0x80402010, 0x10204080, 1.0f, PIX_MIX_ADD, 0x90606090},
      {0x40C81E64, 0xE6FF0A80, 1.0f, PIX_MIX_ADD, 0xFFFF28E4},
      {0x10640080, 0x00C80040, 1.0f, PIX_MIX_ADD | kSA, 0x10640080},
      {0x10640080, 0x80C80040, 1.0f, PIX_MIX_ADD | kSA, 0x50C800A0},
      {0x40C81E64, 0xE6FF0A80, 0.6f, PIX_MIX_ADD | kSA, 0xBBFF23A9},
      // Dodge: a source byte of 255 at full weight gives den 1, so non-zero
      // bytes saturate and 0 stays 0; 128 doubles.
      {0x00010080, 0xFFFFFFFF, 1.0f, PIX_MIX_DODGE, 0x00FF00FF},
      {0x64646464, 0x80808080, 1.0f, PIX_MIX_DODGE, 0xC8C8C8C8},
      {0x80402010, 0x10204080, 1.0f, PIX_MIX_DODGE, 0x88492A20},
      {0xFF336699, 0x7FC08020, 0.5f, PIX_MIX_DODGE, 0xFF5188A3},
      {0xFF336699, 0x7FC08020, 1.0f, PIX_MIX_DODGE | kSA, 0xFF5188A3},
      {0x40C81E64, 0xE6FF0A80, 0.6f, PIX_MIX_DODGE | kSA, 0x7BFF1E88},
      // Multiply: 128 at full weight halves 200 to 100.
      {0xC8C8C8C8, 0x80808080, 1.0f, PIX_MIX_MULTIPLY, 0x64646464},
      {0x80402010, 0x10204080, 1.0f, PIX_MIX_MULTIPLY, 0x08080808},
      {0xFF336699, 0x7FC08020, 0.5f, PIX_MIX_MULTIPLY, 0xBE2C4C56},
      {0x40C81E64, 0xE6FF0A80, 1.0f, PIX_MIX_MULTIPLY, 0x39C70132},
      // A clear source is skipped (a = 1 would darken 255 to 254).
      {0xFFFFFFFF, 0x00000000, 1.0f, PIX_MIX_MULTIPLY | kSA, 0xFFFFFFFF},
      {0x40C81E64, 0xE6FF0A80, 0.6f, PIX_MIX_MULTIPLY | kSA, 0x3CC70E49},
      // Overlay: 128 at full weight is neutral.
      {0x12345678, 0x80808080, 1.0f, PIX_MIX_OVERLAY, 0x12345678},
      {0x80402010, 0x10204080, 1.0f, PIX_MIX_OVERLAY, 0x481C1210},
      {0xFF336699, 0x7FC08020, 0.5f, PIX_MIX_OVERLAY, 0xFE3D6681},
      {0x40C81E64, 0xE6FF0A80, 1.0f, PIX_MIX_OVERLAY, 0x66F30564},
      // No skip of clear sources: a = 1 turns 255 into 254.
      {0xFFFFFFFF, 0x00000000, 1.0f, PIX_MIX_OVERLAY | kSA, 0xFEFEFEFE},
      {0x40C81E64, 0xE6FF0A80, 0.6f, PIX_MIX_OVERLAY | kSA, 0x54DF1064},
  });
}

TEST(CompositeRectModes, HsvAdjustTakesTheSourceAlpha) {
  ExpectComposites({
      // Red shifted by +190 of hue lands near cyan-green; by -192 on cyan.
      {0xFFFF0000, 0x40FF8080, 1.0f, PIX_MIX_HSV_ADJUST, 0x4000FFF7},
      {0xFFFF0000, 0x40008080, 1.0f, PIX_MIX_HSV_ADJUST, 0x4000FFFF},
      // Neutral: only the HSV round trip and the alpha byte change.
      {0xFFFF0000, 0x20808080, 1.0f, PIX_MIX_HSV_ADJUST, 0x20FF0000},
      {0x80402010, 0x10204080, 1.0f, PIX_MIX_HSV_ADJUST, 0x10313040},
      {0xFF336699, 0x7FC08020, 0.5f, PIX_MIX_HSV_ADJUST, 0x7F1D1339},
      {0x40C81E64, 0xE6FF0A80, 1.0f, PIX_MIX_HSV_ADJUST, 0xE6C8C8C8},
      {0xFF336699, 0x7FC08020, 1.0f, PIX_MIX_HSV_ADJUST | kSA, 0x7F1D1339},
      {0x40C81E64, 0xE6FF0A80, 0.6f, PIX_MIX_HSV_ADJUST | kSA, 0xE6BCC882},
  });
}

TEST(CompositeRectModes, ChannelCopyMovesOneByte) {
  EXPECT_EQ(PIX_MixChannelCopy(PIX_BYTE_A, PIX_BYTE_B), 0xF3);
  ExpectComposites({
      // 0xF3: source alpha into destination blue, the rest kept.
      {0x11223344, 0xAABBCCDD, 1.0f, 0xF3, 0x112233AA},
      {0x11223344, 0xAABBCCDD, 1.0f, PIX_MixChannelCopy(PIX_BYTE_G, PIX_BYTE_R), 0x11CC3344},
      {0x11223344, 0xAABBCCDD, 1.0f, PIX_MixChannelCopy(PIX_BYTE_B, PIX_BYTE_A), 0xDD223344},
      // The weight only has to be non-zero, and source alpha is ignored.
      {0x11223344, 0xAABBCCDD, 0.1f, 0xF3 | kSA, 0x112233AA},
  });
}

TEST(CompositeRectModes, UnknownModesAndZeroWeightDrawNothing) {
  const PIX_PixelWord d = 0x11223344, s = 0xFFAABBCC;
  for (int mode : {6, 6 | kSA, 0x7F, 0xEF}) {
    EXPECT_EQ(CompositeUniform(d, s, 1.0f, mode), d) << mode;
  }
  for (int mode : {PIX_MIX_COPY, PIX_MIX_COPY | kSA, PIX_MIX_ADD, PIX_MIX_MULTIPLY}) {
    EXPECT_EQ(CompositeUniform(d, s, 0.0f, mode), d) << mode;
    // Below 1/256 the integer weight is 0 as well.
    EXPECT_EQ(CompositeUniform(d, s, 0.003f, mode), d) << mode;
  }
  EXPECT_EQ(CompositeUniform(d, s, 0.0f, 0xF3), d);
  // Bits outside the mode byte and bit 16 are ignored.
  EXPECT_EQ(CompositeUniform(0x10640080, 0x20C80040, 1.0f, PIX_MIX_ADD | 0x100), 0x30FF00C0u);
  EXPECT_EQ(CompositeUniform(0xFF000000, 0x00FF00FF, 0.5f, 0x2000), 0x7F7F007Fu);
}

TEST(CompositeRectModes, WeightFromAlpha) {
  const struct {
    float alpha;
    int w;
  } cases[] = {{0.75f, 192},
               {0.2f, 51},
               {1.0f, 256},
               {0.6f, 153},
               {0.7f, 179},
               {0.003f, 0},
               {-0.003f, 0},
               {-0.5f, -128},
               {1e30f, 1024},
               {-1e30f, -1024},
               {std::numeric_limits<float>::quiet_NaN(), 0}};
  for (const auto& c : cases) EXPECT_EQ(PIX_WeightFromAlpha(c.alpha), c.w) << c.alpha;
}

namespace {
// Source-alpha copy straight from the rules, one channel at a time.
PIX_PixelWord SourceAlphaCopyByRule(PIX_PixelWord d, PIX_PixelWord s, int w) {
  const int sa = static_cast<int>(s >> 24);
  if (sa == 0) return d;
  const int a = w == 256 ? sa : (sa + 1) * w / 256;
  const int keep = w == 256 ? 255 - sa : 256 - a;
  PIX_PixelWord out = 0;
  for (int i = 0; i < 3; ++i) {
    const int dc = static_cast<int>(d >> (8 * i) & 0xFF),
              sc = static_cast<int>(s >> (8 * i) & 0xFF);
    out |= static_cast<PIX_PixelWord>((sc + (dc - sc) * keep / 256) & 0xFF) << (8 * i);
  }
  const int da = static_cast<int>(d >> 24) + a;
  return out | static_cast<PIX_PixelWord>((da > 255 ? 255 : da) & 0xFF) << 24;
}
}  // namespace

TEST(CompositeRectFastPaths, SourceAlphaCopyFollowsTheRulesForEveryAlpha) {
  // Every source alpha against bytes at and around the extremes, so that the
  // sign of d - s, truncation and saturation are all met; an odd width at an
  // odd offset puts pixels both in groups of four and outside them.
  const int bytes[] = {0, 1, 2, 127, 128, 129, 254, 255, 37, 200};
  const int width = 67, height = 64;
  TestBitmap src(width, height), original(width, height);
  uint32_t state = 12345;
  auto next = [&state]() { return state = state * 1664525u + 1013904223u; };
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const PIX_PixelWord alpha = static_cast<PIX_PixelWord>((x + y * width) % 256) << 24;
      PIX_PixelWord s = alpha, d = 0;
      for (int i = 0; i < 3; ++i) {
        s |= static_cast<PIX_PixelWord>(bytes[next() % 10]) << (8 * i);
        d |= static_cast<PIX_PixelWord>(bytes[next() % 10]) << (8 * i);
      }
      src.At(x, y) = s;
      original.At(x, y) = d | static_cast<PIX_PixelWord>(bytes[next() % 10]) << 24;
    }
  }
  for (float alpha : {1.0f, 0.999f, 0.75f, 0.5f, 0.6f, 0.004f, 1.2f}) {
    const int w = PIX_WeightFromAlpha(alpha);
    TestBitmap dest(width + 4, height, 0, false, 3);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) dest.At(x + 3, y) = original.At(x, y);
    }
    PIX_CompositeRect(&dest, &src, 3, 0, nullptr, alpha, PIX_MIX_COPY | kSA);
    int mismatches = 0;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width && mismatches < 5; ++x) {
        const PIX_PixelWord expected = SourceAlphaCopyByRule(original.At(x, y), src.At(x, y), w);
        if (dest.At(x + 3, y) != expected) {
          ++mismatches;
          ADD_FAILURE() << std::hex << "alpha " << alpha << " d " << original.At(x, y) << " s "
                        << src.At(x, y) << " got " << dest.At(x + 3, y) << " want " << expected;
        }
      }
    }
    EXPECT_TRUE(dest.PaddingIntact());
  }
}

TEST(CompositeRectFastPaths, WholeWordPathsAgainstGeneralWeights) {
  // 1.0 copies whole rows; 1.0000001 (w = 256 as well) goes through the
  // weighted path and must copy just the same.
  const PIX_PixelWord d = 0x12345678, s = 0x80FF0110;
  EXPECT_EQ(CompositeUniform(d, s, 1.0000001f, PIX_MIX_COPY), s);
  // 0.5 halves each byte; 0.5000001 (w = 128) follows the linear formula,
  // which rounds 255 over 0 to 128 instead of 127.
  EXPECT_EQ(CompositeUniform(0x00000000, 0xFFFFFFFF, 0.5f, PIX_MIX_COPY), 0x7F7F7F7Fu);
  EXPECT_EQ(CompositeUniform(0x00000000, 0xFFFFFFFF, 0.5000001f, PIX_MIX_COPY), 0x80808080u);
  // Under source alpha there is no whole-word path at 0.5.
  EXPECT_EQ(CompositeUniform(0xFF000000, 0xFFFFFFFF, 0.5f, PIX_MIX_COPY | kSA), 0xFF808080u);
}

namespace {
struct ClipCase {
  int dx, dy;
  bool hasRect;
  IBounds rect;
  PIX_PixelWord expected[12];  // 4x3 destination, 1 + x + 4y of the source or 0
};
}  // namespace

TEST(CompositeRectClip, EveryEdgeInEveryRowOrder) {
  const ClipCase cases[] = {
      {0, 0, false, {}, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
      // dx = -3 skips the first three source columns.
      {-3, 0, false, {}, {4, 0, 0, 0, 8, 0, 0, 0, 12, 0, 0, 0}},
      {0, -2, false, {}, {9, 10, 11, 12, 0, 0, 0, 0, 0, 0, 0, 0}},
      {2, 1, false, {}, {0, 0, 0, 0, 0, 0, 1, 2, 0, 0, 5, 6}},
      {3, 2, false, {}, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}},
      {-1, -1, false, {}, {6, 7, 8, 0, 10, 11, 12, 0, 0, 0, 0, 0}},
      // Entirely right of, below, left of or above the destination.
      {4, 0, false, {}, {}},
      {0, 3, false, {}, {}},
      {-4, 0, false, {}, {}},
      {0, -3, false, {}, {}},
      {1, 1, true, {1, 1, 3, 3}, {0, 0, 0, 0, 0, 6, 7, 0, 0, 10, 11, 0}},
      // A rectangle left of or above the source moves the target instead.
      {1, 0, true, {-2, 0, 4, 3}, {0, 0, 0, 1, 0, 0, 0, 5, 0, 0, 0, 9}},
      {0, 0, true, {0, -1, 2, 3}, {0, 0, 0, 0, 1, 2, 0, 0, 5, 6, 0, 0}},
      // Beyond the source is cut off; empty, inverted or outside draws nothing.
      {0, 0, true, {2, 1, 100, 100}, {7, 8, 0, 0, 11, 12, 0, 0, 0, 0, 0, 0}},
      {0, 0, true, {2, 0, 2, 3}, {}},
      {0, 0, true, {3, 0, 1, 3}, {}},
      {0, 0, true, {5, 0, 8, 3}, {}},
      {0, 0, true, {0, 3, 4, 5}, {}},
      // Far-out coordinates must neither wrap around nor overflow.
      {INT_MAX, 0, false, {}, {}},
      {INT_MIN, INT_MIN, false, {}, {}},
      {0, INT_MAX, false, {}, {}},
      {0, 0, true, {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, {}},
      {INT_MIN, 0, true, {0, 0, INT_MAX, INT_MAX}, {}},
      {INT_MAX, INT_MAX, true, {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, {}},
      {INT_MIN + 1, INT_MIN, true, {INT_MIN, INT_MIN, 2, 2}, {0, 1, 2, 0, 0, 5, 6, 0, 0, 0, 0, 0}},
  };
  for (bool srcBottomUp : {false, true}) {
    for (bool destBottomUp : {false, true}) {
      TestBitmap src = NumberedSource(srcBottomUp);
      for (const ClipCase& c : cases) {
        TestBitmap dest(4, 3, 0, destBottomUp, 3);
        PIX_CompositeRect(&dest, &src, c.dx, c.dy, c.hasRect ? &c.rect : nullptr, 1.0f,
                          PIX_MIX_COPY);
        EXPECT_EQ(dest.Image(), std::vector<PIX_PixelWord>(c.expected, c.expected + 12))
            << "at " << c.dx << "," << c.dy << " rect " << c.rect.left << "," << c.rect.top << ","
            << c.rect.right << "," << c.rect.bottom << " src bottom-up " << srcBottomUp
            << " dest bottom-up " << destBottomUp;
        EXPECT_TRUE(dest.PaddingIntact());
      }
    }
  }
}

TEST(CompositeRectClip, BottomUpRowsAreStoredLastFirst) {
  TestBitmap src = NumberedSource(true);
  EXPECT_EQ(src.Stored(0, 0), 9u);  // the fixture really is stored bottom row first
  TestBitmap dest(4, 3);
  const IBounds topRow{0, 0, 4, 1};
  PIX_CompositeRect(&dest, &src, 0, 2, &topRow, 1.0f, PIX_MIX_COPY);
  EXPECT_EQ(dest.Image(), (std::vector<PIX_PixelWord>{0, 0, 0, 0, 0, 0, 0, 0, 1, 2, 3, 4}));
}

TEST(CompositeRectClip, SourceRectLeftOfZeroShiftsTheTarget) {
  // Left -5 drawn at 10: source column 0 lands at destination column 15.
  TestBitmap src(3, 1, 0xFF0000AA), dest(20, 1);
  const IBounds rect{-5, 0, 3, 1};
  PIX_CompositeRect(&dest, &src, 10, 0, &rect, 1.0f, PIX_MIX_COPY);
  for (int x = 0; x < 20; ++x) {
    EXPECT_EQ(dest.At(x, 0), x >= 15 && x < 18 ? 0xFF0000AAu : 0u) << x;
  }
}

TEST(CompositeRectClip, NullEmptyAndFailedBitmapsDrawNothing) {
  TestBitmap src(4, 3, 0xFFFFFFFF), dest(4, 3, 0x11111111);
  TestBitmap failed = TestBitmap::Failed(4, 3);
  PIX_MemBitmap none;
  PIX_IBitmap* emptySources[] = {nullptr, &failed, &none};
  for (PIX_IBitmap* empty : emptySources) {
    for (int mode : {PIX_MIX_COPY, PIX_MIX_COPY | kSA, PIX_MIX_ADD, 0xF3}) {
      PIX_CompositeRect(&dest, empty, 0, 0, nullptr, 1.0f, mode);
      PIX_CompositeRect(empty, &src, 0, 0, nullptr, 1.0f, mode);
    }
  }
  // Rows shorter than the width cannot be addressed safely.
  class ShortRows : public TestBitmap {
   public:
    ShortRows() : TestBitmap(4, 3, 0xFFFFFFFF) {}
    int RowPixels() override { return 2; }
  } shortRows;
  PIX_CompositeRect(&dest, &shortRows, 0, 0, nullptr, 1.0f, PIX_MIX_COPY);
  EXPECT_EQ(dest.Image(), std::vector<PIX_PixelWord>(12, 0x11111111));
}

namespace {
struct PaintClipCase {
  int x, y, width, height;
  const char* expected;  // '#' painted, '.' untouched, rows of the 4x3 image
};
}  // namespace

TEST(PaintRect, ClipsAtEveryEdgeInEitherRowOrder) {
  const PaintClipCase cases[] = {
      {0, 0, 4, 3,
       "####"
       "####"
       "####"},
      {-1, -1, 3, 3,
       "##.."
       "##.."
       "...."},
      {3, 2, 5, 5,
       "...."
       "...."
       "...#"},
      {1, 1, 2, 1,
       "...."
       ".##."
       "...."},
      {4, 0, 1, 1, "............"},
      {0, 3, 1, 1, "............"},
      {-5, 0, 5, 3, "............"},
      {0, 0, 0, 3, "............"},
      {0, 0, 4, -1, "............"},
      // Far-out positions and sizes are computed without overflow.
      {1, 1, INT_MAX, INT_MAX,
       "...."
       ".###"
       ".###"},
      {-1, -1, INT_MAX, INT_MAX,
       "####"
       "####"
       "####"},
      {INT_MIN, 0, INT_MAX, 3, "............"},
      {INT_MIN + 2, INT_MIN + 2, INT_MAX, INT_MAX,
       "#..."
       "...."
       "...."},
      {INT_MAX, INT_MAX, INT_MAX, INT_MAX, "............"},
  };
  for (bool bottomUp : {false, true}) {
    for (const PaintClipCase& c : cases) {
      TestBitmap dest(4, 3, 0, bottomUp, 2);
      PIX_PaintRect(&dest, c.x, c.y, c.width, c.height, 0xFF00FF00, 1.0f, PIX_MIX_COPY);
      std::vector<PIX_PixelWord> expected;
      for (const char* p = c.expected; *p; ++p) expected.push_back(*p == '#' ? 0xFF00FF00 : 0);
      EXPECT_EQ(dest.Image(), expected)
          << c.x << "," << c.y << " " << c.width << "x" << c.height << " bottom-up " << bottomUp;
      EXPECT_TRUE(dest.PaddingIntact());
    }
  }
}

TEST(PaintRect, CopyFastPathsAndTheGeneralWeight) {
  const struct {
    PIX_PixelWord dest, colour;
    float alpha;
    PIX_PixelWord expected;
  } cases[] = {
      // Full weight writes the colour word itself, alpha byte included.
      {0x12345678, 0x80FF0000, 1.0f, 0x80FF0000},
      {0xFF000000, 0x00FF00FF, 0.5f, 0x7F7F007F},
      // 1/4: P/2 + P/4 + K/4; 3/4: P/4 + K/2 + K/4, each per byte truncated.
      {0xFFFFFFFF, 0x00000000, 0.25f, 0xBEBEBEBE},
      {0x00000000, 0xFFFFFFFF, 0.25f, 0x3F3F3F3F},
      {0xFFFFFFFF, 0x00000000, 0.75f, 0x3F3F3F3F},
      {0x00000000, 0xFFFFFFFF, 0.75f, 0xBEBEBEBE},
      // w = 179: the linear formula, with alpha moving toward 179.
      {0x00000000, 0xFFFFFFFF, 0.7f, 0x7EB3B3B3},
      {0xFF000000, 0x00000000, 0.7f, 0xC9000000},
      {0x80402010, 0x10204080, 0.7f, 0xA429375F},
      {0xFF336699, 0x7FC08020, 0.3f, 0xC95D6E75},
      {0x12345678, 0xFFFFFFFF, -0.5f, 0x12345678},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PaintUniform(c.dest, c.colour, c.alpha, PIX_MIX_COPY), c.expected)
        << std::hex << c.dest << " " << c.colour << " " << c.alpha;
  }
}

TEST(PaintRect, BlendModesUseTheWeightAsSourceAlpha) {
  const struct {
    int mode;
    PIX_PixelWord dest, colour;
    float alpha;
    PIX_PixelWord expected;
  } cases[] = {
      {PIX_MIX_ADD, 0x80402010, 0x10204080, 0.7f, 0xFD564C69},
      {PIX_MIX_ADD, 0x40C81E64, 0xE6FF0A80, 1.0f, 0xFFFF28E4},
      {PIX_MIX_ADD, 0xFF336699, 0x7FC08020, 0.3f, 0xFF6C8CA2},
      {PIX_MIX_DODGE, 0x80402010, 0x10204080, 0.7f, 0xFA462618},
      {PIX_MIX_DODGE, 0x40C81E64, 0xE6FF0A80, 1.0f, 0xFFFF1FC8},
      {PIX_MIX_DODGE, 0xFF336699, 0x7FC08020, 0.3f, 0xFF41779E},
      {PIX_MIX_MULTIPLY, 0x80402010, 0x10204080, 0.7f, 0x65180F0A},
      {PIX_MIX_MULTIPLY, 0x40C81E64, 0xE6FF0A80, 1.0f, 0x40C70132},
      {PIX_MIX_MULTIPLY, 0xFF336699, 0x7FC08020, 0.3f, 0xC92F5671},
      {PIX_MIX_OVERLAY, 0x80402010, 0x10204080, 0.7f, 0x91261610},
      {PIX_MIX_OVERLAY, 0x40C81E64, 0xE6FF0A80, 1.0f, 0x70F30564},
      {PIX_MIX_OVERLAY, 0xFF336699, 0x7FC08020, 0.3f, 0xFE39668B},
      // HSV adjust stores w as the alpha byte: weight 1.0 gives alpha 0.
      {PIX_MIX_HSV_ADJUST, 0x80402010, 0x10204080, 0.7f, 0xB33A2640},
      {PIX_MIX_HSV_ADJUST, 0x40C81E64, 0xE6FF0A80, 1.0f, 0x00C8C8C8},
      {PIX_MIX_HSV_ADJUST, 0xFF336699, 0x7FC08020, 0.3f, 0x4C202360},
      // Only modes 0..5 paint.
      {6, 0x11223344, 0xFFFFFFFF, 1.0f, 0x11223344},
      {0xF3, 0x11223344, 0xFFFFFFFF, 1.0f, 0x11223344},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PaintUniform(c.dest, c.colour, c.alpha, c.mode), c.expected)
        << "mode " << c.mode << std::hex << " " << c.dest << " " << c.colour << " " << c.alpha;
  }
}

TEST(PaintRect, SourceAlphaScalesTheWeightByTheColourAlpha) {
  // A clear colour paints nothing, even at full weight.
  EXPECT_EQ(PaintUniform(0x11223344, 0x00FFFFFF, 1.0f, PIX_MIX_COPY | kSA), 0x11223344u);
  // 1.0 * 128 / 255 gives w = 128: the halving path.
  EXPECT_EQ(PaintUniform(0x00000000, 0x80FF0000, 1.0f, PIX_MIX_COPY | kSA), 0x407F0000u);
  // 0.75 * 255 / 255 stays 0.75: the three-quarter path.
  EXPECT_EQ(PaintUniform(0x00000000, 0xFFFFFFFF, 0.75f, PIX_MIX_COPY | kSA), 0xBEBEBEBEu);
  // 1.0 * 0xCC / 255 = 0.8 gives w = 204 for add.
  EXPECT_EQ(PaintUniform(0x10101010, 0xCC204080, 1.0f, PIX_MIX_ADD | kSA), 0xB2294376u);
}

TEST(PaintRect, NothingToPaint) {
  TestBitmap failed = TestBitmap::Failed(4, 3);
  PIX_MemBitmap none;
  PIX_PaintRect(nullptr, 0, 0, 4, 3, 0xFFFFFFFF, 1.0f, PIX_MIX_COPY);
  PIX_PaintRect(&failed, 0, 0, 4, 3, 0xFFFFFFFF, 1.0f, PIX_MIX_COPY);
  PIX_PaintRect(&none, 0, 0, 4, 3, 0xFFFFFFFF, 1.0f, PIX_MIX_ADD);
  TestBitmap dest(4, 3, 0x11111111);
  for (int mode : {PIX_MIX_COPY, PIX_MIX_ADD, PIX_MIX_HSV_ADJUST}) {
    PIX_PaintRect(&dest, 0, 0, 4, 3, 0xFFFFFFFF, 0.0f, mode);
    PIX_PaintRect(&dest, 0, 0, 4, 3, 0xFFFFFFFF, 0.003f, mode);
  }
  EXPECT_EQ(dest.Image(), std::vector<PIX_PixelWord>(12, 0x11111111));
}

TEST(SoftenRect, SingleBrightPixel) {
  // 3x3: the centre halves, its direct neighbours are edge pixels taking a
  // quarter of it, the corners stay 0; the bottom middle matches the top
  // middle because the row above is read before it was softened.
  TestBitmap small(3, 3);
  small.At(1, 1) = 0xFFFFFFFF;
  PIX_SoftenRect(&small, 3, 3);
  EXPECT_EQ(small.Image(), (std::vector<PIX_PixelWord>{0, 0x3F3F3F3F, 0, 0x3F3F3F3F, 0x7F7F7F7F,
                                                       0x3F3F3F3F, 0, 0x3F3F3F3F, 0}));
  // 5x5: the neighbours are inner pixels and take an eighth.
  TestBitmap large(5, 5);
  large.At(2, 2) = 0xFFFFFFFF;
  PIX_SoftenRect(&large, 5, 5);
  EXPECT_EQ(large.At(2, 2), 0x7F7F7F7Fu);
  for (const auto& xy : {std::make_pair(2, 1), {1, 2}, {3, 2}, {2, 3}}) {
    EXPECT_EQ(large.At(xy.first, xy.second), 0x1F1F1F1Fu) << xy.first << "," << xy.second;
  }
  EXPECT_EQ(large.At(1, 1), 0u);
  EXPECT_EQ(large.At(2, 0), 0u);
}

TEST(SoftenRect, WeightsAtCornersEdgesAndInside) {
  const std::vector<PIX_PixelWord> input = {
      0x10203040, 0xFFFFFFFF, 0x00000000, 0x80808080,  //
      0x01020304, 0xF0E0D0C0, 0x7F7F7F7F, 0x11223344,  //
      0xFF000000, 0x00FF0000, 0x0000FF00, 0x000000FF,
  };
  auto load = [&](TestBitmap& bitmap) {
    for (int i = 0; i < 12; ++i) bitmap.At(i % 4, i / 4) = input[i];
  };
  for (bool bottomUp : {false, true}) {
    TestBitmap whole(4, 3, 0, bottomUp, 1);
    load(whole);
    PIX_SoftenRect(&whole, 4, 3);
    EXPECT_EQ(whole.Image(), (std::vector<PIX_PixelWord>{
                                 0x474F5760,
                                 0xBDBBB9B7,
                                 0x4E4E4E4E,
                                 0x44484C51,  //
                                 0x5D3D3B3A,
                                 0xA6BD968E,
                                 0x5F5F7E5F,
                                 0x37404870,  //
                                 0x7F3F0001,
                                 0x5BB75330,
                                 0x1F3E9E3E,
                                 0x04084B90,
                             }))
        << "bottom-up " << bottomUp;
    EXPECT_TRUE(whole.PaddingIntact());

    // A 3x2 area softens only itself, its own edges being the area's edges;
    // asking for more than the bitmap holds is cut to the bitmap.
    TestBitmap part(4, 3, 0, bottomUp);
    load(part);
    PIX_SoftenRect(&part, 3, 2);
    EXPECT_EQ(part.Image(), (std::vector<PIX_PixelWord>{
                                0x474F5760,
                                0xBDBBB9B7,
                                0x5E5E5E5E,
                                0x80808080,  //
                                0x40414142,
                                0xC6BEB6AE,
                                0x7B77736F,
                                0x11223344,  //
                                0xFF000000,
                                0x00FF0000,
                                0x0000FF00,
                                0x000000FF,
                            }))
        << "bottom-up " << bottomUp;
    TestBitmap clipped(4, 3, 0, bottomUp);
    load(clipped);
    PIX_SoftenRect(&clipped, 400, 300);
    EXPECT_EQ(clipped.Image(), whole.Image());
  }
}

TEST(SoftenRect, WideRowsUseTheirOwnSavedRows) {
  // Wider than the rows kept on the stack: same arithmetic.
  const int width = 1100;
  TestBitmap wide(width, 3);
  wide.At(1050, 1) = 0xFFFFFFFF;
  PIX_SoftenRect(&wide, width, 3);
  EXPECT_EQ(wide.At(1050, 1), 0x7F7F7F7Fu);
  EXPECT_EQ(wide.At(1050, 0), 0x3F3F3F3Fu);
  EXPECT_EQ(wide.At(1050, 2), 0x3F3F3F3Fu);
  EXPECT_EQ(wide.At(1049, 1), 0x1F1F1F1Fu);
  EXPECT_EQ(wide.At(1051, 1), 0x1F1F1F1Fu);
  wide.At(1050, 1) = 0;
  for (int x : {1049, 1050, 1051}) wide.At(x, 0) = wide.At(x, 1) = wide.At(x, 2) = 0;
  EXPECT_EQ(wide.Image(), std::vector<PIX_PixelWord>(width * 3, 0));
}

TEST(SoftenRect, ThinOrMissingAreasChangeNothing) {
  TestBitmap bitmap(4, 3);
  bitmap.At(0, 0) = 0xFFFFFFFF;
  bitmap.At(1, 0) = 0x12345678;
  const std::vector<PIX_PixelWord> before = bitmap.Image();
  PIX_SoftenRect(&bitmap, 1, 3);
  PIX_SoftenRect(&bitmap, 4, 1);
  PIX_SoftenRect(&bitmap, -5, 3);
  PIX_SoftenRect(&bitmap, INT_MIN, INT_MIN);
  EXPECT_EQ(bitmap.Image(), before);
  TestBitmap failed = TestBitmap::Failed(4, 3);
  PIX_MemBitmap none;
  PIX_SoftenRect(&failed, 4, 3);
  PIX_SoftenRect(&none, 4, 3);
  PIX_SoftenRect(nullptr, 4, 3);
}

TEST(Hsv, ReciprocalTable) {
  EXPECT_EQ(PIX_HSV_RECIPROCALS[0], 0);
  EXPECT_EQ(PIX_HSV_RECIPROCALS[1], 65535);
  EXPECT_EQ(PIX_HSV_RECIPROCALS[2], 32767);
  EXPECT_EQ(PIX_HSV_RECIPROCALS[3], 21844);
  EXPECT_EQ(PIX_HSV_RECIPROCALS[7], 9361);
  EXPECT_EQ(PIX_HSV_RECIPROCALS[128], 511);
  EXPECT_EQ(PIX_HSV_RECIPROCALS[255], 256);
}

TEST(Hsv, FromRgbAndBack) {
  const struct {
    int r, g, b, h, s, v;
    PIX_PixelWord back;  // PIX_PixelFromHsv(h, s, v, 255)
  } cases[] = {
      {255, 0, 0, 0, 255, 255, 0xFFFF0000},
      {0, 255, 0, 128, 255, 255, 0xFF00FF00},
      {0, 0, 255, 256, 255, 255, 0xFF0000FF},
      // Secondaries land one short of their sector edge, and come back so.
      {255, 255, 0, 63, 255, 255, 0xFFFFFB00},
      {0, 255, 255, 193, 255, 255, 0xFF00FBFF},
      {255, 0, 255, 319, 255, 255, 0xFFFB00FF},
      // Red leaning to blue counts from 383.
      {255, 0, 10, 381, 255, 255, 0xFFFF000C},
      {100, 100, 100, 256, 0, 100, 0xFF646464},
      {0, 0, 0, 256, 0, 0, 0xFF000000},
      {255, 255, 255, 256, 0, 255, 0xFFFFFFFF},
      {128, 64, 32, 21, 191, 128, 0xFF803F20},
      {51, 102, 153, 225, 170, 153, 0xFF336499},
      // Channels beyond a byte count as its ends.
      {300, -20, 0, 0, 255, 255, 0xFFFF0000},
  };
  for (const auto& c : cases) {
    int h = -1, s = -1, v = -1;
    PIX_HsvFromRgb(c.r, c.g, c.b, h, s, v);
    EXPECT_EQ(h, c.h) << c.r << "," << c.g << "," << c.b;
    EXPECT_EQ(s, c.s) << c.r << "," << c.g << "," << c.b;
    EXPECT_EQ(v, c.v) << c.r << "," << c.g << "," << c.b;
    EXPECT_EQ(PIX_PixelFromHsv(c.h, c.s, c.v, 255), c.back) << c.r << "," << c.g << "," << c.b;
  }
  // Alpha keeps its low 8 bits.
  EXPECT_EQ(PIX_PixelFromHsv(0, 255, 255, 0x180), 0x80FF0000u);
}

TEST(Hsv, RoundTripStaysClose) {
  // The conversions are lossy by a few steps at most, never more.
  int worst = 0;
  for (int r = 0; r < 256; r += 5) {
    for (int g = 0; g < 256; g += 5) {
      for (int b = 0; b < 256; b += 5) {
        int h, s, v;
        PIX_HsvFromRgb(r, g, b, h, s, v);
        ASSERT_TRUE(h >= 0 && h < PIX_HUE_RANGE && s >= 0 && s <= 255 && v >= 0 && v <= 255)
            << r << "," << g << "," << b;
        const PIX_PixelWord p = PIX_PixelFromHsv(h, s, v, 0);
        worst = std::max({worst, std::abs(PIX_ByteOf(p, PIX_BYTE_R) - r),
                          std::abs(PIX_ByteOf(p, PIX_BYTE_G) - g),
                          std::abs(PIX_ByteOf(p, PIX_BYTE_B) - b)});
      }
    }
  }
  EXPECT_LE(worst, 5);
}

TEST(CompositingKernels, ClampedStoreAndColourKernels) {
  PIX_PixelWord p = 0;
  PIX_StorePixelClamped(&p, 300, -4, 128, 255);
  EXPECT_EQ(p, 0xFFFF0080u);

  const struct {
    void (*kernel)(PIX_PixelWord*, int, int, int, int, int);
    PIX_PixelWord before;
    int r, g, b, a, weight;
    PIX_PixelWord after;
  } cases[] = {
      // Dodge by 255 at full weight: non-zero bytes saturate, 0 stays.
      {PIX_DodgePixel, 0x00010080, 255, 255, 255, 255, 256, 0x00FF00FF},
      {PIX_DodgePixel, 0x80402010, 32, 64, 128, 16, 256, 0x88492A20},
      {PIX_DodgePixel, 0x80402010, 32, 64, 128, 16, 0, 0x80402010},
      // Overlay by 128 at full weight changes nothing; 255 and 0 lighten and darken.
      {PIX_OverlayPixel, 0x12345678, 128, 128, 128, 128, 256, 0x12345678},
      {PIX_OverlayPixel, 0x64646464, 255, 0, 255, 0, 256, 0x27A027A0},
      {PIX_OverlayPixel, 0x80402010, 32, 64, 128, 16, 256, 0x481C1210},
      // HSV adjust: neutral keeps the colour and sets the alpha byte.
      {PIX_HsvAdjustPixel, 0xFFFF0000, 128, 128, 128, 0x20, 256, 0x20FF0000},
      {PIX_HsvAdjustPixel, 0xFFFF0000, 255, 128, 128, 0x40, 256, 0x4000FFF7},
      // Saturation and value clamp.
      {PIX_HsvAdjustPixel, 0xFF336699, 128, 0, 255, 0xFF, 256, 0xFFFFFFFF},
      {PIX_HsvAdjustPixel, 0xFF336699, 128, 128, 0, 0xFF, 256, 0xFF000000},
  };
  for (const auto& c : cases) {
    PIX_PixelWord pixel = c.before;
    c.kernel(&pixel, c.r, c.g, c.b, c.a, c.weight);
    EXPECT_EQ(pixel, c.after) << std::hex << c.before << " by " << std::dec << c.r << "," << c.g
                              << "," << c.b << "," << c.a << " at " << c.weight;
  }
}
