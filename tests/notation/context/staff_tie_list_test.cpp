#include "notation/context/staff_tie_list.h"

#include <gtest/gtest.h>

namespace kvt {
namespace {

TEST(StaffTieListTest, HoldsAtMost24) {
  TStaffTieList list;
  for (int i = 0; i < kMaxStaffTies; ++i) EXPECT_TRUE(list.Add(i, 2, false)) << i;
  EXPECT_FALSE(list.Add(99, 2, false));
  EXPECT_EQ(list.GetCount(), 24);
  TStaffTieEntry entry;
  EXPECT_TRUE(list.GetEntry(23, entry));
  EXPECT_EQ(entry.GetPosition(), 23);
  EXPECT_FALSE(list.GetEntry(24, entry));
  EXPECT_FALSE(list.GetEntry(-1, entry));
  list.Clear();
  EXPECT_FALSE(list.GetEntry(0, entry));
}

TEST(StaffTieListTest, EntryFields) {
  struct Case {
    int position;
    int accidental;
    bool mark;
    int wantPosition;
    int wantAccidental;
  };
  const Case cases[] = {
      {-128, 0, true, -128, 0}, {127, 4, false, 127, 4}, {0, 5, true, 0, 5},
      {300, 2, false, 127, 2},  {-300, 20, true, -128, 15},
  };
  for (const Case& c : cases) {
    const TStaffTieEntry entry(c.position, c.accidental, c.mark);
    EXPECT_EQ(entry.GetPosition(), c.wantPosition) << c.position;
    EXPECT_EQ(entry.GetAccidental(), c.wantAccidental) << c.position;
    EXPECT_EQ(entry.GetMark(), c.mark) << c.position;
  }
}

TEST(StaffTieListTest, FindSearchesFromTheNewest) {
  TStaffTieList list;
  list.Add(3, 0, false);
  list.Add(-2, 2, true);
  list.Add(3, 1, true);
  TStaffTieEntry entry;

  ASSERT_TRUE(list.Find(3, 5, entry, false));  // 5 matches any accidental
  EXPECT_EQ(entry.GetAccidental(), 1);
  ASSERT_TRUE(list.Find(3, 0, entry, true));
  EXPECT_EQ(entry.GetAccidental(), 0);
  EXPECT_EQ(list.GetCount(), 2);
  // Later entries moved down.
  ASSERT_TRUE(list.GetEntry(0, entry));
  EXPECT_EQ(entry.GetPosition(), -2);
  EXPECT_TRUE(entry.GetMark());
  EXPECT_FALSE(list.Find(3, 2, entry, false));
  EXPECT_FALSE(list.Find(4, 5, entry, false));
}

}  // namespace
}  // namespace kvt
