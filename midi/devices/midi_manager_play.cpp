// The device manager's side of playback and recording: handing a play buffer to the
// sequencer segment by segment, and reading what was recorded.

#include <algorithm>

#include "midi/devices/midi_manager.h"
#include "midi/events/mfb_index.h"
#include "midi/events/midi_file_buf.h"
#include "utils/precondition.h"

namespace kvt {

std::array<TMidiOutPort*, kMidiPorts> TMidiManager::OpenHandles() const {
  std::array<TMidiOutPort*, kMidiPorts> handles{};
  if (!portsOpen) return handles;
  for (int i = 0; i < kMidiPorts; ++i) handles[i] = outDevices[i].GetPort();
  return handles;
}

bool TMidiManager::PlayBuffer(TMidiSeqReceiver* receiver, const TMidiFileBuf& buffer,
                              int32_t startTick) {
  if (buffer.IsEmpty() || sequencer.IsPlaying()) return false;
  TMidiStartRecord start;
  start.countdownMs = countdownMs;
  start.startTick = std::max(startTick, 0);
  start.outputs = OpenHandles();
  playingBuffer = &buffer;
  nextSegment = 1;
  if (sequencer.Start(receiver, start, buffer.GetSegment(0))) return true;
  playingBuffer = nullptr;
  nextSegment = 0;
  return false;
}

bool TMidiManager::FeedNextSegment() {
  KVT_PRECONDITION(playingBuffer);
  KVT_PRECONDITION(nextSegment != 0);
  if (nextSegment > playingBuffer->GetHighestUsedSegment()) return true;
  // Only a segment the sequencer took counts as handed over: one refused (the slot was still
  // full) is offered again at the next answer instead of being skipped.
  if (!sequencer.QueueSegment(playingBuffer->GetSegment(nextSegment))) return false;
  ++nextSegment;
  return true;
}

bool TMidiManager::AnswerSeqMessage(int message) {
  if (!playingBuffer || nextSegment == 0) return false;
  if (message == kSeqSegmentTaken) {
    FeedNextSegment();
    return true;
  }
  // The data ran dry: a busy UI may simply not have queued the next segment in time.
  if (nextSegment <= playingBuffer->GetHighestUsedSegment()) {
    FeedNextSegment();
    return true;
  }
  return sequencer.HasQueuedSegment();
}

bool TMidiManager::Reposition(int32_t tick) {
  if (!playingBuffer) return false;
  nextSegment = 1;
  return sequencer.Reposition(std::max(tick, 0), playingBuffer->GetSegment(0));
}

void TMidiManager::Stop() {
  sequencer.Stop();
  playingBuffer = nullptr;
  nextSegment = 0;
}

int32_t TMidiManager::GetPlayTick() const {
  return sequencer.IsPlaying() ? sequencer.GetCurrentTick() : 0;
}

int64_t TMidiManager::GetSongTimeMs() const {
  if (!playingBuffer || !sequencer.IsPlaying()) return 0;
  TMFBTimeIndex index(*playingBuffer);
  index.SeekTime(static_cast<uint32_t>(sequencer.GetCurrentTick()));
  return index.GetElapsedMs();
}

void TMidiManager::StartRecording() {
  StopRecording();
  if (!inDevice.IsOpen()) return;
  sequencer.SetRecordMode(true);
  recording = true;
}

void TMidiManager::StopRecording() {
  if (!recording) return;
  sequencer.SetRecordMode(false);
  recording = false;
}

bool TMidiManager::GetRecordedEvent(TRecordedEvent& out) {
  return recording && sequencer.GetRecordedEvent(out);
}

int TMidiManager::DrainRecording(TMidiFileBuf& buffer) {
  int added = 0;
  TRecordedEvent event;
  while (GetRecordedEvent(event)) {
    // Entries taken while not playing have no place in time.
    if (event.tick < 0) continue;
    buffer.AddEvent(static_cast<uint32_t>(event.tick), event.msg);
    if (!buffer.GetOverflow()) ++added;
  }
  return added;
}

}  // namespace kvt
