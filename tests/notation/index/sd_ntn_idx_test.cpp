#include "notation/index/sd_ntn_idx.h"

#include <gtest/gtest.h>

#include <memory>

#include <vector>

#include "notation/index/staff_layout_view.h"
#include "notation/items/staff_sizer.h"
#include "tests/notation/index/fake_staff_layout_view.h"
#include "tests/notation/staff_builder.h"

namespace kvt {
namespace {

using test::TFakeStaffLayoutView;
using test::TStaffBuilder;

std::unique_ptr<TStaffSizer> Sizer(int style) {
  auto sizer = std::make_unique<TStaffSizer>();
  sizer->SetStyle(style);
  return sizer;
}

std::unique_ptr<TStaffSizer> NewSize(int upper, int lower) {
  auto sizer = Sizer(kSizerNewSize);
  sizer->SetNewSize(upper, lower);
  return sizer;
}

class SDNtnIdxTest : public ::testing::Test {
protected:
  TMusicStaff staff;
  TStaffBuilder build{staff};
};

TEST_F(SDNtnIdxTest, FollowsBoundaryItems) {
  staff.SetBoundaries(-11, 9);
  build.Note(0);                        // 1
  build.Add(NewSize(6, 0));             // 2: upper only
  build.Note(0);                        // 3
  build.Add(NewSize(0, 3));             // 4: lower only
  build.Add(Sizer(kSizerCollapse));     // 5
  build.Note(0);                        // 6
  build.Add(Sizer(kSizerEndCollapse));  // 7
  build.Add(Sizer(kSizerReset));        // 8
  build.Note(0);                        // 9
  struct Case {
    int index;
    int upper;
    int lower;
    bool collapsed;
    bool shown;
  };
  const Case cases[] = {
      {0, 11, 9, false, false},  // item 0 is never shown
      {1, 11, 9, false, true},  {3, 4 + 6, 9, false, true}, {5, 10, 4 + 3, false, false},
      {6, 10, 7, true, false},  {7, 10, 7, true, true},     {9, 11, 9, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.index);
    const TSDNtnIdx idx(&staff, c.index);
    EXPECT_EQ(idx.GetUpperSize(), c.upper);
    EXPECT_EQ(idx.GetLowerSize(), c.lower);
    EXPECT_EQ(idx.IsCollapsed(), c.collapsed);
    EXPECT_EQ(idx.IsShownHere(), c.shown);
  }
}

TEST_F(SDNtnIdxTest, MovingBackRestartsWithTheSameSizes) {
  build.Add(NewSize(20, 20));  // 1
  build.Note(0);               // 2
  build.Add(Sizer(kSizerCollapse));  // 3
  build.Note(0);               // 4
  TSDNtnIdx idx(&staff, 4);
  EXPECT_TRUE(idx.IsCollapsed());
  EXPECT_TRUE(idx.SetIndex(2));
  EXPECT_EQ(idx.GetIndex(), 2);
  EXPECT_FALSE(idx.IsCollapsed());
  EXPECT_EQ(idx.GetUpperSize(), 24);
  EXPECT_TRUE(idx.Prev());  // the relative step back keeps the sizes
  EXPECT_EQ(idx.GetUpperSize(), 24);
  EXPECT_FALSE(idx.SetIndex(50));
  EXPECT_EQ(idx.GetIndex(), staff.GetLastIndex());
  EXPECT_TRUE(idx.IsCollapsed());
}

// Built on a layout view, the index passes over the boundary items that the layout says take no
// effect there; the null view lets every one apply, as an index on the staff alone does.
TEST_F(SDNtnIdxTest, LayoutDecidesWhichBoundariesApply) {
  staff.SetBoundaries(-11, 9);
  build.Add(Sizer(kSizerCollapse));     // 1
  build.Note(0);                        // 2
  build.Add(Sizer(kSizerEndCollapse));  // 3
  build.Add(NewSize(6, 0));             // 4
  build.Note(0);                        // 5
  struct Case {
    const char* name;
    std::vector<int> rejected;
    int index;
    int upper;
    bool collapsed;
    bool shown;
  };
  const Case cases[] = {
      {"all apply, inside the collapse", {}, 2, 11, true, false},
      {"all apply, at its end", {}, 3, 11, true, true},
      {"all apply, after the new size", {}, 5, 10, false, true},
      {"collapse rejected", {1}, 2, 11, false, true},
      {"end rejected, at it", {3}, 3, 11, true, false},
      {"end rejected, later", {3}, 5, 10, true, false},
      {"new size rejected", {4}, 5, 11, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TFakeStaffLayoutView view(staff);
    for (int i : c.rejected) view.Reject(i);
    const TSDNtnIdx idx(view, c.index);
    EXPECT_EQ(idx.GetLayoutView(), &view);
    EXPECT_EQ(idx.GetIndex(), c.index);
    EXPECT_EQ(idx.GetUpperSize(), c.upper);
    EXPECT_EQ(idx.IsCollapsed(), c.collapsed);
    EXPECT_EQ(idx.IsShownHere(), c.shown);
    if (c.rejected.empty()) {
      const TSDNtnIdx alone(&staff, c.index);
      EXPECT_EQ(alone.IsCollapsed(), c.collapsed);
      EXPECT_EQ(alone.IsShownHere(), c.shown);
    }
  }
}

TEST_F(SDNtnIdxTest, NullViewLeavesTheIndexWithoutStaff) {
  build.Note(0);
  TNullStaffLayoutView view;
  const TSDNtnIdx idx(view, 1);
  EXPECT_EQ(idx.GetStaff(), nullptr);
  EXPECT_EQ(idx.GetItem(), nullptr);
  EXPECT_FALSE(idx.CanMove(1));
}

// Sizes have 7 bits: a staff of many lines with a new size saturates instead of wrapping.
TEST_F(SDNtnIdxTest, SizesSaturateAt127) {
  staff.SetLines(255);
  build.Add(NewSize(99, 99));  // 1
  build.Note(0);               // 2
  const TSDNtnIdx idx(&staff, 2);
  EXPECT_EQ(idx.GetUpperSize(), 127);
  EXPECT_EQ(idx.GetLowerSize(), 127);
  EXPECT_FALSE(idx.IsCollapsed());
}

}  // namespace
}  // namespace kvt
