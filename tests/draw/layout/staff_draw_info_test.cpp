// The staff layout's draw positions: which exist, their kinds and counters, the space between
// kinds, and where a system ends.

#include "draw/layout/staff_draw_info.h"

#include <gtest/gtest.h>

#include <memory>

#include "notation/items/text_expression.h"
#include "tests/draw/layout/fake_layout_host.h"
#include "tests/notation/staff_builder.h"

namespace kvt {
namespace {

using test::TFakeLayoutHost;
using test::TStaffBuilder;

constexpr int kUnit = 12;
constexpr int kWide = 1 << 24;

class StaffDrawInfoTest : public ::testing::Test {
protected:
  TStaffDrawInfo& Layout(int mode) {
    host = std::make_unique<TFakeLayoutHost>(mode);
    layout = std::make_unique<TStaffDrawInfo>(*host, 0);
    layout->SetStaffByPointer(&staff);
    return *layout;
  }
  const TStaffDrawPos& Pos(int n) { return *layout->PositionAt(n); }
  // The position of an item (its first).
  const TStaffDrawPos& OfItem(int item) { return Pos(layout->FindDrawPosOfItem(item)); }

  TMusicStaff staff;
  TStaffBuilder b{staff};
  std::unique_ptr<TFakeLayoutHost> host;
  std::unique_ptr<TStaffDrawInfo> layout;
};

TEST_F(StaffDrawInfoTest, EmptyStaffHasStartAndTwoBars) {
  Layout(kDrawModeView).BuildPositions(0, kWide);
  ASSERT_EQ(layout->GetDrawPosCount(), 3);
  EXPECT_TRUE(Pos(0).IsStaffStart());
  EXPECT_EQ(Pos(1).GetKind(), kDrawBarLine);
  EXPECT_EQ(Pos(2).GetKind(), kDrawBarLine);
  EXPECT_TRUE(layout->ReachedStaffEnd());
}

TEST_F(StaffDrawInfoTest, KindGapsAfterBarAndSignatures) {
  struct Case {
    const char* name;
    bool key;
  };
  for (const Case& c : {Case{"clef", false}, Case{"key", true}}) {
    SCOPED_TRACE(c.name);
    TMusicStaff fresh;
    TStaffBuilder fb(fresh);
    const int sig = c.key ? (fb.Key(2), fb.Last()) : (fb.Clef(1), fb.Last());
    fb.Note(0);
    host = std::make_unique<TFakeLayoutHost>(kDrawModeView);
    layout = std::make_unique<TStaffDrawInfo>(*host, 0);
    layout->SetStaffByPointer(&fresh);
    layout->BuildPositions(0, kWide);
    // The opening bar line gets half a unit before the signature item.
    EXPECT_EQ(OfItem(0).GetWidth(), 4 + kUnit / 2);
    // A note after a clef or key signature stands 8/5 of a unit further.
    EXPECT_EQ(OfItem(sig).GetWidth(), (c.key ? 24 : 20) + kUnit * 8 / 5);
  }
}

TEST_F(StaffDrawInfoTest, BarLinesInARow) {
  b.Note(0);
  b.Bar(kBarLocalRepeatClose);
  const int close = b.Last();
  b.Bar(kBarLocalRepeatOpen);
  b.Note(0);
  b.Bar(kBarDouble);
  const int dbl = b.Last();
  b.Bar(kBarSingle);
  b.Note(0);
  struct Case {
    int mode;
    int closeWidth;
    int doubleWidth;
  };
  for (const Case& c : {Case{kDrawModeView, 4, 4}, Case{kDrawModeEdit, 4, 4 + 2 * kUnit}}) {
    SCOPED_TRACE(c.mode);
    Layout(c.mode).BuildPositions(0, kWide);
    // A repeat close followed by its opening never gets the editing gap.
    EXPECT_EQ(OfItem(close).GetWidth(), c.closeWidth);
    EXPECT_EQ(OfItem(dbl).GetWidth(), c.doubleWidth);
  }
}

TEST_F(StaffDrawInfoTest, HiddenItemKeepsWidthOnlyWhileEditing) {
  b.Note(0).SetVisibility(kVisNever);
  const int hidden = b.Last();
  b.Note(0);
  Layout(kDrawModeEdit).BuildPositions(0, kWide);
  EXPECT_TRUE(OfItem(hidden).IsHidden());
  EXPECT_EQ(OfItem(hidden).GetWidth(), kUnit);
  Layout(kDrawModeView).BuildPositions(0, kWide);
  EXPECT_TRUE(OfItem(hidden).IsHidden());
  EXPECT_EQ(OfItem(hidden).GetWidth(), 0);
}

TEST_F(StaffDrawInfoTest, NotesArePaddedByHeadAndFlag) {
  b.Note(0, kDurQuarter);
  const int quarter = b.Last();
  b.Note(2, kDurEighth).SetStemDir(kStemUp);
  const int eighth = b.Last();
  Layout(kDrawModeView).BuildPositions(0, kWide);
  EXPECT_EQ(OfItem(quarter).GetWidth(), 2 * kUnit);
  // A stem-up flagged note also leaves room for its flag.
  EXPECT_EQ(OfItem(eighth).GetWidth(), 2 * kUnit + 8);
}

TEST_F(StaffDrawInfoTest, MultiBarRestSplitContinuesWithItsBar) {
  b.MultiRest(4);
  const int rest = b.Last();
  Layout(kDrawModeView).BuildPositionsFrom({rest, 2}, kWide);
  const TStaffDrawPos& first = Pos(1);
  EXPECT_EQ(first.GetKind(), kDrawMultiBarRest);
  EXPECT_TRUE(first.IsAutoInsert());
  EXPECT_FALSE(first.IsHidden());
  EXPECT_EQ(first.GetCounter(), 2);
  EXPECT_EQ(Pos(2).GetKind(), kDrawMultiBarRestContinuation);
  EXPECT_EQ(Pos(2).GetCounter(), 3);
}

TEST_F(StaffDrawInfoTest, MultiBarRestResumesPastBar255) {
  b.MultiRest(300);
  const int rest = b.Last();
  Layout(kDrawModePrint).BuildPositionsFrom({rest, 280}, kWide);
  EXPECT_EQ(Pos(1).GetCounter(), 280);
  EXPECT_EQ(Pos(1).GetTimeSlots(), 768);
  EXPECT_EQ(layout->FirstPositionTimeless(), false);
}

TEST_F(StaffDrawInfoTest, EndsAtPositionLimitAndNextSystemGoesOnInsideTheBar) {
  for (int i = 0; i < 3000; ++i) b.Note(0, kDur16th);
  Layout(kDrawModeView).BuildPositions(0, kWide);
  EXPECT_LE(layout->GetDrawPosCount(), kMaxDrawPositions);
  EXPECT_FALSE(layout->ReachedStaffEnd());

  layout->BuildPositionsFrom({0, 0}, kWide);
  layout->CloseSystem();
  const TLayoutStart end = layout->GetLayoutEnd();
  EXPECT_GT(end.itemIndex, 1);
  layout->BuildPositionsFrom(end, kWide);
  // The next system starts with the signatures in force, then the item where the last ended.
  EXPECT_EQ(layout->GetFirstCaretIndex(), end.itemIndex);
}

TEST_F(StaffDrawInfoTest, WideItemsDoNotWrapWidths) {
  host = std::make_unique<TFakeLayoutHost>(kDrawModeView);
  host->textWidth = 40000;
  b.Add(std::make_unique<TTextExpression>());
  b.Add(std::make_unique<TTextExpression>());
  layout = std::make_unique<TStaffDrawInfo>(*host, 0);
  layout->SetStaffByPointer(&staff);
  layout->BuildPositions(0, kWide);
  EXPECT_EQ(OfItem(1).GetWidth(), 40000);
  EXPECT_GE(layout->GetTotalWidth(), 80000);
}

TEST_F(StaffDrawInfoTest, SystemRunsToTheBarLineAfterItFillsThenIsCutBack) {
  for (int bar = 0; bar < 10; ++bar) {
    for (int i = 0; i < 4; ++i) b.Note(0);
    b.Bar();
  }
  Layout(kDrawModePrint).BuildPositionsFrom({0, 0}, 200);
  EXPECT_GT(layout->GetTotalWidth(), 200);
  EXPECT_EQ(Pos(layout->GetDrawPosCount() - 1).GetKind(), kDrawBarLine);
  EXPECT_FALSE(layout->ReachedStaffEnd());

  // Cut after the first bar (four quarters): the system closes on its bar line.
  layout->TruncateAt(4 * 192);
  layout->CloseSystem();
  const TStaffDrawPos& last = Pos(layout->GetDrawPosCount() - 1);
  EXPECT_EQ(last.GetKind(), kDrawBarLine);
  EXPECT_EQ(last.GetCounter(), 1);
  // The next system resumes after the closing bar line, its bar counter going on.
  const TLayoutStart next = layout->GetLayoutEnd();
  EXPECT_EQ(next.itemIndex, last.GetItemIndex() + 1);
  layout->BuildPositionsFrom(next, 200);
  EXPECT_EQ(layout->GetFirstCaretIndex(), next.itemIndex);
  EXPECT_EQ(layout->PositionAt(0)->GetTimeSlots(), 4 * 192);
}

TEST_F(StaffDrawInfoTest, GeometryOfFiveAndFourLineStaves) {
  Layout(kDrawModeView);
  layout->SetStaffY(100);
  EXPECT_EQ(layout->PositionToY(-4), 100 - 4 * 8);
  EXPECT_EQ(layout->YToPosition(100 + 24), 3);
  EXPECT_EQ(layout->GetOuterLinePosition(-1), -4);
  EXPECT_EQ(layout->GetOuterLinePosition(1), 4);
  EXPECT_EQ(layout->GetFirstOuterPosition(-1), -5);
  EXPECT_EQ(layout->GetFirstOuterPosition(1), 5);
  staff.SetLines(4);
  EXPECT_EQ(layout->GetOuterLinePosition(-1), -2);
  EXPECT_EQ(layout->GetOuterLinePosition(1), 4);
  staff.SetLines(0);
  EXPECT_EQ(layout->GetFirstOuterPosition(-1), -999);
}

TEST_F(StaffDrawInfoTest, HitTestFindsItemByX) {
  b.Note(0);
  const int first = b.Last();
  b.Note(0);
  const int second = b.Last();
  Layout(kDrawModeView).BuildPositions(0, kWide);
  const int x2 = layout->ItemIndexToX(second);
  EXPECT_EQ(layout->XToItemIndex(x2), second);
  EXPECT_EQ(layout->XToItemIndex(layout->ItemIndexToX(first)), first);
  EXPECT_EQ(layout->XToItemIndex(1 << 30), layout->GetLastCaretIndex());
}

}  // namespace
}  // namespace kvt

namespace kvt {
namespace {

TEST_F(StaffDrawInfoTest, RebuildAfterAnEditCountsAfresh) {
  for (int bar = 0; bar < 6; ++bar) {
    b.Note(0, kDurWhole);
    b.Bar();
  }
  Layout(kDrawModePrint).BuildPositionsFrom({0, 0}, 1 << 20);
  layout->TruncateAt(2 * 768);
  layout->CloseSystem();
  const TLayoutStart next = layout->GetLayoutEnd();
  layout->BuildPositionsFrom(next, 1 << 20);
  // An edit before the resume point: the first bar's note goes.
  staff.DeleteItem(1);
  layout->StaffChanged();
  layout->BuildPositionsFrom({next.itemIndex - 1, 0}, 1 << 20);
  EXPECT_EQ(layout->PositionAt(0)->GetTimeSlots(), 768);
  // Without notice the item count differs, and the walk starts afresh all the same: one
  // whole note still stands before the start.
  staff.DeleteItem(1);
  layout->BuildPositionsFrom({next.itemIndex - 2, 0}, 1 << 20);
  EXPECT_EQ(layout->PositionAt(0)->GetTimeSlots(), 768);
}

}  // namespace
}  // namespace kvt
