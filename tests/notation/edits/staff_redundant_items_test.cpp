#include <gtest/gtest.h>

#include "notation/items/item_cast.h"
#include "notation/staff/music_staff.h"
#include "notation/edits/staff_edits.h"
#include "notation/items/tempo_data.h"
#include "tests/notation/staff_edit_support.h"

namespace kvt {
namespace {

using test::Describe;
using test::Fill;

struct RedundantCase {
  const char* name;
  const char* layout;
  const char* after;
};

class RedundantItemsTest : public testing::TestWithParam<RedundantCase> {};

TEST_P(RedundantItemsTest, RemovesWhatRepeatsTheContext) {
  const RedundantCase& c = GetParam();
  TMusicStaff staff;
  Fill(staff, c.layout);
  const int count = RemoveRedundantItems(staff);
  EXPECT_EQ(count, staff.GetItemCount());
  EXPECT_EQ(Describe(staff), c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RedundantItemsTest,
    testing::Values(
        RedundantCase{"TwoTemposWithoutNoteKeepTheLater", "Tempo100 Tempo90 n2",
                      "| Tempo90 N0:192 |5"},
        RedundantCase{"TempoEqualToTheOneInForceGoes", "Tempo100 n2 Tempo100 n2",
                      "| Tempo100 N0:192 N0:192 |5"},
        RedundantCase{"ChangedTempoStays", "Tempo100 n2 Tempo90 n2",
                      "| Tempo100 N0:192 Tempo90 N0:192 |5"},
        // The earlier of the run goes first, so the reference stays the tempo in force (not
        // the 90 that the later 100 replaced).
        RedundantCase{"RunEndingOnTheTempoInForce", "Tempo100 n2 Tempo90 Tempo100 n2",
                      "| Tempo100 N0:192 N0:192 |5"},
        RedundantCase{"TwoBarLinesKeepTheLater", "n2 | |1 n2", "| N0:192 |1 N0:192 |5"},
        RedundantCase{"KeysAndTimeSignatures", "K1 T3/4 n2 K1 T3/4 n2 K2 T3/4 n2",
                      "| K1 T3/4 N0:192 N0:192 K2 N0:192 |5"},
        // A bar line right after the opening one never removes the opening bar line.
        RedundantCase{"OpeningBarLineStays", "|8 n2", "| |8 N0:192 |5"},
        RedundantCase{"ClosingBarLineStays", "n2 |", "| N0:192 | |5"},
        // Bar lines that direct play are never merged away: a close and an open repeat in a
        // row (7 = local close, 6 = local open, 9/8 = master close/open), a bar line that an
        // ending or a jump follows. A plain bar line beside one of them goes.
        RedundantCase{"CloseThenOpenRepeatBothStay", "n2 |7 |6 n2",
                      "| N0:192 |7 |6 N0:192 |5"},
        RedundantCase{"MasterCloseThenOpenBothStay", "n2 |9 |8 n2",
                      "| N0:192 |9 |8 N0:192 |5"},
        RedundantCase{"PlainBarAfterARepeatGoes", "n2 |7 | n2", "| N0:192 |7 N0:192 |5"},
        RedundantCase{"PlainBarBeforeARepeatGoes", "n2 | |6 n2", "| N0:192 |6 N0:192 |5"},
        RedundantCase{"BarWithAnEndingStays", "n2 | E | n2", "| N0:192 | ?3 N0:192 |5"},
        RedundantCase{"BarWithAJumpStays", "n2 | DC | n2", "| N0:192 | ?12 N0:192 |5"},
        RedundantCase{"TwoReleasedPedalsKeepTheLater", "Ped+ n2 Ped- Ped- n2",
                      "| Ped+ N0:192 Ped- N0:192 |5"},
        RedundantCase{"TwoPedalsDownKeepTheLater", "Ped+ Ped+ n2", "| Ped+ N0:192 |5"},
        RedundantCase{"AlternatingPedalsStay", "Ped+ Ped- Ped+ n2",
                      "| Ped+ Ped- Ped+ N0:192 |5"}),
    [](const testing::TestParamInfo<RedundantCase>& info) { return info.param.name; });

TEST(RedundantItemsTest, TempoTextMakesTwoTemposDiffer) {
  TMusicStaff staff;
  Fill(staff, "Tempo100 n2 Tempo100 n2");
  ItemAs<TTempoData>(staff.GetItem(3))->SetText(u"Allegro");
  RemoveRedundantItems(staff);
  EXPECT_EQ(Describe(staff), "| Tempo100 N0:192 Tempo100 N0:192 |5");
}

}  // namespace
}  // namespace kvt
