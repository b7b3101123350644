#include "notation/items/song_note.h"

#include <gtest/gtest.h>

#include <ostream>

#include "notation/items/music_note.h"
#include "notation/items/rest_note.h"

namespace kvt {
namespace {

struct DurationCase {
  int code;
  uint16_t flags;
  int triplet;
  int expected;
};

std::ostream& operator<<(std::ostream& os, const DurationCase& c) {
  return os << "code " << c.code << " flags " << c.flags << " triplet " << c.triplet;
}

class DurationTest : public ::testing::TestWithParam<DurationCase> {};

TEST_P(DurationTest, TicksFromCodeDotsTripletAndGrace) {
  const DurationCase& c = GetParam();
  TMusicNote note(0, c.code, c.flags, kAccNone);
  note.SetTripletState(c.triplet);
  EXPECT_EQ(note.GetDuration(), c.expected);
  TRestNote rest(c.code, c.flags);
  rest.SetTripletState(c.triplet);
  EXPECT_EQ(rest.GetDuration(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DurationTest,
    ::testing::Values(DurationCase{kDurWhole, 0, 0, 768}, DurationCase{kDurHalf, 0, 0, 384},
                      DurationCase{kDurQuarter, 0, 0, 192}, DurationCase{kDurEighth, 0, 0, 96},
                      DurationCase{kDur16th, 0, 0, 48}, DurationCase{kDur32nd, 0, 0, 24},
                      DurationCase{kDur64th, 0, 0, 12},
                      DurationCase{kDurQuarter, kMaskDotted, 0, 288},
                      DurationCase{kDurQuarter, kMaskDblDotted, 0, 336},
                      DurationCase{kDurQuarter, 0, kGroupFirst, 128},
                      DurationCase{kDurEighth, 0, kGroupEnd, 64},
                      DurationCase{kDur64th, kMaskDotted, 0, 18},
                      DurationCase{kDur64th, kMaskDblDotted, 0, 21},
                      DurationCase{kDur64th, 0, kGroupMiddle, 8},
                      DurationCase{kDurWhole, kMaskDotted, 0, 1152},
                      DurationCase{kDurQuarter, kMaskDotted, kGroupFirst, 192},
                      DurationCase{kDurQuarter, kMaskGrace, 0, 0},
                      DurationCase{kDurEighth, kMaskGrace | kMaskDotted, 0, 0}));

TEST(SongNoteTest, GraceNoteKeepsItsNotatedDuration) {
  TMusicNote note(0, kDurEighth, kMaskGrace, kAccNone);
  EXPECT_EQ(note.GetDuration(), 0);
  EXPECT_EQ(note.GetNotatedDuration(), 96);
}

TEST(SongNoteTest, DurationCodeIsClampedToTheSevenCodes) {
  TMusicNote note(0, kDurQuarter, 0, kAccNone);
  note.SetDuration(11);
  EXPECT_EQ(note.GetDurationCode(), kDur64th);
  note.SetDuration(-3);
  EXPECT_EQ(note.GetDurationCode(), kDurWhole);
  TRestNote rest(99, 0);
  EXPECT_EQ(rest.GetDurationCode(), kDur64th);
  EXPECT_EQ(rest.GetRestSymbol(), 26);
}

struct FlagCase {
  const char* name;
  uint16_t before;
  int set;
  uint16_t after;
};

std::ostream& operator<<(std::ostream& os, const FlagCase& c) { return os << c.name; }

class SetNoteFlagTest : public ::testing::TestWithParam<FlagCase> {};

TEST_P(SetNoteFlagTest, PartnersAndArticulationGroups) {
  const FlagCase& c = GetParam();
  TMusicNote note(0, kDurQuarter, c.before, kAccNone);
  note.SetNoteFlag(c.set);
  EXPECT_EQ(note.GetFlags(), c.after) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Table, SetNoteFlagTest,
    ::testing::Values(
        FlagCase{"dotted replaces double dotted", kMaskDblDotted, kFlagDotted, kMaskDotted},
        FlagCase{"double dotted replaces dotted", kMaskDotted, kFlagDblDotted, kMaskDblDotted},
        FlagCase{"marcato replaces accent", kMaskAccent, kFlagMarcato, kMaskMarcato},
        FlagCase{"accent replaces marcato", kMaskMarcato, kFlagAccent, kMaskAccent},
        FlagCase{"staccatissimo replaces staccato", kMaskStaccato, kFlagStaccatissimo,
                 kMaskStaccatissimo},
        FlagCase{"crescendo replaces diminuendo", kMaskDiminuendo, kFlagCrescendo,
                 kMaskCrescendo},
        FlagCase{"mark A replaces mark B", kMaskMarkB, kFlagMarkA, kMaskMarkA},
        FlagCase{"tenuto on accent and staccato drops staccato",
                 kMaskAccent | kMaskStaccato, kFlagTenuto, kMaskAccent | kMaskTenuto},
        FlagCase{"accent on tenuto and staccato drops tenuto", kMaskTenuto | kMaskStaccato,
                 kFlagAccent, kMaskStaccato | kMaskAccent},
        FlagCase{"staccato on accent and tenuto drops tenuto", kMaskAccent | kMaskTenuto,
                 kFlagStaccato, kMaskAccent | kMaskStaccato},
        FlagCase{"tenuto with staccato alone stays", kMaskStaccato, kFlagTenuto,
                 kMaskStaccato | kMaskTenuto},
        FlagCase{"tenuto with accent alone stays", kMaskAccent, kFlagTenuto,
                 kMaskAccent | kMaskTenuto},
        FlagCase{"tie has no partner", kMaskSlur, kFlagTieOut, kMaskSlur | kMaskTieOut},
        FlagCase{"bit outside the word changes nothing", kMaskAccent, 16, kMaskAccent}));

TEST(SongNoteTest, ArticulationCountAndHairpin) {
  TMusicNote note(0, kDurQuarter, kMaskAccent | kMaskStaccato | kMaskTenuto | kMaskSlur,
                  kAccNone);
  EXPECT_TRUE(note.HasArticulation());
  EXPECT_EQ(note.GetArticulationCount(), 3);
  EXPECT_EQ(note.GetHairpin(), 0);
  note.SetNoteFlag(kFlagDiminuendo);
  EXPECT_EQ(note.GetHairpin(), 2);
  note.SetNoteFlag(kFlagCrescendo);
  EXPECT_EQ(note.GetHairpin(), 1);
}

struct StemCase {
  int setting;
  int staffPos;
  uint16_t flags;
  int expected;
};

std::ostream& operator<<(std::ostream& os, const StemCase& c) {
  return os << "setting " << c.setting << " pos " << c.staffPos << " flags " << c.flags;
}

class StemDirTest : public ::testing::TestWithParam<StemCase> {};

TEST_P(StemDirTest, ExplicitGraceOrFromPosition) {
  const StemCase& c = GetParam();
  TMusicNote note(c.staffPos, kDurQuarter, c.flags, kAccNone);
  note.SetStemDir(c.setting);
  EXPECT_EQ(note.GetStemDir(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Table, StemDirTest,
                         ::testing::Values(StemCase{kStemUp, -6, 0, 1},
                                           StemCase{kStemDown, 6, 0, -1},
                                           StemCase{kStemAuto, 0, 0, -1},
                                           StemCase{kStemAuto, -3, 0, -1},
                                           StemCase{kStemAuto, 1, 0, 1},
                                           StemCase{kStemAuto, -5, kMaskGrace, 1},
                                           // 3 is no stem setting: it reads as automatic.
                                           StemCase{3, 2, 0, 1}));

TEST(SongNoteTest, StemDirFromSign) {
  TMusicNote note(0, kDurQuarter, 0, kAccNone);
  note.SetStemDirFromSign(-7);
  EXPECT_EQ(note.GetStemSetting(), kStemDown);
  note.SetStemDirFromSign(2);
  EXPECT_EQ(note.GetStemSetting(), kStemUp);
  note.SetStemDirFromSign(0);
  EXPECT_EQ(note.GetStemSetting(), kStemAuto);
}

TEST(SongNoteTest, PackedFieldsStayInTheirWidth) {
  TMusicNote note(0, kDurQuarter, 0, kAccNone);
  note.SetBeamState(7);
  EXPECT_EQ(note.GetBeamState(), 3);
  note.SetTripletState(-1);
  EXPECT_EQ(note.GetTripletState(), 3);
  note.SetNoteColor(0x1F);
  EXPECT_EQ(note.GetNoteColor(), 15);
  note.SetXAccSpace(40);
  EXPECT_EQ(note.GetXAccSpace(), 15);
  note.SetXNoteSpace(-2);
  EXPECT_EQ(note.GetXNoteSpace(), 0);
  note.SetLyric(3);
  EXPECT_EQ(note.GetLyric(), kLyricDefault);
  note.SetNoteHead(17);
  EXPECT_EQ(note.GetHeadShape(), 1);
  // None of them spilled into the neighbours.
  EXPECT_EQ(note.GetDurationCode(), kDurQuarter);
  EXPECT_EQ(note.GetStemSetting(), kStemAuto);
  EXPECT_EQ(note.GetFlags(), 0);
}

TEST(SongNoteTest, SlurDirectionUsesFlagElevenAndSlurDown) {
  TMusicNote note(0, kDurQuarter, 0, kAccNone);
  EXPECT_EQ(note.GetSlurDirection(), kCurveDefault);
  note.SetSlurDirection(kCurveDown);
  EXPECT_TRUE(note.HasNoteFlag(kFlagSlurDirection));
  EXPECT_EQ(note.GetSlurDirection(), kCurveDown);
  note.SetSlurDirection(kCurveUp);
  EXPECT_EQ(note.GetSlurDirection(), kCurveUp);
  note.SetSlurDirection(kCurveDefault);
  EXPECT_FALSE(note.HasNoteFlag(kFlagSlurDirection));
}

TEST(SongNoteTest, LyricsAndMelisma) {
  TMusicNote note(0, kDurQuarter, 0, kAccNone);
  EXPECT_TRUE(note.TakesLyric());
  note.SetTieIn(true);
  EXPECT_FALSE(note.TakesLyric());
  note.SetLyric(kLyricAlways);
  EXPECT_TRUE(note.TakesLyric());
  TRestNote rest(kDurQuarter, 0);
  EXPECT_FALSE(rest.TakesLyric());

  TMusicNote slurred(0, kDurQuarter, kMaskSlur, kAccNone);
  EXPECT_TRUE(slurred.IsMelisma());
  slurred.SetSlurIn(true);
  EXPECT_FALSE(slurred.IsMelisma());
  TMusicNote tied(0, kDurQuarter, kMaskTieOut, kAccNone);
  EXPECT_TRUE(tied.IsMelisma());
  tied.SetLyric(kLyricAlways);
  EXPECT_FALSE(tied.IsMelisma());
}

TEST(SongNoteTest, GroupStateMaskAndGroupBound) {
  TMusicNote note(0, kDurEighth, 0, kAccNone);
  EXPECT_EQ(note.GetGroupStateMask(), 1);
  EXPECT_FALSE(note.IsGroupBound());
  note.SetGroupState(0, kGroupFirst);
  note.SetGroupState(1, kGroupEnd);
  EXPECT_EQ(note.GetBeamState(), kGroupFirst);
  EXPECT_EQ(note.GetTripletState(), kGroupEnd);
  EXPECT_EQ(note.GetGroupStateMask(), (1 << 1) | (1 << 3));
  EXPECT_TRUE(note.IsGroupBound());
}

TEST(SongNoteTest, AssignCopiesSettingsButNotLinks) {
  TMusicNote src(3, kDurEighth, kMaskStaccato | kMaskSlur, kAccSharp);
  src.SetStemDir(kStemDown);
  src.SetBeamState(kGroupMiddle);
  src.SetXNoteSpace(4);
  src.SetTieIn(true);
  src.SetSlurIn(true);
  src.SetChordMember(true);
  TRestNote rest(kDurWhole, 0);
  rest.Assign(src);
  EXPECT_EQ(rest.GetDurationCode(), kDurEighth);
  EXPECT_EQ(rest.GetFlags(), kMaskStaccato | kMaskSlur);
  EXPECT_EQ(rest.GetStemSetting(), kStemDown);
  EXPECT_EQ(rest.GetBeamState(), kGroupMiddle);
  // A plain rest drops the extra spacing; links are never copied.
  EXPECT_EQ(rest.GetXNoteSpace(), 0);
  EXPECT_FALSE(rest.IsTieIn());
  EXPECT_FALSE(rest.IsSlurIn());
  EXPECT_FALSE(rest.IsChordMember());
}

}  // namespace
}  // namespace kvt
