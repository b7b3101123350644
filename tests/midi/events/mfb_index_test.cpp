#include "midi/events/mfb_index.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace kvt {
namespace {

TMidiMsg NoteOn(int key) { return TMidiMsg::Channel(kMidiNoteOn, 0, 0, key, 64); }

struct MsCase {
  uint32_t tempo;
  uint32_t ticks;
  int64_t ms;
};

TEST(MidiTimeTest, TicksToMs) {
  const MsCase cases[] = {
      {500000, 0, 0},
      {500000, 192, 500},
      {500000, 192000, 500000},   // two pieces of 96,000
      {1000000, 48, 250},
      {500001, 191, 497},         // truncated
      {0, 1000, 0},
  };
  for (const MsCase& c : cases)
    EXPECT_EQ(MidiTicksToMs(c.tempo, c.ticks), c.ms) << c.tempo << " " << c.ticks;
}

TEST(MidiTimeTest, LongestSpanAtSlowestTempoDoesNotOverflow) {
  const uint32_t ticks = std::numeric_limits<uint32_t>::max();
  const double want = static_cast<double>(ticks) * kMidiMaxTempoMicros / 192000.0;
  const double got = static_cast<double>(MidiTicksToMs(kMidiMaxTempoMicros, ticks));
  EXPECT_NEAR(got / want, 1.0, 1e-3);
}

TEST(MidiTimeTest, MsToTicks) {
  EXPECT_EQ(MidiMsToTicks(500000, 1000), 384u);
  EXPECT_EQ(MidiMsToTicks(500000, -5), 0u);
  EXPECT_EQ(MidiMsToTicks(0, 1), 192000u);  // a zero tempo is taken as 1
  EXPECT_EQ(MidiMsToTicks(1, std::numeric_limits<int64_t>::max()),
            std::numeric_limits<uint32_t>::max());
}

TEST(MFBIndexTest, EmptyBufferNeverMoves) {
  TMidiFileBuf buf;
  TMFBIndex index(buf);
  index.Next();
  index.SetIndex(7);
  EXPECT_EQ(index.GetIndex(), 0);
  EXPECT_FALSE(index.IsValid());
  EXPECT_FALSE(index.CanMove(1));
  EXPECT_FALSE(index.CanMove(-1));
  EXPECT_FALSE(index.NextTempoOrWait(1));

  TMFBTimeIndex time(buf);
  time.SeekMs(5000);
  time.SeekTime(900);
  time.SetIndex(3);
  EXPECT_EQ(time.GetIndex(), 0);
  EXPECT_GE(time.GetElapsedMs(), 0);
}

TEST(MFBIndexTest, StepsAndSearchesForTempoOrWait) {
  TMidiFileBuf buf;
  buf.AddEvent(0, NoteOn(60));
  buf.AddTempo(100, 90);
  buf.AddEvent(200, NoteOn(62));
  buf.AddWait(300, 1);
  buf.AddEvent(400, NoteOn(64));
  TMFBIndex index(buf);
  EXPECT_TRUE(index.NextTempoOrWait(1));
  EXPECT_EQ(index.GetIndex(), 1);
  EXPECT_TRUE(index.NextTempoOrWait(1));
  EXPECT_EQ(index.GetIndex(), 3);
  EXPECT_FALSE(index.NextTempoOrWait(1));
  EXPECT_EQ(index.GetIndex(), 3);
  EXPECT_TRUE(index.NextTempoOrWait(-1));
  EXPECT_EQ(index.GetIndex(), 1);
  index.Step(-1);
  EXPECT_EQ(index.GetIndex(), 0);
  index.Step(-1);
  EXPECT_EQ(index.GetIndex(), 0);
  index.SetIndex(99);
  EXPECT_EQ(index.GetIndex(), 4);
  index.Next();
  EXPECT_EQ(index.GetIndex(), 4);
}

class MFBTimeIndexTest : public testing::Test {
protected:
  void SetUp() override {
    buf.AddEvent(0, NoteOn(60));        // 120 bpm by default
    buf.AddEvent(192, NoteOn(62));      // 500 ms
    buf.AddTempo(384, 60);              // 1000 ms
    buf.AddEvent(576, NoteOn(64));      // 2000 ms
    buf.AddWait(768, 4);                // 3000 ms, then one second of waiting
    buf.AddEvent(960, NoteOn(65));      // 4000 + 1000 = 5000 ms
  }
  TMidiFileBuf buf;
};

TEST_F(MFBTimeIndexTest, ElapsedAtEachEvent) {
  const int64_t want[] = {0, 500, 1000, 2000, 4000, 5000};
  TMFBTimeIndex index(buf);
  for (int i = 0; i < buf.GetEventCount(); ++i) {
    index.SetIndex(i);
    EXPECT_EQ(index.GetElapsedMs(), want[i]) << i;
  }
  index.SetIndex(1);  // backwards: rewinds
  EXPECT_EQ(index.GetElapsedMs(), 500);
  EXPECT_EQ(index.GetTempo(), 500000u);
}

TEST_F(MFBTimeIndexTest, SeekTime) {
  TMFBTimeIndex index(buf);
  index.SeekTime(480);
  EXPECT_EQ(index.GetIndex(), 2);
  EXPECT_EQ(index.GetCurrentTick(), 480u);
  EXPECT_EQ(index.GetElapsedMs(), 1500);
}

struct SeekMsCase {
  int64_t ms;
  uint32_t tick;
};

TEST_F(MFBTimeIndexTest, SeekMs) {
  const SeekMsCase cases[] = {{0, 0}, {250, 96}, {1500, 480}, {2500, 672}, {5500, 1056},
                              {700, 268}};
  TMFBTimeIndex index(buf);
  for (const SeekMsCase& c : cases) {
    index.SeekMs(c.ms);
    EXPECT_EQ(index.GetCurrentTick(), c.tick) << c.ms;
  }
}

TEST(MFBTimeIndexRegressionTest, SeekMsKeepsATempoThatSharesItsTimeWithEarlierEvents) {
  TMidiFileBuf buf;
  buf.AddEvent(0, TMidiMsg::Channel(kMidiControlChange, 0, 0, 7, 100));
  buf.AddTempo(0, 60);  // same time and rank: stored after the control change
  TMFBTimeIndex index(buf);
  index.SeekMs(1000);
  EXPECT_EQ(index.GetCurrentTick(), 192u);
  EXPECT_EQ(index.GetElapsedMs(), 1000);
}

TEST(MFBTimeIndexRegressionTest, OneEventBuffer) {
  TMidiFileBuf buf;
  buf.AddEvent(100, NoteOn(60));
  TMFBTimeIndex index(buf);
  index.SeekTime(1000);
  EXPECT_EQ(index.GetIndex(), 0);
  EXPECT_EQ(buf.GetPlayLength(1000), 2604);
  EXPECT_EQ(buf.GetPlayLength(0), 260);
}

}  // namespace
}  // namespace kvt
