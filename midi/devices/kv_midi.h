#pragma once
// TKVMidi: the real-time sequencer. It plays the segments of a TMidiFileBuf one after the other
// from a 2 ms timer, sending each channel message to its output port when its time comes, and
// asks the UI for the next segment. Per port it tracks the sounding notes and controller state,
// so that pause, resume and a move of the position silence and restore the instruments. While
// recording, it time-stamps incoming MIDI into a ring of 256 entries.
//
// Time: 192 ticks per quarter note, tempo in microseconds per quarter (held at 1,000 or more),
// milliseconds of the injected clock. Playing advances at most 48 ticks per scheduling step,
// landing exactly on event ticks; a clock more than 2 ms past the due time catches up; a wait
// record of length n holds the position for n steps of 48 ticks.
//
// Messages to the UI ("KVTMidiSeq"): kSeqSegmentTaken (1): the queued segment became current,
// queue the next one; kSeqEndOfData (2): the current segment ran dry with none queued. From the
// timer thread they are posted (queued calls into the UI thread); the chase of Start and
// Reposition calls the receiver directly, without holding the sequencer's lock, so the receiver
// may queue a segment from inside the call. A segment that runs dry waits, sending nothing
// twice: a segment queued on kSeqEndOfData is taken at the next tick.
//
// Threads: every operation except TimerTick and OnShortMessage runs on the UI thread. One mutex
// guards the state; the timer and input threads take it for their step, and outputs never wait
// inside Send. Silencing and restoring happen outside the lock, with retries, while the timer
// sends nothing (paused or stopped); Stop joins the timer thread before it silences.
//
// Lifetime: the clock, timer, UI post, receivers, outputs and segments are the caller's; the
// outputs and segments must stay valid while playing (until Stop). Calls posted before the
// sequencer is destroyed are dropped when they run after it.

#include <array>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "midi/devices/midi_clock.h"
#include "midi/devices/midi_ports.h"
#include "midi/devices/port_state_tracker.h"
#include "midi/events/midi_song_event.h"
#include "utils/thread_annotations.h"

namespace kvt {

inline constexpr int kMidiPorts = 16;
inline constexpr int kSeqTimerPeriodMs = 2;
inline constexpr int kSeqRecordRingSize = 256;

enum TSeqMessage : int {
  kSeqSegmentTaken = 1,
  kSeqEndOfData = 2,
};

// Receives "KVTMidiSeq" on the UI thread.
class TMidiSeqReceiver {
public:
  virtual ~TMidiSeqReceiver() = default;
  virtual void OnSequencerMessage(int message) = 0;
};

// Receives incoming MIDI on the UI thread while not recording ("MM_MIM_DATA").
class TMidiInputReceiver {
public:
  virtual ~TMidiInputReceiver() = default;
  virtual void OnMidiInput(uint32_t shortMsg) = 0;
};

struct TMidiStartRecord {
  uint16_t countdownMs = 0;
  int32_t startTick = 0;
  std::array<TMidiOutPort*, kMidiPorts> outputs{};  // null: port not used
};

struct TRecordedEvent {
  int32_t tick = -1;  // -1: recorded while not playing
  TMidiMsg msg;
};

class TKVMidi final : public TMidiInputSink {
public:
  TKVMidi(const TMidiClock& clock, TMidiTimer& timer, TMidiUiPost& post);
  ~TKVMidi() override;
  TKVMidi(const TKVMidi&) = delete;
  TKVMidi& operator=(const TKVMidi&) = delete;

  // Starts playing segment (chasing to the start tick, then restoring the ports); false when
  // already playing, with no receiver or an empty segment, or when the timer does not start.
  bool Start(TMidiSeqReceiver* receiver, const TMidiStartRecord& start,
             const TMidiSongEventBuf* segment) EXCLUDES(mutex);
  // Accepted only while playing, with the slot empty and a segment holding events.
  bool QueueSegment(const TMidiSongEventBuf* segment) EXCLUDES(mutex);
  bool HasQueuedSegment() const EXCLUDES(mutex);
  void Stop() EXCLUDES(mutex);
  void TogglePause() EXCLUDES(mutex);
  // Only while playing and paused: plays segment from tick (chasing again); false otherwise.
  bool Reposition(int32_t tick, const TMidiSongEventBuf* segment) EXCLUDES(mutex);

  bool IsPlaying() const EXCLUDES(mutex);
  bool IsPaused() const EXCLUDES(mutex);
  int32_t GetCurrentTick() const EXCLUDES(mutex);
  // Whole seconds (rounded) until the countdown ends; 0 when none runs.
  int GetCountdownSeconds() const EXCLUDES(mutex);

  // Incoming messages are echoed to output (null: no echo), on channel override - 1 when
  // override is 1-16; 0 keeps the channel.
  void SetEcho(TMidiOutPort* output, int channelOverride) EXCLUDES(mutex);
  void SetInputWindow(TMidiInputReceiver* receiver) EXCLUDES(mutex);
  // Switching on discards what was recorded and not read.
  void SetRecordMode(bool on) EXCLUDES(mutex);
  bool GetRecordedEvent(TRecordedEvent& out) EXCLUDES(mutex);

  // The input thread's delivery (see TMidiInputSink).
  void OnShortMessage(uint32_t shortMsg) override EXCLUDES(mutex);
  // One step of the timer thread; the timer calls it every 2 ms (tests call it directly).
  void TimerTick() EXCLUDES(mutex);

private:
  using TPortMsgs = std::vector<std::pair<TMidiOutPort*, TMidiMsg>>;
  enum class TChase { kDone, kFeed, kDry };

  // Chases to tick, calling the receiver directly for each segment taken; false when the data
  // ran dry (the ports are then not restored).
  bool Chase(int32_t tick) EXCLUDES(mutex);
  TChase ChaseStep(int32_t tick) REQUIRES(mutex);
  // Moves the play pointer past its event; at the end of the segment takes the queued one.
  // Returns what the UI must be told (0: nothing).
  int AdvancePointer() REQUIRES(mutex);
  bool TakeQueued() REQUIRES(mutex);
  void SetNextEventTick() REQUIRES(mutex);
  TMidiSendResult SendTracked(TMidiMsg msg, int64_t dueMs) REQUIRES(mutex);
  void Track(TMidiMsg msg) REQUIRES(mutex);
  void SetTempo(uint32_t micros) REQUIRES(mutex);
  void ClearTrackers() REQUIRES(mutex);
  // The silencing messages of every open port (the tracked ones; channel mode is added when
  // sending), and the restoring ones.
  TPortMsgs CollectSilence() const REQUIRES(mutex);
  TPortMsgs CollectRestore() const REQUIRES(mutex);
  std::vector<TMidiOutPort*> OpenOutputs() const REQUIRES(mutex);
  // Outside the lock: drops what the outputs scheduled, sends msgs, then all notes off (CC
  // 123) on every channel of every output.
  void SendSilence(const std::vector<TMidiOutPort*>& outputs, const TPortMsgs& msgs);
  void SendAll(const TPortMsgs& msgs);
  void PostMessage(int message) REQUIRES(mutex);
  void DeliverMessage(int message, uint64_t generation) EXCLUDES(mutex);
  void DeliverInput(uint32_t shortMsg) EXCLUDES(mutex);
  void RecordInput(uint32_t shortMsg, int64_t now) REQUIRES(mutex);

  const TMidiClock& clock;
  TMidiTimer& timer;
  TMidiUiPost& post;
  // Posted calls hold a weak reference: they do nothing once the sequencer is gone.
  std::shared_ptr<int> alive = std::make_shared<int>(0);

  mutable TMutex mutex;
  std::array<std::unique_ptr<TPortStateTracker>, kMidiPorts> trackers GUARDED_BY(mutex);
  std::array<TMidiOutPort*, kMidiPorts> outputs GUARDED_BY(mutex){};
  bool playing GUARDED_BY(mutex) = false;
  bool paused GUARDED_BY(mutex) = false;
  bool dry GUARDED_BY(mutex) = false;  // the segment ran out with none queued
  uint64_t generation GUARDED_BY(mutex) = 0;  // one per start: stale posts are dropped
  int64_t currentTick GUARDED_BY(mutex) = 0;
  int64_t nextEventTick GUARDED_BY(mutex) = 0;
  int64_t scheduledTick GUARDED_BY(mutex) = 0;
  int64_t dueTime GUARDED_BY(mutex) = 0;
  int64_t baseTime GUARDED_BY(mutex) = 0;
  int64_t baseTick GUARDED_BY(mutex) = 0;
  int64_t pauseStart GUARDED_BY(mutex) = 0;
  int waitSteps GUARDED_BY(mutex) = 0;
  uint32_t tempo GUARDED_BY(mutex) = 1000;
  const TMidiSongEventBuf* segment GUARDED_BY(mutex) = nullptr;
  int playIndex GUARDED_BY(mutex) = 0;
  const TMidiSongEventBuf* queued GUARDED_BY(mutex) = nullptr;
  TMidiSeqReceiver* receiver GUARDED_BY(mutex) = nullptr;

  TMidiOutPort* echoOutput GUARDED_BY(mutex) = nullptr;
  int echoOverride GUARDED_BY(mutex) = 0;
  TMidiInputReceiver* inputReceiver GUARDED_BY(mutex) = nullptr;
  bool recording GUARDED_BY(mutex) = false;
  std::array<TRecordedEvent, kSeqRecordRingSize> ring GUARDED_BY(mutex){};
  int readIndex GUARDED_BY(mutex) = 0;
  int writeIndex GUARDED_BY(mutex) = 0;
};

}  // namespace kvt
