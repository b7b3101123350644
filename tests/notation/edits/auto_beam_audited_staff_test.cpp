// On a staff audited just before, AutoBeamAuditedStaff (groups first, one audit at the end)
// leaves exactly the staff AutoBeam (an audit after every group) leaves.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "notation/audit/staff_audit.h"
#include "notation/edits/staff_edits.h"
#include "notation/files/text/score_text_writer.h"
#include "notation/staff/music_staff.h"
#include "notation/staff/staff_range.h"
#include "tests/notation/edits/auto_beam_support.h"
#include "tests/notation/staff_edit_support.h"

namespace kvt {
namespace {

using test::StaffText;

// The layout with the given ranges beamed, audited as a whole as the import leaves it.
void Build(TMusicStaff& staff, const std::string& layout,
           const std::vector<std::pair<int, int>>& beams) {
  test::Fill(staff, layout);
  for (const auto& [from, to] : beams) TStaffRange(&staff, from, to).Beam(kGroupBeam);
  AuditStaffRange(staff);
}

void ExpectSameStaff(const std::string& layout, const std::vector<std::pair<int, int>>& beams,
                     bool dotted) {
  TMusicStaff perGroup;
  Build(perGroup, layout, beams);
  TMusicStaff once;
  Build(once, layout, beams);
  AutoBeam(perGroup, dotted);
  AutoBeamAuditedStaff(once, dotted);
  EXPECT_EQ(StaffText(once), StaffText(perGroup));
}

TEST(AutoBeamAuditedStaffTest, BeamsAsAutoBeamDoes) {
  TMusicStaff staff;
  Build(staff, "n4 n4 n4 n4 n3 n3 n2 | n3 n3 n3 n3 n2", {});
  const std::string before = StaffText(staff);
  AutoBeamAuditedStaff(staff, false);
  EXPECT_NE(StaffText(staff), before);  // the cases below compare staves that did change
}

struct TLayoutCase {
  const char* name;
  const char* layout;
  std::vector<std::pair<int, int>> beams;
  bool dotted;
};

class AutoBeamAuditedStaffCases : public testing::TestWithParam<TLayoutCase> {};

TEST_P(AutoBeamAuditedStaffCases, SameStaffAsAuditingEachGroup) {
  const TLayoutCase& c = GetParam();
  ExpectSameStaff(c.layout, c.beams, c.dotted);
}

INSTANTIATE_TEST_SUITE_P(
    Staves, AutoBeamAuditedStaffCases,
    testing::Values(
        TLayoutCase{"Beats", "n3@-3 n3@2 n4@5 n4@-6 n4 n4 n2 | n3@4 n3@6 n3 n3 n2 n2", {}, false},
        TLayoutCase{"DottedBeats", "T6/8 n3@-4 n3 n3@5 n4 n4 n3 n3 | n3. n4 n3 n3 n3 n3", {}, true},
        TLayoutCase{"Rests", "n4 r4 n4 n4 r3 n3 n3 r4 n4 | r3 n3 n4 r4 r4 n4", {}, false},
        TLayoutCase{
            "GraceNotes", "n4g n4g n3 n3 n3g n3g n3g n2 | n3 n5g n3 n4g n4g n4g", {}, false},
        TLayoutCase{"ExistingBeams",
                    "n4@2 n4@-5 n4 n4 n3 n3 n3 n3 | n4 n4 n4 n4 n3 n3",
                    {{2, 3}, {5, 7}, {10, 12}},
                    false},
        TLayoutCase{"TimeSignatureChanges",
                    "T3/4 n3 n3 n3 n3 n3 n3 | T2/4 n4 n4 n4 n4 n3 n3 | T6/8 n3 n3 n3 n3 n3 n3",
                    {},
                    true},
        TLayoutCase{
            "TiesAndAccidentals", "n3#~ n3# n3b@2 n3@2 | n4n~ n4n n4 n4 K2 n3 n3", {}, false}),
    [](const testing::TestParamInfo<TLayoutCase>& info) { return info.param.name; });

// Random staves of grace notes, rests, ties, accidentals, keys, tempos and time-signature
// changes, some with groups beamed beforehand, long enough to reach past an audit's ten bars.
TEST(AutoBeamAuditedStaffTest, GeneratedStavesMatch) {
  std::mt19937 rng(61);
  for (int round = 0; round < 200; ++round) {
    const test::TRandomBeamStaff staff = test::RandomBeamStaff(rng, round, 120);
    SCOPED_TRACE(staff.layout);
    ExpectSameStaff(staff.layout, staff.beams, round % 2 == 0);
  }
}

}  // namespace
}  // namespace kvt
