#include "notation/items/chord_data.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "tests/notation/note_events.h"

namespace kvt {
namespace {

// Treble positions: C4 6, D4 5, E4 4, F4 3, G4 2, A4 1, B4 0, C5 -1, D5 -2.
std::unique_ptr<TMusicNote> Note(int pos, int duration = kDurQuarter, uint16_t flags = 0,
                                 int stem = kStemAuto, int accidental = kAccNone) {
  auto note = std::make_unique<TMusicNote>(pos, duration, flags, accidental);
  note->SetStemDir(stem);
  return note;
}

// Adds the note, deleting it when the chord refuses it; returns whether it was added.
bool Add(TChordData& chord, std::unique_ptr<TMusicNote> note) { return chord.AddNote(note); }

std::vector<int> Positions(const TChordData& chord) {
  std::vector<int> out;
  for (int i = 0; i < chord.GetMemberCount(); ++i) {
    out.push_back(chord.GetMember(i)->GetStaffPos());
  }
  return out;
}

TEST(ChordDataTest, MembersSortFromTheLowestNote) {
  TChordData chord;
  ASSERT_TRUE(Add(chord, Note(4)));
  ASSERT_TRUE(Add(chord, Note(6)));
  ASSERT_TRUE(Add(chord, Note(-1)));
  ASSERT_TRUE(Add(chord, Note(2)));
  EXPECT_EQ(Positions(chord), (std::vector<int>{6, 4, 2, -1}));
  for (int i = 0; i < chord.GetMemberCount(); ++i) {
    EXPECT_TRUE(chord.GetMember(i)->IsChordMember());
  }
  EXPECT_EQ(chord.GetFirstNote(), chord.GetMember(0));
  EXPECT_EQ(chord.GetLastNote(), chord.GetMember(3));
  EXPECT_EQ(chord.GetTopPos(), -1);
  EXPECT_EQ(chord.GetBottomPos(), 6);
}

TEST(ChordDataTest, EmptyChord) {
  TChordData chord;
  EXPECT_EQ(chord.GetMemberCount(), 0);
  EXPECT_EQ(chord.GetMember(0), nullptr);
  EXPECT_EQ(chord.GetFirstNote(), nullptr);
  EXPECT_EQ(chord.GetStaffPos(), 0);
  EXPECT_EQ(chord.GetStemRootIndex(0), -1);
  EXPECT_EQ(chord.GetSecondDurationNote(), nullptr);
  std::unique_ptr<TMusicNote> none;
  EXPECT_FALSE(chord.AddNote(none));
  std::unique_ptr<TMusicNote> other = std::make_unique<TChordData>(Note(6), Note(4));
  EXPECT_FALSE(chord.AddNote(other));
  EXPECT_NE(other, nullptr);  // refused: still the caller's
  ASSERT_TRUE(Add(chord, Note(2)));
}

TEST(ChordDataTest, FirstNoteGivesTheChordItsSettings) {
  TChordData chord;
  std::unique_ptr<TMusicNote> firstNote =
      Note(3, kDurEighth, kMaskStaccato | kMaskSlur | kMaskDotted, kStemDown);
  TMusicNote* first = firstNote.get();
  first->SetBeamState(kGroupFirst);
  first->SetSlurDown(true);
  first->SetVisibility(kVisAlways);
  ASSERT_TRUE(Add(chord, std::move(firstNote)));
  EXPECT_EQ(chord.GetDurationCode(), kDurEighth);
  EXPECT_TRUE(chord.IsDotted());
  EXPECT_TRUE(chord.HasNoteFlag(kFlagStaccato));
  EXPECT_TRUE(chord.IsSlurOut());
  EXPECT_TRUE(chord.IsSlurDown());
  EXPECT_EQ(chord.GetBeamState(), kGroupFirst);
  EXPECT_EQ(chord.GetStemSetting(), kStemDown);
  EXPECT_EQ(chord.GetVisibility(), kVisAlways);
  // Update gives the stem-side member the chord's articulations and grouping back.
  EXPECT_TRUE(first->HasNoteFlag(kFlagStaccato));
  EXPECT_EQ(first->GetBeamState(), kGroupFirst);
}

TEST(ChordDataTest, SecondsTakeTwoHeadColumns) {
  // C, D and E in one voice: the D sits beside its neighbours.
  TChordData chord(Note(6), Note(5));
  ASSERT_TRUE(Add(chord, Note(4)));
  EXPECT_FALSE(chord.HasSplitStem());
  EXPECT_EQ(chord.GetHeadColumns(), 2);
  EXPECT_TRUE(chord.HasShiftedHeads(0));
  std::vector<int> shifts;
  for (int i = 0; i < 3; ++i) shifts.push_back(chord.GetMember(i)->GetHeadShift());
  EXPECT_EQ(shifts, (std::vector<int>{0, 1, 0}));  // stem up: the D to the right

  TChordData down(Note(-1, kDurQuarter, 0, kStemDown), Note(-2, kDurQuarter, 0, kStemDown));
  ASSERT_TRUE(Add(down, Note(-3, kDurQuarter, 0, kStemDown)));
  shifts.clear();
  for (int i = 0; i < 3; ++i) shifts.push_back(down.GetMember(i)->GetHeadShift());
  EXPECT_EQ(shifts, (std::vector<int>{1, 0, 1}));  // stem down: the D to the left
  EXPECT_EQ(down.GetHeadColumns(), 2);
}

TEST(ChordDataTest, ThirdsShareOneColumn) {
  TChordData chord(Note(6), Note(4));
  ASSERT_TRUE(Add(chord, Note(2)));
  EXPECT_EQ(chord.GetHeadColumns(), 1);
  EXPECT_FALSE(chord.HasShiftedHeads(0));
}

TEST(ChordDataTest, AnotherDurationSplitsTheStemsAndAThirdIsRefused) {
  TChordData chord(Note(6, kDurHalf), Note(4, kDurHalf));
  ASSERT_FALSE(chord.HasSplitStem());
  // A quarter above the chord: the upper voice, stem up, and the chord stands for it.
  ASSERT_TRUE(Add(chord, Note(1, kDurQuarter)));
  EXPECT_TRUE(chord.HasSplitStem());
  EXPECT_TRUE(chord.HasTwoDurations());
  EXPECT_EQ(chord.GetMember(0)->GetStemSetting(), kStemDown);
  EXPECT_EQ(chord.GetMember(1)->GetStemSetting(), kStemDown);
  EXPECT_EQ(chord.GetMember(2)->GetStemSetting(), kStemUp);
  EXPECT_EQ(chord.GetStemSetting(), kStemUp);
  EXPECT_EQ(chord.GetDurationCode(), kDurQuarter);
  EXPECT_EQ(chord.GetSecondDurationNote(), chord.GetMember(0));
  EXPECT_EQ(chord.GetStemRootIndex(-1), 1);
  EXPECT_EQ(chord.GetStemRootIndex(1), 2);
  // An eighth is a third duration.
  EXPECT_FALSE(Add(chord, Note(-2, kDurEighth)));
  EXPECT_EQ(chord.GetMemberCount(), 3);
  // Each voice takes notes of its own duration on its own side only.
  EXPECT_TRUE(Add(chord, Note(-1, kDurQuarter)));
  EXPECT_TRUE(Add(chord, Note(8, kDurHalf)));
  EXPECT_FALSE(Add(chord, Note(-3, kDurHalf)));   // a lower-voice note above the upper voice
  EXPECT_FALSE(Add(chord, Note(7, kDurQuarter, 0, kStemUp)));  // upper voice below the lower
  EXPECT_EQ(Positions(chord), (std::vector<int>{8, 6, 4, 1, -1}));
}

// Regression: taking the shorter note's beam state used to re-run the layout before the note
// was in, which gave the lone member the new stem and undid the split.
TEST(ChordDataTest, ShorterSecondNoteSplitsAOneNoteChord) {
  TChordData chord(Note(6, kDurHalf), nullptr);
  ASSERT_TRUE(Add(chord, Note(1, kDurQuarter)));
  EXPECT_TRUE(chord.HasSplitStem());
  EXPECT_EQ(chord.GetMember(0)->GetStemSetting(), kStemDown);
  EXPECT_EQ(chord.GetMember(1)->GetStemSetting(), kStemUp);
  EXPECT_EQ(chord.GetDurationCode(), kDurQuarter);
}

TEST(ChordDataTest, MiddleNoteOfAnotherDurationIsRefused) {
  TChordData chord(Note(6), Note(2));
  EXPECT_FALSE(Add(chord, Note(4, kDurHalf)));
  EXPECT_FALSE(chord.HasSplitStem());
  EXPECT_EQ(chord.GetMemberCount(), 2);
}

TEST(ChordDataTest, Unisons) {
  {
    TChordData chord(Note(6), Note(4));
    ASSERT_TRUE(Add(chord, Note(2)));
    EXPECT_FALSE(Add(chord, Note(4)));  // with the middle member
    EXPECT_FALSE(Add(chord, Note(6, kDurQuarter, 0, kStemUp)));
    EXPECT_FALSE(Add(chord, Note(2, kDurQuarter, 0, kStemDown)));
    EXPECT_EQ(chord.GetMemberCount(), 3);
  }
  {
    // A unison with the lowest member goes to a down stem beneath the others.
    TChordData chord(Note(6), Note(4));
    ASSERT_TRUE(Add(chord, Note(6)));
    EXPECT_TRUE(chord.HasSplitStem());
    EXPECT_EQ(chord.GetMember(0)->GetStemSetting(), kStemDown);
    EXPECT_EQ(chord.GetMember(1)->GetStemSetting(), kStemUp);
    EXPECT_EQ(chord.GetMember(2)->GetStemSetting(), kStemUp);
    EXPECT_EQ(Positions(chord), (std::vector<int>{6, 6, 4}));
    // A third note at that position would match one of the two stems.
    EXPECT_FALSE(Add(chord, Note(6)));
  }
  {
    TChordData chord(Note(6), Note(4));
    ASSERT_TRUE(Add(chord, Note(4)));
    EXPECT_EQ(chord.GetMember(2)->GetStemSetting(), kStemUp);
    EXPECT_EQ(chord.GetMember(0)->GetStemSetting(), kStemDown);
  }
}

TEST(ChordDataTest, StaffPositionIsTheMiddleOfTheExtent) {
  struct Case {
    int low, high, middle;
  };
  const Case cases[] = {{4, -2, 1}, {2, -6, -3}, {6, 2, 4}, {0, -1, -1}, {3, 0, 2}, {1, -4, -2}};
  for (const auto& c : cases) {
    TChordData chord(Note(c.low), Note(c.high));
    EXPECT_EQ(chord.GetStaffPos(), c.middle) << c.low << ".." << c.high;
  }
}

TEST(ChordDataTest, AutomaticStemFollowsTheFarthestMember) {
  TChordData low(Note(6), Note(2));  // below the middle: stem up
  EXPECT_EQ(low.GetMember(0)->GetStemDir(), 1);
  EXPECT_EQ(low.TMusicNote::GetStaffPos(), 6);
  TChordData high(Note(-6), Note(-2));
  EXPECT_EQ(high.GetMember(0)->GetStemDir(), -1);
  TChordData even(Note(3), Note(-3));  // a tie goes to the highest member: stem down
  EXPECT_EQ(even.GetMember(0)->GetStemDir(), -1);
}

TEST(ChordDataTest, UpdatePushesSettingsToMembers) {
  TChordData chord(Note(6, kDurQuarter, kMaskAccent), Note(2, kDurQuarter, kMaskTenuto));
  chord.SetNoteFlag(kFlagStaccato);
  chord.SetMuted(true);
  chord.SetVisibility(kVisNever);
  chord.SetLyric(kLyricNever);
  chord.Update();
  for (int i = 0; i < 2; ++i) {
    const TMusicNote* m = chord.GetMember(i);
    EXPECT_TRUE(m->IsMuted());
    EXPECT_EQ(m->GetVisibility(), kVisNever);
    EXPECT_EQ(m->GetLyric(), kLyricNever);
    EXPECT_TRUE(m->HasNoteFlag(kFlagStaccato));
    EXPECT_TRUE(m->HasNoteFlag(kFlagAccent));
    EXPECT_FALSE(m->HasNoteFlag(kFlagTenuto));  // the second note's own mark was not the chord's
  }
  chord.SetBeamState(kGroupMiddle);
  EXPECT_EQ(chord.GetMember(1)->GetBeamState(), kGroupMiddle);
}

TEST(ChordDataTest, TiesCurveAwayFromTheMiddle) {
  TChordData chord(Note(6, kDurQuarter, kMaskTieOut), Note(4, kDurQuarter, kMaskTieOut));
  ASSERT_TRUE(Add(chord, Note(2, kDurQuarter, kMaskTieOut)));
  ASSERT_TRUE(Add(chord, Note(0, kDurQuarter, kMaskTieOut)));
  EXPECT_TRUE(chord.IsTieOut());
  std::vector<bool> down;
  for (int i = 0; i < 4; ++i) down.push_back(chord.GetMember(i)->IsTieDown());
  EXPECT_EQ(down, (std::vector<bool>{true, true, false, false}));
}

TEST(ChordDataTest, SingleTiedMemberTiesAwayFromTheStem) {
  TChordData up(Note(6, kDurQuarter, kMaskTieOut), Note(2));  // stem up
  EXPECT_TRUE(up.GetMember(0)->IsTieDown());
  TChordData down(Note(-2, kDurQuarter, kMaskTieOut), Note(-6));  // stem down
  EXPECT_FALSE(down.GetMember(0)->IsTieDown());
}

TEST(ChordDataTest, RemoveNoteHandsTheNoteBack) {
  TChordData chord(Note(6, kDurHalf), Note(4, kDurHalf));
  std::unique_ptr<TMusicNote> upperNote = Note(1, kDurQuarter);
  TMusicNote* upper = upperNote.get();
  ASSERT_TRUE(Add(chord, std::move(upperNote)));
  TMusicNote stranger(0, kDurQuarter, 0, kAccNone);
  EXPECT_EQ(chord.RemoveNote(&stranger), nullptr);
  std::unique_ptr<TMusicNote> owned = chord.RemoveNote(upper);
  ASSERT_EQ(owned.get(), upper);
  EXPECT_FALSE(upper->IsChordMember());
  EXPECT_EQ(upper->GetHeadShift(), 0);
  EXPECT_FALSE(chord.HasSplitStem());
  EXPECT_EQ(chord.GetStemSetting(), kStemDown);
  EXPECT_FALSE(chord.GetArticulationsOnStem());
  EXPECT_EQ(chord.GetMemberCount(), 2);
}

TEST(ChordDataTest, ApplyToContextRecordsEveryAccidentalAndAdvancesOnce) {
  TChordData chord(Note(6, kDurQuarter, 0, kStemAuto, kAccSharp),
                   Note(3, kDurQuarter, 0, kStemAuto, kAccFlat));
  TStaffContextState state;
  chord.ApplyToContext(state);
  EXPECT_EQ(state.GetSongPosition(), 192);
  EXPECT_EQ(state.GetRunningAccidental(2), kAccSharp);  // C
  EXPECT_EQ(state.GetRunningAccidental(5), kAccFlat);   // F
}

TEST(ChordDataTest, PerformSoundsEveryMember) {
  TChordData chord(Note(6), Note(4));
  ASSERT_TRUE(Add(chord, Note(2)));
  TStaffContextState state;
  TMidiFileBuf buffer;
  chord.Perform(state, &buffer);
  const std::vector<test::TNoteEvent> expected = {
      {0, true, 60, 110},    {0, true, 64, 110},    {0, true, 67, 110},
      {160, false, 60, 0},   {160, false, 64, 0},   {160, false, 67, 0}};
  EXPECT_EQ(test::NoteEvents(buffer), expected);
}

TEST(ChordDataTest, MutedChordPerformsNothingEvenWithUnmutedMembers) {
  TChordData chord(Note(6), Note(4));
  chord.SetMuted(true);
  chord.GetMember(0)->SetMuted(false);
  TStaffContextState state;
  TMidiFileBuf buffer;
  chord.Perform(state, &buffer);
  EXPECT_EQ(buffer.GetEventCount(), 0);
}

TEST(ChordDataTest, MutedChordStillEndsTheTiesRunningIntoIt) {
  TChordData first(Note(6, kDurQuarter, kMaskTieOut), Note(4));
  TChordData second(Note(6), Note(4));
  second.GetMember(0)->SetTieIn(true);
  second.SetMuted(true);
  second.Update();
  second.GetMember(0)->SetTieIn(true);
  TStaffContextState state;
  TMidiFileBuf buffer;
  test::Walk({&first, &second}, state, buffer);
  const std::vector<test::TNoteEvent> expected = {
      {0, true, 60, 110}, {0, true, 64, 110}, {160, false, 64, 0}, {192, false, 60, 0}};
  EXPECT_EQ(test::NoteEvents(buffer), expected);
}

TEST(ChordDataTest, RespellingApartTwoNotesThatMeet) {
  // G sharp and A flat sound alike; in a one-flat key both respell to A flat, and A flat can
  // move neither up (past double flat) nor, with the same accidental, down.
  TStaffContextState state;
  state.SetKey(1 << 1, 0, 5);
  TChordData two(Note(2, kDurQuarter, 0, kStemAuto, kAccSharp),
                 Note(1, kDurQuarter, 0, kStemAuto, kAccFlat));
  two.Respell(state);
  ASSERT_EQ(two.GetMemberCount(), 2);
  EXPECT_EQ(Positions(two), (std::vector<int>{1, 1}));
  EXPECT_TRUE(two.HasSplitStem());
  EXPECT_EQ(two.GetMember(0)->GetStemSetting(), kStemDown);
  EXPECT_EQ(two.GetMember(1)->GetStemSetting(), kStemUp);

  TChordData three(Note(2, kDurQuarter, 0, kStemAuto, kAccSharp),
                   Note(1, kDurQuarter, 0, kStemAuto, kAccFlat));
  ASSERT_TRUE(Add(three, Note(-1, kDurQuarter, 0, kStemAuto, kAccNatural)));
  three.Respell(state);
  EXPECT_EQ(Positions(three), (std::vector<int>{1, -1}));  // the later A flat is dropped
}

TEST(ChordDataTest, RespellingMovesAClashingNoteToTheLetterAbove) {
  // C and C sharp: after respelling with sharps both stand on C; the C sharp becomes D flat.
  TStaffContextState state;
  TChordData chord(Note(6, kDurQuarter, 0, kStemAuto, kAccNatural),
                   Note(5, kDurQuarter, 0, kStemAuto, kAccFlat));  // D flat
  chord.Respell(state);
  ASSERT_EQ(chord.GetMemberCount(), 2);
  EXPECT_EQ(chord.GetMember(0)->GetPitch(state), 60);
  EXPECT_EQ(chord.GetMember(1)->GetPitch(state), 61);
  EXPECT_NE(chord.GetMember(0)->GetStaffPos(), chord.GetMember(1)->GetStaffPos());
}

TEST(ChordDataTest, TransposeMovesEveryMember) {
  TStaffContextState state;
  TChordData chord(Note(6, kDurQuarter, 0, kStemAuto, kAccNatural),
                   Note(4, kDurQuarter, 0, kStemAuto, kAccNatural));
  EXPECT_TRUE(chord.Transpose(state, 2, -1, true));
  EXPECT_EQ(Positions(chord), (std::vector<int>{6, 4}));
  EXPECT_TRUE(chord.Transpose(state, 2, -1, false));
  EXPECT_EQ(Positions(chord), (std::vector<int>{5, 3}));
  EXPECT_EQ(chord.GetMember(1)->GetPitch(state), 66);  // F sharp
  EXPECT_FALSE(chord.Transpose(state, 6, -1, false));
  EXPECT_EQ(chord.GetMember(0)->GetPitch(state), 68);
  EXPECT_EQ(chord.GetMember(1)->GetPitch(state), 72);
}

TEST(ChordDataTest, AssignToAChordRelaysItsMembers) {
  TChordData chord(Note(6), Note(4));
  TMusicNote settings(0, kDurEighth, kMaskStaccato, kAccNone);
  settings.SetMuted(true);
  chord.Assign(settings);
  EXPECT_TRUE(chord.GetMember(0)->IsMuted());
  EXPECT_TRUE(chord.GetMember(1)->HasNoteFlag(kFlagStaccato));
}

}  // namespace
}  // namespace kvt
