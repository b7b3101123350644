#include "notation/items/dynamic_level_data.h"

#include <gtest/gtest.h>

#include "midi/events/midi_file_buf.h"
#include "notation/context/staff_context_state.h"
#include "tests/notation/item_walk_fixture.h"

namespace kvt {
namespace {

TEST(DynamicLevelDataTest, ApplyMarksTheChangeAndSetsANonZeroVelocity) {
  struct Case {
    int velocity;
    bool hasVelocity;
    int stateVelocity;
  };
  const Case cases[] = {{0, false, 110}, {80, true, 80}, {64, false, 64}, {0, true, 110}};
  for (const Case& c : cases) {
    TStaffContextState state;
    state.StartVelocityRamp(110, 40, 500);
    TDynamicLevelData dynamic(kDynP);
    dynamic.SetVelocity(c.velocity);
    dynamic.SetHasVelocity(c.hasVelocity);
    dynamic.ApplyToContext(state);
    EXPECT_TRUE(state.IsDynamicChanged()) << "velocity " << c.velocity;
    EXPECT_EQ(state.GetVelocityRampTicks(), 0) << "velocity " << c.velocity;
    EXPECT_EQ(state.GetNoteVelocity(), c.stateVelocity) << "velocity " << c.velocity;
  }
}

TEST(DynamicLevelDataTest, PerformsVolumeOnlyWhenGiven) {
  TStaffContextState state;
  state.SetPort(1);
  state.SetChannel(4);
  state.SetSongPosition(96);
  TDynamicLevelData dynamic(kDynFF);
  TMidiFileBuf buffer(4);
  dynamic.Perform(state, &buffer);
  EXPECT_TRUE(buffer.IsEmpty());
  dynamic.SetVolume(100);
  dynamic.Perform(state, &buffer);
  EXPECT_TRUE(buffer.IsEmpty());
  dynamic.SetHasVolume(true);
  dynamic.Perform(state, &buffer);
  const auto events = test::Events(buffer);
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0], test::ControlAt(96, 1, 4, 7, 100));
}

TEST(DynamicLevelDataTest, VelocityAndVolumeAreValidMidiData) {
  TDynamicLevelData dynamic;
  dynamic.SetVelocity(300);
  dynamic.SetVolume(200);
  EXPECT_EQ(dynamic.GetVelocity(), 127);
  EXPECT_EQ(dynamic.GetVolume(), 127);
  dynamic.SetVelocity(-4);
  dynamic.SetVolume(-1);
  EXPECT_EQ(dynamic.GetVelocity(), 0);
  EXPECT_EQ(dynamic.GetVolume(), 0);
  dynamic.SetVolume(255);
  dynamic.SetHasVolume(true);
  TStaffContextState state;
  TMidiFileBuf buffer(4);
  dynamic.Perform(state, &buffer);
  ASSERT_EQ(buffer.GetEventCount(), 1);
  EXPECT_EQ(buffer.GetEvent(0).msg.GetData2(), 127);
}

TEST(DynamicLevelDataTest, SymbolsAndCopy) {
  EXPECT_EQ(TDynamicLevelData(kDynPPP).GetSymbol(), 73);
  EXPECT_EQ(TDynamicLevelData(kDynFFF).GetSymbol(), 80);
  // A level from damaged data (4 bits hold up to 15) never names a glyph past fff.
  TDynamicLevelData odd(13);
  EXPECT_EQ(odd.GetLevel(), 13);
  EXPECT_EQ(odd.GetSymbol(), 80);
  EXPECT_EQ(TDynamicLevelData(0x15).GetLevel(), 5);

  TDynamicLevelData source(kDynMP);
  source.SetVelocity(70);
  source.SetHasVelocity(true);
  source.SetVolume(90);
  source.SetHasVolume(true);
  source.SetColor(2);
  TDynamicLevelData copy(kDynF);
  copy.CopyDynamic(source);
  EXPECT_EQ(copy.GetLevel(), kDynMP);
  EXPECT_TRUE(copy.HasVelocity());
  EXPECT_EQ(copy.GetVelocity(), 70);
  EXPECT_TRUE(copy.HasVolume());
  EXPECT_EQ(copy.GetVolume(), 90);
  EXPECT_EQ(copy.GetColor(), 0);  // only the dynamic is copied
}

}  // namespace
}  // namespace kvt
