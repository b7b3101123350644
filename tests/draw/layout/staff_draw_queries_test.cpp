// The questions the item drawing asks of a laid-out staff: distances to bar lines, markers
// before a note, the clef in force, labels, tie extents and the signatures a system starts
// with.

#include <gtest/gtest.h>

#include <memory>

#include "draw/layout/staff_draw_info.h"
#include "draw/layout/tie_extents.h"
#include "notation/items/notation_marker.h"
#include "tests/draw/layout/fake_layout_host.h"
#include "tests/notation/staff_builder.h"

namespace kvt {
namespace {

using test::TFakeLayoutHost;
using test::TStaffBuilder;

constexpr int kWide = 1 << 24;

class StaffDrawQueriesTest : public ::testing::Test {
protected:
  void Build(int mode = kDrawModeView) {
    host = std::make_unique<TFakeLayoutHost>(mode);
    layout = std::make_unique<TStaffDrawInfo>(*host, 0);
    layout->SetStaffByPointer(&staff);
    layout->BuildPositions(0, kWide);
  }
  int PosOf(int item) const { return layout->FindDrawPosOfItem(item); }

  TMusicStaff staff;
  TStaffBuilder b{staff};
  std::unique_ptr<TFakeLayoutHost> host;
  std::unique_ptr<TStaffDrawInfo> layout;
};

TEST_F(StaffDrawQueriesTest, DistanceToBarEdgesAndRepeatDots) {
  b.Note(0);
  const int note = b.Last();
  b.Bar(kBarLocalRepeatClose);
  const int bar = b.Last();
  b.Note(0);
  Build();
  const int n = PosOf(note);
  const int toBar = layout->XOfPosition(PosOf(bar)) - layout->XOfPosition(n);
  struct Case {
    int direction, edge, expected;
  } cases[] = {
      {1, -1, toBar},      // near edge
      {1, 1, toBar + 4},   // far edge: the bar line's own width
      {1, 0, toBar - 9},   // the side of a closing repeat's dots
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.edge);
    EXPECT_EQ(layout->DistanceToBar(n, c.direction, c.edge, false, false), c.expected);
  }
  // Backwards from the note after the bar: to the bar's right edge.
  const int after = PosOf(bar + 1);
  EXPECT_EQ(layout->DistanceToBar(after, -1, 1, false, false),
            layout->XOfPosition(after) - layout->XOfPosition(PosOf(bar)) - 4);
}

TEST_F(StaffDrawQueriesTest, MarkerBeforeStopsAtNotes) {
  auto marker = std::make_unique<TNotationMarker>();
  marker->SetTarget(kMarkerSlur);
  b.Add(std::move(marker));
  const int m = b.Last();
  b.Note(0);
  const int first = b.Last();
  b.Note(0);
  const int second = b.Last();
  Build(kDrawModeEdit);
  EXPECT_EQ(layout->FindMarkerBefore(PosOf(first), 1), PosOf(m));
  EXPECT_EQ(layout->FindMarkerBefore(PosOf(first), 0), -1);  // an articulation marker is asked
  EXPECT_EQ(layout->FindMarkerBefore(PosOf(second), 1), -1);  // a note lies between
}

TEST_F(StaffDrawQueriesTest, ClefInForceAndLabels) {
  b.Note(0);
  const int before = b.Last();
  b.Clef(kClefBass);
  b.Note(0);
  const int after = b.Last();
  staff.SetLabel(u"Violin");
  staff.SetLabelAbbr(u"Vl.");
  Build();
  EXPECT_EQ(layout->GetClefAt(PosOf(before), 99), 99);
  EXPECT_EQ(layout->GetClefAt(PosOf(after), 99), kClefBass);
  // A layout from the staff's beginning shows the full name; a later system the abbreviation.
  EXPECT_EQ(std::u16string(layout->GetStaffLabel()), u"Violin");
  layout->BuildPositionsFrom({after, 0}, kWide);
  EXPECT_EQ(std::u16string(layout->GetStaffLabel()), u"Vl.");
}

TEST_F(StaffDrawQueriesTest, LaterSystemStartsWithTheSignaturesInForce) {
  b.Clef(kClefTreble);
  b.Key(2);
  b.Note(0);
  b.Clef(kClefBass);
  const int bass = b.Last();
  b.Note(0);
  b.Bar();
  const int bar = b.Last();
  b.Note(0);
  const int note = b.Last();
  Build(kDrawModePrint);
  layout->BuildPositionsFrom({note, 0}, kWide);
  ASSERT_GE(layout->GetDrawPosCount(), 4);
  // The last clef and the key, auto-inserted, in the order first met.
  EXPECT_EQ(layout->PositionAt(1)->GetKind(), kDrawClef);
  EXPECT_EQ(layout->PositionAt(1)->GetItemIndex(), bass);
  EXPECT_TRUE(layout->PositionAt(1)->IsAutoInsert());
  EXPECT_EQ(layout->PositionAt(2)->GetKind(), kDrawKey);
  EXPECT_EQ(layout->PositionAt(3)->GetItemIndex(), note);
  EXPECT_NE(layout->FindDrawPosOfItem(bar), 3);
}

TEST_F(StaffDrawQueriesTest, TieExtentsWithinAndAcrossSystems) {
  b.Note(0, kDurQuarter, kMaskTieOut);
  const int from = b.Last();
  b.Note(0).SetTieIn(true);
  const int to = b.Last();
  Build();
  int d = 0;
  ASSERT_TRUE(TieForwardExtent(*layout, PosOf(from), 0, kAccNone, d));
  // From the first head's right edge to the second head.
  EXPECT_EQ(d, layout->XOfPosition(PosOf(to)) - layout->XOfPosition(PosOf(from)) - 12);
  ASSERT_TRUE(TieBackExtent(*layout, PosOf(to), 0, kAccNone, d));
  EXPECT_EQ(d, layout->XOfPosition(PosOf(to)) - layout->XOfPosition(PosOf(from)) - 12);

  // The second note starts a system: its tie enters after the system-start items.
  layout->BuildPositionsFrom({to, 0}, kWide);
  EXPECT_FALSE(TieBackExtent(*layout, layout->FindDrawPosOfItem(to), 0, kAccNone, d));
  EXPECT_GE(d, 12);
}

}  // namespace
}  // namespace kvt

#include "notation/index/sd_ntn_idx.h"
#include "notation/items/staff_sizer.h"

namespace kvt {
namespace {

TEST_F(StaffDrawQueriesTest, FitBoundariesRaisesToTheLargestSizes) {
  staff.SetBoundaries(-6, 6);
  b.Note(0);
  auto sizer = std::make_unique<TStaffSizer>();
  sizer->SetStyle(kSizerNewSize);
  sizer->SetNewSize(14, 11);
  b.Add(std::move(sizer));
  b.Note(0);
  Build(kDrawModePrint);
  bool collapsed = false;
  int upper = 0, lower = 0;
  layout->FitBoundaries(collapsed, upper, lower);
  EXPECT_FALSE(collapsed);
  // The sizes in effect after the boundary item, which exceed the staff's own.
  TSDNtnIdx after(*layout, staff.GetLastIndex());
  EXPECT_EQ(upper, after.GetUpperSize());
  EXPECT_EQ(lower, after.GetLowerSize());
  EXPECT_GT(upper, 6);
  EXPECT_GT(lower, 6);
}

TEST_F(StaffDrawQueriesTest, FitBoundariesSeesACollapsedSection) {
  auto sizer = std::make_unique<TStaffSizer>();
  sizer->SetStyle(kSizerCollapse);
  b.Add(std::move(sizer));
  b.Note(0);
  b.Note(0);
  Build(kDrawModePrint);
  layout->BuildPositionsFrom({3, 0}, 1 << 20);
  bool collapsed = false;
  int upper = 0, lower = 0;
  layout->FitBoundaries(collapsed, upper, lower);
  EXPECT_TRUE(collapsed);
}

}  // namespace
}  // namespace kvt

namespace kvt {
namespace {

TEST_F(StaffDrawQueriesTest, SystemBarCounterCountsNumberedBarsBefore) {
  for (int i = 0; i < 4; ++i) {
    b.Note(0, kDurWhole);
    b.Bar();
  }
  b.Note(0, kDurWhole);
  const int note = b.Last();
  // Bar lines before the note: the opening one and four; a bar left out of the count is not.
  static_cast<TBarLineData&>(*staff.GetItem(2)).SetXBarCnt(true);
  Build(kDrawModePrint);
  layout->BuildPositionsFrom({note, 0}, 1 << 20);
  EXPECT_EQ(layout->GetSystemBarCounter(0), 4);
}

}  // namespace
}  // namespace kvt
