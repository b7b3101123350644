// Play-order walks over staves built in code: repeats, endings and every flow jump, with the
// notes and tick times they visit, and the step budget that ends a structure that would send
// play round forever. The walk asks each item for the next index, then applies it, as the
// staff's play-order walks and the player do; the song position it ends with must agree with
// the staff's own walk.

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "notation/context/staff_context_state.h"
#include "tests/notation/staff_builder.h"

namespace kvt {
namespace {

using test::TStaffBuilder;

struct Visit {
  int label;      // the staff position of the note, which names it in the cases
  int32_t ticks;  // song position when it is reached
  friend bool operator==(const Visit&, const Visit&) = default;
};

std::ostream& operator<<(std::ostream& os, const Visit& v) {
  return os << "{" << v.label << " at " << v.ticks << "}";
}

// The notes reached in play order, and the song position at the end of the staff.
std::vector<Visit> WalkNotes(TMusicStaff& staff, int32_t& endTicks) {
  std::vector<Visit> visits;
  TStaffContextState state;
  int i = 0;
  for (int steps = 0; steps < 10000 && i >= 0 && i <= staff.GetLastIndex(); ++steps) {
    const TNotatedItem* item = staff.GetItem(i);
    if (item->GetType() == kItemNote)
      visits.push_back({item->GetStaffPos(), state.GetSongPosition()});
    const int next = item->GetNextPlayIndex(state, &staff, i);
    item->ApplyToContext(state);
    i = next;
  }
  endTicks = state.GetSongPosition();
  return visits;
}

struct Case {
  const char* name;
  std::function<void(TStaffBuilder&)> build;
  std::vector<int> labels;  // notes in play order; every note is a quarter
};

class PlayOrderWalkTest : public ::testing::TestWithParam<Case> {};

TEST_P(PlayOrderWalkTest, VisitsTheNotesInPlayOrder) {
  TMusicStaff staff;
  TStaffBuilder build(staff);
  GetParam().build(build);
  int32_t endTicks = 0;
  const std::vector<Visit> visits = WalkNotes(staff, endTicks);
  std::vector<Visit> expected;
  for (const int label : GetParam().labels)
    expected.push_back({label, static_cast<int32_t>(192 * expected.size())});
  EXPECT_EQ(visits, expected);
  EXPECT_EQ(endTicks, static_cast<int32_t>(192 * expected.size()));

  // The staff's own play-order walk reaches the end with the same song position.
  TStaffContextState state;
  ASSERT_TRUE(staff.GetPlayStateAt(staff.GetLastIndex(), state));
  EXPECT_EQ(state.GetSongPosition(), endTicks);
}

const Case kCases[] = {
    {"local repeat",
     [](TStaffBuilder& b) {
       b.Note(1);
       b.Bar(kBarLocalRepeatOpen);
       b.Note(2);
       b.Note(3);
       b.Bar(kBarLocalRepeatClose, 2);
       b.Note(4);
     },
     {1, 2, 3, 2, 3, 4}},
    {"local repeat three times",
     [](TStaffBuilder& b) {
       b.Note(1);
       b.Bar(kBarLocalRepeatOpen);
       b.Note(2);
       b.Bar(kBarLocalRepeatClose, 3);
       b.Note(3);
     },
     {1, 2, 2, 2, 3}},
    {"local repeat from the staff start",
     [](TStaffBuilder& b) {
       b.Note(1);
       b.Note(2);
       b.Bar(kBarLocalRepeatClose, 2);
       b.Note(3);
     },
     {1, 2, 1, 2, 3}},
    {"two local repeats in a row",
     [](TStaffBuilder& b) {
       b.Bar(kBarLocalRepeatOpen);
       b.Note(1);
       b.Bar(kBarLocalRepeatClose, 2);
       b.Note(2);
       b.Bar(kBarLocalRepeatClose, 2);
       b.Note(3);
     },
     {1, 1, 2, 2, 3}},
    {"master repeat with two endings",
     [](TStaffBuilder& b) {
       b.Bar(kBarMasterRepeatOpen);
       b.Note(1);
       b.Ending({1});
       b.Note(2);
       b.Bar(kBarMasterRepeatClose);
       b.Ending({2});
       b.Note(3);
     },
     {1, 2, 1, 3}},
    {"master repeat with three endings",
     [](TStaffBuilder& b) {
       b.Bar(kBarMasterRepeatOpen);
       b.Note(1);
       b.Ending({1});
       b.Note(2);
       b.Bar(kBarMasterRepeatClose);
       b.Ending({2});
       b.Note(3);
       b.Bar(kBarMasterRepeatClose);
       b.Ending({3});
       b.Note(4);
     },
     {1, 2, 1, 3, 1, 4}},
    {"ending of two passes skipped on the third",
     [](TStaffBuilder& b) {
       b.Bar(kBarMasterRepeatOpen);
       b.Note(1);
       b.Ending({1, 2});
       b.Note(2);
       b.Bar(kBarMasterRepeatClose);
       b.Ending({3});
       b.Note(3);
       b.Bar(kBarDouble);
       b.Note(4);
     },
     {1, 2, 1, 2, 1, 3, 4}},
    {"Da Capo",
     [](TStaffBuilder& b) {
       b.Note(1);
       b.Note(2);
       b.Flow(kFlowDaCapo);
       b.Note(3);
     },
     {1, 2, 1, 2, 3}},
    {"D.C. al Fine",
     [](TStaffBuilder& b) {
       b.Note(1);
       b.Flow(kFlowFine);
       b.Note(2);
       b.Flow(kFlowDCalFine);
       b.Note(3);
     },
     {1, 2, 1}},
    {"D.C. al Coda",
     [](TStaffBuilder& b) {
       b.Note(1);
       b.Flow(kFlowToCoda);
       b.Note(2);
       b.Flow(kFlowDCalCoda);
       b.Flow(kFlowCoda);
       b.Note(3);
     },
     {1, 2, 1, 3}},
    {"To Coda without a Coda goes on after the Da Capo mark",
     [](TStaffBuilder& b) {
       b.Note(1);
       b.Flow(kFlowToCoda);
       b.Note(2);
       b.Flow(kFlowDCalCoda);
       b.Note(3);
     },
     {1, 2, 1, 3}},
    {"Dal Segno",
     [](TStaffBuilder& b) {
       b.Note(1);
       b.Flow(kFlowSegno);
       b.Note(2);
       b.Flow(kFlowDalSegno);
       b.Note(3);
     },
     {1, 2, 2, 3}},
    {"D.S. al Fine",
     [](TStaffBuilder& b) {
       b.Note(1);
       b.Flow(kFlowSegno);
       b.Note(2);
       b.Flow(kFlowFine);
       b.Note(3);
       b.Flow(kFlowDSalFine);
       b.Note(4);
     },
     {1, 2, 3, 2}},
    {"D.S. al Coda",
     [](TStaffBuilder& b) {
       b.Note(1);
       b.Flow(kFlowSegno);
       b.Note(2);
       b.Flow(kFlowToCoda);
       b.Note(3);
       b.Flow(kFlowDSalCoda);
       b.Flow(kFlowCoda);
       b.Note(4);
     },
     {1, 2, 3, 2, 4}},
    {"Dal Segno without a Segno is ignored",
     [](TStaffBuilder& b) {
       b.Note(1);
       b.Flow(kFlowDalSegno);
       b.Note(2);
     },
     {1, 2}},
    {"master repeat not taken after a jump",
     [](TStaffBuilder& b) {
       b.Bar(kBarMasterRepeatOpen);
       b.Note(1);
       b.Bar(kBarMasterRepeatClose);
       b.Flow(kFlowDaCapo);
       b.Note(2);
     },
     {1, 1, 1, 2}},
    {"default ending after a jump",
     [](TStaffBuilder& b) {
       b.Bar(kBarMasterRepeatOpen);
       b.Note(1);
       b.Ending({1});
       b.Note(2);
       b.Bar(kBarMasterRepeatClose);
       b.Ending({2}).SetDefaultEnding(true);
       b.Note(3);
       b.Flow(kFlowDaCapo);
       b.Note(4);
     },
     {1, 2, 1, 3, 1, 3, 4}},
};

INSTANTIATE_TEST_SUITE_P(Cases, PlayOrderWalkTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& info) {
                           std::string name = info.param.name;
                           for (char& c : name)
                             if (!isalnum(static_cast<unsigned char>(c))) c = '_';
                           return name;
                         });

// Structures that send play round forever: after the coda a Da Capo mark that is passed over
// still marks a jump, which turns repeats off, so To Coda jumps back to the Coda before it.
// The staff's play-order walks stop at their step budget.
TEST(PlayOrderWalkBudgetTest, HostileStructuresEnd) {
  const std::function<void(TStaffBuilder&)> hostile[] = {
      [](TStaffBuilder& b) {
        b.Flow(kFlowCoda);
        b.Note(0);
        b.Flow(kFlowDaCapo);
        b.Flow(kFlowToCoda);
        b.Note(1);
      },
      [](TStaffBuilder& b) {
        b.Flow(kFlowSegno);
        b.Flow(kFlowCoda);
        b.Bar(kBarLocalRepeatOpen);
        b.Note(0);
        b.Bar(kBarLocalRepeatClose, 255);
        b.Flow(kFlowDSalCoda);
        b.Flow(kFlowToCoda);
        b.Note(1);
      },
  };
  for (const auto& fill : hostile) {
    TMusicStaff staff;
    TStaffBuilder build(staff);
    fill(build);
    TStaffContextState state;
    EXPECT_FALSE(staff.GetPlayStateAt(staff.GetLastIndex(), state));
    int clef = 0;
    int timeSig = 0;
    int key = 0;
    staff.FindContextItems(staff.GetLastIndex(), &clef, &timeSig, &key);
    EXPECT_EQ(clef, -1);
  }
}

}  // namespace
}  // namespace kvt
