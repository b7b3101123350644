// AutoBeam over a whole staff gives exactly the staff that beaming each of its groups by
// itself through TStaffRange::Beam (with that edit's own audit) gives: the same items, group
// states, stems and audit repairs.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "notation/edits/staff_edits.h"
#include "notation/files/text/score_text_writer.h"
#include "notation/items/item_cast.h"
#include "notation/items/song_note.h"
#include "notation/staff/music_staff.h"
#include "notation/staff/staff_range.h"
#include "tests/notation/edits/auto_beam_support.h"
#include "tests/notation/staff_edit_support.h"

namespace kvt {
namespace {

using test::StaffText;

using test::Fill;

const TSongNote* SongAt(const TMusicStaff& staff, int i) {
  return ItemAs<TSongNote>(staff.GetItem(i));
}

// The layout, then the given ranges beamed one by one, as a user would have left them.
void Build(TMusicStaff& staff, const std::string& layout,
           const std::vector<std::pair<int, int>>& beams) {
  Fill(staff, layout);
  for (const auto& [from, to] : beams) TStaffRange(&staff, from, to).Beam(kGroupBeam);
}

// The beam groups of `after` (First to End, of one grace flag) whose First note was not
// beamed in `before`: plain groups first, then grace groups, each in staff order.
std::vector<std::pair<int, int>> NewGroups(const TMusicStaff& before, const TMusicStaff& after) {
  std::vector<std::pair<int, int>> plain;
  std::vector<std::pair<int, int>> grace;
  for (int i = 1; i < after.GetLastIndex(); ++i) {
    const TSongNote* note = SongAt(after, i);
    if (!note || note->GetBeamState() != kGroupFirst) continue;
    if (SongAt(before, i)->GetBeamState() != kGroupNone) continue;
    int end = i + 1;
    while (end < after.GetLastIndex()) {
      const TSongNote* next = SongAt(after, end);
      if (next && next->IsGrace() == note->IsGrace() && next->GetBeamState() == kGroupEnd) break;
      ++end;
    }
    (note->IsGrace() ? grace : plain).emplace_back(i, end);
  }
  plain.insert(plain.end(), grace.begin(), grace.end());
  return plain;
}

// AutoBeam on one copy; on the other, each group it made beamed by TStaffRange::Beam.
void ExpectSameAsBeamingEachGroup(const std::string& layout,
                                  const std::vector<std::pair<int, int>>& beams, bool dotted) {
  TMusicStaff automatic;
  Build(automatic, layout, beams);
  TMusicStaff byRange;
  Build(byRange, layout, beams);
  AutoBeam(automatic, dotted);
  const std::vector<std::pair<int, int>> groups = NewGroups(byRange, automatic);
  for (const auto& [from, to] : groups)
    EXPECT_TRUE(TStaffRange(&byRange, from, to).Beam(kGroupBeam)) << from << ".." << to;
  EXPECT_EQ(StaffText(automatic), StaffText(byRange));
}

struct TStaffCase {
  const char* name;
  const char* layout;
  std::vector<std::pair<int, int>> beams;  // beamed before AutoBeam
  bool dotted;
  int minGroups;  // the case is only worth its name when AutoBeam beams this many
};

class AutoBeamByRangeTest : public testing::TestWithParam<TStaffCase> {};

TEST_P(AutoBeamByRangeTest, SameStaffAsBeamingEachGroup) {
  const TStaffCase& c = GetParam();
  TMusicStaff before;
  Build(before, c.layout, c.beams);
  TMusicStaff after;
  Build(after, c.layout, c.beams);
  AutoBeam(after, c.dotted);
  EXPECT_GE(static_cast<int>(NewGroups(before, after).size()), c.minGroups);
  ExpectSameAsBeamingEachGroup(c.layout, c.beams, c.dotted);
}

INSTANTIATE_TEST_SUITE_P(
    Staves, AutoBeamByRangeTest,
    testing::Values(
        TStaffCase{"Beats", "n3@-3 n3@2 n4@5 n4@-6 n4 n4 n2 | n3@4 n3@6 n3 n3 n2 n2", {}, false, 4},
        TStaffCase{
            "DottedBeats", "T6/8 n3@-4 n3 n3@5 n4 n4 n3 n3 | n3. n4 n3 n3 n3 n3", {}, true, 3},
        TStaffCase{
            "RestsInsideBeats", "n4 r4 n4 n4 r3 n3 n3 r4 n4 | r3 n3 n4 r4 r4 n4", {}, false, 3},
        TStaffCase{
            "GraceNotes", "n4g n4g n3 n3 n3g n3g n3g n2 | n3 n5g n3 n4g n4g n4g", {}, false, 4},
        TStaffCase{"ExistingBeams",
                   "n4@2 n4@-5 n4 n4 n3 n3 n3 n3 | n4 n4 n4 n4 n3 n3",
                   {{2, 3}, {5, 7}, {10, 12}},
                   false,
                   1},
        TStaffCase{"TimeSignatureChanges",
                   "T3/4 n3 n3 n3 n3 n3 n3 | T2/4 n4 n4 n4 n4 n3 n3 | T6/8 n3 n3 n3 n3 n3 n3",
                   {},
                   true,
                   6},
        TStaffCase{"BarLinesMidBeat", "n3 n4 | n4 n3 n3 n3 | n2 n3 n4 | n4 n3 n3", {}, false, 2},
        TStaffCase{
            "TiesAndAccidentals", "n3#~ n3# n3b@2 n3@2 | n4n~ n4n n4 n4 K2 n3 n3", {}, false, 3}),
    [](const testing::TestParamInfo<TStaffCase>& info) { return info.param.name; });

// Random staves of every kind of item above, some with groups beamed beforehand.
TEST(AutoBeamByRangeTest, GeneratedStavesMatch) {
  std::mt19937 rng(16);
  for (int round = 0; round < 200; ++round) {
    const test::TRandomBeamStaff staff = test::RandomBeamStaff(rng, round, 40);
    SCOPED_TRACE(staff.layout);
    ExpectSameAsBeamingEachGroup(staff.layout, staff.beams, round % 2 == 0);
  }
}

}  // namespace
}  // namespace kvt
