// Slurs: height by span, a slur that runs past the system, and the record's flags.

#include "draw/layout/slur_layout.h"

#include <gtest/gtest.h>

#include <memory>

#include "draw/items/song_note_metrics.h"
#include "draw/layout/staff_draw_info.h"
#include "notation/items/notation_marker.h"
#include "tests/draw/layout/fake_layout_host.h"
#include "tests/notation/staff_builder.h"

namespace kvt {
namespace {

using test::TFakeLayoutHost;
using test::TStaffBuilder;

constexpr int kSpace = 16;

class SlurLayoutTest : public ::testing::Test {
protected:
  // count notes at position 0 under one slur; returns the first's index.
  int AddSlur(int count, bool below = false) {
    int first = -1;
    for (int i = 0; i < count; ++i) {
      TMusicNote& n = b.Note(0);
      n.SetStemDir(kStemDown);
      if (i + 1 < count) n.SetNoteFlag(kFlagSlur);
      if (i > 0) n.SetSlurIn(true);
      if (i == 0) {
        first = b.Last();
        n.SetSlurDown(below);
      }
    }
    return first;
  }
  void Lay() {
    layout = std::make_unique<TStaffDrawInfo>(host, 0);
    layout->SetStaffByPointer(&staff);
    layout->BuildPositions(0, 1 << 24);
  }
  bool Compute(int item, TStaffSlur& out) {
    const int n = layout->FindDrawPosOfItem(item);
    return ComputeSlur(*layout, out, n, layout->XOfPosition(n));
  }

  TMusicStaff staff;
  TStaffBuilder b{staff};
  TFakeLayoutHost host{kDrawModePrint};
  std::unique_ptr<TStaffDrawInfo> layout;
};

TEST_F(SlurLayoutTest, HeightGrowsWithSpan) {
  struct Case {
    int notes;
    int rise;
  } cases[] = {{2, kSpace}, {16, kSpace * 9 / 4}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.notes);
    staff.DeleteItems(1, staff.GetLastIndex());
    const int first = AddSlur(c.notes);
    Lay();
    TStaffSlur slur;
    ASSERT_TRUE(Compute(first, slur));
    EXPECT_FALSE(slur.IsBelow());
    EXPECT_EQ(slur.first, first);
    EXPECT_EQ(slur.last, first + c.notes - 1);
    // Both ends at the same height: the middle rises by the height above the chord.
    EXPECT_EQ(slur.curve.sy, slur.curve.ey);
    EXPECT_NEAR(slur.curve.PointAt(0.5).y, slur.curve.sy - c.rise, 1);
  }
}

TEST_F(SlurLayoutTest, BelowSlurBendsDown) {
  const int first = AddSlur(3, true);
  Lay();
  TStaffSlur slur;
  ASSERT_TRUE(Compute(first, slur));
  EXPECT_TRUE(slur.IsBelow());
  EXPECT_GT(slur.curve.PointAt(0.5).y, slur.curve.sy);
}

TEST_F(SlurLayoutTest, SlurPastTheSystemEndsAtItsRightEdge) {
  const int first = AddSlur(6);
  Lay();
  layout->TruncateAt(2 * 192);  // the system holds the first three notes
  TStaffSlur slur;
  ASSERT_TRUE(Compute(first, slur));
  EXPECT_EQ(slur.curve.ex, layout->GetTotalWidth());
  TSlurPoints last;
  SlurNotePoints(*layout, layout->GetDrawPosCount() - 1, layout->XOfPosition(layout->GetDrawPosCount() - 1), 1, false,
                 0, last);
  EXPECT_EQ(slur.curve.ey, last.Points().back().y);
}

TEST_F(SlurLayoutTest, SlurMarkerBeforeANoteSetsItsPoint) {
  for (int role : {0, 2}) {  // a note inside the slur, the end note
    SCOPED_TRACE(role);
    staff.DeleteItems(1, staff.GetLastIndex());
    int first = -1, marked = -1;
    for (int i = 0; i < 4; ++i) {
      if (i == (role == 2 ? 3 : 1)) {
        auto marker = std::make_unique<TNotationMarker>();
        marker->SetPos(-12);
        marker->SetTarget(kMarkerSlur);
        b.Add(std::move(marker));
      }
      TMusicNote& n = b.Note(0);
      n.SetStemDir(kStemDown);
      if (i < 3) n.SetNoteFlag(kFlagSlur);
      if (i > 0) n.SetSlurIn(true);
      if (i == 0) first = b.Last();
      if (i == (role == 2 ? 3 : 1)) marked = b.Last();
    }
    Lay();
    TStaffSlur slur;
    ASSERT_TRUE(Compute(first, slur));
    // The curve passes through the marker's height at the marked note's x.
    const int n = layout->FindDrawPosOfItem(marked);
    TSlurPoints own;
    ASSERT_EQ(SlurNotePoints(*layout, n, layout->XOfPosition(n), 1, false, role, own), 1);
    const int x = own.Points().back().x;
    EXPECT_NEAR(slur.curve.YAtX(x), layout->PositionToY(-12), 3);  // integer curve arithmetic
  }
}

TEST_F(SlurLayoutTest, StemSidePointsClearTheStemAndFlag) {
  // Head width 12 (the fake metrics): a fifth plus 1 is 3, two thirds plus 1 is 9, half 6.
  struct Case {
    const char* name;
    int stem;
    int duration;
    int direction;  // +1 slur above
    int role;
    int dx;  // from the stem's x
  } cases[] = {
      {"first, flagged, slur below the down stem", kStemDown, kDurEighth, -1, 1, 9},
      {"first, quarter, slur below the down stem", kStemDown, kDurQuarter, -1, 1, 6},
      {"first, flagged, slur above the up stem", kStemUp, kDurEighth, 1, 1, 3},
      {"end, slur above the up stem", kStemUp, kDurEighth, 1, 2, -6},
      {"end, slur below the down stem", kStemDown, kDurQuarter, -1, 2, -3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    staff.DeleteItems(1, staff.GetLastIndex());
    b.Note(0, c.duration).SetStemDir(c.stem);
    const int item = b.Last();
    Lay();
    const int n = layout->FindDrawPosOfItem(item);
    TSlurPoints points;
    ASSERT_EQ(SlurNotePoints(*layout, n, 100, c.direction, false, c.role, points), 1);
    const auto& song = static_cast<const TSongNote&>(*staff.GetItem(item));
    const int stemX = 100 + SongNoteStemX(song, layout->PositionAt(n)->GetAccidentalColumns(), 0,
                                          layout->Metrics());
    EXPECT_EQ(points.Points().back().x, stemX + c.dx);
  }
}

TEST(SlurPointsTest, FullBufferOverwritesTheLastPoint) {
  TSlurPoints points;
  for (int i = 0; i < kMaxSlurPoints + 5; ++i) points.Add(i, i);
  EXPECT_EQ(points.Count(), kMaxSlurPoints);
  EXPECT_EQ(points.Points().back().x, kMaxSlurPoints + 4);
}

}  // namespace
}  // namespace kvt
