#include "core/heap_string.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

// The text as a std::string; null reads as empty, like every user does.
std::string TextOf(const HeapString& s) {
  return s.Text() != nullptr ? s.Text() : "";
}

TEST(HeapStringTest, FreshStringHoldsNothing) {
  HeapString s;
  EXPECT_EQ(s.Text(), nullptr);
  EXPECT_EQ(s.Length(), 0);
  s.Append("de", 0);
  EXPECT_EQ(TextOf(s), "de");
  EXPECT_EQ(s.Size(), 3);
}

TEST(HeapStringTest, SetAndAppendWithLimits) {
  enum Op { kSet, kAppend };
  struct Case {
    const char* start;  // null: a fresh string
    Op op;
    const char* text;
    int32_t limit;
    const char* expected;
  };
  const std::vector<Case> cases = {
      {nullptr, kSet, "abc", 0, "abc"},
      {nullptr, kSet, "abc", -1, "abc"},  // any limit below 1 takes the whole text
      {nullptr, kSet, "abc", 2, "ab"},
      {nullptr, kSet, "abc", 10, "abc"},  // a limit past the terminator stops there
      {"abc", kAppend, "de", 1, "abcd"},
      {"abc", kAppend, "de", 0, "abcde"},
      {"abcdef", kSet, "xy", 0, "xy"},  // a shorter text ends the string
      {"abc", kSet, nullptr, 0, ""},
      {nullptr, kSet, nullptr, 0, ""},
      {"abc", kSet, "", 0, ""},
      {"abc", kAppend, nullptr, 0, "abc"},
      {"abc", kAppend, "", 0, "abc"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << (c.start ? c.start : "(fresh)") << (c.op == kSet ? " Set " : " Append ")
                 << (c.text ? c.text : "(null)") << " limit " << c.limit);
    HeapString s;
    if (c.start != nullptr) s.Set(c.start);
    if (c.op == kSet) {
      s.Set(c.text, c.limit);
    } else {
      s.Append(c.text, c.limit);
    }
    // Setting anything, even null, leaves a terminated text behind.
    ASSERT_NE(s.Text(), nullptr);
    EXPECT_EQ(std::string(s.Text()), c.expected);
    EXPECT_EQ(s.Length(), static_cast<int32_t>(std::string(c.expected).size()));
    EXPECT_EQ(s.Size(), s.Length() + 1);
  }
}

TEST(HeapStringTest, WriteAtReplacesTheTail) {
  struct Case {
    int32_t position;
    const char* source;
    int32_t length;
    const char* expected;
  };
  const std::vector<Case> cases = {
      {1, "Z", 1, "aZ"},      {0, "Q", 1, "Q"},     {2, "XYZW", 4, "abXYZW"},
      {4, "ef", 2, "abcdef"}, {1, "XYZ", 2, "aXY"},  // only length bytes are taken
      {0, "", 0, ""},                                // an empty write at the start empties the text
      {2, "Z", 0, "abcd"},                           // an empty write elsewhere does nothing
      {-1, "Z", 1, "abcd"},   {1, "Z", -1, "abcd"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << "WriteAt(" << c.position << ", " << c.source << ", " << c.length << ")");
    HeapString s;
    s.Set("abcd");
    const int32_t capacity = s.Capacity();
    s.WriteAt(c.position, c.source, c.length);
    EXPECT_EQ(TextOf(s), c.expected);
    EXPECT_EQ(s.Size(), s.Length() + 1);
    if (s.Size() <= 5) {
      EXPECT_EQ(s.Capacity(), capacity);  // shrinking writes keep the storage
    }
  }
}

TEST(HeapStringTest, ShorterTextKeepsTheStorage) {
  // Texts are rewritten often; giving memory back each time would churn.
  HeapString s;
  s.Set(std::string(5000, 'x').c_str());
  const int32_t capacity = s.Capacity();
  s.Set("ab");
  EXPECT_EQ(TextOf(s), "ab");
  EXPECT_EQ(s.Size(), 3);
  EXPECT_EQ(s.Capacity(), capacity);
}

TEST(HeapStringTest, AppendsItselfAcrossAMovingGrowth) {
  const std::string original = "a text long enough to be overwritten once freed";
  struct Case {
    int32_t offset;  // where the appended part starts inside the string
    int32_t limit;
    std::string appended;
  };
  const std::vector<Case> cases = {
      {0, 0, original},
      {2, 30, original.substr(2, 30)},
      {7, 0, original.substr(7)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "offset " << c.offset << ", limit " << c.limit);
    HeapString s(1);  // tight slack, so this append has to reallocate
    s.Set(original.c_str());
    const int32_t capacity = s.Capacity();
    const int32_t need = s.Length() + static_cast<int32_t>(c.appended.size()) + 1;
    ASSERT_GT(need, capacity);

    s.Append(s.Text() + c.offset, c.limit);
    EXPECT_EQ(TextOf(s), original + c.appended);
  }
}

TEST(HeapStringTest, WritesFromOverlappingSourceWithoutGrowth) {
  struct Case {
    int32_t position;
    int32_t sourceOffset;
    int32_t length;
    const char* expected;
  };
  const std::vector<Case> cases = {
      {0, 1, 3, "bcd"},     // backward copy, then the string shrinks
      {2, 0, 4, "ababcd"},  // forward copy onto its own source
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "WriteAt(" << c.position << ", Text() + " << c.sourceOffset
                                    << ", " << c.length << ")");
    HeapString s;
    s.Set("abcdef");
    s.WriteAt(c.position, s.Text() + c.sourceOffset, c.length);
    EXPECT_EQ(TextOf(s), c.expected);
  }
}

}  // namespace
