#include <gtest/gtest.h>

#include <string>

#include "notation/items/item_cast.h"
#include "notation/staff/music_staff.h"
#include "notation/items/song_note.h"
#include "notation/edits/staff_edits.h"
#include "notation/staff/staff_range.h"
#include "tests/notation/staff_edit_support.h"

namespace kvt {
namespace {

using test::Fill;

TSongNote* SongAt(const TMusicStaff& staff, int i) {
  return ItemAs<TSongNote>(staff.GetItem(i));
}

// One letter per song note: its beam state ("-" none, "F" first, "M" middle, "E" end).
std::string BeamStates(const TMusicStaff& staff) {
  std::string text;
  for (int i = 1; i < staff.GetLastIndex(); ++i) {
    if (!staff.GetItem(i)->IsSongNoteClass()) continue;
    text += "-FME"[SongAt(staff, i)->GetBeamState()];
  }
  return text;
}

struct AutoBeamCase {
  const char* name;
  const char* layout;
  bool dottedBeats;
  const char* states;
};

class AutoBeamTest : public testing::TestWithParam<AutoBeamCase> {};

TEST_P(AutoBeamTest, BeamsEachBeat) {
  const AutoBeamCase& c = GetParam();
  TMusicStaff staff;
  Fill(staff, c.layout);
  AutoBeam(staff, c.dottedBeats);
  EXPECT_EQ(BeamStates(staff), c.states);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AutoBeamTest,
    testing::Values(
        AutoBeamCase{"EighthsInPairs", "n3 n3 n3 n3 n3 n3 n3 n3", false, "FEFEFEFE"},
        AutoBeamCase{"SixteenthsInFours", "n4 n4 n4 n4 n2", false, "FMME-"},
        AutoBeamCase{"QuartersStayAlone", "n2 n2 n3 n3", false, "--FE"},
        AutoBeamCase{"RestInsideABeat", "n4 r4 n3", false, "F-E"},
        AutoBeamCase{"SixEightByDottedBeats", "T6/8 n3 n3 n3 n3 n3 n3", true, "FMEFME"},
        AutoBeamCase{"SixEightByEighths", "T6/8 n3 n3 n3 n3 n3 n3", false, "------"},
        // An eighth across the beat belongs to neither beat.
        AutoBeamCase{"SyncopatedEighth", "n3 n2 n3", false, "---"},
        AutoBeamCase{"BarLineRestartsTheBeat", "n3 | n3 n3", false, "-FE"},
        AutoBeamCase{"GraceNotesBeamedApart", "n4g n4g n2 n3g", false, "FE--"}),
    [](const testing::TestParamInfo<AutoBeamCase>& info) { return info.param.name; });

TEST(GroupEditsTest, UngroupClearsFromFirstToEnd) {
  TMusicStaff staff;
  Fill(staff, "n3 n3 n3 n3 n3");
  ASSERT_TRUE(TStaffRange(&staff, 1, 3).Beam(kGroupBeam));
  ASSERT_TRUE(TStaffRange(&staff, 4, 5).Beam(kGroupBeam));
  EXPECT_TRUE(Ungroup(staff, kGroupBeam, 3));
  EXPECT_EQ(BeamStates(staff), "---FE");
  EXPECT_FALSE(Ungroup(staff, kGroupBeam, 1));
  EXPECT_FALSE(Ungroup(staff, kGroupTriplet, 4));
  EXPECT_FALSE(Ungroup(staff, kGroupBeam, 0));
}

TEST(GroupEditsTest, UngroupOfADamagedGroupStaysInsideIt) {
  TMusicStaff staff;
  Fill(staff, "n3 n3 n3 n3");
  // Middle, Middle, then a separate First/End pair: no First before, no End after.
  SongAt(staff, 1)->SetBeamState(kGroupMiddle);
  SongAt(staff, 2)->SetBeamState(kGroupMiddle);
  SongAt(staff, 3)->SetBeamState(kGroupFirst);
  SongAt(staff, 4)->SetBeamState(kGroupEnd);
  EXPECT_TRUE(Ungroup(staff, kGroupBeam, 2));
  EXPECT_EQ(BeamStates(staff), "--FE");
}

TEST(GroupEditsTest, SetGroupStemDirection) {
  TMusicStaff staff;
  Fill(staff, "n3@-5 n3@-1 n2@3");
  ASSERT_TRUE(TStaffRange(&staff, 1, 2).Beam(kGroupBeam));
  ASSERT_TRUE(SetGroupStemDirection(staff, 1, 2));  // explicit up for the whole group
  EXPECT_EQ(SongAt(staff, 1)->GetStemSetting(), kStemUp);
  EXPECT_EQ(SongAt(staff, 2)->GetStemSetting(), kStemUp);
  ASSERT_TRUE(SetGroupStemDirection(staff, 0, 1));  // automatic: the notes lie high, down
  EXPECT_EQ(SongAt(staff, 1)->GetStemDir(), -1);
  EXPECT_EQ(SongAt(staff, 2)->GetStemDir(), -1);
  ASSERT_TRUE(SetGroupStemDirection(staff, -5, 3));  // outside a group: only the item
  EXPECT_EQ(SongAt(staff, 3)->GetStemSetting(), kStemDown);
  EXPECT_FALSE(SetGroupStemDirection(staff, 1, 0));
}

}  // namespace
}  // namespace kvt
