#include "notation/index/staff_draw_pos_idx.h"

#include <gtest/gtest.h>

#include "notation/index/staff_draw_pos.h"

namespace kvt {
namespace {

// Without a layout (the staff layout is not part of the library yet) the index stands still.
TEST(StaffDrawPosIdxTest, WithoutLayoutNothingMoves) {
  TStaffDrawPosIdx idx;
  EXPECT_EQ(idx.GetDrawInfo(), nullptr);
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
    int kind;
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
