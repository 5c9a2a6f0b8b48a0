#include "core/state_chunk.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <functional>
#include <limits>
#include <string>
#include <vector>

namespace {

std::vector<uint8_t> BytesOf(const IStateChunk& chunk) {
  if (chunk.Size() == 0) return {};
  return std::vector<uint8_t>(chunk.Data(), chunk.Data() + chunk.Size());
}

IStateChunk& Fill(IStateChunk& chunk, const std::vector<uint8_t>& bytes) {
  chunk.AppendBytes(bytes.data(), static_cast<int32_t>(bytes.size()));
  return chunk;
}

TEST(StateChunkTest, ByteLayouts) {
  struct Case {
    const char* name;
    std::function<void(IStateChunk&)> write;
    std::vector<uint8_t> bytes;
  };
  const std::vector<Case> cases = {
      {"int 1, double 0.5",
       [](IStateChunk& c) {
         c.AppendInt32(1);
         c.AppendDouble(0.5);
       },
       {0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xE0, 0x3F}},
      {"int -2", [](IStateChunk& c) { c.AppendInt32(-2); }, {0xFE, 0xFF, 0xFF, 0xFF}},
      {"int 0x12345678",
       [](IStateChunk& c) { c.AppendInt32(0x12345678); },
       {0x78, 0x56, 0x34, 0x12}},
      {"double -2", [](IStateChunk& c) { c.AppendDouble(-2.0); }, {0, 0, 0, 0, 0, 0, 0, 0xC0}},
      {"text ab", [](IStateChunk& c) { c.AppendText("ab"); }, {0x02, 0, 0, 0, 0x61, 0x62}},
      {"empty text", [](IStateChunk& c) { c.AppendText(""); }, {0, 0, 0, 0}},
      {"null text", [](IStateChunk& c) { c.AppendText(nullptr); }, {0, 0, 0, 0}},
      {"bools",
       [](IStateChunk& c) {
         c.AppendBool(true);
         c.AppendBool(false);
       },
       {0x01, 0x00}},
      {"byte", [](IStateChunk& c) { c.AppendByte(0xAB); }, {0xAB}},
      {"chunk",
       [](IStateChunk& c) {
         IStateChunk other;
         other.AppendInt32(3);
         c.AppendByte(9);
         c.AppendChunk(other);
       },
       {0x09, 0x03, 0, 0, 0}},
      {"empty chunk",
       [](IStateChunk& c) {
         IStateChunk empty;
         c.AppendByte(9);
         c.AppendChunk(empty);
       },
       {0x09}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    IStateChunk chunk;
    c.write(chunk);
    EXPECT_EQ(BytesOf(chunk), c.bytes);
  }
}

TEST(StateChunkTest, ReadsBackWhatWasWritten) {
  const std::vector<double> doubles = {0.0,
                                       -0.0,
                                       0.12345,
                                       -1e300,
                                       std::numeric_limits<double>::denorm_min(),
                                       std::numeric_limits<double>::infinity()};
  IStateChunk chunk;
  chunk.AppendInt32(INT32_MIN);
  for (double d : doubles) chunk.AppendDouble(d);
  chunk.AppendBool(true);
  chunk.AppendText("Grit");
  // Many values, so the chunk reallocates while it is written.
  for (int32_t i = 0; i < 5000; ++i) chunk.AppendInt32(i * 3);

  int32_t i32 = 0;
  int32_t pos = chunk.ReadInt32(i32, 0);
  EXPECT_EQ(pos, 4);
  EXPECT_EQ(i32, INT32_MIN);
  for (double expected : doubles) {
    double d = 1.0;
    const int32_t next = chunk.ReadDouble(d, pos);
    ASSERT_EQ(next, pos + 8);
    pos = next;
    EXPECT_EQ(std::memcmp(&d, &expected, sizeof d), 0) << expected;  // also tells -0 from 0
  }
  bool b = false;
  pos = chunk.ReadBool(b, pos);
  EXPECT_TRUE(b);
  HeapString text;
  pos = chunk.ReadText(text, pos);
  ASSERT_NE(text.Text(), nullptr);
  EXPECT_STREQ(text.Text(), "Grit");
  for (int32_t i = 0; i < 5000; ++i) {
    pos = chunk.ReadInt32(i32, pos);
    ASSERT_GT(pos, 0);
    ASSERT_EQ(i32, i * 3);
  }
  EXPECT_EQ(pos, chunk.Size());
}

TEST(StateChunkTest, ReadsAtTheEdges) {
  enum Kind { kInt32, kDouble, kByte, kBool };
  struct Case {
    Kind kind;
    int32_t position;
    int32_t result;
  };
  // The chunk holds 9 bytes.
  const std::vector<Case> cases = {
      {kInt32, 5, 9},
      {kInt32, 6, -1},
      {kInt32, -1, -1},
      {kInt32, INT32_MAX, -1},
      {kInt32, INT32_MAX - 2, -1},
      {kDouble, 1, 9},
      {kDouble, 2, -1},
      {kDouble, -1, -1},
      {kByte, 8, 9},
      {kByte, 9, -1},
      {kByte, -1, -1},
      {kBool, 8, 9},
      {kBool, 9, -1},
  };
  IStateChunk chunk;
  Fill(chunk, {1, 2, 3, 4, 5, 6, 7, 8, 9});
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "kind " << c.kind << " at " << c.position);
    int32_t i32 = -7;
    double d = -7.0;
    uint8_t byte = 77;
    bool flag = true;
    int32_t result = 0;
    switch (c.kind) {
      case kInt32:
        result = chunk.ReadInt32(i32, c.position);
        break;
      case kDouble:
        result = chunk.ReadDouble(d, c.position);
        break;
      case kByte:
        result = chunk.ReadByte(byte, c.position);
        break;
      case kBool:
        result = chunk.ReadBool(flag, c.position);
        break;
    }
    EXPECT_EQ(result, c.result);
    if (c.result < 0) {  // a failed read leaves its output alone
      EXPECT_EQ(i32, -7);
      EXPECT_EQ(d, -7.0);
      EXPECT_EQ(byte, 77);
      EXPECT_TRUE(flag);
    }
  }

  int32_t i32 = 0;
  ASSERT_EQ(chunk.ReadInt32(i32, 5), 9);
  EXPECT_EQ(i32, 0x09080706);
  uint8_t byte = 0;
  ASSERT_EQ(chunk.ReadByte(byte, 8), 9);
  EXPECT_EQ(byte, 9);
}

TEST(StateChunkTest, EmptyChunkReadsNothing) {
  IStateChunk chunk;
  EXPECT_EQ(chunk.Data(), nullptr);
  int32_t i32 = 5;
  EXPECT_EQ(chunk.ReadInt32(i32, 0), -1);
  uint8_t byte = 5;
  EXPECT_EQ(chunk.ReadByte(byte, 0), -1);
  EXPECT_EQ(i32, 5);
  EXPECT_EQ(byte, 5);
}

TEST(StateChunkTest, ReadBoolTakesAnyNonZeroByte) {
  IStateChunk chunk;
  Fill(chunk, {0x02, 0x00});
  bool flag = false;
  EXPECT_EQ(chunk.ReadBool(flag, 0), 1);
  EXPECT_TRUE(flag);
  EXPECT_EQ(chunk.ReadBool(flag, 1), 2);
  EXPECT_FALSE(flag);
}

TEST(StateChunkTest, ReadText) {
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
    int32_t position;
    int32_t result;
    const char* text;
  };
  const std::vector<Case> cases = {
      {"fits", {2, 0, 0, 0, 'a', 'b', 'c'}, 0, 6, "ab"},
      {"after other bytes", {9, 1, 0, 0, 0, 'z'}, 1, 6, "z"},
      {"length 0 keeps the text", {0, 0, 0, 0, 'a'}, 0, 4, "old"},
      // Past the end: the position still moves on so the next read fails.
      {"running past the end", {5, 0, 0, 0, 'a', 'b'}, 0, 9, "old"},
      {"negative length", {0xFF, 0xFF, 0xFF, 0xFF, 'a', 'b'}, 0, -1, "old"},
      {"length beyond a position", {0xFF, 0xFF, 0xFF, 0x7F, 'a'}, 0, -1, "old"},
      {"length cut short", {2, 0, 0}, 0, -1, "old"},
      {"negative position", {2, 0, 0, 0, 'a', 'b'}, -4, -1, "old"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    IStateChunk chunk;
    Fill(chunk, c.bytes);
    HeapString text;
    text.Set("old");
    EXPECT_EQ(chunk.ReadText(text, c.position), c.result);
    ASSERT_NE(text.Text(), nullptr);
    EXPECT_STREQ(text.Text(), c.text);
    if (c.result > chunk.Size()) {
      int32_t i32 = 0;
      EXPECT_EQ(chunk.ReadInt32(i32, c.result), -1);
    }
  }
}

TEST(StateChunkTest, ReadTextReplacesALongerText) {
  IStateChunk chunk;
  chunk.AppendText("ab");
  HeapString text;
  text.Set("much longer");
  EXPECT_EQ(chunk.ReadText(text, 0), 6);
  EXPECT_STREQ(text.Text(), "ab");
}

TEST(StateChunkTest, ResizeZeroFillsAndClearEmpties) {
  IStateChunk chunk;
  Fill(chunk, {1, 2, 3, 4, 5, 6, 7, 8});
  EXPECT_EQ(chunk.Resize(4), 8);
  EXPECT_EQ(chunk.Resize(8), 4);
  EXPECT_EQ(BytesOf(chunk), std::vector<uint8_t>({1, 2, 3, 4, 0, 0, 0, 0}));

  chunk.Clear();
  EXPECT_EQ(chunk.Size(), 0);
  EXPECT_EQ(chunk.Data(), nullptr);
  chunk.AppendInt32(7);
  EXPECT_EQ(BytesOf(chunk), std::vector<uint8_t>({7, 0, 0, 0}));
}

}  // namespace

TEST(StateChunkTest, AppendingItselfCopiesItsBytesFromBeforeTheGrowth) {
  IStateChunk chunk;
  for (int i = 0; i < 3000; ++i) chunk.AppendByte(static_cast<uint8_t>(i * 7));
  ASSERT_TRUE(chunk.AppendChunk(chunk));  // 6000 bytes: beyond the first capacity
  ASSERT_EQ(chunk.Size(), 6000);
  for (int i = 0; i < 3000; ++i) {
    ASSERT_EQ(chunk.Data()[i], chunk.Data()[i + 3000]) << i;
    ASSERT_EQ(chunk.Data()[i], static_cast<uint8_t>(i * 7)) << i;
  }
}
