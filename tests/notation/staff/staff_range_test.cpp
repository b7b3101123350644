#include "notation/items/item_cast.h"
#include "notation/staff/staff_range.h"
#include "notation/services/services.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "notation/items/bar_line_data.h"
#include "notation/items/chord_data.h"
#include "notation/items/clef_data.h"
#include "notation/items/music_note.h"
#include "notation/staff/music_staff.h"
#include "notation/items/rest_chord.h"
#include "notation/items/rest_note.h"
#include "notation/index/simple_ntn_idx.h"
#include "notation/items/text_expression.h"
#include "tests/notation/staff_edit_support.h"

namespace kvt {
namespace {

using test::Describe;
using test::Fill;

TSongNote* SongAt(const TMusicStaff& staff, int i) {
  return ItemAs<TSongNote>(staff.GetItem(i));
}

// --- shape ---

struct SetRangeCase {
  int a;
  int b;
  int first;
  int last;
  bool valid;
};

TEST(StaffRangeTest, SetRangeOrdersClampsAndEmpties) {
  TMusicStaff staff;
  Fill(staff, "n2 n2 n2 n2 | n2 n2 n2");  // last index 9
  const SetRangeCase cases[] = {
      {7, 3, 3, 7, true},   {3, 7, 3, 7, true},   {4, 4, 4, 4, true},
      {-1, 4, 4, -1, false},  // a negative end empties the range
      {2, 99, 2, 9, true},  {99, 120, 9, 9, true}, {-5, -2, -2, -5, false},
  };
  for (const auto& c : cases) {
    TStaffRange range(&staff, c.a, c.b);
    EXPECT_EQ(range.GetFirst(), c.first) << c.a << "," << c.b;
    EXPECT_EQ(range.GetLast(), c.last) << c.a << "," << c.b;
    EXPECT_EQ(range.IsValid(), c.valid) << c.a << "," << c.b;
    EXPECT_EQ(range.GetCount(), c.valid ? c.last - c.first + 1 : 0);
  }
  TStaffRange noStaff(nullptr, 1, 3);
  EXPECT_FALSE(noStaff.IsValid());
  EXPECT_EQ(noStaff.GetLast(), -1);
  TStaffRange whole;
  whole.SetStaff(&staff);
  EXPECT_EQ(whole.GetFirst(), 0);
  EXPECT_EQ(whole.GetLast(), 9);
  whole.DropLast(2);
  EXPECT_EQ(whole.GetLast(), 7);
  whole.DropLast(INT_MIN);  // no wrap into a negative
  EXPECT_EQ(whole.GetLast(), INT32_MAX);
  EXPECT_FALSE(whole.IsValid());
}

struct ExtendCase {
  int a;
  int b;
  int first;
  int last;
};

TEST(StaffRangeTest, ExtendToBarsWidensToWholeBars) {
  TMusicStaff staff;
  // 0 | 1 n 2 n 3 | 4 n 5 n 6 n 7 | 8 n 9 closing
  Fill(staff, "n2 n2 | n2 n2 n2 | n2");
  const ExtendCase cases[] = {
      {1, 1, 1, 2},  // inside the first bar: from 1 to before the first bar line
      {2, 2, 1, 2}, {5, 5, 4, 6}, {2, 5, 1, 6},
      {3, 3, 3, 3},  // on a bar line: stays
      {0, 0, 1, 2},  // the opening bar line is never part of it
      {9, 9, 8, 8},  // the closing bar line neither
      {5, -1, 5, 5},  // (empty range: last takes first, then widens below)
  };
  for (const auto& c : cases) {
    TStaffRange range(&staff, c.a, c.b);
    if (c.b < 0) {
      range.SetRange(c.a, c.a);
      range.DropLast(1);
      ASSERT_FALSE(range.IsValid());
    }
    range.ExtendToBars();
    if (c.b < 0) {
      EXPECT_EQ(range.GetFirst(), 4);
      EXPECT_EQ(range.GetLast(), 6);
      continue;
    }
    EXPECT_EQ(range.GetFirst(), c.first) << c.a << "," << c.b;
    EXPECT_EQ(range.GetLast(), c.last) << c.a << "," << c.b;
  }
}

TEST(StaffRangeTest, ExtendToBarsOnAnEmptyStaffLeavesNothing) {
  TMusicStaff staff;
  TStaffRange range(&staff, 0, 1);
  range.ExtendToBars();
  EXPECT_FALSE(range.IsValid());
}

TEST(StaffRangeTest, SetToBarAtTakesTheBarLineAndItsItems) {
  TMusicStaff staff;
  Fill(staff, "n2 n2 | n2 n2 n2");  // bar line at 3, closing at 7
  TStaffRange range;
  range.SetStaff(&staff);
  range.SetToBarAt(5);
  EXPECT_EQ(range.GetFirst(), 3);
  EXPECT_EQ(range.GetLast(), 6);
  range.SetToBarAt(1);
  EXPECT_EQ(range.GetFirst(), 0);
  EXPECT_EQ(range.GetLast(), 2);
  range.SetToBarAt(-40);
  EXPECT_EQ(range.GetFirst(), 0);
  range.SetToBarAt(1000);
  EXPECT_EQ(range.GetFirst(), 7);
  EXPECT_EQ(range.GetLast(), 7);
}

TEST(StaffRangeTest, InitRunAtIndexCoversTheGroup) {
  TMusicStaff staff;
  Fill(staff, "n2 n3 n3 n3 n2");
  ASSERT_TRUE(TStaffRange(&staff, 2, 4).Beam(kGroupBeam));
  for (int at : {2, 3, 4}) {
    TStaffRange run;
    run.InitRunAtIndex(TSimpleNtnIdx(&staff, at), kGroupBeam);
    EXPECT_EQ(run.GetFirst(), 2) << at;
    EXPECT_EQ(run.GetLast(), 4) << at;
  }
  TStaffRange single;
  single.InitRunAtIndex(TSimpleNtnIdx(&staff, 1), kGroupBeam);
  EXPECT_EQ(single.GetFirst(), 1);
  EXPECT_EQ(single.GetLast(), 1);
  TStaffRange notTriplet;
  notTriplet.InitRunAtIndex(TSimpleNtnIdx(&staff, 3), kGroupTriplet);
  EXPECT_EQ(notTriplet.GetCount(), 1);
}

TEST(StaffRangeTest, HairpinRunStopsAtDynamicsAndOtherHairpins) {
  TMusicStaff staff;
  Fill(staff, "n2 n2 n2 n2 n2");
  SongAt(staff, 2)->SetNoteFlag(kFlagCrescendo);
  SongAt(staff, 3)->SetNoteFlag(kFlagCrescendo);
  SongAt(staff, 5)->SetNoteFlag(kFlagDiminuendo);
  TStaffRange range;
  range.SetStaff(&staff);
  range.SetToHairpinRunAt(2);
  EXPECT_EQ(range.GetFirst(), 1);
  EXPECT_EQ(range.GetLast(), 4);
}

// --- queries ---

TEST(StaffRangeTest, DurationAndExtents) {
  TMusicStaff staff;
  Fill(staff, "n2@-3 n1@5 r2 |");
  TStaffRange range(&staff, 1, 4);
  EXPECT_EQ(range.GetDuration(), 192 + 384 + 192);
  int high = 0;
  int low = 0;
  range.GetNoteExtent(high, low);
  EXPECT_EQ(high, -3);
  EXPECT_EQ(low, 5);
  range.GetPositionExtent(high, low);
  EXPECT_EQ(high, -4);  // the bar line reaches the top line
  EXPECT_EQ(low, 5);
  TStaffRange empty;
  empty.GetPositionExtent(high, low);
  EXPECT_EQ(high, INT_MAX);
  EXPECT_EQ(low, INT_MIN);
  EXPECT_EQ(range.FindMemberAt(5), 2);
  EXPECT_EQ(range.FindMemberAt(7), 0);
}

TEST(StaffRangeTest, RestOnlyRunNeedsRestsTogether) {
  TMusicStaff staff;
  Fill(staff, "r2 r1 x r2 n2");
  EXPECT_TRUE(TStaffRange(&staff, 1, 2).IsRestOnlyRun());
  EXPECT_FALSE(TStaffRange(&staff, 1, 4).IsRestOnlyRun());  // a text between the rests
  EXPECT_FALSE(TStaffRange(&staff, 4, 5).IsRestOnlyRun());  // a note
  EXPECT_FALSE(TStaffRange(&staff, 3, 3).IsRestOnlyRun());  // no rest
}

TEST(StaffRangeTest, CommonValuesForTheProperties) {
  TMusicStaff staff;
  Fill(staff, "n2@1# n2@3# n3@2");
  int value = -1;
  EXPECT_TRUE(TStaffRange(&staff, 1, 2).GetCommonDurationCode(value));
  EXPECT_EQ(value, kDurQuarter);
  EXPECT_FALSE(TStaffRange(&staff, 1, 3).GetCommonDurationCode(value));
  EXPECT_TRUE(TStaffRange(&staff, 1, 2).GetCommonAccidental(value));
  EXPECT_EQ(value, kAccSharp);
  EXPECT_FALSE(TStaffRange(&staff, 1, 3).GetCommonAccidental(value));
  SongAt(staff, 2)->SetNoteHead(3);
  EXPECT_TRUE(TStaffRange(&staff, 1, 2).GetCommonNoteHead(value));
  EXPECT_EQ(value, 14);  // mixed
  SongAt(staff, 1)->SetStemDir(kStemUp);
  EXPECT_TRUE(TStaffRange(&staff, 1, 3).GetCommonStem(value));
  EXPECT_EQ(value, 0);  // mixed
  int shortest = 0;
  int longest = 0;
  EXPECT_TRUE(TStaffRange(&staff, 1, 3).GetDurationCodeRange(shortest, longest));
  EXPECT_EQ(shortest, kDurEighth);
  EXPECT_EQ(longest, kDurQuarter);
  EXPECT_FALSE(TStaffRange(&staff, 0, 0).GetDurationCodeRange(shortest, longest));

  staff.GetItem(1)->SetColor(2);
  staff.GetItem(2)->SetColor(2);
  EXPECT_TRUE(TStaffRange(&staff, 1, 2).GetCommonColor(value));
  EXPECT_EQ(value, 2);
  SongAt(staff, 2)->SetNoteColor(5);
  EXPECT_TRUE(TStaffRange(&staff, 1, 2).GetCommonColor(value));
  EXPECT_EQ(value, 8);
}

TEST(StaffRangeTest, CommonStemRefusesAGroupCrossingTheEdge) {
  TMusicStaff staff;
  Fill(staff, "n3 n3 n3");
  ASSERT_TRUE(TStaffRange(&staff, 1, 3).Beam(kGroupBeam));
  int dir = 0;
  EXPECT_TRUE(TStaffRange(&staff, 1, 3).GetCommonStem(dir));
  EXPECT_FALSE(TStaffRange(&staff, 1, 2).GetCommonStem(dir));
  EXPECT_TRUE(TStaffRange(&staff, 1, 2).HasPartialGroupOf(kGroupBeam));
  EXPECT_TRUE(TStaffRange(&staff, 2, 3).HasPartialGroup());
  EXPECT_FALSE(TStaffRange(&staff, 1, 3).HasPartialGroupOf(kGroupBeam));
  EXPECT_FALSE(TStaffRange(&staff, 2, 3).HasPartialGroupOf(kGroupTriplet));
  EXPECT_TRUE(TStaffRange(&staff, 2, 2).ContainsGroup(kGroupBeam));
}

TEST(StaffRangeTest, StemExtentReachesPastTheStem) {
  TMusicStaff staff;
  Fill(staff, "n2@2");
  auto* note = ItemAs<TMusicNote>(staff.GetItem(1));
  note->SetStemDir(kStemUp);
  TStaffRange range(&staff, 1, 1);
  // Up: stem of 7 steps plus one step above the note.
  EXPECT_EQ(range.GetStemExtent(1), 2 - 8);
  // Down: no stem there, two steps below the head.
  EXPECT_EQ(range.GetStemExtent(-1), 2 + 2);
  note->SetNoteFlag(kFlagStaccato);  // below the note, away from the stem
  EXPECT_EQ(range.GetStemExtent(-1), 2 + 4);
  EXPECT_EQ(TStaffRange().GetStemExtent(1), 1000);
}

// --- grouping ---

struct GroupCase {
  const char* name;
  const char* layout;  // items 1.. of the staff; the range covers them all
  int kind;
  bool groups;
};

class GroupTest : public testing::TestWithParam<GroupCase> {};

TEST_P(GroupTest, GroupsWhatTheRulesAllow) {
  const GroupCase& c = GetParam();
  TMusicStaff staff;
  Fill(staff, c.layout);
  TStaffRange range(&staff, 1, staff.GetLastIndex() - 1);
  EXPECT_EQ(range.CanGroup(c.kind), c.groups);
  const std::string before = Describe(staff);
  ASSERT_EQ(range.Beam(c.kind), c.groups);
  if (!c.groups) {
    EXPECT_EQ(Describe(staff), before);
    return;
  }
  // First, Middle ... End over the group's notes; other items are left alone.
  std::vector<int> states;
  for (int i = 1; i < staff.GetLastIndex(); ++i) {
    const TSongNote* note = SongAt(staff, i);
    if (!staff.GetItem(i)->IsSongNoteClass()) continue;
    const int state = c.kind == kGroupTriplet ? note->GetTripletState() : note->GetBeamState();
    if (state != kGroupNone) states.push_back(state);
  }
  ASSERT_GE(states.size(), 2u);
  EXPECT_EQ(states.front(), kGroupFirst);
  EXPECT_EQ(states.back(), kGroupEnd);
  for (size_t k = 1; k + 1 < states.size(); ++k) EXPECT_EQ(states[k], kGroupMiddle);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GroupTest,
    testing::Values(
        // Three eighths last 288 ticks; two thirds of that is 192, a whole number of units.
        GroupCase{"ThreeEighthsTriplet", "n3 n3 n3", kGroupTriplet, true},
        GroupCase{"TwoEighthsAndSixteenthNoTriplet", "n3 n3 n4", kGroupTriplet, false},
        GroupCase{"ThreeQuartersTriplet", "n2 n2 n2", kGroupTriplet, true},
        GroupCase{"RestLeadsTriplet", "r3 n3 n3", kGroupTriplet, true},
        GroupCase{"TwoEighthsBeam", "n3 n3", kGroupBeam, true},
        GroupCase{"FourSixteenthsBeam", "n4 n4 n4 n4", kGroupBeam, true},
        GroupCase{"RestInsideBeam", "n3 r3 n3", kGroupBeam, true},
        GroupCase{"QuarterCannotBeBeamed", "n2 n3", kGroupBeam, false},
        GroupCase{"OneNoteIsNoGroup", "n3", kGroupBeam, false},
        GroupCase{"BarLineBreaksBeam", "n3 | n3", kGroupBeam, false},
        GroupCase{"RestCannotStartBeam", "r3 n3 n3", kGroupBeam, false},
        GroupCase{"GroupMustEndOnANote", "n3 n3 x", kGroupBeam, false},
        GroupCase{"GraceBeam", "n3g n3g", kGroupBeam, true},
        GroupCase{"NormalNoteNeverJoinsGraceGroup", "n3g n3", kGroupBeam, false}),
    [](const testing::TestParamInfo<GroupCase>& info) { return info.param.name; });

struct StemCase {
  const char* layout;
  int stemDir;  // GetStemDir of every note after beaming
};

TEST(StaffRangeTest, BeamChoosesOneStemDirection) {
  const StemCase cases[] = {
      {"n3@-6 n3@-2", -1},  // above the middle line: down
      {"n3@2 n3@6", 1},     // below: up
      {"n3@-5 n3@3", -1},   // reaching farther above
      {"n3@-2 n3@5", 1},    // reaching farther below
      {"n3@-3 n3@3", -1},   // as far each way: down
      {"n3@0 n3@0", -1},    // on the middle line
      {"n3@1 n3@1", 1},
      {"n3g@-6 n3g@-6", 1},  // grace groups go up
  };
  for (const auto& c : cases) {
    TMusicStaff staff;
    Fill(staff, c.layout);
    ASSERT_TRUE(TStaffRange(&staff, 1, 2).Beam(kGroupBeam)) << c.layout;
    EXPECT_EQ(SongAt(staff, 1)->GetStemDir(), c.stemDir) << c.layout;
    EXPECT_EQ(SongAt(staff, 2)->GetStemDir(), c.stemDir) << c.layout;
  }
  // An explicit stem on the first note wins.
  TMusicStaff staff;
  Fill(staff, "n3@-6 n3@-6");
  SongAt(staff, 1)->SetStemDir(kStemUp);
  ASSERT_TRUE(TStaffRange(&staff, 1, 2).Beam(kGroupBeam));
  EXPECT_EQ(SongAt(staff, 2)->GetStemDir(), 1);
}

TEST(StaffRangeTest, UngroupClearsTheWholeGroup) {
  TMusicStaff staff;
  Fill(staff, "n3 n3 n3 n3");
  ASSERT_TRUE(TStaffRange(&staff, 1, 4).Beam(kGroupBeam));
  EXPECT_TRUE(TStaffRange(&staff, 2, 2).Ungroup(kGroupBeam));
  for (int i = 1; i <= 4; ++i) EXPECT_EQ(SongAt(staff, i)->GetBeamState(), kGroupNone) << i;
  EXPECT_FALSE(TStaffRange(&staff, 1, 4).Ungroup(kGroupBeam));
}

// --- ties and flags ---

TEST(StaffRangeTest, ToggleTiesTiesAndUnties) {
  TMusicStaff staff;
  Fill(staff, "n2@6 n2@6");
  TStaffRange range(&staff, 1, 2);
  ASSERT_TRUE(range.ToggleTies());
  EXPECT_EQ(Describe(staff), "| N6:192~ N6:192 |5");
  ASSERT_TRUE(range.ToggleTies());
  EXPECT_EQ(Describe(staff), "| N6:192 N6:192 |5");
  // The Tied flag of a range of two song notes toggles ties the same way.
  ASSERT_TRUE(range.ToggleFlag(kFlagTieOut));
  EXPECT_EQ(Describe(staff), "| N6:192~ N6:192 |5");
}

TEST(StaffRangeTest, ToggleTiesRefusesWhatCannotBeTied) {
  const char* layouts[] = {
      "n2@6 n2@5",      // no continuation at the position
      "n2@6 K2 n2@6",   // a key between
      "n2@6 |7 n2@6",   // a repeat close between
      "n2@6# n2@6n",    // the continuation changes the accidental
  };
  for (const char* layout : layouts) {
    TMusicStaff staff;
    Fill(staff, layout);
    const std::string before = Describe(staff);
    EXPECT_FALSE(TStaffRange(&staff, 1, staff.GetLastIndex() - 1).ToggleTies()) << layout;
    EXPECT_EQ(Describe(staff), before) << layout;
  }
  // An automatic accidental continues whatever the first note holds.
  TMusicStaff staff;
  Fill(staff, "n2@6# n2@6");
  EXPECT_TRUE(TStaffRange(&staff, 1, 2).ToggleTies());
}

TEST(StaffRangeTest, ToggleFlagSetsThenClears) {
  TMusicStaff staff;
  Fill(staff, "n2 r2 n2");
  TStaffRange range(&staff, 1, 3);
  bool anySet = true;
  EXPECT_TRUE(range.GetFlagState(kFlagStaccato, anySet));
  EXPECT_FALSE(anySet);
  ASSERT_TRUE(range.ToggleFlag(kFlagStaccato));
  EXPECT_TRUE(SongAt(staff, 1)->HasNoteFlag(kFlagStaccato));
  EXPECT_FALSE(SongAt(staff, 2)->HasNoteFlag(kFlagStaccato));  // a rest has no notes
  EXPECT_TRUE(SongAt(staff, 3)->HasNoteFlag(kFlagStaccato));
  ASSERT_TRUE(range.ToggleFlag(kFlagStaccato));
  EXPECT_FALSE(SongAt(staff, 1)->HasNoteFlag(kFlagStaccato));

  EXPECT_FALSE(TStaffRange(&staff, 2, 2).ToggleFlag(kFlagStaccato));  // only a rest
  EXPECT_FALSE(range.ToggleFlag(kFlagTieDirection));                // never applies
  EXPECT_TRUE(TStaffRange(&staff, 2, 2).ToggleFlag(kFlagDotted));   // rests take dots
  EXPECT_TRUE(SongAt(staff, 2)->IsDotted());
}

TEST(StaffRangeTest, SlurGoesOnlyToTheFirstGraceFlag) {
  TMusicStaff staff;
  Fill(staff, "n3g n2 n2");
  ASSERT_TRUE(TStaffRange(&staff, 1, 3).ToggleFlag(kFlagSlur));
  EXPECT_TRUE(SongAt(staff, 1)->IsSlurOut());
  EXPECT_FALSE(SongAt(staff, 2)->IsSlurOut());
}

// --- other edits ---

TEST(StaffRangeTest, ShiftUpDownCyclesClefsAndBarStylesByAnyStep) {
  struct Case {
    int start;
    int steps;
    int clef;
    int bar;
  };
  const Case cases[] = {
      {0, 1, 1, 1}, {0, -1, 4, 10}, {0, -2, 3, 9}, {3, 7, 0, 10}, {4, -13, 1, 2}, {2, 0, 2, 2},
  };
  for (const auto& c : cases) {
    TMusicStaff staff;
    auto* clef = new TClefData(c.start);
    staff.InsertItem(std::unique_ptr<TNotatedItem>(clef), 1);
    auto* bar = new TBarLineData(c.start);
    staff.InsertItem(std::unique_ptr<TNotatedItem>(bar), 2);
    TStaffRange(&staff, 1, 1).ShiftUpDown(c.steps);
    TStaffRange(&staff, 2, 2).ShiftUpDown(c.steps);
    EXPECT_EQ(clef->GetClefType(), c.clef) << c.start << " by " << c.steps;
    EXPECT_EQ(bar->GetStyle(), c.bar) << c.start << " by " << c.steps;
  }
}

TEST(StaffRangeTest, ShiftUpDownMovesNotesElseExpressionsElseRests) {
  TMusicStaff staff;
  Fill(staff, "n2@2 r2 x");
  TStaffRange(&staff, 1, 3).ShiftUpDown(-3);
  EXPECT_EQ(staff.GetItem(1)->GetStaffPos(), -1);
  EXPECT_EQ(ItemAs<TRestNote>(staff.GetItem(2))->GetVertOffset(), 0);

  TStaffRange(&staff, 2, 3).ShiftUpDown(4);  // no notes: the expression moves by halves
  EXPECT_FLOAT_EQ(ItemAs<TTextExpression>(staff.GetItem(3))->GetPos(), -8 + 2);
  TStaffRange(&staff, 2, 2).ShiftUpDown(3);  // only a rest
  EXPECT_EQ(ItemAs<TRestNote>(staff.GetItem(2))->GetVertOffset(), 3);
}

TEST(StaffRangeTest, ShiftDurationsClampsCodes) {
  TMusicStaff staff;
  Fill(staff, "n0 n6 r2");
  TStaffRange range(&staff, 1, 3);
  range.ShiftDurations(1, TServices());  // one step longer, within the codes 0..6
  EXPECT_EQ(Describe(staff), "| N0:768 N0:24 R:384 |5");
  range.ShiftDurations(-100, TServices());
  EXPECT_EQ(Describe(staff), "| N0:12 N0:12 R:12 |5");
  auto* text = new TTextExpression();
  staff.InsertItem(std::unique_ptr<TNotatedItem>(text), 1);
  TStaffRange(&staff, 1, 1).ShiftDurations(2, TServices());
  EXPECT_EQ(text->GetScale(), 120);
  TStaffRange(&staff, 1, 1).ShiftDurations(-1000, TServices());
  EXPECT_EQ(text->GetScale(), 5);
}

TEST(StaffRangeTest, CycleNoteHeadsStopsAtAllowedShapes) {
  struct Case {
    int start;
    int mask;
    int next;
  };
  const Case cases[] = {
      {0, 1 << 3, 3},
      {3, (1 << 3) | (1 << 1), 1},  // wraps around
      {8, 1 << 9, 9},
      {8, 1 << 10, 9},             // 9 and 10 are one step; 10 only for shifted heads
      {9, (1 << 10) | (1 << 11), 11},
      {10, 1 << 11, 11},
      {5, 0, 5},                   // nothing allowed: unchanged, no endless cycle
      {5, 1 << 14, 5},
  };
  for (const auto& c : cases) {
    TMusicStaff staff;
    Fill(staff, "n2");
    SongAt(staff, 1)->SetNoteHead(c.start);
    TStaffRange(&staff, 1, 1).CycleNoteHeads(c.mask);
    EXPECT_EQ(SongAt(staff, 1)->GetHeadShape(), c.next) << c.start << " mask " << c.mask;
  }
}

TEST(StaffRangeTest, SetColorRefusesColoursOutsideTheTable) {
  TMusicStaff staff;
  Fill(staff, "n2");
  SongAt(staff, 1)->SetNoteColor(4);
  TStaffRange range(&staff, 1, 1);
  EXPECT_FALSE(range.SetColor(8));
  EXPECT_FALSE(range.SetColor(-1));
  EXPECT_EQ(staff.GetItem(1)->GetColor(), 0);
  EXPECT_TRUE(range.SetColor(3));
  EXPECT_EQ(staff.GetItem(1)->GetColor(), 3);
  EXPECT_EQ(SongAt(staff, 1)->GetNoteColor(), 0);
}

TEST(StaffRangeTest, SetStemAutomaticLeavesBoundStemsAlone) {
  TMusicStaff staff;
  Fill(staff, "n3 n3 n2");
  ASSERT_TRUE(TStaffRange(&staff, 1, 2).Beam(kGroupBeam));
  TStaffRange range(&staff, 1, 3);
  range.SetStem(kStemUp);
  for (int i = 1; i <= 3; ++i) EXPECT_EQ(SongAt(staff, i)->GetStemSetting(), kStemUp);
  range.SetStem(kStemAuto);
  EXPECT_EQ(SongAt(staff, 1)->GetStemSetting(), kStemUp);  // beamed
  EXPECT_EQ(SongAt(staff, 3)->GetStemSetting(), kStemAuto);
}

TEST(StaffRangeTest, NoEditRemovesOrHidesTheBoundaryBarLines) {
  TMusicStaff staff;
  Fill(staff, "n2 n2");
  TStaffRange whole;
  whole.SetStaff(&staff);
  whole.HideItems();
  EXPECT_EQ(staff.GetItem(0)->GetVisibility(), kVisDefault);
  EXPECT_EQ(staff.GetItem(3)->GetVisibility(), kVisDefault);
  EXPECT_EQ(staff.GetItem(1)->GetVisibility(), kVisNever);
  whole.Delete();
  EXPECT_EQ(Describe(staff), "| |5");
  EXPECT_FALSE(whole.IsValid());
  TStaffRange again;
  again.SetStaff(&staff);
  again.DeleteAndAudit();
  EXPECT_EQ(staff.GetItemCount(), 2);
}

TEST(StaffRangeTest, MuteNotesMutesNotesAndChords) {
  TMusicStaff staff;
  Fill(staff, "n2 r2");
  TStaffRange(&staff, 1, 2).MuteNotes();
  EXPECT_TRUE(ItemAs<TMusicNote>(staff.GetItem(1))->IsMuted());
}

TEST(StaffRangeTest, MergeRestsToWholeBarKeepsTheFirstRest) {
  TMusicStaff staff;
  Fill(staff, "| r1 r2 |");
  TNotatedItem* first = staff.GetItem(2);
  TStaffRange range(&staff, 2, 3);
  range.MergeRestsToWholeBar(576);
  EXPECT_EQ(Describe(staff), "| | R:576 | |5");
  EXPECT_EQ(staff.GetItem(2), first);
  EXPECT_EQ(range.GetLast(), 2);
  EXPECT_TRUE(ItemAs<TRestNote>(first)->IsPlainWholeRest());
}

TEST(StaffRangeTest, SetDurationCodeAndAccidentalReachEveryMember) {
  TMusicStaff staff;
  staff.InsertItem(std::make_unique<TChordData>(std::make_unique<TMusicNote>(2, kDurHalf, 0, kAccNone),
                                                std::make_unique<TMusicNote>(0, kDurHalf, 0, kAccNone)),
                   1);
  TStaffRange range(&staff, 1, 1);
  range.SetDurationCode(kDurEighth);
  range.SetAccidental(kAccFlat);
  EXPECT_EQ(Describe(staff), "| C2b,0b:96 |5");
  range.SetNoteHead(4);
  int shape = 0;
  EXPECT_TRUE(range.GetCommonNoteHead(shape));
  EXPECT_EQ(shape, 4);
}

}  // namespace
}  // namespace kvt

#include "notation/files/text/clip_text.h"
#include "utils/seg_ram_stream.h"

namespace kvt {
namespace {

TEST(StaffRangeTest, SerializedSizeIsWhatTheClipWriterWrites) {
  TMusicStaff staff;
  test::Fill(staff, "n2 n2 n2 | n2");
  for (int last : {1, 3, 4}) {
    TStaffRange range(&staff, 1, last);
    TKRVSegRamStream written(256);
    WriteClipText(range, written, true, false);
    EXPECT_EQ(range.GetSerializedSize(), written.Size()) << "last " << last;
  }
  EXPECT_LT(TStaffRange(&staff, 1, 1).GetSerializedSize(), TStaffRange(&staff, 1, 3).GetSerializedSize());
}

}  // namespace
}  // namespace kvt
