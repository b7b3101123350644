#include "midi/events/midi_file_buf.h"

#include <gtest/gtest.h>

#include <vector>

#include "utils/precondition.h"

namespace kvt {
namespace {

TMidiMsg NoteOn(int key, int velocity = 64, int channel = 0) {
  return TMidiMsg::Channel(kMidiNoteOn, 0, channel, key, velocity);
}
TMidiMsg NoteOff(int key, int channel = 0) {
  return TMidiMsg::Channel(kMidiNoteOff, 0, channel, key, 0);
}
TMidiMsg Control(int controller, int value, int channel = 0) {
  return TMidiMsg::Channel(kMidiControlChange, 0, channel, controller, value);
}
TMidiMsg Program(int program, int channel = 0) {
  return TMidiMsg::Channel(kMidiProgramChange, 0, channel, program, 0);
}

class MidiFileBufTest : public testing::Test {
protected:
  std::vector<TMidiSongEvent> Events(const TMidiFileBuf& buf) const {
    std::vector<TMidiSongEvent> out;
    for (int i = 0; i < buf.GetEventCount(); ++i) out.push_back(buf.GetEvent(i));
    return out;
  }

  // Every event sorts no earlier than the one before it.
  void ExpectSorted(const TMidiFileBuf& buf) const {
    for (int i = 1; i < buf.GetEventCount(); ++i)
      ASSERT_FALSE(buf.GetEvent(i - 1).SortsAfter(buf.GetEvent(i))) << "at " << i;
  }

  // Events with distinct times, one per tick from `first`.
  void Fill(TMidiFileBuf& buf, int n, uint32_t first = 0) {
    for (int i = 0; i < n; ++i) buf.AddEvent(first + static_cast<uint32_t>(i), Control(7, i % 128));
  }
};

struct OrderCase {
  const char* name;
  std::vector<TMidiMsg> added;  // all at time 100, in this order
  std::vector<TMidiMsg> stored;
};

TEST_F(MidiFileBufTest, OrderAtEqualTime) {
  const OrderCase cases[] = {
      {"note off before note on", {NoteOn(60), NoteOff(60)}, {NoteOff(60), NoteOn(60)}},
      {"pedal off before note on", {NoteOn(60), Control(64, 0)}, {Control(64, 0), NoteOn(60)}},
      {"note off before pedal on", {Control(64, 127), NoteOff(60)}, {NoteOff(60), Control(64, 127)}},
      {"ties keep arrival order", {Control(7, 1), Control(10, 2), Control(7, 3)},
       {Control(7, 1), Control(10, 2), Control(7, 3)}},
      {"program before note on", {NoteOn(60), Program(3)}, {Program(3), NoteOn(60)}},
  };
  for (const OrderCase& c : cases) {
    TMidiFileBuf buf;
    for (TMidiMsg msg : c.added) buf.AddEvent(100, msg);
    ASSERT_EQ(buf.GetEventCount(), static_cast<int>(c.stored.size())) << c.name;
    for (size_t i = 0; i < c.stored.size(); ++i)
      EXPECT_EQ(buf.GetEvent(static_cast<int>(i)).msg, c.stored[i]) << c.name << " #" << i;
  }
}

TEST_F(MidiFileBufTest, OutOfOrderTimesAreSorted) {
  TMidiFileBuf buf;
  for (uint32_t t : {500u, 100u, 300u, 100u, 0u, 900u}) buf.AddEvent(t, Control(7, 1));
  const uint32_t want[] = {0, 100, 100, 300, 500, 900};
  ASSERT_EQ(buf.GetEventCount(), 6);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(buf.GetEvent(i).time, want[i]);
  EXPECT_EQ(buf.GetLastTime(), 900u);
}

TEST_F(MidiFileBufTest, StartOffsetChasesStateToTimeZero) {
  TMidiFileBuf buf;
  buf.SetStartOffset(960);
  buf.AddEvent(100, Program(5));
  buf.AddEvent(500, Program(9));
  buf.AddEvent(500, NoteOn(60));
  buf.AddEvent(1000, NoteOn(62));
  const auto events = Events(buf);
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0], TMidiSongEvent(0, Program(9)));
  EXPECT_EQ(events[1], TMidiSongEvent(40, NoteOn(62)));
}

TEST_F(MidiFileBufTest, ChasingKeepsOneRecordPerControllerAndChannel) {
  TMidiFileBuf buf;
  buf.SetStartOffset(1000);
  buf.AddEvent(10, Control(7, 50));
  buf.AddEvent(20, Control(10, 30));
  buf.AddEvent(30, Control(7, 90));
  buf.AddEvent(40, Control(7, 20, 1));          // another channel
  buf.AddWait(50, 4);                            // dropped
  buf.AddEvent(60, NoteOff(60));                 // dropped
  const auto events = Events(buf);
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[0].msg, Control(7, 90));
  EXPECT_EQ(events[1].msg, Control(10, 30));
  EXPECT_EQ(events[2].msg, Control(7, 20, 1));
  for (const auto& e : events) EXPECT_EQ(e.time, 0u);
}

TEST_F(MidiFileBufTest, ChasedRecordThatChangesRankKeepsTheOrder) {
  TMidiFileBuf buf;
  buf.SetStartOffset(960);
  buf.AddEvent(100, Control(64, 0));    // pedal off: first at time 0
  buf.AddEvent(960, Control(7, 90));    // at the start: time 0
  buf.AddEvent(200, Control(64, 127));  // replaces the pedal off; pedal on ranks later
  ASSERT_EQ(buf.GetEventCount(), 2);
  EXPECT_EQ(buf.GetEvent(0).msg, Control(7, 90));
  EXPECT_EQ(buf.GetEvent(1).msg, Control(64, 127));
  ExpectSorted(buf);
}

TEST_F(MidiFileBufTest, ChasedTemposCollapseToTheLatest) {
  TMidiFileBuf buf;
  buf.SetStartOffset(960);
  buf.AddTempo(100, 90);
  buf.AddTempo(700, 140);
  buf.AddTempo(300, 60);  // earlier than the last chased tempo: dropped
  ASSERT_EQ(buf.GetEventCount(), 1);
  EXPECT_EQ(buf.GetEvent(0).time, 0u);
  EXPECT_EQ(buf.GetEvent(0).msg.GetTempoBpm(), 140);
}

TEST_F(MidiFileBufTest, EndCutoffDropsEventsFromTheLimit) {
  TMidiFileBuf buf;
  buf.SetEndCutoff(768);
  buf.AddEvent(767, NoteOn(60));
  buf.AddEvent(768, NoteOff(60));
  buf.AddEvent(9000, NoteOn(60));
  ASSERT_EQ(buf.GetEventCount(), 1);
  EXPECT_EQ(buf.GetEvent(0).time, 767u);
}

TEST_F(MidiFileBufTest, FilterDropsKinds) {
  TMidiFileBuf buf;
  buf.SetFilter(1u << kMidiKindTempo | 1u << kMidiKindWait);
  buf.AddTempo(0, 100);
  buf.AddWait(0, 2);
  buf.AddTimeSignature(0, 3, 2);
  ASSERT_EQ(buf.GetEventCount(), 1);
  EXPECT_EQ(buf.GetEvent(0).msg.GetKind(), kMidiKindTimeSig);
}

TEST_F(MidiFileBufTest, ResetClearsTheRenderingButKeepsTheMode) {
  TMidiFileBuf buf;
  buf.SetStartOffset(100);
  buf.SetFilter(1);
  buf.AddTempo(500, 100);
  buf.Reset();
  EXPECT_TRUE(buf.IsEmpty());
  EXPECT_EQ(buf.GetEventCount(), 0);
  EXPECT_EQ(buf.GetTimeLimit(), 0u);
  EXPECT_EQ(buf.GetFilter(), 0);
  EXPECT_EQ(buf.GetTimeLimitMode(), kMidiStartOffset);
  buf.AddEvent(50, NoteOn(60));  // limit 0: no chase any more
  EXPECT_EQ(buf.GetEventCount(), 1);
}

TEST_F(MidiFileBufTest, FullBufferWithoutGrowthSetsOverflow) {
  TMidiFileBuf buf(0);
  Fill(buf, kMidiSegmentEvents);
  EXPECT_FALSE(buf.GetOverflow());
  buf.AddEvent(1u << 20, NoteOn(60));
  EXPECT_TRUE(buf.GetOverflow());
  EXPECT_EQ(buf.GetEventCount(), kMidiSegmentEvents);
}

TEST_F(MidiFileBufTest, GrowthTakesTheEventIntoANewSegment) {
  TMidiFileBuf buf(5);
  Fill(buf, kMidiSegmentEvents);
  buf.AddEvent(1u << 20, NoteOn(60));
  EXPECT_FALSE(buf.GetOverflow());
  EXPECT_EQ(buf.GetEventCount(), kMidiSegmentEvents + 1);
  EXPECT_EQ(buf.GetSegmentCount(), 6);
  EXPECT_EQ(buf.GetHighestUsedSegment(), 1);
  EXPECT_EQ(buf.GetEvent(kMidiSegmentEvents).msg, NoteOn(60));
}

TEST_F(MidiFileBufTest, EarlyEventCascadesThroughFullSegments) {
  TMidiFileBuf buf(1);
  Fill(buf, 2 * kMidiSegmentEvents + 10, 1000);
  buf.AddEvent(5, NoteOn(60));
  buf.AddEvent(1000 + kMidiSegmentEvents, NoteOff(60));  // ties with an event in the middle
  EXPECT_EQ(buf.GetEventCount(), 2 * kMidiSegmentEvents + 12);
  EXPECT_EQ(buf.GetEvent(0), TMidiSongEvent(5, NoteOn(60)));
  ExpectSorted(buf);
  // The invariant: every segment below the highest used one is full.
  for (int s = 0; s < buf.GetHighestUsedSegment(); ++s)
    EXPECT_EQ(buf.GetSegment(s)->count, kMidiSegmentEvents) << s;
}

TEST_F(MidiFileBufTest, SegmentLimits) {
  TMidiFileBuf buf;
  EXPECT_EQ(buf.AllocSegments(5000), kMidiMaxSegments);
  EXPECT_EQ(buf.GetSegmentCount(), kMidiMaxSegments);
  EXPECT_EQ(buf.Grow(3), 0);
  EXPECT_EQ(buf.AllocSegments(1020), 1020);
  EXPECT_EQ(buf.Grow(16), 4);
  EXPECT_EQ(buf.GetSegmentCount(), kMidiMaxSegments);
  EXPECT_EQ(buf.GetSegment(kMidiMaxSegments), nullptr);
  EXPECT_EQ(buf.GetSegment(-1), nullptr);
}

TEST_F(MidiFileBufTest, AllocatingNoSegmentIsAPreconditionFailure) {
  TMidiFileBuf buf;
  try {
    buf.AllocSegments(0);
    FAIL() << "no exception";
  } catch (const TPreconditionError& e) {
    EXPECT_EQ(e.Expression(), "NumBufs > 0");
  }
}

TEST_F(MidiFileBufTest, EventIndexOutsideIsAPreconditionFailure) {
  TMidiFileBuf buf;
  buf.AddEvent(0, NoteOn(60));
  try {
    buf.GetEvent(1);
    FAIL() << "no exception";
  } catch (const TPreconditionError& e) {
    EXPECT_EQ(e.Expression(), "Count > i");
  }
  EXPECT_THROW(buf.GetEvent(-1), TPreconditionError);
}

TEST_F(MidiFileBufTest, PauseAfterTheLastEvent) {
  TMidiFileBuf buf;
  buf.AddEvent(1000, NoteOff(60));
  buf.AddPause(2);
  ASSERT_EQ(buf.GetEventCount(), 3);
  EXPECT_EQ(buf.GetEvent(1).time, 1001u);
  EXPECT_EQ(buf.GetEvent(1).msg.GetTempoMicros(), 1000000u);
  EXPECT_EQ(buf.GetEvent(2).time, 1001u);
  EXPECT_EQ(buf.GetEvent(2).msg.GetWaitLength(), 8);
  EXPECT_EQ(buf.GetPlayLength(0) - buf.GetPlayLength(1001), 2000);
}

TEST_F(MidiFileBufTest, PauseUnderAStartOffsetLandsAfterTheLastEvent) {
  TMidiFileBuf buf;
  buf.SetStartOffset(960);
  buf.AddEvent(1000, NoteOn(60));  // stored at 40
  buf.AddPause(1);
  ASSERT_EQ(buf.GetEventCount(), 3);
  EXPECT_EQ(buf.GetEvent(2).time, 41u);
  EXPECT_EQ(buf.GetEvent(2).msg.GetWaitLength(), 4);
}

struct FindCase {
  std::vector<uint32_t> times;
  uint32_t t;
  int index;
};

TEST_F(MidiFileBufTest, FindTimeIndex) {
  const FindCase cases[] = {
      {{0, 192, 192, 384}, 192, 1},
      {{0, 192, 192, 384}, 200, 2},
      {{0, 192, 192, 384}, 0, 0},
      {{0, 192, 192, 384}, 384, 3},
      {{0, 192, 192, 384}, 385, 2},  // past the last event: count - 2
      {{10, 20}, 5, 0},
      {{}, 0, 0},
      {{}, 500, 0},
      {{100}, 50, 0},
      {{100}, 100, 0},
      {{100}, 200, 0},  // one event: never a negative index
  };
  for (const FindCase& c : cases) {
    TMidiFileBuf buf;
    for (uint32_t time : c.times) buf.AddEvent(time, Control(7, 1));
    EXPECT_EQ(buf.FindTimeIndex(c.t), c.index) << c.times.size() << " events, t " << c.t;
  }
}

TEST_F(MidiFileBufTest, PlayLength) {
  TMidiFileBuf buf;
  EXPECT_EQ(buf.GetPlayLength(0), 0);
  EXPECT_EQ(buf.GetPlayLength(768), 2000);  // 120 bpm from the start
  buf.AddEvent(0, NoteOn(60));
  buf.AddEvent(768, NoteOff(60));
  EXPECT_EQ(buf.GetPlayLength(0), 2000);
  EXPECT_EQ(buf.GetPlayLength(384), 1000);
  buf.AddTempo(384, 60);
  EXPECT_EQ(buf.GetPlayLength(0), 1000 + 2000);
}

}  // namespace
}  // namespace kvt
