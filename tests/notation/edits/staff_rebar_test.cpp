#include <gtest/gtest.h>

#include <memory>

#include "notation/items/item_cast.h"
#include "notation/items/music_note.h"
#include "notation/staff/music_staff.h"
#include "notation/items/rest_chord.h"
#include "notation/items/song_note.h"
#include "notation/edits/staff_edits.h"
#include "tests/notation/staff_edit_support.h"

namespace kvt {
namespace {

using test::Describe;
using test::Fill;

struct RebarCase {
  const char* name;
  const char* layout;
  bool pad;
  const char* after;
};

class RebarTest : public testing::TestWithParam<RebarCase> {};

TEST_P(RebarTest, BarsFollowTheTimeSignatures) {
  const RebarCase& c = GetParam();
  TMusicStaff staff;
  Fill(staff, c.layout);
  AutoInsertBarLines(staff, c.pad);
  EXPECT_EQ(Describe(staff, false), c.after);
}

// Which accidentals stay explicit is the accidental audit's business (tested with it); these
// cases compare the items without them.
INSTANTIATE_TEST_SUITE_P(
    Cases, RebarTest,
    testing::Values(
        RebarCase{"EightQuartersInFourFour", "n2 n2 n2 n2 n2 n2 n2 n2", false,
                  "| N0:192 N0:192 N0:192 N0:192 | N0:192 N0:192 N0:192 N0:192 |5"},
        RebarCase{"ThreeFour", "T3/4 n2 n2 n2 n2 n2 n2", false,
                  "| T3/4 N0:192 N0:192 N0:192 | N0:192 N0:192 N0:192 |5"},
        // A note across the bar end is split into tied pieces around the new bar line.
        RebarCase{"HalfNoteAcrossTheBar", "n2 n2 n2 n1 n2", false,
                  "| N0:192 N0:192 N0:192 N0:192~ | N0:192 N0:192 |5"},
        // A Single bar line inside a bar goes; the right one is inserted.
        RebarCase{"MisplacedSingleBarLine", "n2 n2 | n2 n2 n2", false,
                  "| N0:192 N0:192 N0:192 N0:192 | N0:192 |5"},
        // Any other style starts a bar where it stands (a pick-up before a repeat).
        RebarCase{"RepeatOpenStartsABar", "n2 |8 n2 n2 n2 n2 n2", false,
                  "| N0:192 |8 N0:192 N0:192 N0:192 N0:192 | N0:192 |5"},
        RebarCase{"PadTheLastBar", "n2 n2 n2 n2 n2", true,
                  "| N0:192 N0:192 N0:192 N0:192 | N0:192 R:576 |5"},
        RebarCase{"PadAfterAnExactBar", "n2 n2 n2 n2", true,
                  "| N0:192 N0:192 N0:192 N0:192 |5"},
        // A time signature inside a bar makes a bar line due at once.
        RebarCase{"TimeSignatureInsideABar", "n2 T2/4 n2 n2", false,
                  "| N0:192 T2/4 | N0:192 N0:192 |5"},
        // Grace notes take no time and stay before the note they lead to.
        RebarCase{"GraceNotes", "n1 n1 n3g n1", false,
                  "| N0:384 N0:384 | N0:0 N0:384 |5"}),
    [](const testing::TestParamInfo<RebarCase>& info) { return info.param.name; });

TEST(RebarTest, TripletsStayWhole) {
  TMusicStaff staff;
  Fill(staff, "n2 n2 n2 n3 n3 n3 n3 n2");
  for (int i = 4; i <= 6; ++i)
    ItemAs<TSongNote>(staff.GetItem(i))
        ->SetTripletState(i == 4 ? kGroupFirst : (i == 5 ? kGroupMiddle : kGroupEnd));
  // Three quarters and a triplet of eighths (192 ticks) fill the bar.
  AutoInsertBarLines(staff, false);
  EXPECT_EQ(Describe(staff, false),
            "| N0:192 N0:192 N0:192 N0:64 N0:64 N0:64 | N0:96 N0:192 |5");

  // The bar is full while a triplet is still open (a quarter-eighth-eighth-quarter triplet
  // across the bar end): the pass ends rather than cut the group.
  TMusicStaff open;
  Fill(open, "n2 n2 n2 n2 n3 n3 n2 n2");
  const int states[] = {kGroupFirst, kGroupMiddle, kGroupMiddle, kGroupEnd};
  for (int k = 0; k < 4; ++k) ItemAs<TSongNote>(open.GetItem(4 + k))->SetTripletState(states[k]);
  AutoInsertBarLines(open, false);
  EXPECT_EQ(Describe(open, false),
            "| N0:192 N0:192 N0:192 N0:128 N0:64 N0:64 N0:128 N0:192 |5");
}

TEST(RebarTest, ARestChordAcrossTheBarEndEndsThePass) {
  TMusicStaff staff;
  Fill(staff, "n2 n2 n2");
  auto restChord = std::make_unique<TRestChord>(kDurHalf, 0);
  auto part = std::make_unique<TMusicNote>(-2, kDurHalf, 0, kAccNone);
  ASSERT_TRUE(restChord->AttachNote(part));
  staff.InsertItem(std::move(restChord), staff.GetLastIndex());
  Fill(staff, "n2");
  AutoInsertBarLines(staff, false);
  EXPECT_EQ(Describe(staff, false), "| N0:192 N0:192 N0:192 RC:384 N0:192 |5");
}

}  // namespace
}  // namespace kvt
