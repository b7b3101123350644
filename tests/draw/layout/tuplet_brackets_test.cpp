// Tuplet brackets: a beamed triplet carries its number on the beam, other triplets get a
// bracket outside the staff on the side away from the heads.

#include "draw/layout/tuplet_brackets.h"

#include <gtest/gtest.h>

#include <memory>

#include "draw/layout/staff_draw_info.h"
#include "tests/draw/layout/fake_layout_host.h"
#include "tests/notation/staff_builder.h"

namespace kvt {
namespace {

using test::TFakeLayoutHost;
using test::TStaffBuilder;

class TupletBracketTest : public ::testing::Test {
protected:
  int AddTriplet(int pos, int duration, bool beamed) {
    int first = -1;
    for (int i = 0; i < 3; ++i) {
      TMusicNote& n = b.Note(pos, duration, 0);
      n.SetTripletState(i == 0 ? kGroupFirst : i == 1 ? kGroupMiddle : kGroupEnd);
      if (beamed) n.SetBeamState(i == 0 ? kGroupFirst : i == 1 ? kGroupMiddle : kGroupEnd);
      if (i == 0) first = b.Last();
    }
    return first;
  }
  void Lay() {
    layout = std::make_unique<TStaffDrawInfo>(host, 0);
    layout->SetStaffByPointer(&staff);
    layout->BuildPositions(0, 1 << 24);
  }
  bool Compute(int item, TStaffConnect& rec) {
    const int n = layout->FindDrawPosOfItem(item);
    return ComputeTupletBracket(*layout, rec, n, layout->XOfPosition(n));
  }

  TMusicStaff staff;
  TStaffBuilder b{staff};
  TFakeLayoutHost host{kDrawModePrint};
  std::unique_ptr<TStaffDrawInfo> layout;
};

TEST_F(TupletBracketTest, BeamedTripletHasNoBracket) {
  const int first = AddTriplet(0, kDurEighth, true);
  Lay();
  TStaffConnect rec;
  EXPECT_TRUE(IsTripletOnBeam(*layout, first, false));
  EXPECT_FALSE(Compute(first, rec));
}

TEST_F(TupletBracketTest, BracketStaysOutsideTheStaff) {
  struct Case {
    const char* what;
    int pos;
    bool below;
  } cases[] = {
      {"stems up: above", 4, false},
      {"stems down: below", -4, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    staff.DeleteItems(1, staff.GetLastIndex());
    const int first = AddTriplet(c.pos, kDurQuarter, false);
    Lay();
    TStaffConnect rec;
    ASSERT_TRUE(Compute(first, rec));
    EXPECT_EQ(rec.IsDown(), c.below);
    EXPECT_EQ(rec.last, first + 2);
    EXPECT_GT(rec.endX, rec.startX);
    const int edge = layout->PositionToY(c.below ? 6.0f : -6.0f);
    for (int y : {rec.startY, rec.LineYAt(rec.endX)}) {
      if (c.below) EXPECT_GE(y, edge);
      else EXPECT_LE(y, edge);
    }
    // Level notes give a level bracket.
    EXPECT_FLOAT_EQ(rec.slope, 0.0f);
  }
}

}  // namespace
}  // namespace kvt
