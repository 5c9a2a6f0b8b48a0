#include "core/heap_buffer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <vector>

namespace {

// Fills the first n bytes with a pattern that tells every byte apart.
void FillPattern(HeapBuffer& buffer, int32_t n) {
  for (int32_t i = 0; i < n; ++i) buffer.Data()[i] = static_cast<uint8_t>(i * 7 + 1);
}

void ExpectPattern(const HeapBuffer& buffer, int32_t n) {
  ASSERT_NE(buffer.Data(), nullptr);
  for (int32_t i = 0; i < n; ++i) {
    ASSERT_EQ(buffer.Data()[i], static_cast<uint8_t>(i * 7 + 1)) << "byte " << i;
  }
}

TEST(HeapBufferTest, FirstGrowthCapacity) {
  struct Case {
    int32_t granularity;
    int32_t size;
    int32_t capacity;
  };
  const std::vector<Case> cases = {
      {4096, 100, 4000},           // one page less the allocator's header
      {4096, 4000, 8096},          // the slack of a granularity is always added
      {4096, 20000, 24480},        // half the size, cut down to whole pages
      {4096, 10000000, 14192544},  // the extra growth stops at 4 MiB
      {65536, 100, 65440},         // a bulk granularity is page-fitted too
      {128, 10, 138},              // small granularities add the slack unrounded
      {128, 1000, 1500},           // half the size beats a small granularity
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "granularity " << c.granularity << ", size " << c.size);
    HeapBuffer buffer(c.granularity);
    uint8_t* data = buffer.Resize(c.size, false);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data, buffer.Data());
    EXPECT_EQ(buffer.Size(), c.size);
    EXPECT_EQ(buffer.Capacity(), c.capacity);
    buffer.Data()[c.size - 1] = 0x5A;  // the whole size is usable (ASan checks it)
  }
}

TEST(HeapBufferTest, GrowsOnlyBeyondCapacityAndKeepsContents) {
  HeapBuffer buffer(4096);
  uint8_t* first = buffer.Resize(100, false);
  ASSERT_EQ(buffer.Capacity(), 4000);
  FillPattern(buffer, 100);

  EXPECT_EQ(buffer.Resize(4000, false), first);
  EXPECT_EQ(buffer.Capacity(), 4000);
  FillPattern(buffer, 4000);

  ASSERT_NE(buffer.Resize(4001, false), nullptr);
  EXPECT_EQ(buffer.Capacity(), 8096);
  EXPECT_EQ(buffer.Size(), 4001);
  ExpectPattern(buffer, 4000);
}

TEST(HeapBufferTest, ShrinksOnlyFarBelowCapacity) {
  struct Case {
    int32_t granularity;
    int32_t peak;  // sets the capacity
    int32_t from;  // the size before the shrinking call
    int32_t to;
    int32_t capacityBefore;
    int32_t capacityAfter;
  };
  const std::vector<Case> cases = {
      // Capacity below four granularities: the threshold is 1, storage stays.
      {4096, 8000, 8000, 100, 8096, 8096},
      // Threshold half the capacity (49104): below it the storage is refitted.
      {4096, 66000, 50000, 1000, 98208, 4000},
      {4096, 66000, 50000, 49104, 98208, 98208},
      {4096, 66000, 50000, 49103, 98208, 69536},
      // Threshold capacity minus four granularities (8096).
      {4096, 17000, 17000, 8096, 24480, 24480},
      {4096, 17000, 17000, 8095, 24480, 8096},
      {128, 1000, 1000, 750, 1500, 1500},
      {128, 1000, 1000, 749, 1500, 1123},
      {128, 600, 600, 388, 900, 900},
      {128, 600, 600, 387, 900, 580},
      // Growing never refits, even with shrinking allowed.
      {4096, 66000, 10, 20, 98208, 98208},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "granularity " << c.granularity << ", peak " << c.peak
                                    << ", " << c.from << " -> " << c.to);
    HeapBuffer buffer(c.granularity);
    buffer.Resize(c.peak, false);
    FillPattern(buffer, c.peak);
    buffer.Resize(c.from, false);
    ASSERT_EQ(buffer.Capacity(), c.capacityBefore);

    ASSERT_NE(buffer.Resize(c.to, true), nullptr);
    EXPECT_EQ(buffer.Size(), c.to);
    EXPECT_EQ(buffer.Capacity(), c.capacityAfter);
    ExpectPattern(buffer, std::min(c.from, c.to));
  }
}

TEST(HeapBufferTest, ShrinkingNeedsPermission) {
  HeapBuffer buffer(4096);
  buffer.Resize(66000, false);
  uint8_t* data = buffer.Resize(1, false);
  EXPECT_EQ(buffer.Capacity(), 98208);
  EXPECT_EQ(buffer.Size(), 1);
  EXPECT_NE(data, nullptr);
}

TEST(HeapBufferTest, ResizeToZeroOrBelow) {
  struct Case {
    int32_t size;
    bool allowShrink;
    int32_t capacity;
  };
  const std::vector<Case> cases = {
      {0, true, 0},
      {-5, true, 0},
      {0, false, 4000},
      {-5, false, 4000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "size " << c.size << ", shrink " << c.allowShrink);
    HeapBuffer buffer(4096);
    buffer.Resize(100, false);
    EXPECT_EQ(buffer.Resize(c.size, c.allowShrink), nullptr);
    EXPECT_EQ(buffer.Data(), nullptr);
    EXPECT_EQ(buffer.Size(), 0);
    EXPECT_EQ(buffer.Capacity(), c.capacity);

    // The buffer stays usable either way.
    ASSERT_NE(buffer.Resize(10, false), nullptr);
    EXPECT_EQ(buffer.Capacity(), 4000);
  }
}

TEST(HeapBufferTest, CapacityBeyond32BitsLeavesBufferUnchanged) {
  struct Case {
    int32_t granularity;
    int32_t size;
  };
  const std::vector<Case> cases = {
      {4096, INT32_MAX},
      {128, INT32_MAX},
      {128, 1500000000},  // the size fits, the size plus half does not
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "granularity " << c.granularity << ", size " << c.size);
    HeapBuffer buffer(c.granularity);
    uint8_t* data = buffer.Resize(10, false);
    FillPattern(buffer, 10);
    const int32_t capacity = buffer.Capacity();

    EXPECT_EQ(buffer.Resize(c.size, false), data);
    EXPECT_EQ(buffer.Size(), 10);
    EXPECT_EQ(buffer.Capacity(), capacity);
    ExpectPattern(buffer, 10);
  }
}

TEST(HeapBufferTest, ResizeZeroFillClearsOnlyGainedBytes) {
  HeapBuffer buffer(4096);
  buffer.Resize(16, false);
  for (int32_t i = 0; i < 16; ++i) buffer.Data()[i] = 0xAA;
  buffer.Resize(8, false);  // the stale bytes 8..15 stay in the storage

  EXPECT_EQ(buffer.ResizeZeroFill(16), 8);
  ASSERT_EQ(buffer.Size(), 16);
  for (int32_t i = 0; i < 8; ++i) EXPECT_EQ(buffer.Data()[i], 0xAA) << "byte " << i;
  for (int32_t i = 8; i < 16; ++i) EXPECT_EQ(buffer.Data()[i], 0) << "byte " << i;

  // Zero-filled growth that reallocates clears the new bytes as well.
  EXPECT_EQ(buffer.ResizeZeroFill(9000), 16);
  ASSERT_EQ(buffer.Size(), 9000);
  for (int32_t i = 16; i < 9000; ++i) ASSERT_EQ(buffer.Data()[i], 0) << "byte " << i;

  // Shrinking is allowed: dropping to zero gives the storage back.
  EXPECT_EQ(buffer.ResizeZeroFill(0), 9000);
  EXPECT_EQ(buffer.Capacity(), 0);
}

}  // namespace
