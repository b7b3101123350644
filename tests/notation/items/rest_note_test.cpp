#include "notation/items/rest_note.h"

#include <gtest/gtest.h>

#include "notation/items/rest_chord.h"

namespace kvt {
namespace {

TEST(RestNoteTest, NewRestHoldsAWholeNoteLengthUnused) {
  TRestNote rest(kDurQuarter, 0);
  EXPECT_FALSE(rest.HasTickLength());
  EXPECT_EQ(rest.GetTickLength(), 768);
  EXPECT_EQ(rest.GetDuration(), 192);
  EXPECT_EQ(rest.GetVertOffset(), 0);
  EXPECT_FALSE(rest.GetHideRest());
}

struct TickCase {
  int count;
  int unit;
  int ticks;
};

TEST(RestNoteTest, TickLengthFromCountAndBeatUnit) {
  const TickCase cases[] = {
      {4, 2, 768}, {3, 3, 288},  {6, 3, 576}, {2, 0, 1536}, {1, 1, 384},
      {5, 4, 240}, {7, 5, 168},  {9, 6, 108}, {3, 2, 576},  {3, 7, 576},  // other unit: 192
      // The longest bar a time signature holds (128 whole notes) fits without wrapping.
      {128, 0, 98304},
      // Anything larger saturates instead of wrapping into a short rest.
      {100000, 0, kMaxRestTickLength}, {-3, 2, 0},
  };
  for (const auto& c : cases) {
    TRestNote rest(kDurWhole, 0);
    rest.SetTickLength(c.count, c.unit);
    EXPECT_TRUE(rest.HasTickLength());
    EXPECT_EQ(rest.GetTickLength(), c.ticks) << c.count << " x unit " << c.unit;
    EXPECT_EQ(rest.GetDuration(), c.ticks);
  }
}

TEST(RestNoteTest, ClearTickLengthReturnsToTheNotatedDuration) {
  TRestNote rest(kDurWhole, 0);
  rest.SetTickLength(3, 2);
  rest.ClearTickLength();
  EXPECT_EQ(rest.GetDuration(), 768);
}

TEST(RestNoteTest, GraceRestTakesNoTimeEvenWithATickLength) {
  TRestNote rest(kDurEighth, kMaskGrace);
  rest.SetTickLength(1, 2);
  EXPECT_EQ(rest.GetDuration(), 0);
}

TEST(RestNoteTest, VerticalOffsetSaturatesAt2001) {
  const int cases[][2] = {{0, 0},        {-7, -7},       {2000, 2000}, {-2000, -2000},
                          {2001, 2001},  {5000, 2001},   {-5000, -2001}, {2047, 2001},
                          {1 << 30, 2001}, {-(1 << 30), -2001}};
  for (const auto& c : cases) {
    TRestNote rest(kDurQuarter, 0);
    rest.SetVertOffset(c[0]);
    EXPECT_EQ(rest.GetVertOffset(), c[1]) << c[0];
  }
}

TEST(RestNoteTest, HidingResetsTheOffsetAndOnlyARestChordIsHidden) {
  TRestNote rest(kDurQuarter, 0);
  rest.SetVertOffset(-6);
  rest.SetHideRest(true);
  EXPECT_EQ(rest.GetVertOffset(), 0);
  EXPECT_FALSE(rest.IsRestHidden());
  TRestChord restChord(kDurQuarter, 0);
  restChord.SetHideRest(true);
  EXPECT_TRUE(restChord.IsRestHidden());
}

TEST(RestNoteTest, StaffPositionByDurationPlusOffset) {
  const int expected[kDurationCodeCount] = {-2, 0, 0, -1, 1, 1, 3};
  for (int code = 0; code < kDurationCodeCount; ++code) {
    TRestNote rest(code, 0);
    EXPECT_EQ(rest.GetStaffPos(), expected[code]) << code;
    rest.SetVertOffset(4);
    EXPECT_EQ(rest.GetStaffPos(), expected[code] + 4);
    EXPECT_EQ(rest.GetTopPos(), expected[code] + 2);
    EXPECT_EQ(rest.GetBottomPos(), expected[code] + 6);
  }
}

TEST(RestNoteTest, PlainWholeRest) {
  EXPECT_TRUE(TRestNote(kDurWhole, 0).IsPlainWholeRest());
  EXPECT_FALSE(TRestNote(kDurHalf, 0).IsPlainWholeRest());
  EXPECT_FALSE(TRestNote(kDurWhole, kMaskDotted).IsPlainWholeRest());
  EXPECT_FALSE(TRestNote(kDurWhole, kMaskDblDotted).IsPlainWholeRest());
  EXPECT_FALSE(TRestNote(kDurWhole, kMaskGrace).IsPlainWholeRest());
  TRestNote triplet(kDurWhole, 0);
  triplet.SetTripletState(kGroupFirst);
  EXPECT_FALSE(triplet.IsPlainWholeRest());
  TRestChord withPart(kDurWhole, 0);
  EXPECT_TRUE(withPart.IsPlainWholeRest());
  auto part = std::make_unique<TMusicNote>(-3, kDurWhole, 0, kAccNone);
  ASSERT_TRUE(withPart.AttachNote(part));
  EXPECT_FALSE(withPart.IsPlainWholeRest());
}

TEST(RestNoteTest, AssignCopiesLengthAndOffsetFromRestsOnly) {
  TRestNote src(kDurWhole, 0);
  src.SetTickLength(3, 2);
  src.SetVertOffset(-4);
  src.SetHideRest(false);
  TRestNote dst(kDurQuarter, 0);
  dst.Assign(src);
  EXPECT_TRUE(dst.HasTickLength());
  EXPECT_EQ(dst.GetTickLength(), 576);
  EXPECT_EQ(dst.GetVertOffset(), -4);

  TMusicNote note(0, kDurEighth, 0, kAccNone);
  TRestNote other(kDurQuarter, 0);
  other.SetVertOffset(6);
  other.Assign(note);
  EXPECT_EQ(other.GetDurationCode(), kDurEighth);
  EXPECT_EQ(other.GetVertOffset(), 6);
}

TEST(RestNoteTest, ApplyToContextAdvancesAndCountsVisibleGraceRests) {
  TStaffContextState state;
  TRestNote quarter(kDurQuarter, kMaskSlur);
  quarter.ApplyToContext(state);
  EXPECT_EQ(state.GetSongPosition(), 192);
  EXPECT_TRUE(state.HasSlurState());

  TRestNote grace(kDurEighth, kMaskGrace);
  grace.ApplyToContext(state);
  EXPECT_EQ(state.GetSongPosition(), 192);
  EXPECT_EQ(state.GetGraceCount(), 1);
  grace.SetVisibility(kVisNever);
  grace.ApplyToContext(state);
  EXPECT_EQ(state.GetGraceCount(), 1);

  TRestNote after(kDurEighth, 0);
  after.SetSlurIn(true);
  after.ApplyToContext(state);
  EXPECT_EQ(state.GetGraceCount(), 0);
  EXPECT_FALSE(state.HasSlurState());
  EXPECT_EQ(state.GetSongPosition(), 288);
}

}  // namespace
}  // namespace kvt
