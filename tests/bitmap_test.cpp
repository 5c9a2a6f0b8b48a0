#include <gtest/gtest.h>

#include <cstdint>

#include "imaging/bounds.h"
#include "imaging/mem_bitmap.h"
#include "imaging/sys_bitmap.h"

TEST(Bounds, UnionOverlapIntersectionContains) {
  const IBounds a{10, 10, 20, 20}, touching{20, 10, 30, 20}, apart{21, 10, 30, 20}, empty{};
  EXPECT_EQ(a.Union(empty), a);
  EXPECT_EQ(empty.Union(a), a);
  EXPECT_EQ(a.Union(apart), (IBounds{10, 10, 30, 20}));
  EXPECT_TRUE(a.Overlaps(touching));  // right edge meets left edge
  EXPECT_FALSE(a.Overlaps(apart));
  EXPECT_FALSE(a.Overlaps(empty));
  EXPECT_EQ(a.Intersection(touching), (IBounds{20, 10, 20, 20}));
  EXPECT_EQ(a.Intersection(apart), empty);
  EXPECT_EQ(a.Intersection(IBounds{15, 0, 40, 12}), (IBounds{15, 10, 20, 12}));
  EXPECT_TRUE(a.Contains(10, 19));
  EXPECT_FALSE(a.Contains(20, 10));
  EXPECT_FALSE(empty.Contains(0, 0));
}

TEST(MemBitmap, GrowthKeepsAndEnlargesItsBlock) {
  PIX_MemBitmap bitmap(10, 10);
  EXPECT_EQ(bitmap.Capacity(), 480);
  EXPECT_EQ(bitmap.RowPixels(), 12);
  EXPECT_FALSE(bitmap.Reshape(10, 10));
  EXPECT_TRUE(bitmap.Reshape(11, 10));
  EXPECT_EQ(bitmap.Capacity(), 480);  // still 12 pixels a row
  EXPECT_TRUE(bitmap.Reshape(13, 10));
  EXPECT_EQ(bitmap.Capacity(), 800);  // 640 needed, a quarter more kept

  PIX_MemBitmap large(100, 100);
  const int held = large.Capacity();
  large.Reshape(10, 10);
  EXPECT_EQ(large.Capacity(), held);
  EXPECT_EQ(large.RowPixels(), 12);
  EXPECT_EQ(PIX_MemBitmap(1, 5).RowPixels(), 4);
}

TEST(MemBitmap, PixelsAreAlignedAndWritable) {
  for (int width : {1, 3, 17, 360}) {
    PIX_MemBitmap bitmap(width, 7);
    PIX_PixelWord* pixels = bitmap.PixelData();
    ASSERT_NE(pixels, nullptr);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(pixels) % 64, 0u) << width;
    pixels[bitmap.RowPixels() * 7 - 1] = 0xFF112233u;  // the last stored pixel is ours
  }
}

TEST(MemBitmap, EmptyOrImpossibleSizesHoldNoPixels) {
  PIX_MemBitmap none;
  EXPECT_FALSE(none.Reshape(0, 0));
  EXPECT_EQ(none.PixelData(), nullptr);
  const struct {
    int width, height;
  } cases[] = {{0, 5}, {5, -1}, {-8, 3}, {100000, 100000}, {INT32_MAX, 1}};
  for (const auto& c : cases) {
    PIX_MemBitmap bitmap(4, 4);
    EXPECT_TRUE(bitmap.Reshape(c.width, c.height));
    EXPECT_EQ(bitmap.PixelData(), nullptr) << c.width << "x" << c.height;
    EXPECT_EQ(bitmap.PixelWidth(), 0);
    EXPECT_EQ(bitmap.PixelHeight(), 0);
    EXPECT_FALSE(PIX_IsDrawable(&bitmap));
  }
}

TEST(SysBitmap, ShrinkingKeepsTheOsBitmap) {
  PIX_SysBitmap bitmap(360, 104);
  ASSERT_NE(bitmap.PixelData(), nullptr);
  EXPECT_NE(bitmap.DrawingContext(), nullptr);
  EXPECT_EQ(bitmap.RowPixels(), 360);
  bitmap.PixelData()[360 * 104 - 1] = 0xFFFFFFFFu;
  PIX_PixelWord* first = bitmap.PixelData();

  EXPECT_TRUE(bitmap.Reshape(301, 50));
  EXPECT_EQ(bitmap.PixelData(), first);
  EXPECT_EQ(bitmap.RowPixels(), 360);
  EXPECT_EQ(bitmap.PixelWidth(), 301);

  EXPECT_TRUE(bitmap.Reshape(400, 50));
  EXPECT_EQ(bitmap.RowPixels(), 400);
  ASSERT_NE(bitmap.PixelData(), nullptr);
  bitmap.PixelData()[400 * 50 - 1] = 0;

  EXPECT_FALSE(bitmap.Reshape(0, 0));
  EXPECT_EQ(bitmap.PixelData(), nullptr);
  EXPECT_FALSE(bitmap.Reshape(0, 0));
  EXPECT_EQ(PIX_SysBitmap(1, 1).RowPixels(), 4);
}
