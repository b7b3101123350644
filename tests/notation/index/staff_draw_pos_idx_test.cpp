#include "notation/index/staff_draw_pos_idx.h"

#include <gtest/gtest.h>

#include <iterator>

#include "notation/index/staff_draw_pos.h"
#include "tests/notation/index/fake_staff_layout_view.h"
#include "tests/notation/staff_builder.h"

namespace kvt {
namespace {

using test::TFakeStaffLayoutView;
using test::TStaffBuilder;

// Without a layout the index stands still.
TEST(StaffDrawPosIdxTest, WithoutLayoutNothingMoves) {
  TStaffDrawPosIdx idx;
  EXPECT_EQ(idx.GetLayoutView(), nullptr);
  EXPECT_EQ(idx.GetDrawPos(), nullptr);
  EXPECT_FALSE(idx.CanMove(1));
  EXPECT_FALSE(idx.CanMove(-1));
  EXPECT_FALSE(idx.Next());
  EXPECT_FALSE(idx.Prev());
  EXPECT_FALSE(idx.SetIndex(3));
  TStaffDrawPos pos;
  EXPECT_FALSE(idx.SetDrawPos(pos));
  idx.Reset();
  EXPECT_EQ(idx.GetDrawPosIndex(), 0);
  EXPECT_EQ(idx.GetItem(), nullptr);
}

// The null view is a layout without staff or positions: attached, but nothing to walk.
TEST(StaffDrawPosIdxTest, NullViewHasNothingToWalk) {
  TNullStaffLayoutView view;
  TStaffDrawPosIdx idx(view);
  EXPECT_EQ(idx.GetLayoutView(), &view);
  EXPECT_EQ(idx.GetStaff(), nullptr);
  EXPECT_EQ(idx.GetDrawPos(), nullptr);
  EXPECT_FALSE(idx.CanMove(1));
  EXPECT_FALSE(idx.SetIndex(0));
  EXPECT_EQ(idx.GetDrawPosIndex(), 0);
}

// Staff [0 bar] [1 note] [2 multi-bar rest of 3 bars] [3 note] [4 closing bar], laid out
// whole (a position per item, the rest's later bars as continuations) or as two lines that
// each hold part of it.
class StaffDrawPosIdxOnLayoutTest : public ::testing::Test {
protected:
  StaffDrawPosIdxOnLayoutTest() {
    build.Note(0);
    build.MultiRest(3);
    build.Note(2);
    whole.Add(kDrawNote, 1);
    whole.Add(kDrawMultiBarRest, 2, 1);
    whole.Add(kDrawMultiBarRestContinuation, 2, 1);
    whole.Add(kDrawMultiBarRestContinuation, 2, 2);
    whole.Add(kDrawNote, 3);
    whole.Add(kDrawBarLine, 4, 2);
    firstLine.Add(kDrawNote, 1);
    firstLine.Add(kDrawMultiBarRest, 2, 1);
    secondLine.Add(kDrawNote, 3);
    secondLine.Add(kDrawBarLine, 4, 2);
  }

  TMusicStaff staff;
  TStaffBuilder build{staff};
  TFakeStaffLayoutView whole{staff};
  TFakeStaffLayoutView firstLine{staff};
  TFakeStaffLayoutView secondLine{staff};
};

TEST_F(StaffDrawPosIdxOnLayoutTest, WalksEveryPositionAndFollowsItsItem) {
  const int itemOfPos[] = {0, 1, 2, 2, 2, 3, 4};
  const int last = static_cast<int>(std::size(itemOfPos)) - 1;
  TStaffDrawPosIdx idx(whole);
  for (int n = 0; n <= last; ++n) {
    SCOPED_TRACE(n);
    EXPECT_EQ(idx.GetDrawPosIndex(), n);
    EXPECT_EQ(idx.GetDrawPos(), whole.GetDrawPosAt(n));
    EXPECT_EQ(idx.GetIndex(), itemOfPos[n]);
    EXPECT_EQ(idx.GetItem(), staff.GetItem(itemOfPos[n]));
    EXPECT_EQ(idx.Next(), n < last);
  }
  EXPECT_EQ(idx.GetDrawPosIndex(), last);
  for (int n = last; n > 0; --n) EXPECT_TRUE(idx.Prev());
  EXPECT_FALSE(idx.Prev());
  EXPECT_EQ(idx.GetIndex(), 0);
}

// An item the layout has no position for lands on the staff start or the last position,
// whichever side of the layout's items it lies on, and the answer is false.
TEST_F(StaffDrawPosIdxOnLayoutTest, SetIndexFindsTheItemsPosition) {
  struct Case {
    const char* name;
    TFakeStaffLayoutView* view;
    int item;
    bool found;
    int pos;
  };
  const Case cases[] = {
      {"whole, rest", &whole, 2, true, 2},        {"whole, note after rest", &whole, 3, true, 5},
      {"second line, its note", &secondLine, 3, true, 1},
      {"second line, item 0", &secondLine, 0, false, 0},
      {"second line, item before it", &secondLine, 1, false, 0},
      {"first line, item after it", &firstLine, 3, false, 2},
      {"first line, last item", &firstLine, 4, false, 2},
      {"first line, past the end", &firstLine, 9, false, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TStaffDrawPosIdx idx(*c.view);
    idx.Next();  // start away from position 0
    EXPECT_EQ(idx.SetIndex(c.item), c.found);
    EXPECT_EQ(idx.GetDrawPosIndex(), c.pos);
    const TStaffDrawPos* pos = c.view->GetDrawPosAt(c.pos);
    EXPECT_EQ(idx.GetIndex(), pos->IsStaffStart() ? 0 : pos->GetItemIndex());
  }
}

// SetDrawPos goes by identity: a copy of a position is not one of the layout's.
TEST_F(StaffDrawPosIdxOnLayoutTest, SetDrawPosTakesOnlyTheLayoutsOwnPositions) {
  TStaffDrawPosIdx idx(whole);
  ASSERT_TRUE(idx.SetDrawPos(*whole.GetDrawPosAt(4)));
  EXPECT_EQ(idx.GetDrawPosIndex(), 4);
  EXPECT_EQ(idx.GetIndex(), 2);
  const TStaffDrawPos copy = *whole.GetDrawPosAt(5);
  EXPECT_FALSE(idx.SetDrawPos(copy));
  EXPECT_EQ(idx.GetDrawPosIndex(), 4);
  EXPECT_FALSE(idx.SetDrawPos(*firstLine.GetDrawPosAt(1)));
}

TEST(StaffDrawPosTest, FieldsAndMultiBarRestBar) {
  TStaffDrawPos pos;
  pos.Reset();
  EXPECT_TRUE(pos.IsWidthPending());
  EXPECT_EQ(pos.GetKind(), kDrawOther);
  pos.SetWidth(12);
  EXPECT_FALSE(pos.IsWidthPending());
  pos.SetKind(kDrawBarLine);
  pos.SetCounter(7);
  EXPECT_EQ(pos.GetBarCounter(), 7);
  EXPECT_EQ(pos.GetMultiBarRestBar(), 0);
  struct Case {
    TDrawPosKind kind;
    bool autoInsert;
    int restBar;
  };
  const Case cases[] = {{kDrawMultiBarRest, false, 0},
                        {kDrawMultiBarRest, true, 300},
                        {kDrawMultiBarRestContinuation, false, 300},
                        {kDrawNote, true, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    pos.SetKind(c.kind);
    pos.SetAutoInsert(c.autoInsert);
    pos.SetCounter(300);
    EXPECT_EQ(pos.GetMultiBarRestBar(), c.restBar);
    EXPECT_EQ(pos.GetWidth(), 12);
  }
}

}  // namespace
}  // namespace kvt
