#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "notation/items/item_cast.h"
#include "notation/items/key_data.h"
#include "notation/items/music_note.h"
#include "notation/staff/music_staff.h"
#include "notation/items/patch_data.h"
#include "notation/edits/staff_edits.h"
#include "notation/services/services.h"
#include "tests/notation/staff_edit_support.h"

namespace kvt {
namespace {

using test::Describe;
using test::Fill;
using test::PlayedPitches;

std::vector<int> Shifted(std::vector<int> pitches, int semitones) {
  for (int& p : pitches) p += semitones;
  return pitches;
}

struct TransposeCase {
  const char* name;
  const char* layout;
  int semitones;
  int steps;
  const char* after;
};

class TransposeTest : public testing::TestWithParam<TransposeCase> {};

TEST_P(TransposeTest, NotesSoundTransposedAndAreSpelledInTheNewKey) {
  const TransposeCase& c = GetParam();
  TMusicStaff staff;
  Fill(staff, c.layout);
  const std::vector<int> before = PlayedPitches(staff);
  Transpose(staff, c.semitones, c.steps, false, TServices());
  EXPECT_EQ(PlayedPitches(staff), Shifted(before, c.semitones));
  EXPECT_EQ(Describe(staff), c.after);
}

// Treble staff: position 6 is middle C, 5 D, 4 E, 3 F, 2 G, 1 A, 0 B.
INSTANTIATE_TEST_SUITE_P(
    Cases, TransposeTest,
    testing::Values(
        // By an interval on a staff without key signature: C D E up a tone is D E F#.
        TransposeCase{"UpATone", "n2@6 n2@5 n2@4", 2, 0, "| N5:192 N4:192 N3#:192 |5"},
        TransposeCase{"DownAMinorThird", "n2@6 n2@2", -3, 0, "| N8:192 N4:192 |5"},
        TransposeCase{"UpAnOctave", "n2@6 n2@3#", 12, 0, "| N-1:192 N-4#:192 |5"},
        // By key: G major up a tone is A major, its F sharp a G sharp, all implied by the key.
        TransposeCase{"KeyUpATone", "K1 n2@2 n2@1 n2@3", 2, 0, "| K3 N1:192 N0:192 N2:192 |5"},
        TransposeCase{"KeyDownAFifth", "K0 n2@6 n2@3", -7, 0, "| K-1 N10:192 N7:192 |5"},
        // C down a semitone: B major by default, C flat major when flats are preferred.
        TransposeCase{"PreferSharps", "K0 n2@6", -1, 0, "| K5 N7:192 |5"},
        TransposeCase{"PreferFlats", "K0 n2@6", -1, -1, "| K-7 N6:192 |5"},
        // A chromatic note keeps its own accidental in the new key.
        TransposeCase{"ChromaticNote", "K0 n2@3# n2@3n", 2, 0, "| K2 N2#:192 N2n:192 |5"}),
    [](const testing::TestParamInfo<TransposeCase>& info) { return info.param.name; });

TEST(StaffTransposeTest, KeepSoundingLowersEveryInstrumentTransposition) {
  TMusicStaff staff;
  staff.GetInstrument().SetTransposition(-3);
  auto* patch = new TPatchData();
  patch->GetInstrument().SetTransposition(5);
  staff.InsertItem(std::unique_ptr<TNotatedItem>(patch), 1);
  Fill(staff, "n2@6 n2@4");
  const std::vector<int> before = PlayedPitches(staff);
  Transpose(staff, 2, 0, true, TServices());
  EXPECT_EQ(staff.GetInstrument().GetTransposition(), -5);
  EXPECT_EQ(patch->GetInstrument().GetTransposition(), 3);
  EXPECT_EQ(PlayedPitches(staff), before);  // written a tone higher, sounding the same
}

TEST(StaffTransposeTest, HugeIntervalsKeepThePitchClass) {
  for (int semitones : {INT_MAX, INT_MIN, 100000, -99999}) {
    TMusicStaff staff;
    Fill(staff, "n2@6");
    Transpose(staff, semitones, 0, false, TServices());
    const std::vector<int> pitches = PlayedPitches(staff);
    ASSERT_EQ(pitches.size(), 1u);
    const int expectedClass = ((60 + semitones % 12) % 12 + 12) % 12;
    EXPECT_EQ(pitches[0] % 12, expectedClass) << semitones;
    EXPECT_GE(pitches[0], 0);
    EXPECT_LE(pitches[0], 127);
  }
}

TEST(StaffTransposeTest, FindUntransposableItem) {
  TMusicStaff staff;
  // A double-flat A (a G) up a semitone would need a triple flat on B.
  Fill(staff, "n2@6 n2@1 n2@5");
  ItemAs<TMusicNote>(staff.GetItem(2))->SetAccidental(kAccDoubleFlat);
  EXPECT_EQ(FindUntransposableItem(staff, 1, 0, 0), 2);
  EXPECT_EQ(FindUntransposableItem(staff, 1, 0, 2), 0);  // only items after `from`
  EXPECT_EQ(FindUntransposableItem(staff, 2, 0, 0), 0);  // A double flat up a tone: B double flat
  const std::string before = Describe(staff);
  FindUntransposableItem(staff, 1, 0, 0);
  EXPECT_EQ(Describe(staff), before);  // a test changes nothing
}

}  // namespace
}  // namespace kvt
