// The timer thread's side of the sequencer: one scheduling step every 2 ms.

#include <algorithm>

#include "midi/devices/kv_midi.h"
#include "midi/events/mfb_index.h"

namespace kvt {

namespace {

constexpr int64_t kCatchUpMs = 2;
constexpr int64_t kRebaseMs = 300000;

}  // namespace

void TKVMidi::TimerTick() {
  TMutexLock lock(mutex);
  if (!playing || paused) return;
  const int64_t now = clock.NowMs();
  if (now < dueTime) return;
  if (dry) {
    // A segment queued after the data ran dry is taken here, where play left off.
    if (!TakeQueued()) return;
    PostMessage(kSeqSegmentTaken);
  }
  if (now - dueTime >= kCatchUpMs && waitSteps == 0)
    scheduledTick += MidiMsToTicks(tempo, now - dueTime);
  currentTick = scheduledTick;
  while (currentTick >= nextEventTick) {
    const TMidiMsg msg = segment->events[playIndex].msg;
    bool holdOnWait = false;
    switch (msg.GetKind()) {
      case kMidiKindChannel:
        // A device that is not ready gets the same event again at the next tick.
        if (SendTracked(msg, dueTime) == TMidiSendResult::kNotReady) return;
        break;
      case kMidiKindTempo:
        SetTempo(msg.GetTempoMicros());
        baseTick = currentTick = nextEventTick;
        baseTime = dueTime;
        break;
      case kMidiKindWait:
        baseTick = currentTick = nextEventTick;
        baseTime = dueTime;
        if (waitSteps > 0)
          --waitSteps;
        else
          waitSteps = msg.GetWaitLength();
        holdOnWait = waitSteps > 0;
        break;
      default:
        break;
    }
    if (holdOnWait) break;
    if (const int message = AdvancePointer()) {
      PostMessage(message);
      if (dry) return;
    }
  }
  int64_t step = kMidiWaitStepTicks;
  if (waitSteps == 0) {
    scheduledTick = std::min(scheduledTick + kMidiWaitStepTicks, nextEventTick);
    step = scheduledTick - baseTick;
  }
  const int64_t span = MidiTicksToMs(
      tempo, static_cast<uint32_t>(std::clamp<int64_t>(step, 0, UINT32_MAX)));
  dueTime = baseTime + span;
  if (span > kRebaseMs) {
    baseTime = dueTime;
    baseTick = scheduledTick;
  }
}

int TKVMidi::AdvancePointer() {
  if (playIndex + 1 < segment->count) {
    ++playIndex;
    SetNextEventTick();
    return 0;
  }
  if (TakeQueued()) return kSeqSegmentTaken;
  dry = true;
  SetNextEventTick();
  return kSeqEndOfData;
}

TMidiSendResult TKVMidi::SendTracked(TMidiMsg msg, int64_t dueMs) {
  TMidiOutPort* output = outputs[msg.GetPort()];
  if (!output) return TMidiSendResult::kDone;
  const TMidiSendResult result = output->Send(msg.GetShortMessage(), dueMs);
  if (result == TMidiSendResult::kDone) Track(msg);
  return result;
}

}  // namespace kvt
