#include "midi/devices/kv_midi.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "midi/events/mfb_index.h"
#include "midi/events/midi_file_buf.h"
#include "tests/midi/devices/midi_device_fakes.h"

namespace kvt::test {
namespace {

uint32_t NoteOn(int note, int velocity = 100, int channel = 0) {
  return TMidiMsg::Channel(kMidiNoteOn, 0, channel, note, velocity).GetShortMessage();
}
uint32_t NoteOff0(int note, int channel = 0) {  // note-on of velocity 0
  return static_cast<uint32_t>(0x90 | channel) | static_cast<uint32_t>(note) << 8;
}
uint32_t Cc(int controller, int value, int channel = 0) {
  return TMidiMsg::Channel(kMidiControlChange, 0, channel, controller, value).GetShortMessage();
}

class KVMidiTest : public ::testing::Test {
protected:
  KVMidiTest() : port(&clock) {}

  void AddNote(uint32_t time, int note, int velocity = 100) {
    buffer.AddEvent(time, TMidiMsg::Channel(kMidiNoteOn, 0, 0, note, velocity));
  }
  void AddOff(uint32_t time, int note) {
    buffer.AddEvent(time, TMidiMsg::Channel(kMidiNoteOff, 0, 0, note, 0));
  }
  void AddCc(uint32_t time, int controller, int value) {
    buffer.AddEvent(time, TMidiMsg::Channel(kMidiControlChange, 0, 0, controller, value));
  }
  bool Start(int32_t tick = 0, uint16_t countdown = 0) {
    TMidiStartRecord start;
    start.countdownMs = countdown;
    start.startTick = tick;
    start.outputs[0] = &port;
    startMs = clock.NowMs();
    return seq.Start(&receiver, start, buffer.GetSegment(0));
  }
  // Fires the timer every 2 ms up to ms after the start.
  void RunTo(int64_t ms) {
    while (clock.NowMs() < startMs + ms) {
      clock.Advance(std::min<int64_t>(2, startMs + ms - clock.NowMs()));
      timer.Fire();
    }
  }
  // The due time of the first note-on of key note sent after the start.
  int64_t DueOf(int note) {
    for (const TSentMsg& s : port.Sent())
      if (s.msg == NoteOn(note)) return s.dueMs - startMs;
    return -1;
  }
  // Milliseconds to the event of key note by the buffer's own time index.
  int64_t IndexMsOf(int note) {
    TMFBTimeIndex index(buffer);
    for (int i = 0; i < buffer.GetEventCount(); ++i) {
      if (buffer.GetEvent(i).msg.GetShortMessage() != NoteOn(note)) continue;
      index.SetIndex(i);
      return index.GetElapsedMs();
    }
    return -1;
  }

  TFakeClock clock;
  TFakeTimer timer;
  TQueuePost post;
  TRecordingPort port;
  TRecordingReceiver receiver;
  TMidiFileBuf buffer;
  std::vector<std::string> log;  // outlives the sequencer, which stops as it ends
  TKVMidi seq{clock, timer, post};
  int64_t startMs = 0;
};

// Notes are due when the buffer's own time index says: 48-tick steps of 125 ms at 120 bpm, a
// wait of 4 steps adds 500 ms, a tempo record re-bases the later events.
TEST_F(KVMidiTest, NotesAreDueWhenTheTimeIndexSays) {
  buffer.AddTempo(0, 120);
  AddNote(0, 60);
  AddNote(192, 61);
  buffer.AddTempo(384, 60);
  AddNote(384, 62);
  AddNote(576, 63);
  buffer.AddTempo(768, 120);
  buffer.AddWait(768, 4);
  AddNote(768, 64);
  AddNote(960, 65);
  ASSERT_TRUE(Start());
  RunTo(5000);
  const struct {
    int note;
    int64_t ms;
  } table[] = {{60, 0}, {61, 500}, {62, 1000}, {63, 2000}, {64, 3500}, {65, 4000}};
  for (const auto& row : table) {
    SCOPED_TRACE(row.note);
    EXPECT_EQ(DueOf(row.note), row.ms);
    EXPECT_EQ(IndexMsOf(row.note), row.ms);
  }
  // Every send happens within one timer period of its due time.
  for (const TSentMsg& s : port.Sent()) EXPECT_LE(s.sentMs - s.dueMs, 2);
}

TEST_F(KVMidiTest, CountdownDelaysTheFirstNote) {
  AddNote(0, 60);
  AddNote(192, 61);
  ASSERT_TRUE(Start(0, 500));
  EXPECT_EQ(seq.GetCountdownSeconds(), 1);
  RunTo(498);
  EXPECT_TRUE(port.Sent().empty());
  RunTo(500);
  EXPECT_EQ(DueOf(60), 500);
  EXPECT_EQ(seq.GetCountdownSeconds(), 0);
  RunTo(1100);
  EXPECT_EQ(DueOf(61), 1000);
}

// A clock far past the due time catches up in one step: the notes passed go out at once and
// the later ones keep their places in time.
TEST_F(KVMidiTest, LateClockCatchesUp) {
  AddNote(0, 60);
  AddNote(192, 61);
  AddNote(384, 62);
  ASSERT_TRUE(Start());
  timer.Fire();
  clock.Advance(760);
  timer.Fire();
  EXPECT_EQ(port.Messages(), (std::vector<uint32_t>{NoteOn(60), NoteOn(61)}));
  EXPECT_EQ(seq.GetCurrentTick(), 291);  // 760 ms at 120 bpm
  RunTo(1100);
  EXPECT_EQ(DueOf(62), 1000);
}

// A device that is not ready delays the event by one timer tick; nothing is lost or doubled.
TEST_F(KVMidiTest, NotReadyDeviceDelaysTheEventByOneTick) {
  AddNote(0, 60);
  AddNote(192, 61);
  AddNote(384, 62);
  ASSERT_TRUE(Start());
  RunTo(498);
  port.notReady = 1;
  RunTo(500);
  EXPECT_EQ(port.Sent().size(), 1u);
  RunTo(502);
  const std::vector<TSentMsg> sent = port.Sent();
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[1].msg, NoteOn(61));
  EXPECT_EQ(sent[1].sentMs - startMs, 502);
  RunTo(1100);
  EXPECT_EQ(port.Messages(), (std::vector<uint32_t>{NoteOn(60), NoteOn(61), NoteOn(62)}));
}

// Starting inside the piece: controllers and programs before the start are restored, only the
// notes still held at the start are struck again, and the first played event is due at its
// own time (not at once).
TEST_F(KVMidiTest, StartChasesStateAndRestrikesOnlyHeldNotes) {
  buffer.AddEvent(0, TMidiMsg::Channel(kMidiProgramChange, 0, 0, 5, 0));
  AddNote(0, 60);
  AddNote(0, 62);
  AddCc(50, 7, 90);
  AddOff(100, 62);
  AddNote(384, 64);
  AddOff(400, 60);
  ASSERT_TRUE(Start(300));
  const uint32_t program = TMidiMsg::Channel(kMidiProgramChange, 0, 0, 5, 0).GetShortMessage();
  EXPECT_EQ(port.Messages(), (std::vector<uint32_t>{program, Cc(7, 90), NoteOn(60)}));
  port.Clear();
  RunTo(216);
  EXPECT_TRUE(port.Sent().empty());
  RunTo(400);
  EXPECT_EQ(DueOf(64), 218);  // 84 ticks at 120 bpm
}

TEST_F(KVMidiTest, PauseSilencesAndResumeRestoresInOrder) {
  AddCc(0, 64, 127);
  AddNote(0, 60);
  AddNote(1920, 62);
  port.log = &log;
  ASSERT_TRUE(Start());
  RunTo(100);
  port.Clear();
  log.clear();
  seq.TogglePause();
  EXPECT_TRUE(seq.IsPaused());
  std::vector<uint32_t> expected = {Cc(64, 0), NoteOff0(60)};
  for (int c = 0; c < 16; ++c) expected.push_back(Cc(123, 0, c));
  EXPECT_EQ(port.Messages(), expected);
  EXPECT_EQ(log.front(), "drop");  // scheduled sound goes before the note offs
  EXPECT_TRUE(port.Sounding().empty());
  port.Clear();
  clock.Advance(3000);
  timer.Fire();
  EXPECT_TRUE(port.Sent().empty());
  seq.TogglePause();
  EXPECT_EQ(port.Messages(), (std::vector<uint32_t>{Cc(64, 127), NoteOn(60)}));
  // The pause shifted the time line: note 62 is due 5 s + 3 s after the start.
  RunTo(9000);
  EXPECT_EQ(DueOf(62), 8000);
}

TEST_F(KVMidiTest, RepositionWhilePausedRestrikesOnlyHeldNotes) {
  AddNote(0, 60);
  AddNote(0, 62);
  AddOff(192, 62);
  AddOff(768, 60);
  AddNote(960, 64);
  ASSERT_TRUE(Start());
  RunTo(10);
  EXPECT_FALSE(seq.Reposition(400, buffer.GetSegment(0)));  // not paused
  seq.TogglePause();
  ASSERT_TRUE(seq.Reposition(400, buffer.GetSegment(0)));
  port.Clear();
  seq.TogglePause();
  EXPECT_EQ(port.Messages(), (std::vector<uint32_t>{NoteOn(60)}));
  EXPECT_EQ(seq.GetCurrentTick(), 400);
}

// Stop waits for the timer thread before it silences, and leaves no key sounding.
TEST_F(KVMidiTest, StopJoinsTheTimerThenSilencesEveryKey) {
  AddNote(0, 60);
  AddNote(0, 67);
  AddNote(1920, 62);
  port.log = &log;
  timer.onStop = [&] { log.push_back("timer stopped"); };
  ASSERT_TRUE(Start());
  RunTo(10);
  log.clear();
  seq.Stop();
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.front(), "timer stopped");
  EXPECT_TRUE(port.Sounding().empty());
  EXPECT_FALSE(seq.IsPlaying());
  EXPECT_FALSE(timer.Running());
}

TEST_F(KVMidiTest, StartIsRefusedWithoutDataReceiverOrTimer) {
  EXPECT_FALSE(Start());  // empty segment
  AddNote(0, 60);
  TMidiStartRecord start;
  EXPECT_FALSE(seq.Start(nullptr, start, buffer.GetSegment(0)));
  timer.refuse = true;
  EXPECT_FALSE(Start());
  EXPECT_FALSE(seq.IsPlaying());
  timer.refuse = false;
  EXPECT_TRUE(Start());
  EXPECT_FALSE(Start());  // already playing
}

// The chase calls the receiver directly; a receiver that stops play from there must neither
// deadlock nor leave the timer running.
TEST_F(KVMidiTest, ReceiverMayStopPlayFromInsideTheChase) {
  AddNote(0, 60);
  receiver.react = [&](int) { seq.Stop(); };
  EXPECT_FALSE(Start(100));
  EXPECT_FALSE(seq.IsPlaying());
  EXPECT_FALSE(timer.Running());
  receiver.react = nullptr;
  EXPECT_TRUE(Start(0));
}

// Segments follow one another through the queued slot; a segment that runs dry before the UI
// queued the next waits and takes it at the next tick, sending nothing twice.
class KVMidiSegmentsTest : public KVMidiTest {
protected:
  void Fill() {
    buffer.AllocSegments(4);
    for (uint32_t i = 0; i < 2 * kMidiSegmentEvents + 10; ++i) {
      buffer.AddEvent(i * 4, TMidiMsg::Channel(kMidiNoteOn, 0, i % 16, 40 + i % 50, 1 + i % 120));
    }
    ASSERT_EQ(buffer.GetHighestUsedSegment(), 2);
  }
  std::vector<uint32_t> BufferMessages() {
    std::vector<uint32_t> out;
    for (int i = 0; i < buffer.GetEventCount(); ++i)
      out.push_back(buffer.GetEvent(i).msg.GetShortMessage());
    return out;
  }
  int next = 1;
};

TEST_F(KVMidiSegmentsTest, QueuedSegmentsPlayInOrder) {
  Fill();
  receiver.react = [&](int message) {
    if (message == kSeqSegmentTaken && next <= 2 && seq.QueueSegment(buffer.GetSegment(next)))
      ++next;
  };
  ASSERT_TRUE(Start());
  EXPECT_EQ(next, 2);  // the chase asked directly for the first queued segment
  for (int i = 0; i < 60000 && receiver.messages.back() != kSeqEndOfData; ++i) {
    RunTo(clock.NowMs() - startMs + 2);
    post.Pump();
  }
  EXPECT_EQ(port.Messages(), BufferMessages());
  EXPECT_EQ(receiver.messages.back(), kSeqEndOfData);
}

TEST_F(KVMidiSegmentsTest, DrySegmentTakesTheNextAtTheNextTick) {
  Fill();
  ASSERT_TRUE(Start());  // the receiver queues nothing
  RunTo(60000);
  post.Pump();
  EXPECT_EQ(receiver.messages.back(), kSeqEndOfData);
  const size_t played = port.Sent().size();
  EXPECT_EQ(played, static_cast<size_t>(kMidiSegmentEvents));
  // A minute later nothing is repeated.
  RunTo(130000);
  EXPECT_EQ(port.Sent().size(), played);
  ASSERT_TRUE(seq.QueueSegment(buffer.GetSegment(1)));
  RunTo(130002);
  ASSERT_TRUE(seq.QueueSegment(buffer.GetSegment(2)));
  RunTo(130010);
  EXPECT_EQ(port.Messages(), BufferMessages());
}

TEST_F(KVMidiTest, RecordingStampsTicksAndSkipsSystemMessages) {
  AddNote(0, 60);
  AddNote(7680, 61);
  seq.SetRecordMode(true);
  seq.OnShortMessage(NoteOn(50));  // not playing: tick -1
  seq.OnShortMessage(0xF8);        // clock: never stored
  ASSERT_TRUE(Start());
  RunTo(500);
  seq.OnShortMessage(NoteOn(51) | 0x03000000u);
  TRecordedEvent event;
  ASSERT_TRUE(seq.GetRecordedEvent(event));
  EXPECT_EQ(event.tick, -1);
  ASSERT_TRUE(seq.GetRecordedEvent(event));
  EXPECT_EQ(event.tick, 192);
  EXPECT_EQ(event.msg.GetShortMessage(), NoteOn(51));
  EXPECT_EQ(event.msg.GetPort(), 3);
  EXPECT_FALSE(seq.GetRecordedEvent(event));
}

TEST_F(KVMidiTest, RecordingLongAfterTheBaseTimeDoesNotOverflow) {
  AddNote(0, 60);
  AddNote(768000, 61);
  seq.SetRecordMode(true);
  ASSERT_TRUE(Start());
  RunTo(30000);  // past 2^31 / 192 / 500 ms ... in 32 bits
  seq.OnShortMessage(NoteOn(51));
  TRecordedEvent event;
  ASSERT_TRUE(seq.GetRecordedEvent(event));
  EXPECT_EQ(event.tick, 30000 * 192 / 500);
}

TEST_F(KVMidiTest, TinyTempoIsHeldAtOneThousandMicroseconds) {
  buffer.AddEvent(0, TMidiMsg::Tempo(1));
  AddNote(0, 60);
  AddNote(192, 61);
  seq.SetRecordMode(true);
  ASSERT_TRUE(Start());
  RunTo(4);
  seq.OnShortMessage(NoteOn(51));
  EXPECT_EQ(port.Messages(), (std::vector<uint32_t>{NoteOn(60), NoteOn(61)}));
  TRecordedEvent event;
  ASSERT_TRUE(seq.GetRecordedEvent(event));
  EXPECT_EQ(event.tick, 768);  // 4 ms at 1,000 us a quarter
}

TEST_F(KVMidiTest, FullRecordRingKeepsTheNewestEntries) {
  seq.SetRecordMode(true);
  for (int i = 0; i < 300; ++i) seq.OnShortMessage(NoteOn(i % 128, 1 + i % 100));
  TRecordedEvent event;
  int count = 0;
  uint32_t last = 0;
  while (seq.GetRecordedEvent(event)) {
    ++count;
    last = event.msg.GetShortMessage();
  }
  EXPECT_EQ(count, kSeqRecordRingSize - 1);
  EXPECT_EQ(last, NoteOn(299 % 128, 1 + 299 % 100));
  // Switching recording on again discards what was not read.
  seq.SetRecordMode(false);
  seq.OnShortMessage(NoteOn(1));
  seq.SetRecordMode(true);
  EXPECT_FALSE(seq.GetRecordedEvent(event));
}

class TInputLog final : public TMidiInputReceiver {
public:
  void OnMidiInput(uint32_t msg) override { got.push_back(msg); }
  std::vector<uint32_t> got;
};

TEST_F(KVMidiTest, InputIsEchoedAndPostedToTheInputWindow) {
  TRecordingPort echo;
  TInputLog window;
  seq.SetEcho(&echo, 3);
  seq.SetInputWindow(&window);
  echo.notReady = 1;
  seq.OnShortMessage(NoteOn(60, 100, 9));
  seq.OnShortMessage(0xA0 | 0x403C00);  // polyphonic pressure: echoed, not posted
  seq.OnShortMessage(0xF8);             // system: echoed unchanged, never posted
  seq.OnShortMessage(0x40);             // no status byte: dropped
  EXPECT_EQ(echo.Messages(), (std::vector<uint32_t>{NoteOn(60, 100, 2), 0x403CA2u, 0xF8u}));
  EXPECT_TRUE(window.got.empty());  // queued, not called inline
  post.Pump();
  EXPECT_EQ(window.got, (std::vector<uint32_t>{NoteOn(60, 100, 9)}));
  // A window removed before its calls ran gets none of them.
  seq.OnShortMessage(NoteOn(61));
  seq.SetInputWindow(nullptr);
  post.Pump();
  EXPECT_EQ(window.got.size(), 1u);
}

TEST(KVMidiLifetimeTest, CallsPostedBeforeDestructionDoNothing) {
  TFakeClock clock;
  TFakeTimer timer;
  TQueuePost post;
  TInputLog window;
  {
    TKVMidi seq(clock, timer, post);
    seq.SetInputWindow(&window);
    seq.OnShortMessage(NoteOn(60));
  }
  EXPECT_EQ(post.Pump(), 1);
  EXPECT_TRUE(window.got.empty());
}

}  // namespace
}  // namespace kvt::test
