#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "notation/items/chord_data.h"
#include "notation/items/item_cast.h"
#include "notation/items/music_note.h"
#include "notation/staff/music_staff.h"
#include "notation/audit/staff_audit.h"
#include "notation/edits/staff_edits.h"
#include "notation/services/services.h"
#include "tests/notation/staff_edit_support.h"

namespace kvt {
namespace {

using test::Describe;
using test::Fill;
using test::PlayedPitches;

struct AccidentalCase {
  const char* name;
  const char* layout;
  const char* explicitForm;  // after MakeAccidentalsExplicit
  const char* audited;       // after AuditAccidentals
};

class AccidentalEditsTest : public testing::TestWithParam<AccidentalCase> {};

TEST_P(AccidentalEditsTest, ExplicitThenAuditedKeepThePitches) {
  const AccidentalCase& c = GetParam();
  TMusicStaff staff;
  Fill(staff, c.layout);
  const std::vector<int> pitches = PlayedPitches(staff);
  MakeAccidentalsExplicit(staff);
  EXPECT_EQ(Describe(staff), c.explicitForm);
  EXPECT_EQ(PlayedPitches(staff), pitches);
  AuditAccidentals(staff);
  EXPECT_EQ(Describe(staff), c.audited);
  EXPECT_EQ(PlayedPitches(staff), pitches);
}

// Treble staff: position 3 is F, 2 G, 6 middle C.
INSTANTIATE_TEST_SUITE_P(
    Cases, AccidentalEditsTest,
    testing::Values(
        AccidentalCase{"KeySharpIsImplied", "K1 n2@3", "| K1 N3#:192 |5", "| K1 N3:192 |5"},
        AccidentalCase{"NaturalAgainstTheKeyStays", "K1 n2@3n", "| K1 N3n:192 |5",
                       "| K1 N3n:192 |5"},
        // The bar's sharp carries to the next F; the bar line cancels it.
        AccidentalCase{"SharpCarriesThroughTheBar", "n2@3# n2@3 | n2@3",
                       "| N3#:192 N3#:192 | N3n:192 |5", "| N3#:192 N3:192 | N3:192 |5"},
        // A repeated explicit sharp at the same place is dropped.
        AccidentalCase{"RepeatedSharpIsDropped", "n2@3# n2@3#", "| N3#:192 N3#:192 |5",
                       "| N3#:192 N3:192 |5"},
        // The same letter in another octave shows its accidental once more.
        AccidentalCase{"OtherOctaveShowsItAgain", "n2@3# n2@-4#",
                       "| N3#:192 N-4#:192 |5", "| N3#:192 N-4#:192 |5"},
        // A courtesy natural after the bar line is not needed in C.
        AccidentalCase{"NaturalAfterBarLineDropped", "n2@3# | n2@3n",
                       "| N3#:192 | N3n:192 |5", "| N3#:192 | N3:192 |5"}),
    [](const testing::TestParamInfo<AccidentalCase>& info) { return info.param.name; });

TEST(AccidentalEditsTest, TiedInNoteKeepsItsAccidentalAcrossTheBar) {
  TMusicStaff staff;
  Fill(staff, "n2@3#~ | n2@3");
  // What the staff audit marks: the second F continues the tie (and sounds F sharp).
  auto* second = ItemAs<TMusicNote>(staff.GetItem(3));
  second->SetTieIn(true);
  second->SetAutoAccidental(kAccSharp);
  const std::vector<int> pitches = PlayedPitches(staff);
  MakeAccidentalsExplicit(staff);
  EXPECT_EQ(second->GetAccidental(), kAccSharp);  // the tie's, not the bar's natural
  EXPECT_EQ(PlayedPitches(staff), pitches);
  AuditAccidentals(staff);
  EXPECT_EQ(PlayedPitches(staff), pitches);
  EXPECT_EQ(second->GetAccidental(), kAccNone);  // implied by the tie
  EXPECT_EQ(second->GetRawAccidental(), kAccSharp);
}

TEST(AccidentalEditsTest, FindSpellingConflict) {
  TMusicStaff staff;
  Fill(staff, "n2@3");
  // A chord of F and the F sharp an octave above is fine; E sharp with F (the same pitch)
  // is a conflict.
  staff.InsertItem(std::make_unique<TChordData>(std::make_unique<TMusicNote>(3, kDurQuarter, 0, kAccNatural),
                                                std::make_unique<TMusicNote>(-4, kDurQuarter, 0, kAccSharp)),
                   2);
  staff.InsertItem(std::make_unique<TChordData>(std::make_unique<TMusicNote>(4, kDurQuarter, 0, kAccSharp),
                                                std::make_unique<TMusicNote>(3, kDurQuarter, 0, kAccNatural)),
                   3);
  EXPECT_EQ(FindSpellingConflict(staff, 0), 3);
  EXPECT_EQ(FindSpellingConflict(staff, 3), 0);
  // Two members a semitone apart are fine once, not twice in a row.
  TMusicStaff cluster;
  cluster.InsertItem(std::make_unique<TChordData>(std::make_unique<TMusicNote>(4, kDurQuarter, 0, kAccNatural),
                                                  std::make_unique<TMusicNote>(3, kDurQuarter, 0, kAccNatural)),
                     1);
  EXPECT_EQ(FindSpellingConflict(cluster, 0), 0);
  auto flat = std::make_unique<TMusicNote>(2, kDurQuarter, 0, kAccFlat);
  ItemAs<TChordData>(cluster.GetItem(1))->AddNote(flat);  // E F Gb
  EXPECT_EQ(FindSpellingConflict(cluster, 0), 1);
}

TEST(AccidentalEditsTest, NormalizeChordsRespellsUnderTheKey) {
  TMusicStaff staff;
  // In F major a note written A sharp is respelled B flat (implied by the key).
  Fill(staff, "K-1 n2@1#");
  const std::vector<int> pitches = PlayedPitches(staff);
  NormalizeChords(staff);
  EXPECT_EQ(PlayedPitches(staff), pitches);
  EXPECT_EQ(Describe(staff), "| K-1 N0:192 |5");
}

}  // namespace
}  // namespace kvt

namespace kvt {
namespace {

// An F sharp tied over a bar line and a plain F after it in the next bar: every edit that
// rewrites accidentals keeps what each note sounds (a transposition moves all by its interval).
TEST(SoundingPitchEditsTest, EditsKeepTheSoundOfATieOverTheBar) {
  const struct {
    const char* name;
    void (*edit)(TMusicStaff&);
    int semitones;
  } cases[] = {
      {"audit accidentals", [](TMusicStaff& s) { AuditAccidentals(s); }, 0},
      {"explicit accidentals", [](TMusicStaff& s) { MakeAccidentalsExplicit(s); }, 0},
      {"transpose by nothing", [](TMusicStaff& s) { Transpose(s, 0, 0, false, TServices{}); }, 0},
      {"transpose a step up", [](TMusicStaff& s) { Transpose(s, 2, 1, false, TServices{}); }, 2},
      {"bar lines again", [](TMusicStaff& s) { AutoInsertBarLines(s, false); }, 0},
      {"normalize chords", [](TMusicStaff& s) { NormalizeChords(s); }, 0},
  };
  for (const auto& c : cases) {
    TMusicStaff staff;
    Fill(staff, "T2/4 n2@3 n2@3#~ | n2@3 n2@3 | n1@3");
    AuditStaffRange(staff);
    const std::vector<int> before = PlayedPitches(staff);
    ASSERT_EQ(before, (std::vector<int>{65, 66, 66, 65, 65})) << Describe(staff);
    c.edit(staff);
    std::vector<int> expected = before;
    for (int& p : expected) p += c.semitones;
    EXPECT_EQ(PlayedPitches(staff), expected) << c.name << ": " << Describe(staff);
  }
}

}  // namespace
}  // namespace kvt
