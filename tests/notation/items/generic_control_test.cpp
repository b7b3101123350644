#include "notation/items/generic_control.h"

#include <gtest/gtest.h>

#include <climits>
#include <utility>
#include <vector>

#include "midi/events/midi_file_buf.h"
#include "notation/context/staff_context_state.h"
#include "tests/notation/item_walk_fixture.h"
#include "utils/precondition.h"

namespace kvt {
namespace {

using Points = std::vector<std::pair<int, int>>;  // (time, value) of points 0..n-1

class GenericControlTest : public ::testing::Test {
protected:
  // Performs a control with the points at song position `start`, port 2, channel 5, into the
  // emptied buffer.
  std::vector<TMidiSongEvent> Perform(int controller, int style, const Points& points,
                                      int sweepRes = 1, int timeRes = 2, int start = 0) {
    buffer.Reset();
    TGenericControl control;
    control.SetController(controller);
    control.SetStyle(style);
    control.SetSweepRes(sweepRes);
    control.SetTimeRes(timeRes);
    for (size_t i = 0; i < points.size(); ++i)
      control.SetPoint(static_cast<int>(i), points[i].first, points[i].second);
    TStaffContextState state;
    state.SetPort(2);
    state.SetChannel(5);
    state.SetSongPosition(start);
    control.Perform(state, &buffer);
    return test::Events(buffer);
  }

  // (time, value) of control changes; every event must be a control change of `number` on
  // port 2 and channel 5.
  static std::vector<std::pair<uint32_t, int>> Values(const std::vector<TMidiSongEvent>& events,
                                                      int number) {
    std::vector<std::pair<uint32_t, int>> values;
    for (const TMidiSongEvent& e : events) {
      EXPECT_EQ(e.msg.GetCommand(), kMidiControlChange);
      EXPECT_EQ(e.msg.GetData1(), number);
      EXPECT_EQ(e.msg.GetPort(), 2);
      EXPECT_EQ(e.msg.GetChannel(), 5);
      values.emplace_back(e.time, e.msg.GetData2());
    }
    return values;
  }

  TMidiFileBuf buffer{16};
};

TEST_F(GenericControlTest, LinearVolumeSweepStepsByTheSweepResolution) {
  // From 0 to 100 over four quarters, steps of 10: every 76.8 ticks, truncated.
  const auto values = Values(Perform(kMpcVolume, kMpcLinearSweep, {{0, 0}, {4, 100}}, 10), 7);
  const std::vector<std::pair<uint32_t, int>> expected = {
      {0, 0},    {76, 10},  {153, 20}, {230, 30}, {307, 40}, {384, 50},
      {460, 60}, {537, 70}, {614, 80}, {691, 90}, {768, 100}};
  EXPECT_EQ(values, expected);
}

TEST_F(GenericControlTest, AbsolutePointsAtRelativeTimes) {
  // Point times add up; a point that repeats the value sends nothing.
  const auto values = Values(
      Perform(kMpcPan, kMpcAbsolute, {{1, 10}, {2, 90}, {1, 90}, {1, 64}}, 1, 3, 1000), 10);
  const std::vector<std::pair<uint32_t, int>> expected = {
      {1096, 10}, {1288, 90}, {1480, 64}};
  EXPECT_EQ(values, expected);
}

TEST_F(GenericControlTest, SweepResolutionZeroPlaysAsOne) {
  const auto values = Values(Perform(kMpcExpression, kMpcLinearSweep, {{0, 0}, {3, 3}}, 0), 11);
  const std::vector<std::pair<uint32_t, int>> expected = {{0, 0}, {192, 1}, {384, 2}, {576, 3}};
  EXPECT_EQ(values, expected);
}

TEST_F(GenericControlTest, DescendingSweep) {
  const auto values =
      Values(Perform(kMpcModulation, kMpcLinearSweep, {{0, 40}, {1, 10}}, 10), 1);
  const std::vector<std::pair<uint32_t, int>> expected = {{0, 40}, {64, 30}, {128, 20}, {192, 10}};
  EXPECT_EQ(values, expected);
}

TEST_F(GenericControlTest, ValuesAndTimesOutOfRangeAreLimited) {
  // Control values beyond 0..127 become 0 and 127; a negative point time counts as 0.
  const auto values =
      Values(Perform(kMpcReverb, kMpcAbsolute, {{-5, -50}, {-1, 300}, {2, 1000}}), 91);
  const std::vector<std::pair<uint32_t, int>> expected = {{0, 0}, {0, 127}};
  EXPECT_EQ(values, expected);
}

TEST_F(GenericControlTest, PitchBendSplitsFourteenBits) {
  const auto events = Perform(kMpcPitch, kMpcAbsolute, {{0, 8192}, {1, 20000}, {1, -7}});
  ASSERT_EQ(events.size(), 3u);
  const int expected[3][2] = {{0, 64}, {127, 127}, {0, 0}};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(events[i].msg.GetCommand(), kMidiPitchBend);
    EXPECT_EQ(events[i].msg.GetData1(), expected[i][0]);
    EXPECT_EQ(events[i].msg.GetData2(), expected[i][1]);
    EXPECT_EQ(events[i].msg.GetChannel(), 5);
  }
}

TEST_F(GenericControlTest, TempoPointsBecomeTempoRecords) {
  const auto events = Perform(kMpcTempo, kMpcAbsolute, {{0, 120}, {1, 1}, {1, 9000000}});
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[0].msg.GetKind(), kMidiKindTempo);
  EXPECT_EQ(events[0].msg.GetTempoMicros(), 500000u);
  EXPECT_EQ(events[1].msg.GetTempoMicros(), 15000000u);       // at least 4 bpm
  EXPECT_EQ(events[2].msg.GetTempoMicros(), 60000000u / 65535);  // at most 65535 bpm
}

TEST_F(GenericControlTest, SweepWithMoreStepsThanTicksSendsOneEventPerTick) {
  // 16383 pitch steps over one sixty-fourth (12 ticks).
  const auto events = Perform(kMpcPitch, kMpcLinearSweep, {{0, 0}, {1, 16383}}, 1, 6);
  ASSERT_EQ(events.size(), 13u);
  for (size_t i = 0; i < events.size(); ++i) EXPECT_EQ(events[i].time, i);
  // The event at tick 1 carries the first step that reaches it: ceil(16383 / 12) = 1366.
  EXPECT_EQ(events[1].msg.GetData1() + 128 * events[1].msg.GetData2(), 1366);
  EXPECT_EQ(events[12].msg.GetData1() + 128 * events[12].msg.GetData2(), 16383);
}

TEST_F(GenericControlTest, VeryLongSweepEndsAtTheLargestTick) {
  const auto events = Perform(kMpcVolume, kMpcLinearSweep,
                              {{INT_MAX, 0}, {INT_MAX, 127}, {INT_MAX, 0}}, 1, 0, INT_MAX);
  ASSERT_EQ(events.size(), 3u);
  for (const TMidiSongEvent& e : events) EXPECT_EQ(e.time, static_cast<uint32_t>(INT_MAX));
  // Over a span of 2^31 ticks a sweep sends one event per value step, not per tick.
  const auto wide = Perform(kMpcVolume, kMpcLinearSweep, {{0, 0}, {INT_MAX, 127}}, 1, 0);
  EXPECT_EQ(wide.size(), 128u);
}

TEST(GenericControlOverflowTest, FullBufferStopsTheSweep) {
  TMidiFileBuf small(0);  // one segment of 2048 events, never grows
  TGenericControl control;
  control.SetController(kMpcPitch);
  control.SetStyle(kMpcLinearSweep);
  control.SetSweepRes(1);
  control.SetTimeRes(0);
  control.SetPoint(1, 8, 16383);
  TStaffContextState state;
  control.Perform(state, &small);
  EXPECT_TRUE(small.GetOverflow());
  EXPECT_EQ(small.GetEventCount(), 2048);
}

TEST(GenericControlPointTest, PointsAndPreconditions) {
  TGenericControl control;
  EXPECT_EQ(control.GetController(), kMpcTempo);
  EXPECT_EQ(control.GetStyle(), kMpcAbsolute);
  EXPECT_EQ(control.GetTimeRes(), 2);
  EXPECT_EQ(control.GetSweepRes(), 0);
  EXPECT_EQ(control.GetActivePointCount(), 1);
  for (int n = 0; n < MaxRawParmSetPoints; ++n) {
    EXPECT_EQ(control.GetPointTime(n), 0);
    EXPECT_EQ(control.GetPointValue(n), 100);
    EXPECT_EQ(control.IsPointActive(n), n == 0);
  }
  control.SetPoint(1, 2, 50);
  control.SetPoint(3, 1, 60);
  EXPECT_EQ(control.GetActivePointCount(), 2);  // point 2 is inactive
  control.ClearPoint(1);
  EXPECT_FALSE(control.IsPointActive(1));
  EXPECT_EQ(control.GetPointValue(1), 100);
  EXPECT_FALSE(control.IsPointActive(9));
  EXPECT_EQ(control.GetPointValue(-1), 0);

  for (int bad : {4, -1, 1000}) {
    try {
      control.SetPoint(bad, 0, 0);
      ADD_FAILURE() << "no precondition failure for " << bad;
    } catch (const TPreconditionError& e) {
      EXPECT_EQ(e.Expression(), "n < MaxRawParmSetPoints");
    }
    EXPECT_THROW(control.ClearPoint(bad), TPreconditionError);
  }
}

TEST(GenericControlPointTest, LaterPointsAfterAnInactiveOneAreNotPlayed) {
  TGenericControl control;
  control.SetController(kMpcVolume);
  control.SetPoint(0, 0, 10);
  control.SetPoint(2, 1, 20);
  TMidiFileBuf buffer(4);
  TStaffContextState state;
  control.Perform(state, &buffer);
  EXPECT_EQ(buffer.GetEventCount(), 1);
}

TEST(GenericControlPointTest, ControllerNumbersAndUnknownControllers) {
  const int numbers[kMpcControllerCount] = {-1, 7,  10, 2,  -1, 1,  4,  5,  6,
                                            8,  11, 12, 13, 91, 92, 93, 94, 95};
  for (int c = 0; c < kMpcControllerCount; ++c)
    EXPECT_EQ(TGenericControl::GetControllerNumber(c), numbers[c]) << c;
  EXPECT_EQ(TGenericControl::GetControllerNumber(18), -1);
  EXPECT_EQ(TGenericControl::GetControllerNumber(-3), -1);

  TGenericControl control;
  control.SetController(40);
  TMidiFileBuf buffer(4);
  TStaffContextState state;
  control.Perform(state, &buffer);
  control.SetController(kMpcVolume);
  control.Perform(state, nullptr);
  EXPECT_TRUE(buffer.IsEmpty());
}

TEST(GenericControlPointTest, UnknownTimeResolutionPlaysAsQuarters) {
  TGenericControl control;
  control.SetController(kMpcVolume);
  control.SetTimeRes(12);
  control.SetPoint(1, 2, 30);
  TMidiFileBuf buffer(4);
  TStaffContextState state;
  control.Perform(state, &buffer);
  ASSERT_EQ(buffer.GetEventCount(), 2);
  EXPECT_EQ(buffer.GetEvent(1).time, 384u);
}

}  // namespace
}  // namespace kvt
