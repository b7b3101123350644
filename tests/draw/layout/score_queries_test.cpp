// Where the staves of a score layout stand: slots and score staves, neighbours, bands and
// staff positions, x of a cursor, the time at an x, and the fill routines with their limit.

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <vector>

#include "draw/layout/score_draw_info.h"
#include "draw/music_fonts.h"
#include "draw/staff_color_handles.h"
#include "notation/items/multi_measure_rest.h"
#include "notation/staff/music_fonts_data.h"
#include "notation/staff/music_score.h"
#include "tests/notation/staff_builder.h"
#include "utils/bool_array.h"

namespace kvt {
namespace {

using test::TStaffBuilder;

class ScoreQueriesTest : public ::testing::Test {
protected:
  void SetUp() override { fonts = std::make_unique<TMusicFonts>(data, colors, 20); }

  // A staff of `bars` bars of four quarter notes.
  TMusicStaff& QuarterStaff(int bars) {
    score.AddStaff(std::make_unique<TMusicStaff>());
    TMusicStaff& staff = *score.GetStaff(score.GetLastIndex());
    TStaffBuilder b(staff);
    for (int bar = 0; bar < bars; ++bar) {
      for (int i = 0; i < 4; ++i) b.Note(0);
      if (bar + 1 < bars) b.Bar();
    }
    return staff;
  }
  TScoreDrawInfo& Layout(int mode = kDrawModePrint) {
    layout = std::make_unique<TScoreDrawInfo>(score, *fonts, mode);
    for (int i = 0; i < score.GetStaffCount(); ++i) layout->AddStaff(i);
    return *layout;
  }

  TMusicFontsData data;
  TStaffColorHandles colors;
  std::unique_ptr<TMusicFonts> fonts;
  TMusicScore score;
  std::unique_ptr<TScoreDrawInfo> layout;
};

TEST_F(ScoreQueriesTest, SlotsAndScoreStavesAnswerEachOther) {
  for (int i = 0; i < 4; ++i) QuarterStaff(1);
  layout = std::make_unique<TScoreDrawInfo>(score, *fonts, kDrawModePrint);
  layout->AddStaff(3);
  layout->AddStaff(1);
  TScoreDrawInfo& l = *layout;
  EXPECT_EQ(l.GetScoreStaffIndex(0), 3);
  EXPECT_EQ(l.GetScoreStaffIndex(1), 1);
  EXPECT_EQ(l.GetStaff(1), score.GetStaff(1));
  EXPECT_EQ(l.FindStaffDrawInfo(1), 1);
  EXPECT_EQ(l.FindStaffDrawInfo(0), -1);
  EXPECT_EQ(l.FindStaff(score.GetStaff(3)), 0);
  EXPECT_EQ(l.FindStaff(score.GetStaff(2)), -1);
  EXPECT_EQ(l.FindStaff(nullptr), -1);
  for (int slot : {-1, 2, 64}) {
    EXPECT_EQ(l.GetStaff(slot), nullptr) << slot;
    EXPECT_EQ(l.GetScoreStaffIndex(slot), -1) << slot;
    EXPECT_TRUE(l.GetStaffBounds(slot).IsEmpty()) << slot;
  }
  EXPECT_TRUE(l.IsFirstStaff(0));
  EXPECT_FALSE(l.IsFirstStaff(1));
  EXPECT_TRUE(l.IsLastStaff(1));
  EXPECT_FALSE(l.IsLastStaff(0));
  EXPECT_FALSE(l.IsLastStaff(-1));

  EXPECT_TRUE(l.AddStaffByPointer(score.GetStaff(0)));
  EXPECT_EQ(l.GetScoreStaffIndex(2), 0);
  TMusicStaff stranger;
  EXPECT_FALSE(l.AddStaffByPointer(&stranger));
  EXPECT_TRUE(l.StartWithStaff(2));
  EXPECT_EQ(l.GetStaffCount(), 1);
  EXPECT_EQ(l.GetScoreStaffIndex(0), 2);
}

TEST_F(ScoreQueriesTest, NeighboursStepOverLayeredStavesAsOneGroup) {
  for (int i = 0; i < 4; ++i) QuarterStaff(1);
  score.GetStaff(1)->SetLayerWithNext(true);  // staves 1 and 2 share one origin
  TScoreDrawInfo& l = Layout(kDrawModePrint);
  ASSERT_TRUE(l.IsLayeringActive());
  EXPECT_EQ(l.GetStaffY(1), l.GetStaffY(2));
  struct Case {
    int slot, direction, expected;
  };
  const Case cases[] = {
      {0, 1, 1},  {1, 1, 3},  {2, 1, 3},  {3, 1, -1},  {0, -1, -1},
      {1, -1, 0}, {2, -1, 0}, {3, -1, 1}, {-1, 1, -1}, {4, -1, -1},
  };
  for (const Case& c : cases)
    EXPECT_EQ(l.GetNeighbourStaff(c.slot, c.direction), c.expected) << c.slot << " " << c.direction;

  // Dot placement for parts: only a layered staff that asks for it.
  score.GetStaff(2)->SetMultiPartDotPlacement(true);
  score.GetStaff(3)->SetMultiPartDotPlacement(true);
  EXPECT_TRUE(l.UsesMultiPartDotPlacement(2));
  EXPECT_FALSE(l.UsesMultiPartDotPlacement(1));
  EXPECT_FALSE(l.UsesMultiPartDotPlacement(3));
  EXPECT_FALSE(l.UsesMultiPartDotPlacement(9));

  // While editing, layering needs the editor's setting as well.
  TScoreDrawInfo& edit = Layout(kDrawModeEdit);
  EXPECT_FALSE(edit.IsLayeringActive());
  EXPECT_EQ(edit.GetNeighbourStaff(1, 1), 2);
  edit.SetLayering(true);
  edit.Restack();
  EXPECT_EQ(edit.GetNeighbourStaff(1, 1), 3);
  score.SetAllowLayering(false);
  edit.Restack();
  EXPECT_EQ(edit.GetNeighbourStaff(1, 1), 2);
}

TEST_F(ScoreQueriesTest, StaffPositionsAndYMapBothWays) {
  QuarterStaff(1);
  QuarterStaff(1);
  TScoreDrawInfo& l = Layout();
  const int step = l.GetStepHeight();
  const int space = fonts->GetSpace();
  ASSERT_EQ(space % 2, 0);
  for (int slot = 0; slot < 2; ++slot) {
    for (int position : {-12, -5, 0, 1, 4, 9}) {
      const int y = l.StaffPositionToY(slot, static_cast<float>(position));
      EXPECT_EQ(y, l.GetStaffY(slot) + position * step);
      int remainder = -1;
      EXPECT_EQ(l.YToStaffPosition(slot, y, &remainder), position);
      EXPECT_EQ(remainder, 0);
    }
  }
  // Half a step towards zero; one logical unit below the middle line leaves a remainder.
  EXPECT_EQ(l.StaffPositionToY(0, 1.5f), l.GetStaffY(0) + static_cast<int>(1.5f * step));
  int remainder = 0;
  EXPECT_EQ(l.YToStaffPosition(0, l.GetStaffY(0) + 1, &remainder), 0);
  EXPECT_EQ(remainder, 2);
}

TEST_F(ScoreQueriesTest, BandsAndTheStaffUnderAY) {
  QuarterStaff(1);
  QuarterStaff(1);
  TScoreDrawInfo& l = Layout();
  const TDcRect top = l.GetStaffBounds(0);
  const TDcRect bottom = l.GetStaffBounds(1);
  EXPECT_EQ(top.left, 0);
  EXPECT_EQ(top.right, INT_MAX);
  EXPECT_EQ(top.top, l.GetStaffY(0) - l.GetStack(0).upper * l.GetStepHeight());
  EXPECT_EQ(top.bottom, l.GetStaffY(0) + l.GetStack(0).lower * l.GetStepHeight());
  EXPECT_LE(top.bottom, bottom.top);
  struct Case {
    int y, expected;
  };
  const Case cases[] = {
      {INT_MIN, 0},
      {top.top, 0},
      {l.GetStaffY(0), 0},
      {top.bottom, 0},
      {bottom.top, top.bottom == bottom.top ? 0 : 1},
      {l.GetStaffY(1), 1},
      {bottom.bottom, 1},
      {INT_MAX, 1},
  };
  for (const Case& c : cases) EXPECT_EQ(l.YToStaffIndex(c.y), c.expected) << c.y;

  l.LayoutStavesFromItems({}, 1 << 20);
  const TDcRect laid = l.GetBoundsRect(0);
  EXPECT_EQ(laid.top, top.top);
  EXPECT_EQ(laid.right, l.GetStaffDrawInfo(0)->GetTotalWidth());

  TScoreDrawInfo empty(score, *fonts, kDrawModePrint);
  EXPECT_EQ(empty.YToStaffIndex(0), -1);
}

TEST_F(ScoreQueriesTest, CursorXAndTheTimeAtAnXAgree) {
  TMusicStaff& staff = QuarterStaff(3);
  TScoreDrawInfo& l = Layout();
  l.LayoutStavesFromItems({}, 1 << 20);
  const TStaffDrawInfo& s = *l.GetStaffDrawInfo(0);
  for (int item = 1; item < staff.GetItemCount(); ++item) {
    const int x = l.CursorToX(0, {item, 0});
    EXPECT_EQ(x, s.ItemIndexToX(item)) << item;
    if (staff.GetItem(item)->GetType() == kItemNote)
      EXPECT_EQ(l.XToTimeSlot(0, x), s.TimeSlotOfItem(item)) << item;
  }
  EXPECT_EQ(l.CursorToX(0, {staff.GetItemCount() + 5, 0}), INT_MAX);
  EXPECT_EQ(l.XToTimeSlot(0, INT_MAX), s.TimeSlotAt(s.GetDrawPosCount()));
  EXPECT_EQ(l.XToTimeSlot(7, 0), 0);
  EXPECT_EQ(l.CursorToX(7, {1, 0}), 0);
}

TEST_F(ScoreQueriesTest, ALaterBarOfAMultiBarRestHasItsOwnX) {
  score.AddStaff(std::make_unique<TMusicStaff>());
  TStaffBuilder b(*score.GetStaff(0));
  b.Note(0);
  b.Bar();
  b.Add(std::make_unique<TMultiMeasureRest>(4));
  const int rest = b.Last();
  b.Bar();
  b.Note(0);
  TScoreDrawInfo& l = Layout(kDrawModeView);
  l.LayoutStavesFromItems({}, 1 << 20);
  const TStaffDrawInfo& s = *l.GetStaffDrawInfo(0);
  int later = -1;
  for (int n = 1; n < s.GetDrawPosCount(); ++n)
    if (s.PositionAt(n)->GetItemIndex() == rest && s.PositionAt(n)->GetMultiBarRestBar() == 2)
      later = n;
  ASSERT_GT(later, 0);
  EXPECT_EQ(l.CursorToX(0, {rest, 2}), s.XOfPosition(later));
  EXPECT_GT(l.CursorToX(0, {rest, 2}), l.CursorToX(0, {rest, 0}));
  // A bar the layout does not show falls back to the rest's own x.
  EXPECT_EQ(l.CursorToX(0, {rest, 99}), s.ItemIndexToX(rest));
}

TEST_F(ScoreQueriesTest, FillRoutinesStopOnceTheHeightReachesTheLimit) {
  for (int i = 0; i < 6; ++i) QuarterStaff(1);
  TScoreDrawInfo& l = Layout();
  l.StartWithStaff(0);
  const int one = l.GetTotalHeight();
  ASSERT_GT(one, 0);
  // Just above one staff: the second staff passes the limit and is the last one added.
  EXPECT_EQ(l.AddStavesFrom(0, one + 1), 2);
  EXPECT_GT(l.GetTotalHeight(), one + 1);
  EXPECT_EQ(l.AddStavesFrom(4, 1 << 30), 2);
  EXPECT_EQ(l.GetScoreStaffIndex(0), 4);
  EXPECT_EQ(l.AddStavesFrom(0, 0), 0);

  const std::vector<int> list = {5, 99, -3, 2, 1};
  EXPECT_EQ(l.AddStavesFromList(list, 0, 1 << 30), 3);
  EXPECT_EQ(l.GetScoreStaffIndex(1), 2);
  EXPECT_EQ(l.AddStavesFromList(list, 3, one), 1);
  EXPECT_EQ(l.GetScoreStaffIndex(0), 2);
  EXPECT_EQ(l.AddStavesFromList(list, 9, 1 << 30), 0);

  TKVBoolArray selection(6);
  selection.Set(1, true);
  selection.Set(3, true);
  selection.Set(4, true);
  EXPECT_EQ(l.AddSelectedStaves(selection, 1932735282), 3);
  EXPECT_EQ(l.GetScoreStaffIndex(2), 4);
  EXPECT_EQ(l.AddSelectedStaves(selection, one), 1);
}

TEST_F(ScoreQueriesTest, FillRoutinesStopAtSixtyFourStaves) {
  for (int i = 0; i < 70; ++i) QuarterStaff(1);
  TScoreDrawInfo& l = Layout();
  TKVBoolArray all(70);
  all.SetAll(true);
  EXPECT_EQ(l.AddSelectedStaves(all, 1932735282), kMaxLayoutStaves);
  EXPECT_EQ(l.AddStavesFrom(0, 1932735282), kMaxLayoutStaves);
  EXPECT_TRUE(l.IsFull());
}

TEST_F(ScoreQueriesTest, AttachingAPageRendererSwitchesScreenModesToPrinting) {
  QuarterStaff(1);
  for (int mode :
       {kDrawModeEdit, kDrawModeView, kDrawModeStaffOnly, kDrawModePreview, kDrawModePrint}) {
    TScoreDrawInfo& l = Layout(mode);
    EXPECT_TRUE(l.AttachPrintData(nullptr));
    EXPECT_EQ(l.GetDrawMode(), mode == kDrawModePreview ? kDrawModePreview : kDrawModePrint);
  }
}

TEST_F(ScoreQueriesTest, TheEditorsLayoutStartsEveryStaffAtTheSameTimeBeforeTheOneAsked) {
  QuarterStaff(20);
  QuarterStaff(20);
  TScoreDrawInfo& l = Layout(kDrawModeEdit);
  const int64_t bar = 4 * 192;
  l.LayoutStaves(10 * bar, 3000);
  const TStaffDrawInfo& top = *l.GetStaffDrawInfo(0);
  const TStaffDrawInfo& bottom = *l.GetStaffDrawInfo(1);
  // A lead-in of whole bars before the time asked, the same on both staves.
  EXPECT_LT(top.TimeSlotAt(1), 10 * bar);
  EXPECT_EQ(top.TimeSlotAt(1) % bar, 0);
  EXPECT_EQ(top.TimeSlotAt(1), bottom.TimeSlotAt(1));
  EXPECT_GE(top.ItemAtTimeSlot(10 * bar), 0);
  EXPECT_GE(l.XToTimeSlot(0, INT_MAX), 10 * bar);
}

}  // namespace
}  // namespace kvt
