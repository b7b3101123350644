#include "notation/items/clef_data.h"

#include <gtest/gtest.h>

#include "notation/context/staff_context_state.h"

namespace kvt {
namespace {

TEST(ClefDataTest, ExtentByTypeAndOctaveShift) {
  struct Case {
    int type;
    int shift;
    int top;
    int bottom;
  };
  const Case cases[] = {
      {kClefTreble, kOctaveShiftNone, -6, 7}, {kClefBass, kOctaveShiftNone, -4, 3},
      {kClefAlto, kOctaveShiftNone, -5, 5},   {kClefTenor, kOctaveShiftNone, -7, 3},
      {kClefDrum, kOctaveShiftNone, -4, 4},   {kClefTreble, kOctaveShiftUp, -8, 7},
      {kClefBass, kOctaveShiftDown, -4, 5},   {kClefTenor, kOctaveShiftUp, -9, 3},
      // A type outside the list (from a damaged file) reads as Treble.
      {200, kOctaveShiftNone, -6, 7},
  };
  for (const Case& c : cases) {
    TClefData clef(c.type);
    clef.SetOctaveShift(c.shift);
    EXPECT_EQ(clef.GetTopPos(), c.top) << "type " << c.type << " shift " << c.shift;
    EXPECT_EQ(clef.GetBottomPos(), c.bottom) << "type " << c.type << " shift " << c.shift;
    EXPECT_EQ(clef.GetStaffPos(), 0);
  }
}

TEST(ClefDataTest, FieldsAreMaskedToTheirWidths) {
  TClefData clef;
  clef.SetClefType(0x103);
  EXPECT_EQ(clef.GetClefType(), 3);
  clef.SetOctaveShift(-1);
  EXPECT_EQ(clef.GetOctaveShift(), -1);
  clef.SetOctaveShift(0x82);  // 7 bits keep 2
  EXPECT_EQ(clef.GetOctaveShift(), 2);
  EXPECT_TRUE(clef.IsAutoSys());
  clef.SetAutoSys(false);
  EXPECT_FALSE(clef.IsAutoSys());
  EXPECT_EQ(clef.GetClefType(), 3);
  EXPECT_EQ(clef.GetOctaveShift(), 2);
}

TEST(ClefDataTest, ApplySetsTheClefAndOctaveShift) {
  struct Case {
    int type;
    int shift;
    int stateShift;
  };
  const Case cases[] = {{kClefBass, kOctaveShiftDown, 2},
                        {kClefAlto, kOctaveShiftUp, 1},
                        {kClefDrum, kOctaveShiftNone, 0},
                        {kClefTreble, -1, 0},
                        {kClefTreble, 5, 0}};
  for (const Case& c : cases) {
    TStaffContextState state;
    TClefData clef(c.type);
    clef.SetOctaveShift(c.shift);
    clef.ApplyToContext(state);
    EXPECT_EQ(state.GetClef(), c.type);
    EXPECT_EQ(state.GetClefOctaveShift(), c.stateShift) << "shift " << c.shift;
  }
}

TEST(ClefDataTest, AssignFromAnotherKindTakesOnlyTheAttributes) {
  TClefData source(kClefBass);
  source.SetColor(3);
  source.SetVisibility(kVisNever);
  TClefData target(kClefAlto);
  target.Assign(source);
  EXPECT_EQ(target.GetClefType(), kClefAlto);
  EXPECT_EQ(target.GetColor(), 3);
  EXPECT_EQ(target.GetVisibility(), kVisNever);
}

}  // namespace
}  // namespace kvt
