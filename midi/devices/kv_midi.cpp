// The UI thread's side of the sequencer: start, queueing, pause, reposition, stop and the
// chase to a start position.

#include <algorithm>

#include "midi/devices/kv_midi.h"
#include "midi/devices/send_retry.h"

namespace kvt {

namespace {

constexpr uint32_t kStartTempo = 500000;
constexpr int kControllerAllNotesOff = 123;

bool HoldsEvents(const TMidiSongEventBuf* segment) { return segment && segment->count > 0; }

}  // namespace

TKVMidi::TKVMidi(const TMidiClock& clock, TMidiTimer& timer, TMidiUiPost& post)
    : clock(clock), timer(timer), post(post) {}

TKVMidi::~TKVMidi() { Stop(); }

bool TKVMidi::Start(TMidiSeqReceiver* newReceiver, const TMidiStartRecord& start,
                    const TMidiSongEventBuf* first) {
  if (!newReceiver || !HoldsEvents(first)) return false;
  {
    TMutexLock lock(mutex);
    if (playing) return false;
    paused = false;
    dry = false;
    receiver = newReceiver;
    for (int p = 0; p < kMidiPorts; ++p) {
      outputs[p] = start.outputs[p];
      if (!outputs[p]) continue;
      if (!trackers[p]) trackers[p] = std::make_unique<TPortStateTracker>();
      trackers[p]->Clear();
    }
    const int64_t now = clock.NowMs();
    baseTime = dueTime = now + start.countdownMs;
    baseTick = scheduledTick = start.startTick;
    waitSteps = 0;
    segment = first;
    playIndex = 0;
    queued = nullptr;
    currentTick = 0;
    SetNextEventTick();
    tempo = kStartTempo;
    playing = true;
    ++generation;
  }
  if (Chase(start.startTick)) {
    TPortMsgs restore;
    {
      TMutexLock lock(mutex);
      restore = CollectRestore();
    }
    SendAll(restore);
  }
  // The receiver may have stopped play from inside the chase.
  if (!IsPlaying()) return false;
  if (!timer.Start(kSeqTimerPeriodMs, [this] { TimerTick(); })) {
    Stop();
    return false;
  }
  return IsPlaying();
}

bool TKVMidi::QueueSegment(const TMidiSongEventBuf* next) {
  TMutexLock lock(mutex);
  if (!playing || queued || !HoldsEvents(next)) return false;
  queued = next;
  return true;
}

bool TKVMidi::HasQueuedSegment() const {
  TMutexLock lock(mutex);
  return queued != nullptr;
}

void TKVMidi::Stop() {
  TPortMsgs silence;
  std::vector<TMidiOutPort*> open;
  {
    TMutexLock lock(mutex);
    if (!playing) return;
    playing = false;
    paused = false;
    receiver = nullptr;
    silence = CollectSilence();
    open = OpenOutputs();
  }
  // A callback still running could strike a note after the silence: wait for the thread first.
  timer.Stop();
  SendSilence(open, silence);
  TMutexLock lock(mutex);
  // The outputs are the caller's again; nothing may reach them from here on.
  outputs.fill(nullptr);
}

void TKVMidi::TogglePause() {
  bool resume = false;
  TPortMsgs msgs;
  std::vector<TMidiOutPort*> open;
  {
    TMutexLock lock(mutex);
    if (!playing) return;
    resume = paused;
    if (resume) {
      msgs = CollectRestore();
    } else {
      paused = true;
      pauseStart = clock.NowMs();
      msgs = CollectSilence();
      open = OpenOutputs();
    }
  }
  if (!resume) {
    SendSilence(open, msgs);
    return;
  }
  // The timer stays idle (paused) until the instruments are back.
  SendAll(msgs);
  TMutexLock lock(mutex);
  const int64_t length = clock.NowMs() - pauseStart;
  dueTime += length;
  baseTime += length;
  paused = false;
}

bool TKVMidi::Reposition(int32_t tick, const TMidiSongEventBuf* next) {
  if (!HoldsEvents(next)) return false;
  std::vector<TMidiOutPort*> open;
  TPortMsgs silence;
  {
    TMutexLock lock(mutex);
    if (!playing || !paused) return false;
    silence = CollectSilence();
    open = OpenOutputs();
    segment = next;
    playIndex = 0;
    queued = nullptr;
    dry = false;
    currentTick = 0;
    SetNextEventTick();
    tempo = kStartTempo;
    ClearTrackers();
    baseTime = pauseStart = dueTime = clock.NowMs();
    baseTick = scheduledTick = tick;
    waitSteps = 0;
    ++generation;
  }
  SendSilence(open, silence);
  Chase(tick);
  return true;
}

bool TKVMidi::Chase(int32_t tick) {
  TMidiSeqReceiver* target = nullptr;
  uint64_t startGeneration = 0;
  {
    TMutexLock lock(mutex);
    target = queued ? nullptr : receiver;
    startGeneration = generation;
  }
  if (target) target->OnSequencerMessage(kSeqSegmentTaken);
  for (;;) {
    TChase step = TChase::kDone;
    {
      TMutexLock lock(mutex);
      // The receiver may have stopped or restarted play from inside its call.
      if (!playing || generation != startGeneration) return false;
      step = ChaseStep(tick);
      target = receiver;
    }
    if (step == TChase::kDone) return true;
    if (step == TChase::kDry) return false;
    if (target) target->OnSequencerMessage(kSeqSegmentTaken);
  }
}

TKVMidi::TChase TKVMidi::ChaseStep(int32_t tick) {
  while (!dry) {
    const TMidiSongEvent& event = segment->events[playIndex];
    const TMidiMsg msg = event.msg;
    // Records at the start tick that set state are chased; everything later plays.
    const uint32_t start = static_cast<uint32_t>(std::max(tick, 0));
    if (event.time > start ||
        (event.time == start && (!msg.IsChannelMessage() || msg.IsNoteOn()))) {
      currentTick = tick;
      // The event under the pointer is due at its own time, not before.
      nextEventTick = event.time;
      return TChase::kDone;
    }
    if (msg.IsChannelMessage()) {
      Track(msg);
    } else if (msg.GetKind() == kMidiKindTempo) {
      SetTempo(msg.GetTempoMicros());
    }
    if (playIndex + 1 < segment->count) {
      ++playIndex;
      continue;
    }
    if (TakeQueued()) return TChase::kFeed;
    dry = true;
    PostMessage(kSeqEndOfData);
    return TChase::kDry;
  }
  return TChase::kDry;
}

bool TKVMidi::TakeQueued() {
  if (!queued) return false;
  segment = queued;
  queued = nullptr;
  playIndex = 0;
  dry = false;
  SetNextEventTick();
  return true;
}

void TKVMidi::SetNextEventTick() {
  nextEventTick = dry || !segment ? INT64_MAX : segment->events[playIndex].time;
}

void TKVMidi::SetTempo(uint32_t micros) {
  // Time-stamping divides by tempo / 1000 and catching up by the tempo: files do carry
  // tempos below 1,000 microseconds, so the sequencer never goes faster.
  tempo = std::max<uint32_t>(micros, 1000);
}

void TKVMidi::Track(TMidiMsg msg) {
  TPortStateTracker* tracker = trackers[msg.GetPort()].get();
  if (tracker && outputs[msg.GetPort()]) tracker->Track(msg);
}

void TKVMidi::ClearTrackers() {
  for (auto& tracker : trackers)
    if (tracker) tracker->Clear();
}

std::vector<TMidiOutPort*> TKVMidi::OpenOutputs() const {
  std::vector<TMidiOutPort*> open;
  for (TMidiOutPort* output : outputs)
    if (output) open.push_back(output);
  return open;
}

TKVMidi::TPortMsgs TKVMidi::CollectSilence() const {
  TPortMsgs out;
  std::vector<TMidiMsg> msgs;
  for (int p = 0; p < kMidiPorts; ++p) {
    if (!outputs[p] || !trackers[p]) continue;
    msgs.clear();
    trackers[p]->AppendSilence(msgs);
    for (TMidiMsg m : msgs) out.emplace_back(outputs[p], m);
  }
  return out;
}

TKVMidi::TPortMsgs TKVMidi::CollectRestore() const {
  TPortMsgs out;
  std::vector<TMidiMsg> msgs;
  for (int p = 0; p < kMidiPorts; ++p) {
    if (!outputs[p] || !trackers[p]) continue;
    msgs.clear();
    trackers[p]->AppendRestore(msgs);
    for (TMidiMsg m : msgs) out.emplace_back(outputs[p], m);
  }
  return out;
}

void TKVMidi::SendSilence(const std::vector<TMidiOutPort*>& open, const TPortMsgs& msgs) {
  // What the synthesizer holds for later would strike after the silence: drop it first.
  for (TMidiOutPort* output : open) output->DropScheduled();
  SendAll(msgs);
  const int64_t now = clock.NowMs();
  for (TMidiOutPort* output : open) {
    for (int channel = 0; channel < 16; ++channel) {
      const TMidiMsg off =
          TMidiMsg::Channel(kMidiControlChange, 0, channel, kControllerAllNotesOff, 0);
      SendRetry(*output, off.GetShortMessage(), now, clock);
    }
  }
}

void TKVMidi::SendAll(const TPortMsgs& msgs) {
  const int64_t now = clock.NowMs();
  for (const auto& [output, msg] : msgs) SendRetry(*output, msg.GetShortMessage(), now, clock);
}

void TKVMidi::PostMessage(int message) {
  post.Post([weak = std::weak_ptr<int>(alive), this, message, gen = generation] {
    if (!weak.expired()) DeliverMessage(message, gen);
  });
}

void TKVMidi::DeliverMessage(int message, uint64_t gen) {
  TMidiSeqReceiver* target = nullptr;
  {
    TMutexLock lock(mutex);
    if (!playing || gen != generation) return;
    target = receiver;
  }
  if (target) target->OnSequencerMessage(message);
}

bool TKVMidi::IsPlaying() const {
  TMutexLock lock(mutex);
  return playing;
}

bool TKVMidi::IsPaused() const {
  TMutexLock lock(mutex);
  return playing && paused;
}

int32_t TKVMidi::GetCurrentTick() const {
  TMutexLock lock(mutex);
  return static_cast<int32_t>(std::clamp<int64_t>(currentTick, 0, INT32_MAX));
}

int TKVMidi::GetCountdownSeconds() const {
  TMutexLock lock(mutex);
  if (!playing || paused) return 0;
  const int64_t now = clock.NowMs();
  if (now >= baseTime) return 0;
  return static_cast<int>((baseTime - now + 500) / 1000);
}

}  // namespace kvt
