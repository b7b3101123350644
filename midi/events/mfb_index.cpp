#include "midi/events/mfb_index.h"

#include <algorithm>
#include <limits>

namespace kvt {

namespace {

constexpr uint32_t kMsPieceTicks = 96000;

bool IsTempoOrWait(const TMidiSongEvent& event) {
  const int kind = event.msg.GetKind();
  return kind == kMidiKindTempo || kind == kMidiKindWait;
}

uint32_t AddTicks(uint32_t base, uint32_t ticks) {
  const uint64_t sum = static_cast<uint64_t>(base) + ticks;
  return static_cast<uint32_t>(std::min<uint64_t>(sum, std::numeric_limits<uint32_t>::max()));
}

}  // namespace

int64_t MidiTicksToMs(uint32_t tempoMicros, uint32_t ticks) {
  const int64_t whole = tempoMicros / 192;
  const int64_t part = tempoMicros % 192;
  int64_t ms = 0;
  while (ticks > 0) {
    const int64_t n = std::min(ticks, kMsPieceTicks);
    ms += (whole * n + part * n / 192) / 1000;
    ticks -= static_cast<uint32_t>(n);
  }
  return ms;
}

uint32_t MidiMsToTicks(uint32_t tempoMicros, int64_t ms) {
  if (ms <= 0) return 0;
  const int64_t tempo = std::max<uint32_t>(tempoMicros, 1);
  constexpr int64_t kMaxMs = std::numeric_limits<int64_t>::max() / 192000;
  if (ms > kMaxMs) return std::numeric_limits<uint32_t>::max();
  const int64_t ticks = ms * 192000 / tempo;
  return static_cast<uint32_t>(std::min<int64_t>(ticks, std::numeric_limits<uint32_t>::max()));
}

// --- TMFBIndex ---

int TMFBIndex::ClampIndex(int i) const {
  return std::clamp(i, 0, std::max(buffer->GetEventCount() - 1, 0));
}

void TMFBIndex::Rewind() { index = 0; }

void TMFBIndex::SetIndex(int i) { index = ClampIndex(i); }

void TMFBIndex::Next() {
  if (CanMove(1)) ++index;
}

bool TMFBIndex::CanMove(int dir) const {
  if (dir <= 0) return index > 0;
  return index < buffer->GetEventCount() - 1;
}

void TMFBIndex::Step(int dir) {
  if (CanMove(dir)) SetIndex(dir <= 0 ? index - 1 : index + 1);
}

bool TMFBIndex::NextTempoOrWait(int dir) {
  const int count = buffer->GetEventCount();
  const int step = dir <= 0 ? -1 : 1;
  for (int i = index + step; i >= 0 && i < count; i += step) {
    if (IsTempoOrWait(buffer->GetEvent(i))) {
      SetIndex(i);
      return true;
    }
  }
  return false;
}

// --- TMFBTimeIndex ---

TMFBTimeIndex::TMFBTimeIndex(const TMidiFileBuf& buffer) : TMFBIndex(buffer) { Rewind(); }

void TMFBTimeIndex::Account(const TMidiSongEvent& event) {
  if (IsTempoOrWait(event)) {
    if (event.time > baseTick) elapsedMs += MidiTicksToMs(tempo, event.time - baseTick);
    baseTick = event.time;
    if (event.msg.GetKind() == kMidiKindWait) {
      elapsedMs += MidiTicksToMs(
          tempo, static_cast<uint32_t>(event.msg.GetWaitLength()) * kMidiWaitStepTicks);
    } else {
      tempo = event.msg.GetTempoMicros();
    }
  }
  currentTick = event.time;
}

void TMFBTimeIndex::Rewind() {
  index = 0;
  tempo = 500000;
  currentTick = 0;
  elapsedMs = 0;
  baseTick = 0;
  if (IsValid()) Account(GetEvent());
}

void TMFBTimeIndex::SetIndex(int i) {
  const int target = ClampIndex(i);
  if (target < index) Rewind();
  while (index < target) Next();
}

void TMFBTimeIndex::Next() {
  if (!CanMove(1)) return;
  ++index;
  Account(GetEvent());
}

int64_t TMFBTimeIndex::GetElapsedMs() const {
  if (currentTick < baseTick) return elapsedMs;
  return elapsedMs + MidiTicksToMs(tempo, currentTick - baseTick);
}

void TMFBTimeIndex::SeekTime(uint32_t tick) {
  SetIndex(buffer->FindTimeIndex(tick));
  currentTick = tick;
}

void TMFBTimeIndex::SeekMs(int64_t ms) {
  if (ms <= 0 || ms < elapsedMs) Rewind();
  const int count = buffer->GetEventCount();
  for (;;) {
    int next = index + 1;
    while (next < count && !IsTempoOrWait(buffer->GetEvent(next))) ++next;
    const bool hasRecord = next < count;
    if (hasRecord) {
      const uint32_t recordTime = buffer->GetEvent(next).time;
      const int64_t recordMs =
          elapsedMs + (recordTime > baseTick ? MidiTicksToMs(tempo, recordTime - baseTick) : 0);
      if (ms >= recordMs) {
        SetIndex(next);
        continue;
      }
    }
    const uint32_t tick = AddTicks(baseTick, MidiMsToTicks(tempo, ms - elapsedMs));
    // Seek forward only: the search may answer an earlier event of the same time as the
    // record just passed, and going back to it would lose that record's tempo.
    const int found = buffer->FindTimeIndex(tick);
    if (found > index) SetIndex(found);
    currentTick = tick;
    return;
  }
}

}  // namespace kvt
