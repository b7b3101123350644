// The input thread's side of the sequencer: echo, the input window and the record ring.

#include <algorithm>

#include "midi/devices/kv_midi.h"

namespace kvt {

void TKVMidi::SetEcho(TMidiOutPort* output, int channelOverride) {
  TMutexLock lock(mutex);
  echoOutput = output;
  echoOverride = channelOverride >= 0 && channelOverride <= 16 ? channelOverride : 0;
}

void TKVMidi::SetInputWindow(TMidiInputReceiver* newReceiver) {
  TMutexLock lock(mutex);
  inputReceiver = newReceiver;
}

void TKVMidi::SetRecordMode(bool on) {
  TMutexLock lock(mutex);
  if (on && !recording) readIndex = writeIndex;
  recording = on;
}

bool TKVMidi::GetRecordedEvent(TRecordedEvent& out) {
  TMutexLock lock(mutex);
  if (readIndex == writeIndex) return false;
  out = ring[readIndex];
  readIndex = (readIndex + 1) % kSeqRecordRingSize;
  return true;
}

void TKVMidi::OnShortMessage(uint32_t shortMsg) {
  const int status = static_cast<int>(shortMsg & 0xFF);
  // Only a status byte starts a message; anything else is not MIDI we understand.
  if (status < 0x80) return;
  const bool system = status >= 0xF0;
  bool postIt = false;
  {
    TMutexLock lock(mutex);
    const int64_t now = clock.NowMs();
    if (echoOutput) {
      uint32_t echo = shortMsg & 0xFFFFFF;
      // Only channel messages have a channel to replace.
      if (!system && echoOverride > 0) echo = (echo & ~0x0Fu) | static_cast<uint32_t>(echoOverride - 1);
      if (echoOutput->Send(echo, now) == TMidiSendResult::kNotReady) echoOutput->Send(echo, now);
    }
    if (system) return;
    if (recording) {
      RecordInput(shortMsg, now);
      return;
    }
    const int command = (status >> 4) & 7;
    postIt = inputReceiver && command != kMidiPolyPressure && command != kMidiChannelPressure;
  }
  if (postIt) {
    const uint32_t msg = shortMsg & 0xFFFFFF;
    post.Post([weak = std::weak_ptr<int>(alive), this, msg] {
      if (!weak.expired()) DeliverInput(msg);
    });
  }
}

void TKVMidi::DeliverInput(uint32_t shortMsg) {
  TMidiInputReceiver* target = nullptr;
  {
    TMutexLock lock(mutex);
    target = inputReceiver;
  }
  if (target) target->OnMidiInput(shortMsg);
}

void TKVMidi::RecordInput(uint32_t shortMsg, int64_t now) {
  int64_t tick = -1;
  if (playing && waitSteps > 0) {
    tick = baseTick;
  } else if (playing) {
    // 64-bit: a 32-bit product overflows about 22 s after the base time.
    tick = baseTick + std::max<int64_t>(0, now - baseTime) * 192 / (tempo / 1000);
  }
  TRecordedEvent& entry = ring[writeIndex];
  entry.tick = static_cast<int32_t>(std::clamp<int64_t>(tick, -1, INT32_MAX));
  const uint32_t port = (shortMsg >> 24) & 0x0F;
  entry.msg = TMidiMsg((shortMsg & 0xFFFFFF) | (port << 24));
  writeIndex = (writeIndex + 1) % kSeqRecordRingSize;
  // A full ring gives up its oldest entry rather than appear empty.
  if (writeIndex == readIndex) readIndex = (readIndex + 1) % kSeqRecordRingSize;
}

}  // namespace kvt
