// The sequencer on its real timer thread, with an input thread echoing and recording, while
// the UI thread pauses, moves, queues and stops at random. Run under the thread sanitizer by
// scripts/test: no race, no deadlock, no key left sounding, every event sent once and in order.

#include <gtest/gtest.h>

#include <atomic>
#include <random>
#include <thread>

#include "midi/devices/kv_midi.h"
#include "midi/events/midi_file_buf.h"
#include "platform/midi/posix_midi_timer.h"
#include "platform/midi/steady_midi_clock.h"
#include "tests/midi/devices/midi_device_fakes.h"

namespace kvt::test {
namespace {

class SequencerStressTest : public ::testing::Test {
protected:
  SequencerStressTest() : port(&clock), echo(&clock) {
    buffer.AllocSegments(4);
    // A fast tempo, so that segments change hands often: 192 ticks in 20 ms.
    buffer.AddEvent(0, TMidiMsg::Tempo(20000));
    for (uint32_t i = 0; i < 3000; ++i) {
      const int channel = static_cast<int>(i % 16);
      const int key = 30 + static_cast<int>(i % 60);
      buffer.AddEvent(i * 4, TMidiMsg::Channel(kMidiNoteOn, 0, channel, key, 1 + i % 126));
      buffer.AddEvent(i * 4 + 3, TMidiMsg::Channel(kMidiNoteOff, 0, channel, key, 0));
    }
    receiver.react = [this](int message) {
      if (message != kSeqSegmentTaken) return;
      if (next <= buffer.GetHighestUsedSegment() && seq.QueueSegment(buffer.GetSegment(next)))
        ++next;
    };
  }

  bool Start(int32_t tick) {
    TMidiStartRecord start;
    start.startTick = tick;
    start.outputs[0] = &port;
    next = 1;
    return seq.Start(&receiver, start, buffer.GetSegment(0));
  }

  // Echoes and records a stream of notes on its own thread until told to stop.
  void RunInput() {
    input = std::thread([this] {
      uint32_t i = 0;
      while (!inputStop.load()) {
        seq.OnShortMessage(0x400090u | (40 + i % 40) << 8);
        seq.OnShortMessage(0x000080u | (40 + i % 40) << 8);
        seq.OnShortMessage(0xF8u);
        ++i;
        std::this_thread::sleep_for(std::chrono::microseconds(200));
      }
    });
  }
  void StopInput() {
    inputStop = true;
    if (input.joinable()) input.join();
  }
  void Drain() {
    TRecordedEvent event;
    while (seq.GetRecordedEvent(event)) EXPECT_NE(event.msg.GetStatus(), 0xF8);
  }
  // Sends of the timer thread: neither the UI thread (silence, restore) nor the input's echo.
  std::vector<uint32_t> PlayedByTimer() {
    std::vector<uint32_t> out;
    for (const TSentMsg& s : port.Sent())
      if (s.thread != std::this_thread::get_id()) out.push_back(s.msg);
    return out;
  }
  std::vector<uint32_t> BufferChannelMessages() {
    std::vector<uint32_t> out;
    for (int i = 0; i < buffer.GetEventCount(); ++i)
      if (buffer.GetEvent(i).msg.IsChannelMessage())
        out.push_back(buffer.GetEvent(i).msg.GetShortMessage());
    return out;
  }

  TSteadyMidiClock clock;
  TPosixMidiTimer timer;
  TQueuePost post;
  TRecordingPort port;
  TRecordingPort echo;
  TRecordingReceiver receiver;
  TMidiFileBuf buffer;
  int next = 1;
  std::thread input;
  std::atomic<bool> inputStop{false};
  TKVMidi seq{clock, timer, post};
};

TEST_F(SequencerStressTest, PausesKeepEveryEventOnceAndInOrder) {
  std::mt19937 random(7);
  seq.SetEcho(&echo, 2);
  seq.SetRecordMode(true);
  RunInput();
  ASSERT_TRUE(Start(0));
  bool ended = false;
  for (int step = 0; step < 20000 && !ended; ++step) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    post.Pump();
    Drain();
    if (random() % 15 == 0) seq.TogglePause();
    ended = !receiver.messages.empty() && receiver.messages.back() == kSeqEndOfData;
    if (ended && seq.IsPaused()) seq.TogglePause();
  }
  EXPECT_TRUE(ended);
  seq.Stop();
  StopInput();
  EXPECT_EQ(PlayedByTimer(), BufferChannelMessages());
  EXPECT_TRUE(port.Sounding().empty());
}

TEST_F(SequencerStressTest, RandomControlLeavesNoKeySounding) {
  std::mt19937 random(11);
  seq.SetEcho(&echo, 0);
  seq.SetRecordMode(true);
  RunInput();
  ASSERT_TRUE(Start(0));
  for (int step = 0; step < 1500; ++step) {
    std::this_thread::sleep_for(std::chrono::microseconds(500));
    post.Pump();
    Drain();
    switch (random() % 40) {
      case 0: seq.TogglePause(); break;
      case 1:
        if (seq.IsPaused()) {
          next = 1;
          seq.Reposition(static_cast<int32_t>(random() % 12000), buffer.GetSegment(0));
        }
        break;
      case 2: seq.QueueSegment(buffer.GetSegment(static_cast<int>(random() % 3))); break;
      case 3:
        seq.Stop();
        EXPECT_TRUE(port.Sounding().empty());
        Start(static_cast<int32_t>(random() % 12000));
        break;
      case 4: seq.SetRecordMode(random() % 2 == 0); break;
      default: break;
    }
  }
  seq.Stop();
  StopInput();
  post.Pump();
  EXPECT_TRUE(port.Sounding().empty());
  EXPECT_FALSE(seq.IsPlaying());
}

TEST(PosixMidiTimerTest, TicksUntilStoppedAndStopWaitsForTheThread) {
  TPosixMidiTimer timer;
  std::atomic<int> ticks{0};
  std::atomic<int64_t> worstLateNs{0};
  timer.SetWakeProbe([&](int64_t late) { worstLateNs = std::max<int64_t>(worstLateNs, late); });
  ASSERT_TRUE(timer.Start(kSeqTimerPeriodMs, [&] { ++ticks; }));
  EXPECT_FALSE(timer.Start(kSeqTimerPeriodMs, [] {}));  // already running
  while (ticks.load() < 5) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  timer.Stop();
  const int stopped = ticks.load();
  std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_EQ(ticks.load(), stopped);
  EXPECT_GE(worstLateNs.load(), 0);
  timer.Stop();  // harmless twice
  EXPECT_TRUE(timer.Start(kSeqTimerPeriodMs, [] {}));
}

}  // namespace
}  // namespace kvt::test
