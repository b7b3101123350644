#include <gtest/gtest.h>

#include <memory>

#include "notation/items/music_note.h"
#include "notation/staff/music_staff.h"
#include "notation/items/rest_chord.h"
#include "notation/edits/staff_edits.h"
#include "utils/precondition.h"
#include "tests/notation/staff_edit_support.h"

namespace kvt {
namespace {

using test::Describe;
using test::Fill;

struct TiesCase {
  const char* layout;
  int ticks;
  const char* after;
};

TEST(DurationEditsTest, SetDurationWithTiesFillsTheTicks) {
  const TiesCase cases[] = {
      {"n2@3", 960, "| N3:768~ N3:192 |5"},
      {"n2@3", 576, "| N3:576 |5"},
      {"n2@3~", 960, "| N3:768~ N3:192~ |5"},  // the tie on stays with the last piece
      {"n2@3", 1000, "| N3:768~ N3:192~ N3:36 |5"},  // 4 ticks left over are dropped
      {"n2@3", 775, "| N3:768 |5"},  // a remainder below a sixty-fourth is dropped
      {"r2", 900, "| R:768 R:96 R:36 |5"},
      {"n2@3", 0, "| N3:12 |5"},  // nothing to fill: the shortest value
  };
  for (const auto& c : cases) {
    TMusicStaff staff;
    Fill(staff, c.layout);
    SetDurationWithTies(staff, 1, c.ticks);
    EXPECT_EQ(Describe(staff), c.after) << c.layout << " " << c.ticks;
  }
}

TEST(DurationEditsTest, SetDurationWithTiesPreconditions) {
  TMusicStaff staff;
  Fill(staff, "K1");
  try {
    SetDurationWithTies(staff, 1, 192);
    ADD_FAILURE();
  } catch (const TPreconditionError& e) {
    EXPECT_EQ(e.Expression(), "((TNotatedItem*) p)->IsSongNoteClass()");
  }
  EXPECT_THROW(SetDurationWithTies(staff, 50, 192), TPreconditionError);
}

TEST(DurationEditsTest, ARestChordContinuesWithRests) {
  TMusicStaff staff;
  auto restChord = std::make_unique<TRestChord>(kDurQuarter, 0);
  auto part = std::make_unique<TMusicNote>(-2, kDurQuarter, 0, kAccNone);
  ASSERT_TRUE(restChord->AttachNote(part));
  staff.InsertItem(std::move(restChord), 1);
  SetDurationWithTies(staff, 1, 384 + 192);
  EXPECT_EQ(Describe(staff), "| RC:576 |5");
  SetDurationWithTies(staff, 1, 768 + 192);
  EXPECT_EQ(Describe(staff), "| RC:768 R:192 |5");
}

TEST(DurationEditsTest, TiedRuns) {
  TMusicStaff staff;
  Fill(staff, "n2@3~ n1@3~ n2@3 n2@3 r2 r1");
  EXPECT_TRUE(CanContinueTied(staff, 1, 2));
  EXPECT_FALSE(CanContinueTied(staff, 3, 4));  // not tied
  EXPECT_FALSE(CanContinueTied(staff, 4, 5));  // a note and a rest
  EXPECT_TRUE(CanContinueTied(staff, 5, 6));   // rests run on
  EXPECT_FALSE(CanContinueTied(staff, 0, 1));
  EXPECT_EQ(GetTiedRunDuration(staff, 1), 192 + 384 + 192);
  EXPECT_EQ(GetTiedRunDuration(staff, 5), 576);
  CollapseTiedRun(staff, 1);
  EXPECT_EQ(Describe(staff), "| N3:192 N3:192 R:192 R:384 |5");
}

TEST(DurationEditsTest, TiedChordsNeedEveryMemberTied) {
  TMusicStaff staff;
  staff.InsertItem(std::make_unique<TChordData>(std::make_unique<TMusicNote>(4, kDurQuarter, kMaskTieOut, kAccNone),
                                                std::make_unique<TMusicNote>(2, kDurQuarter, 0, kAccNone)),
                   1);
  staff.InsertItem(std::make_unique<TChordData>(std::make_unique<TMusicNote>(4, kDurQuarter, 0, kAccNone),
                                                std::make_unique<TMusicNote>(2, kDurQuarter, 0, kAccNone)),
                   2);
  EXPECT_FALSE(CanContinueTied(staff, 1, 2));
  staff.GetItem(1)->GetMember(1)->SetNoteFlag(kFlagTieOut);
  EXPECT_TRUE(CanContinueTied(staff, 1, 2));
}

TEST(DurationEditsTest, SplitItemAtTime) {
  TMusicStaff staff;
  Fill(staff, "n2@3 n1@3");
  SplitItemAtTime(staff, 2, 192, 288);  // the half note from 192 to 576, split at 288
  EXPECT_EQ(Describe(staff), "| N3:192 N3:96~ N3:288 |5");
  SplitItemAtTime(staff, 1, 0, 192);  // ends right at the boundary: nothing to do
  SplitItemAtTime(staff, 1, 0, 0);
  EXPECT_EQ(Describe(staff), "| N3:192 N3:96~ N3:288 |5");
}

TEST(DurationEditsTest, NormalizeDurationsAlignsNotesWithBeats) {
  struct Case {
    const char* layout;
    int restLimit;
    const char* after;
  };
  const Case cases[] = {
      // An off-beat half note is split at the next beat.
      {"n3@3 n1@3 n3@3", 0, "| N3:96 N3:96~ N3:288 N3:96 |5"},
      // A tied run is collapsed and written again.
      {"n2@3~ n2@3~ n2@3", 0, "| N3:576 |5"},
      // A short note followed by rests takes the ticks to the next beat.
      {"n3@3 r3 n2@3", 200, "| N3:192 N3:192 |5"},
      {"n3@3 r3 n2@3", 50, "| N3:96 R:96 N3:192 |5"},
  };
  for (const auto& c : cases) {
    TMusicStaff staff;
    Fill(staff, c.layout);
    NormalizeDurations(staff, false, c.restLimit);
    EXPECT_EQ(Describe(staff), c.after) << c.layout;
  }
}

TEST(DurationEditsTest, ConsolidateBarRests) {
  struct Case {
    const char* layout;
    const char* after;
  };
  const Case cases[] = {
      // A 3/4 bar holding a half rest and a quarter rest becomes one whole rest of 576 ticks.
      {"T3/4 r1 r2 | n2 n2 n2", "| T3/4 R:576 | N0:192 N0:192 N0:192 |5"},
      {"r1 r1 | r0", "| R:768 | R:768 |5"},
      {"r1 n2 r2", "| R:384 N0:192 R:192 |5"},         // notes in the bar
      {"r1 r2", "| R:384 R:192 |5"},                   // does not fill the bar
      {"r1 x r1", "| R:384 ?17 R:384 |5"},             // rests apart
  };
  for (const auto& c : cases) {
    TMusicStaff staff;
    Fill(staff, c.layout);
    ConsolidateBarRests(staff);
    EXPECT_EQ(Describe(staff), c.after) << c.layout;
  }
}

TEST(DurationEditsTest, TruncateAtTime) {
  TMusicStaff staff;
  Fill(staff, "n2 n2 | n2 n2");
  TruncateAtTime(staff, 100);  // below a quarter: nothing
  EXPECT_EQ(staff.GetItemCount(), 7);
  TruncateAtTime(staff, 384);
  EXPECT_EQ(Describe(staff), "| N0:192 N0:192 |5");
  TruncateAtTime(staff, 192);
  EXPECT_EQ(Describe(staff), "| N0:192 |5");
  TruncateAtTime(staff, 100000);
  EXPECT_EQ(Describe(staff), "| N0:192 |5");
}

}  // namespace
}  // namespace kvt
