#include "notation/items/item_cast.h"
#include "notation/staff/staff_utils.h"

#include <gtest/gtest.h>

#include <memory>

#include "notation/items/chord_data.h"
#include "notation/items/music_note.h"
#include "notation/items/rest_chord.h"
#include "notation/items/rest_note.h"
#include "notation/items/tempo_data.h"
#include "notation/items/time_signature_data.h"
#include "utils/precondition.h"

namespace kvt {
namespace {

struct BeatCase {
  int beats;
  int exponent;
  bool dotted;
  int bar;
  int beat;
};

TEST(StaffUtilsTest, BarAndBeatDurations) {
  const BeatCase cases[] = {
      {4, 2, false, 768, 192},   {3, 2, false, 576, 192}, {6, 3, false, 576, 96},
      {6, 3, true, 576, 288},    {9, 3, true, 864, 288},  {12, 3, true, 1152, 288},
      // 3/8 is not compound: one group of three is a single beat each.
      {3, 3, true, 288, 96},     {2, 1, false, 768, 384},
      // No beats: one beat, never a division by zero.
      {0, 2, false, 192, 192},   {-5, 2, true, 192, 192},
      // Exponents past the field are limited instead of shifting out of range.
      {4, 40, false, 4 * (768 >> 7), 768 >> 7}, {4, -1, false, 3072, 768},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.beats << "/" << c.exponent << " dotted " << c.dotted);
    EXPECT_EQ(GetBarDuration(c.beats, c.exponent), c.bar);
    EXPECT_EQ(GetBeatDuration(c.beats, c.exponent, c.dotted), c.beat);
  }
  TTimeSignatureData sig(6, 3);
  EXPECT_EQ(GetTimeSigBeatDuration(sig, true), 288);
  EXPECT_EQ(GetTimeSigBeatDuration(sig, false), 96);
}

TEST(StaffUtilsTest, ClampToIntervalRefusesAnEmptyInterval) {
  EXPECT_EQ(ClampToInterval(5, 1, 3), 3);
  EXPECT_EQ(ClampToInterval(-5, 1, 3), 1);
  EXPECT_EQ(ClampToInterval(2, 2, 2), 2);
  try {
    ClampToInterval(5, 3, 1);
    ADD_FAILURE() << "no precondition";
  } catch (const TPreconditionError& e) {
    EXPECT_EQ(e.Expression(), "lo <= hi");
  }
}

TEST(StaffUtilsTest, DurationTicksHalveFromTheWholeNote) {
  EXPECT_EQ(GetDurationTicks(0), 768);
  EXPECT_EQ(GetDurationTicks(2), 192);
  EXPECT_EQ(GetDurationTicks(6), 12);
  EXPECT_EQ(GetDurationTicks(7), 6);
  EXPECT_EQ(GetDurationTicks(-3), 768);
  EXPECT_EQ(GetDurationTicks(40), 0);
}

struct FitCase {
  int ticks;
  bool triplets;
  int fitted;
  int code;
  bool dotted;
  int triplet;
};

class FitTest : public testing::TestWithParam<FitCase> {};

TEST_P(FitTest, NoteTakesTheLongestCandidateNotAboveTheTicks) {
  const FitCase& c = GetParam();
  // Start from a double-dotted triplet so every field must be rewritten.
  TMusicNote note(0, kDur16th, kMaskDblDotted, kAccNone);
  note.SetTripletState(kGroupMiddle);
  EXPECT_EQ(SetItemDurationToFit(&note, c.ticks, c.triplets), c.fitted);
  EXPECT_EQ(note.GetDurationCode(), c.code);
  EXPECT_EQ(note.IsDotted(), c.dotted);
  EXPECT_FALSE(note.IsDblDotted());
  EXPECT_EQ(note.GetTripletState(), c.triplet);
  EXPECT_EQ(note.GetDuration(), c.fitted);
}

INSTANTIATE_TEST_SUITE_P(
    Candidates, FitTest,
    testing::Values(FitCase{2000, false, 1152, 0, true, kGroupNone},
                    FitCase{1152, true, 1152, 0, true, kGroupNone},
                    FitCase{1000, false, 768, 0, false, kGroupNone},
                    FitCase{700, false, 576, 1, true, kGroupNone},
                    // The whole-note triplet sits between the whole and the dotted half.
                    FitCase{600, true, 512, 0, false, kGroupFirst},
                    FitCase{600, false, 576, 1, true, kGroupNone},
                    FitCase{300, false, 288, 2, true, kGroupNone},
                    // The half-note triplet comes before the dotted quarter.
                    FitCase{300, true, 256, 1, false, kGroupFirst},
                    FitCase{270, true, 256, 1, false, kGroupFirst},
                    FitCase{200, false, 192, 2, false, kGroupNone},
                    FitCase{100, false, 96, 3, false, kGroupNone},
                    FitCase{20, false, 18, 6, true, kGroupNone},
                    FitCase{12, false, 12, 6, false, kGroupNone},
                    FitCase{10, true, 8, 6, false, kGroupFirst},
                    // Below the shortest candidate the item takes it: more than asked, so a
                    // splitting loop sees nothing left instead of spinning on the remainder.
                    FitCase{5, false, 12, 6, false, kGroupNone},
                    FitCase{0, true, 8, 6, false, kGroupFirst},
                    FitCase{-100, false, 12, 6, false, kGroupNone}));

TEST(StaffUtilsTest, FitGivesEveryChordMemberTheDuration) {
  TChordData chord(std::make_unique<TMusicNote>(0, kDurHalf, kMaskDotted, kAccNone),
                   std::make_unique<TMusicNote>(-2, kDurHalf, kMaskDotted, kAccNone));
  ASSERT_EQ(chord.GetMemberCount(), 2);
  EXPECT_EQ(SetItemDurationToFit(&chord, 200, false), 192);
  EXPECT_EQ(chord.GetDuration(), 192);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(chord.GetMember(i)->GetDurationCode(), kDurQuarter);
    EXPECT_FALSE(chord.GetMember(i)->IsDotted());
  }
}

TEST(StaffUtilsTest, FitDropsARestsExplicitLength) {
  TRestNote rest(kDurWhole, 0);
  rest.SetTickLength(3, 2);
  ASSERT_EQ(rest.GetDuration(), 576);
  EXPECT_EQ(SetItemDurationToFit(&rest, 400, false), 384);
  EXPECT_FALSE(rest.HasTickLength());
  EXPECT_EQ(rest.GetDuration(), 384);
}

TEST(StaffUtilsTest, FitLeavesItemsWithoutDurationAlone) {
  TTimeSignatureData sig(3, 2);
  EXPECT_EQ(SetItemDurationToFit(&sig, 384, false), 0);
  EXPECT_EQ(SetItemDurationToFit(nullptr, 384, false), 0);
}

TEST(StaffUtilsTest, TiedCopyOfANoteTiesTheSource) {
  TMusicNote note(3, kDurHalf, kMaskDotted, kAccFlat);
  note.SetStemDir(kStemDown);
  note.SetNoteHead(2);
  std::unique_ptr<TNotatedItem> copy = MakeTiedCopy(&note);
  ASSERT_EQ(copy->GetType(), kItemNote);
  auto* n = ItemAs<TMusicNote>(copy.get());
  EXPECT_EQ(n->GetStaffPos(), 3);
  EXPECT_EQ(n->GetAccidental(), kAccFlat);
  EXPECT_EQ(n->GetStemSetting(), kStemDown);
  EXPECT_EQ(n->GetHeadShape(), 2);
  EXPECT_EQ(n->GetDuration(), 192);
  EXPECT_FALSE(n->IsTieOut());  // the source was not tied
  EXPECT_TRUE(note.IsTieOut());
  EXPECT_TRUE(IsTied(&note));

  // A copy of a note that is tied already ties on in its turn.
  std::unique_ptr<TNotatedItem> second = MakeTiedCopy(&note);
  EXPECT_TRUE(ItemAs<TMusicNote>(second.get())->IsTieOut());
}

TEST(StaffUtilsTest, TiedCopyOfAChordCopiesEveryMember) {
  TChordData chord(std::make_unique<TMusicNote>(2, kDurWhole, 0, kAccNone),
                   std::make_unique<TMusicNote>(-1, kDurWhole, 0, kAccSharp));
  std::unique_ptr<TNotatedItem> copy = MakeTiedCopy(&chord);
  ASSERT_EQ(copy->GetType(), kItemChord);
  ASSERT_EQ(copy->GetMemberCount(), 2);
  EXPECT_EQ(copy->GetMember(0)->GetStaffPos(), 2);
  EXPECT_EQ(copy->GetMember(1)->GetStaffPos(), -1);
  EXPECT_EQ(copy->GetMember(1)->GetAccidental(), kAccSharp);
  EXPECT_TRUE(IsTied(&chord));
  EXPECT_EQ(chord.GetMember(0)->IsTieOut() && chord.GetMember(1)->IsTieOut(), true);
}

TEST(StaffUtilsTest, TiedCopyOfARestIsAQuarterRest) {
  TRestNote rest(kDurWhole, 0);
  rest.SetStemDir(kStemUp);
  std::unique_ptr<TNotatedItem> copy = MakeTiedCopy(&rest);
  ASSERT_EQ(copy->GetType(), kItemRest);
  EXPECT_EQ(ItemAs<TRestNote>(copy.get())->GetStemSetting(), kStemUp);
  EXPECT_EQ(copy->GetDuration(), 192);
}

TEST(StaffUtilsTest, TiedCopyOfAnythingElseIsBadNotation) {
  TTempoData tempo;
  TRestChord restChord(kDurQuarter, 0);
  for (TNotatedItem* item : {static_cast<TNotatedItem*>(&tempo),
                             static_cast<TNotatedItem*>(&restChord), static_cast<TNotatedItem*>(nullptr)}) {
    try {
      MakeTiedCopy(item);
      ADD_FAILURE() << "no precondition";
    } catch (const TPreconditionError& e) {
      EXPECT_EQ(e.Expression(), "Bad Notation");
    }
  }
}

TEST(StaffUtilsTest, TieAllTiesItemAndMembers) {
  TChordData chord(std::make_unique<TMusicNote>(2, kDurQuarter, 0, kAccNone),
                   std::make_unique<TMusicNote>(0, kDurQuarter, 0, kAccNone));
  EXPECT_EQ(TieAll(&chord), 2);
  EXPECT_TRUE(chord.GetMember(0)->IsTieOut());
  EXPECT_TRUE(chord.GetMember(1)->IsTieOut());
  TRestNote rest(kDurQuarter, 0);
  EXPECT_EQ(TieAll(&rest), 0);
  EXPECT_FALSE(rest.IsTieOut());
  EXPECT_EQ(TieAll(nullptr), 0);
}

TEST(StaffUtilsTest, ClefBasePositions) {
  EXPECT_EQ(GetClefBasePosition(kClefTreble), 29);
  EXPECT_EQ(GetClefBasePosition(kClefBass), 17);
  EXPECT_EQ(GetClefBasePosition(kClefDrum), 17);
  EXPECT_EQ(GetClefBasePosition(kClefAlto), 23);
  EXPECT_EQ(GetClefBasePosition(kClefTenor), 21);
}

struct SpellCase {
  int clef;
  int key;
  int pitch;
  int position;
  int accidental;
};

TEST(StaffUtilsTest, PitchToStaffPositionSpellsByKey) {
  const SpellCase cases[] = {
      {kClefTreble, 0, 60, 6, kAccNatural},   // middle C
      {kClefTreble, -2, 70, 0, kAccFlat},     // B flat
      {kClefTreble, 2, 70, 1, kAccSharp},     // A sharp
      {kClefBass, 0, 48, 1, kAccNatural},     // C below middle C, second space of bass
      {kClefTreble, 0, 61, 6, kAccSharp},     // C sharp
      {kClefTreble, -1, 68, 1, kAccFlat},     // A flat: the letter above, next group
      {kClefTreble, -6, 71, -1, kAccFlat},     // B as C flat
      {kClefTreble, -7, 64, 3, kAccFlat},     // E as F flat
      {kClefTreble, 6, 65, 4, kAccSharp},     // F as E sharp
      {kClefTreble, 7, 72, 0, kAccSharp},     // C as B sharp
      // Above 127 the pitch folds by whole octaves: 128 (G#) is spelled as 116.
      {kClefTreble, 0, 128, -26, kAccSharp},
      {kClefTreble, 0, 116, -26, kAccSharp},
      {kClefTreble, 0, 140, -26, kAccSharp},
  };
  for (const auto& c : cases) {
    int pos = 99;
    int acc = 99;
    PitchToStaffPosition(c.clef, c.key, c.pitch, pos, acc);
    EXPECT_EQ(pos, c.position) << "pitch " << c.pitch << " key " << c.key;
    EXPECT_EQ(acc, c.accidental) << "pitch " << c.pitch << " key " << c.key;
  }
}

TEST(StaffUtilsTest, NegativePitchIsABrokenPrecondition) {
  int pos = 0;
  int acc = 0;
  EXPECT_THROW(PitchToStaffPosition(kClefTreble, 0, -1, pos, acc), TPreconditionError);
}

TEST(StaffUtilsTest, MidiNoteNames) {
  EXPECT_EQ(GetMidiNoteName(60), "C 4");
  EXPECT_EQ(GetMidiNoteName(61), "C#4");
  EXPECT_EQ(GetMidiNoteName(69), "A 4");
  EXPECT_EQ(GetMidiNoteName(0), "C -1");
  EXPECT_EQ(GetMidiNoteName(127), "G 9");
  // Out of range pitches fold by octaves and keep their class.
  EXPECT_EQ(GetMidiNoteName(128), "G#8");
  EXPECT_EQ(GetMidiNoteName(-1), "B -1");

  std::string names;
  BuildMidiNoteNames(names);
  EXPECT_EQ(names.substr(0, 4), std::string("C -1", 4));
  EXPECT_EQ(names[4], '\0');
  EXPECT_EQ(names.back(), '\0');
  EXPECT_EQ(names[names.size() - 2], '\0');
  int zeros = 0;
  for (char ch : names) zeros += ch == '\0';
  EXPECT_EQ(zeros, 129);
  EXPECT_NE(names.find(std::string("A 4\0", 4)), std::string::npos);
}

TEST(StaffUtilsTest, AccidentalClearance) {
  struct Case {
    int first;
    int second;
    int clearance;
  };
  const Case cases[] = {
      {kAccNatural, kAccFlat, 6},      {kAccNatural, kAccNatural, 5},
      {kAccDoubleSharp, kAccDoubleSharp, 3}, {kAccFlat, kAccFlat, 6},
      {kAccSharp, kAccFlat, 7},        {kAccFlat, kAccSharp, 5},
      {kAccDoubleFlat, kAccDoubleSharp, 4}, {kAccSharp, kAccSharp, 6},
      {kAccDoubleSharp, kAccNatural, 5}, {kAccNone, kAccSharp, 3},
      {99, -4, 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(GetAccidentalClearance(c.first, c.second), c.clearance)
        << c.first << " over " << c.second;
}

}  // namespace
}  // namespace kvt
