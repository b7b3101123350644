#include "midi/play/dynamic_ramp.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "midi/events/midi_file_buf.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "notation/index/simple_ntn_idx.h"
#include "notation/context/staff_context_state.h"
#include "tests/midi/score_builder.h"

namespace kvt {
namespace {

using test::AddStaff;
using test::Controls;
using test::NoteOns;
using test::TControl;
using test::TNoteOn;

class DynamicRampTest : public testing::Test {
protected:
  // The ramp laid out at item `at` of staff 0, with the state standing at `position`.
  void LayOutAt(int at, int32_t position, bool withBuffer = true) {
    TSimpleNtnIdx index(score.GetStaff(0), at);
    state.SetSongPosition(position);
    state.SetDynamicChanged(true);
    LayOutDynamicRamp(index, state, withBuffer ? &buffer : nullptr);
  }

  TMusicScore score;
  TStaffContextState state;
  TMidiFileBuf buffer{16};
};

TEST_F(DynamicRampTest, AVolumeRampStepsFromTheStartOfItsItem) {
  // Items: 0 bar, 1 dynamic, 2 crescendo, 3-6 four quarters, 7 dynamic.
  AddStaff(score, "v80 cresc C D E F v84");
  state.SetChannel(5);
  state.SetPort(2);
  LayOutAt(2, 1000);
  EXPECT_FALSE(state.IsDynamicChanged());
  EXPECT_EQ(Controls(buffer, 7), (std::vector<TControl>{
                                     {1192, 5, 7, 81}, {1384, 5, 7, 82}, {1576, 5, 7, 83}}));
  for (int i = 0; i < buffer.GetEventCount(); ++i) EXPECT_EQ(buffer.GetEvent(i).msg.GetPort(), 2);
}

TEST_F(DynamicRampTest, AVelocityRampRunsOverTheSpanToTheNextDynamic) {
  AddStaff(score, "p40 C< D f90");
  state.SetNoteVelocity(40);
  LayOutAt(2, 0, false);
  EXPECT_EQ(state.GetVelocityRampTarget(), 90);
  EXPECT_EQ(state.GetVelocityRampTicks(), 384);
  EXPECT_EQ(buffer.GetEventCount(), 0);
}

struct NoRampCase {
  const char* name;
  const char* staff;  // the hairpin item is item 2
};

class NoRampTest : public DynamicRampTest, public testing::WithParamInterface<NoRampCase> {};

TEST_P(NoRampTest, NothingIsLaidOutButTheFlagIsCleared) {
  AddStaff(score, GetParam().staff);
  LayOutAt(2, 0);
  EXPECT_FALSE(state.IsDynamicChanged());
  EXPECT_EQ(buffer.GetEventCount(), 0);
  EXPECT_EQ(state.GetVelocityRampTicks(), 0);
}

const NoRampCase kNoRampCases[] = {
    {"NoDynamicBefore", "C cresc D f90"},
    {"NoDynamicAfter", "p40 cresc D"},
    {"ZeroSpan", "p40 cresc f90"},
    {"SameVelocityAndVolume", "p40 cresc D p40"},
    // A dynamic without a velocity (0) gives none to ramp from.
    {"NoVelocityNoVolume", "p0 cresc D f90"},
};

INSTANTIATE_TEST_SUITE_P(DynamicRamp, NoRampTest, testing::ValuesIn(kNoRampCases),
                         [](const testing::TestParamInfo<NoRampCase>& info) {
                           return std::string(info.param.name);
                         });

// ---------------------------------------------------------------------------------------
// Ramps as the score plays them

TEST_F(DynamicRampTest, CrescendoNotesMoveTheVelocityTowardsTheNextDynamic) {
  AddStaff(score, "p40 C< D< E< F< f100 G");
  test::RenderForPlaying(score, buffer);
  std::vector<int> velocities;
  for (const TNoteOn& on : NoteOns(buffer)) velocities.push_back(on.velocity);
  // One ramp over the four quarters (768 ticks): a quarter of the way each note.
  EXPECT_EQ(velocities, (std::vector<int>{40, 55, 70, 85, 100}));
}

struct VolumeRampCase {
  const char* name;
  const char* staff;
  std::vector<std::pair<uint32_t, int>> volumes;  // control change 7 after the set-up's 127
};

class VolumeRampTest : public testing::TestWithParam<VolumeRampCase> {};

TEST_P(VolumeRampTest, MainVolumeStepsBetweenTheDynamics) {
  TMusicScore score;
  AddStaff(score, GetParam().staff);
  TMidiFileBuf buffer(16);
  test::RenderForPlaying(score, buffer);
  std::vector<TControl> expected = {{0, 0, 7, 127}};
  for (const auto& [time, value] : GetParam().volumes) expected.push_back({time, 0, 7, value});
  EXPECT_EQ(Controls(buffer, 7), expected);
}

const VolumeRampCase kVolumeRampCases[] = {
    {"CrescendoOverFourQuarters", "v80 cresc C D E F v84",
     {{0, 80}, {192, 81}, {384, 82}, {576, 83}, {768, 84}}},
    // The second hairpin note finds the dynamic-changed flag cleared by the first.
    {"TwoCrescendoNotesLayOutOneRamp", "v80 C< D< v84",
     {{0, 80}, {96, 81}, {192, 82}, {288, 83}, {384, 84}}},
    {"DiminuendoStepsDown", "v84 dim C D v80",
     {{0, 84}, {96, 83}, {192, 82}, {288, 81}, {384, 80}}},
    {"NoNextDynamicNoRamp", "v80 cresc C D", {{0, 80}}},
    {"EqualVolumesNoRamp", "v80 cresc C D v80", {{0, 80}, {384, 80}}},
    // The ramp starts where the hairpin item stands, not at the dynamic.
    {"RampStartsAtTheHairpin", "v80 C cresc D E v82", {{0, 80}, {384, 81}, {576, 82}}},
};

INSTANTIATE_TEST_SUITE_P(Dynamics, VolumeRampTest, testing::ValuesIn(kVolumeRampCases),
                         [](const testing::TestParamInfo<VolumeRampCase>& info) {
                           return std::string(info.param.name);
                         });

TEST_F(DynamicRampTest, AShortRampPassesOverStepsThatShareATick) {
  // 127 steps over 96 ticks: several steps fall on one tick; only the first is sent.
  AddStaff(score, "v0 cresc c v127");
  test::RenderForPlaying(score, buffer);
  std::vector<TControl> volumes = Controls(buffer, 7);
  ASSERT_GE(volumes.size(), 4u);
  EXPECT_EQ(volumes[1].time, 0u);
  EXPECT_EQ(volumes[1].value, 0);
  EXPECT_EQ(volumes.back().time, 96u);
  EXPECT_EQ(volumes.back().value, 127);
  for (size_t i = 2; i + 1 < volumes.size(); ++i) {
    EXPECT_GT(volumes[i].time, volumes[i - 1].time);
    EXPECT_LT(volumes[i].time, 96u);
    EXPECT_GT(volumes[i].value, volumes[i - 1].value);
    EXPECT_LT(volumes[i].value, 127);
  }
}

}  // namespace
}  // namespace kvt
