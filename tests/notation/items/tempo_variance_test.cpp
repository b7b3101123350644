#include "notation/items/tempo_variance.h"

#include <gtest/gtest.h>

#include <vector>

#include "midi/events/midi_file_buf.h"
#include "notation/context/staff_context_state.h"
#include "tests/notation/item_walk_fixture.h"

namespace kvt {
namespace {

std::vector<TMidiSongEvent> PerformAt(const TTempoVariance& item, int position, int graces) {
  TStaffContextState state;
  state.SetSongPosition(position);
  for (int i = 0; i < graces; ++i) state.IncGraceCount();
  TMidiFileBuf buffer(4);
  item.Perform(state, &buffer);
  return test::Events(buffer);
}

TEST(TempoVarianceTest, PausesAddAWaitRecord) {
  struct Case {
    int style, pause, graces;
    bool emits;
    uint32_t time;
  };
  const Case cases[] = {
      {kTempoVarBreathMark, 2, 0, true, 768}, {kTempoVarBreathMark, 0, 0, false, 0},
      {kTempoVarCaesura, 4, 0, true, 768},    {kTempoVarFermata, 2, 0, true, 769},
      {kTempoVarFermata, 3, 2, true, 817},    // after two grace notes: 48 ticks later
  };
  for (const Case& c : cases) {
    TTempoVariance item(c.style);
    item.SetPause(c.pause);
    EXPECT_TRUE(item.HasPause());
    const auto events = PerformAt(item, 768, c.graces);
    ASSERT_EQ(events.size(), c.emits ? 1u : 0u) << "style " << c.style;
    if (!c.emits) continue;
    EXPECT_EQ(events[0].time, c.time);
    EXPECT_EQ(events[0].msg.GetKind(), kMidiKindWait);
    EXPECT_EQ(events[0].msg.GetWaitLength(), c.pause);
  }
}

TEST(TempoVarianceTest, RampStepsOneBeatPerMinute) {
  TTempoVariance rit(kTempoVarRitardando);
  EXPECT_FALSE(rit.HasPause());
  rit.SetRamp(120, 116, 768);
  const auto events = PerformAt(rit, 1000, 0);
  ASSERT_EQ(events.size(), 3u);
  const uint32_t times[] = {1192, 1384, 1576};
  const int tempos[] = {119, 118, 117};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(events[i].time, times[i]);
    EXPECT_EQ(events[i].msg.GetTempoMicros(), 60000000u / tempos[i]);
  }
}

TEST(TempoVarianceTest, RampAfterGraceNotesAndEmptyRamps) {
  TTempoVariance accel(kTempoVarAccelerando);
  accel.SetRamp(100, 102, 96);
  // g = 48: the ramp covers the 48 ticks left, one step at 24.
  auto events = PerformAt(accel, 0, 2);
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].time, 72u);
  EXPECT_EQ(events[0].msg.GetTempoMicros(), 60000000u / 101);
  // Grace notes that fill the whole span, an equal ramp and a negative span play nothing.
  EXPECT_TRUE(PerformAt(accel, 0, 4).empty());
  accel.SetRamp(90, 90, 768);
  EXPECT_TRUE(PerformAt(accel, 0, 0).empty());
  accel.SetRamp(90, 100, -768);
  EXPECT_TRUE(PerformAt(accel, 0, 0).empty());
}

TEST(TempoVarianceTest, RampWithMoreStepsThanTicksKeepsTimesRising) {
  TTempoVariance accel(kTempoVarStringendo);
  accel.SetRamp(60, 60060, 10);
  const auto events = PerformAt(accel, 0, 0);
  ASSERT_EQ(events.size(), 10u);
  for (size_t i = 0; i < events.size(); ++i) EXPECT_EQ(events[i].time, i);
}

TEST(TempoVarianceTest, DisplayTextsAndRampFields) {
  EXPECT_EQ(TTempoVariance(kTempoVarCaesura).GetDisplayText(), "//");
  EXPECT_EQ(TTempoVariance(kTempoVarStringendo).GetDisplayText(), "string.");
  EXPECT_EQ(TTempoVariance::DisplayText(10), "***");
  TTempoVariance item;
  item.SetRamp(70000, -1, 5);
  EXPECT_EQ(item.GetRampFrom(), 70000 & 0xFFFF);
  EXPECT_EQ(item.GetRampTo(), 0xFFFF);
  item.SetRampSpan(0);
  EXPECT_EQ(item.GetRampSpan(), 0);
}

}  // namespace
}  // namespace kvt
