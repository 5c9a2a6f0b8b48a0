#include "core/ptr_list.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <vector>

namespace {

// A list over a fixed pool of ints, so elements are told apart by their value.
class PtrListTest : public testing::Test {
 protected:
  static constexpr int kPoolSize = 3000;

  void SetUp() override {
    for (int i = 0; i < kPoolSize; ++i) pool_[i] = i;
  }
  void AddValues(const std::vector<int>& values) {
    for (int v : values) ASSERT_TRUE(list_.Add(&pool_[v]));
  }
  std::vector<int> Values() const {
    std::vector<int> values;
    for (int32_t i = 0; i < list_.Count(); ++i) values.push_back(*list_.Get(i));
    return values;
  }

  int pool_[kPoolSize];
  PtrList<int> list_;
};

TEST_F(PtrListTest, InsertPlacesBeforeTheIndex) {
  struct Case {
    int32_t index;
    bool inserted;
    std::vector<int> expected;
  };
  const std::vector<Case> cases = {
      {0, true, {9, 1, 2, 3}}, {1, true, {1, 9, 2, 3}},
      {3, true, {1, 2, 3, 9}},  // at the count: same as Add
      {4, false, {1, 2, 3}},   {-1, false, {1, 2, 3}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "Insert at " << c.index);
    PtrList<int> list;
    for (int v : {1, 2, 3}) list.Add(&pool_[v]);
    EXPECT_EQ(list.Insert(c.index, &pool_[9]), c.inserted);
    std::vector<int> values;
    for (int32_t i = 0; i < list.Count(); ++i) values.push_back(*list.Get(i));
    EXPECT_EQ(values, c.expected);
  }
}

TEST_F(PtrListTest, InsertIntoEmptyList) {
  EXPECT_TRUE(list_.Insert(0, &pool_[5]));
  EXPECT_EQ(Values(), std::vector<int>({5}));
}

TEST_F(PtrListTest, GetOutsideTheListIsNull) {
  EXPECT_EQ(list_.Get(0), nullptr);  // no storage yet
  AddValues({0, 1, 2});
  for (int32_t index : {3, 4, -1, INT32_MIN, INT32_MAX}) {
    EXPECT_EQ(list_.Get(index), nullptr) << "index " << index;
  }
  EXPECT_EQ(list_.Get(2), &pool_[2]);
}

TEST_F(PtrListTest, KeepsOrderAcrossReallocations) {
  // Thousands of pointers outgrow the first page-sized capacity several times.
  std::vector<int> expected;
  for (int v = 1; v < kPoolSize; ++v) {
    ASSERT_TRUE(list_.Add(&pool_[v]));
    expected.push_back(v);
  }
  ASSERT_TRUE(list_.Insert(0, &pool_[0]));
  expected.insert(expected.begin(), 0);
  EXPECT_EQ(Values(), expected);
}

TEST_F(PtrListTest, DeleteAllGoesFromLastToFirst) {
  AddValues({1, 2, 3});
  std::vector<int> order;
  list_.DeleteAll([&order](int* element) { order.push_back(*element); });
  EXPECT_EQ(order, std::vector<int>({3, 2, 1}));
  EXPECT_EQ(list_.Count(), 0);
  EXPECT_EQ(list_.Get(0), nullptr);

  // The list is reusable afterwards.
  AddValues({7});
  EXPECT_EQ(Values(), std::vector<int>({7}));
}

TEST(PtrListOwnedTest, DefaultDeleteAllDestroysEveryElement) {
  struct Counted {
    explicit Counted(int* live) : live_(live) { ++*live_; }
    ~Counted() { --*live_; }
    int* live_;
  };
  int live = 0;
  PtrList<Counted> list;
  for (int i = 0; i < 5; ++i) list.Add(new Counted(&live));
  ASSERT_EQ(live, 5);
  list.DeleteAll();
  EXPECT_EQ(live, 0);
  EXPECT_EQ(list.Count(), 0);
}

}  // namespace
