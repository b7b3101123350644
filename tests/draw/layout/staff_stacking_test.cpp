// Vertical stacking of a system's staves.

#include <gtest/gtest.h>

#include <vector>

#include "draw/layout/staff_stacking.h"

namespace kvt {
namespace {

TStackInput Staff(int upper = 8, int lower = 8) {
  TStackInput s;
  s.upper = upper;
  s.lower = lower;
  return s;
}

TEST(StaffStacking, OriginsFollowTheExtentsOfEachStaff) {
  const std::vector<TStackInput> staves{Staff(8, 10), Staff(6, 8)};
  const TStackResult r = StackStaves(staves, false, 5);
  ASSERT_EQ(r.staves.size(), 2u);
  EXPECT_EQ(r.staves[0].originY, 40);
  EXPECT_EQ(r.staves[1].originY, 40 + 50 + 30);
  EXPECT_EQ(r.totalHeight, 120 + 40);
  EXPECT_EQ(r.groups, 2);
  EXPECT_EQ(r.linedGroups, 2);
}

TEST(StaffStacking, LayeredStavesShareOneOriginAndTheGroupMaxima) {
  std::vector<TStackInput> staves{Staff(6, 12), Staff(10, 8), Staff(8, 8), Staff(8, 8)};
  staves[0].layerWithNext = true;
  staves[1].layerWithNext = true;
  TStackResult r = StackStaves(staves, true, 1);
  EXPECT_EQ(r.groups, 2);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(r.staves[static_cast<size_t>(i)].originY, 10) << i;
    EXPECT_EQ(r.staves[static_cast<size_t>(i)].upper, 10);
    EXPECT_EQ(r.staves[static_cast<size_t>(i)].lower, 12);
    EXPECT_TRUE(r.staves[static_cast<size_t>(i)].layered);
  }
  EXPECT_TRUE(r.staves[0].startsGroup);
  EXPECT_FALSE(r.staves[1].startsGroup);
  EXPECT_EQ(r.staves[3].originY, 22 + 8);
  // Without layering every staff is its own group.
  r = StackStaves(staves, false, 1);
  EXPECT_EQ(r.groups, 4);
  // The last staff never layers with a next one.
  staves[3].layerWithNext = true;
  EXPECT_FALSE(StackStaves(staves, true, 1).staves[3].layeredWithNext);
}

TEST(StaffStacking, ConnectionBitsJoinNeighbouringGroups) {
  std::vector<TStackInput> staves{Staff(), Staff(), Staff()};
  staves[0].bracketWithNext = true;
  staves[1].bracketWithNext = true;
  staves[0].braceWithNext = true;
  staves[1].connectBarsWithNext = true;
  staves[2].bracketWithNext = true;  // the last staff joins nothing
  const TStackResult r = StackStaves(staves, false, 1);
  EXPECT_EQ(r.staves[0].bracketBits, kJoinedToNext);
  EXPECT_EQ(r.staves[1].bracketBits, kJoinedToPrevious | kJoinedToNext);
  EXPECT_EQ(r.staves[2].bracketBits, kJoinedToPrevious);
  EXPECT_EQ(r.staves[0].braceBits, kJoinedToNext);
  EXPECT_EQ(r.staves[1].braceBits, kJoinedToPrevious);
  EXPECT_EQ(r.staves[2].braceBits, 0);
  EXPECT_EQ(r.staves[0].connectBits, 0);
  EXPECT_EQ(r.staves[1].connectBits, kJoinedToNext);
  EXPECT_EQ(r.staves[2].connectBits, kJoinedToPrevious);
}

TEST(StaffStacking, CollapsedStaffWithoutExtentsIsEmptyAndTakesNoHeight) {
  std::vector<TStackInput> staves{Staff(), Staff(), Staff()};
  staves[1].collapsed = true;
  staves[0].connectBarsWithNext = true;
  const TStackResult r = StackStaves(staves, false, 1);
  EXPECT_TRUE(r.staves[1].empty);
  EXPECT_EQ(r.staves[2].originY, r.staves[0].originY + 8 + 8);
  // The bar line of staff 0 would run into the empty staff and reach nothing: dropped.
  EXPECT_EQ(r.staves[0].connectBits & kJoinedToNext, 0);
}

TEST(StaffStacking, NoStavesAndHugeExtentsStayBounded) {
  EXPECT_EQ(StackStaves({}, false, 10).totalHeight, 0);
  const std::vector<TStackInput> staves(64, Staff(100000, -100000));
  const TStackResult r = StackStaves(staves, false, 20000);
  EXPECT_EQ(r.totalHeight, 64 * 2 * 255 * 20000);
}

}  // namespace
}  // namespace kvt
