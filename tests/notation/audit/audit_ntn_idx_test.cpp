#include "notation/audit/audit_ntn_idx.h"

#include <gtest/gtest.h>

#include <memory>

#include "notation/staff/music_score.h"
#include "notation/items/rest_chord.h"
#include "tests/notation/staff_builder.h"

namespace kvt {
namespace {

using test::TStaffBuilder;

constexpr int kMiddleC = 6;  // treble clef

class AuditNtnIdxTest : public ::testing::Test {
protected:
  TMusicStaff staff;
  TStaffBuilder build{staff};
};

TEST_F(AuditNtnIdxTest, TieListFollowsTiedNotes) {
  build.Note(kMiddleC, kDurQuarter, kMaskTieOut);  // 1
  build.Note(kMiddleC).SetTieIn(true);             // 2
  TAuditNtnIdx idx(&staff, 2);
  ASSERT_EQ(idx.GetTieList().GetCount(), 1);
  TStaffTieEntry entry;
  ASSERT_TRUE(idx.GetTieList().GetEntry(0, entry));
  EXPECT_EQ(entry.GetPosition(), kMiddleC);
  EXPECT_EQ(entry.GetAccidental(), kAccNatural);  // what the running state gives the note
  EXPECT_FALSE(entry.GetMark());                  // a new note has TieDown set
  ASSERT_TRUE(idx.Next());
  EXPECT_EQ(idx.GetTieList().GetCount(), 0);
}

TEST_F(AuditNtnIdxTest, TiedNoteTakesTheAccidentalInForce) {
  build.Key(2);                                    // 1: F# and C#
  build.Note(kMiddleC, kDurQuarter, kMaskTieOut);  // 2: C sharp from the key
  build.Note(kMiddleC).SetTieIn(true);             // 3
  TAuditNtnIdx idx(&staff, 3);
  TStaffTieEntry entry;
  ASSERT_TRUE(idx.GetTieList().GetEntry(0, entry));
  EXPECT_EQ(entry.GetAccidental(), kAccSharp);
}

// Each later ending starts from the context at the first ending: a key change inside ending
// 1 does not reach ending 2.
TEST_F(AuditNtnIdxTest, LaterEndingStartsFromTheFirstEndingContext) {
  build.Bar(kBarMasterRepeatOpen);                   // 1
  build.Note(0, kDurQuarter, kMaskTieOut);           // 2: a tie pending at ending 1
  build.Ending({1});                                 // 3
  build.Note(0).SetTieIn(true);                      // 4
  build.Key(1);                                      // 5
  build.Note(0);                                     // 6
  build.Bar(kBarMasterRepeatClose);                  // 7
  build.Ending({2});                                 // 8
  build.Note(0);                                     // 9
  TAuditNtnIdx idx(&staff, 7);
  EXPECT_EQ(idx.GetRunningState().GetKeySigCount(), 1);
  EXPECT_EQ(idx.GetTieList().GetCount(), 0);
  idx.SetIndex(9);
  EXPECT_EQ(idx.GetRunningState().GetKeySigCount(), 0);
  EXPECT_EQ(idx.GetTieList().GetCount(), 1);  // the tie pending at ending 1 is back
  EXPECT_TRUE(idx.GetRunningState().IsFirstEndingSeen());
}

TEST_F(AuditNtnIdxTest, MasterRepeatOpenForgetsTheFirstEnding) {
  build.Ending({1});                 // 1
  build.Key(3);                      // 2
  build.Bar(kBarMasterRepeatOpen);   // 3
  build.Ending({2});                 // 4: no first ending in this repeat
  build.Note(0);                     // 5
  TAuditNtnIdx idx(&staff, 5);
  EXPECT_EQ(idx.GetRunningState().GetKeySigCount(), 3);
  EXPECT_FALSE(idx.GetRunningState().IsFirstEndingSeen());
}

// In item order with no jump taken, the Coda brings back the state saved at To Coda with the
// coda entered; what lies between (the part played before the jump) is dropped.
TEST_F(AuditNtnIdxTest, CodaBringsBackTheToCodaState) {
  build.Note(0, kDurQuarter, kMaskTieOut);  // 1
  build.Flow(kFlowToCoda);                  // 2
  build.Note(0).SetTieIn(true);             // 3
  build.Key(-3);                            // 4
  build.Flow(kFlowDCalCoda);                // 5
  build.Flow(kFlowCoda);                    // 6
  build.Note(0);                            // 7
  TAuditNtnIdx before(&staff, 2);
  TStaffContextState expected = before.GetRunningState();
  expected.SetFlowJumped();
  staff.GetItem(2)->ApplyToContext(expected);
  ASSERT_TRUE(expected.IsInCoda());

  TAuditNtnIdx idx(&staff, 6);
  EXPECT_EQ(idx.GetRunningState().GetKeySigCount(), -3);
  EXPECT_TRUE(idx.GetRunningState().HasFlowJumped());
  ASSERT_TRUE(idx.Next());
  EXPECT_TRUE(idx.GetRunningState() == expected);
  EXPECT_EQ(idx.GetTieList().GetCount(), 1);
}

TEST_F(AuditNtnIdxTest, GoingBackIsARestart) {
  build.Note(0, kDurQuarter, kMaskTieOut);  // 1
  build.Ending({1});                        // 2
  build.Key(2);                             // 3
  build.Note(0).SetTieIn(true);             // 4
  build.Bar();                              // 5
  build.Ending({2});                        // 6
  build.Note(1);                            // 7
  build.Note(2);                            // 8
  build.Bar();                              // 9
  build.Note(3);                            // 10
  for (int target = 0; target <= staff.GetLastIndex(); ++target) {
    SCOPED_TRACE(target);
    const TAuditNtnIdx fresh(&staff, target);
    TAuditNtnIdx idx(&staff, 10);
    EXPECT_EQ(idx.SetIndex(target), true);
    EXPECT_EQ(idx.GetIndex(), target);
    EXPECT_TRUE(idx.GetRunningState() == fresh.GetRunningState());
    EXPECT_EQ(idx.GetTieList().GetCount(), fresh.GetTieList().GetCount());
    EXPECT_EQ(idx.GetBarCount(true), fresh.GetBarCount(true));
    EXPECT_EQ(idx.GetLastBarLineIndex(), fresh.GetLastBarLineIndex());
  }
  TAuditNtnIdx idx(&staff, 4);
  ASSERT_TRUE(idx.Prev());
  EXPECT_EQ(idx.GetIndex(), 3);
  EXPECT_TRUE(idx.GetRunningState() == TAuditNtnIdx(&staff, 3).GetRunningState());
  EXPECT_FALSE(idx.SetIndex(99));
  EXPECT_EQ(idx.GetIndex(), staff.GetLastIndex());
}

TEST_F(AuditNtnIdxTest, CountsAndPositionsInTheBar) {
  build.TimeSig(3, 2);                     // 1
  build.Note(0).SetLyric(kLyricAlways);    // 2
  build.Note(0, kDurEighth);               // 3
  build.Bar().SetXBarCnt(true);            // 4
  build.MultiRest(3, 3, 2);                // 5
  build.Note(0, kDurHalf);                 // 6
  build.Note(0);                           // 7
  struct Case {
    int index;
    int ticksSinceBar;
    double beat;
    int bars;
    int barsNumbered;
    int syllables;
  };
  const Case cases[] = {
      {0, 0, 0.0, 0, 0, 0},     {2, 0, 0.0, 1, 1, 0},   {3, 192, 1.0, 1, 1, 1},
      {4, 288, 1.5, 1, 1, 2},   {5, 0, 0.0, 2, 1, 2},   {6, 576, 3.0, 4, 3, 2},
      {7, 576 + 384, 5.0, 4, 3, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.index);
    const TAuditNtnIdx idx(&staff, c.index);
    EXPECT_EQ(idx.GetTicksSinceBar(), c.ticksSinceBar);
    EXPECT_DOUBLE_EQ(idx.GetBeatPosition(), c.beat);
    EXPECT_EQ(idx.GetBarCount(true), c.bars);
    EXPECT_EQ(idx.GetBarCount(false), c.barsNumbered);
    EXPECT_EQ(idx.GetSyllableCount(), c.syllables);
  }
  TMusicScore score;
  score.SetStartingBar(5);
  const TAuditNtnIdx idx(&staff, 7);
  EXPECT_EQ(idx.GetBarNumber(&score), 4 + 5 - 1 - 1);
  EXPECT_EQ(idx.GetLastMultiBarRestIndex(), 5);
  int beats = 0;
  int exponent = 0;
  idx.GetTimeSig(beats, exponent);
  EXPECT_EQ(beats, 3);
  EXPECT_EQ(exponent, 2);
}

TEST_F(AuditNtnIdxTest, SplitVoiceSoundsUnderTheFollowingNotes) {
  auto high = std::make_unique<TMusicNote>(-3, kDurQuarter, 0, kAccNone);
  high->SetStemDir(kStemUp);
  auto low = std::make_unique<TMusicNote>(2, kDurHalf, 0, kAccNone);
  low->SetStemDir(kStemDown);
  build.Add(std::make_unique<TChordData>(std::move(high), std::move(low)));  // 1: quarter up over a half down
  build.Note(-3, kDurEighth);                          // 2
  build.Note(-3, kDurEighth);                          // 3
  build.Note(-3);                                      // 4
  build.Bar();                                         // 5
  build.Note(0);                                       // 6
  struct Case {
    int index;
    int ticks;
  };
  const Case cases[] = {{1, 0}, {2, 384}, {3, 384 - 96}, {4, 384 - 192}, {5, 0}, {7, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.index);
    const TAuditNtnIdx idx(&staff, c.index);
    EXPECT_EQ(idx.GetSplitVoiceTicks(), c.ticks);
    if (c.ticks > 0) {
      EXPECT_EQ(idx.GetSplitVoiceDirection(), 1);
    }
  }
}

TEST_F(AuditNtnIdxTest, RestChordStartsASplitVoice) {
  auto& restChord = build.Add(std::make_unique<TRestChord>(kDurQuarter, 0));  // 1
  auto part = std::make_unique<TMusicNote>(-2, kDurWhole, 0, kAccNone);
  ASSERT_TRUE(restChord.AttachNote(part));
  ASSERT_TRUE(restChord.HasTwoDurations());
  build.Rest();  // 2
  const TAuditNtnIdx idx(&staff, 3);
  EXPECT_EQ(idx.GetSplitVoiceTicks(), 768 - 192);
  EXPECT_EQ(idx.GetSplitVoiceDirection(), restChord.GetStemDir());
}

TEST_F(AuditNtnIdxTest, OpenGroupsByGraceFlag) {
  build.Note(0, kDurEighth).SetBeamState(kGroupFirst);               // 1
  build.Note(0, kDurEighth, kMaskGrace).SetTripletState(kGroupFirst);  // 2
  build.Note(0, kDurEighth).SetBeamState(kGroupEnd);                 // 3
  build.Rest(kDurEighth);                                             // 4: a rest takes no beam
  TAuditNtnIdx idx(&staff, 2);
  EXPECT_EQ(idx.GetOpenGroups(false), 1u);
  EXPECT_EQ(idx.GetOpenGroups(true), 0u);
  idx.SetIndex(3);
  EXPECT_EQ(idx.GetOpenGroups(true), 2u);
  idx.SetIndex(4);
  EXPECT_EQ(idx.GetOpenGroups(false), 0u);
  EXPECT_EQ(idx.GetOpenGroups(true), 2u);
}

TEST_F(AuditNtnIdxTest, ResetLoadsTheStaffInstrument) {
  staff.SetChannel(9);
  staff.SetDevice(3);
  staff.GetInstrument().SetTransposition(-12);
  build.Note(0);
  const TAuditNtnIdx idx(&staff, 2);
  EXPECT_EQ(idx.GetRunningState().GetChannel(), 9);
  EXPECT_EQ(idx.GetRunningState().GetPort(), 3);
  EXPECT_EQ(idx.GetRunningState().GetTransposition(), -12);
  EXPECT_EQ(idx.GetRunningState().GetWalkMode(), 1);
  EXPECT_EQ(idx.GetRunningState().GetSongPosition(), 192);
}

// A structure that sends play round forever (the Da Capo mark applied again after the coda
// turns repeats off, so To Coda jumps back to the Coda before it): the audit walk is one pass
// over the items and ends.
TEST_F(AuditNtnIdxTest, HostileJumpStructureEnds) {
  build.Flow(kFlowCoda);      // 1
  build.Note(0);              // 2
  build.Flow(kFlowDaCapo);    // 3
  build.Flow(kFlowToCoda);    // 4
  build.Note(1);              // 5
  TAuditNtnIdx idx(&staff);
  int steps = 0;
  while (idx.Next()) ++steps;
  EXPECT_EQ(steps, staff.GetLastIndex());
  EXPECT_EQ(idx.GetIndex(), staff.GetLastIndex());
}

}  // namespace
}  // namespace kvt
