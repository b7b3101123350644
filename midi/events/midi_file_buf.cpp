#include "midi/events/midi_file_buf.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "midi/events/mfb_index.h"
#include "utils/precondition.h"

namespace kvt {

namespace {

// Records that chasing collapses into one: see the header.
bool IsChasedEquivalent(const TMidiSongEvent& stored, const TMidiSongEvent& event) {
  if (stored.time != event.time) return false;
  const TMidiMsg a = stored.msg;
  const TMidiMsg b = event.msg;
  if (a.GetKind() != b.GetKind()) return false;
  if (!b.IsChannelMessage()) return true;
  if (a.GetPort() != b.GetPort() || a.GetChannel() != b.GetChannel() ||
      a.GetCommand() != b.GetCommand())
    return false;
  if (b.GetCommand() == kMidiNoteOff || b.GetCommand() == kMidiNoteOn) return false;
  if (b.GetCommand() == kMidiControlChange) return a.GetData1() == b.GetData1();
  return true;
}

}  // namespace

TMidiFileBuf::TMidiFileBuf(int growthStep) : growthStep(growthStep > 0 ? growthStep : 0) {
  segments.push_back(std::make_unique<TMidiSongEventBuf>());
  Reset();
}

TMidiFileBuf::~TMidiFileBuf() = default;

void TMidiFileBuf::Reset() {
  for (auto& segment : segments) segment->count = 0;
  highestUsed = -1;
  overflow = false;
  timeLimit = 0;
  lastChasedTempoTime = 0;
  filter = 0;
}

int TMidiFileBuf::AllocSegments(int NumBufs) {
  KVT_PRECONDITION(NumBufs > 0);
  const int n = std::min(NumBufs, kMidiMaxSegments);
  segments.clear();
  for (int i = 0; i < n; ++i) segments.push_back(std::make_unique<TMidiSongEventBuf>());
  highestUsed = -1;
  return n;
}

int TMidiFileBuf::Grow(int n) {
  const int room = kMidiMaxSegments - GetSegmentCount();
  const int added = std::clamp(n, 0, room);
  for (int i = 0; i < added; ++i) segments.push_back(std::make_unique<TMidiSongEventBuf>());
  return added;
}

void TMidiFileBuf::SetEndCutoff(uint32_t time) {
  timeLimitMode = kMidiEndCutoff;
  timeLimit = time;
}

void TMidiFileBuf::SetStartOffset(uint32_t time) {
  timeLimitMode = kMidiStartOffset;
  timeLimit = time;
}

void TMidiFileBuf::MarkUsed(int segment) { highestUsed = std::max(highestUsed, segment); }

TMidiSongEvent& TMidiFileBuf::EventAt(int i) {
  return segments[i / kMidiSegmentEvents]->events[i % kMidiSegmentEvents];
}

bool TMidiFileBuf::ReplaceChasedEvent(const TMidiSongEvent& event) {
  TMidiSongEventBuf& first = *segments[0];
  for (int i = 0; i < first.count && first.events[i].time == 0; ++i) {
    if (IsChasedEquivalent(first.events[i], event)) {
      first.events[i] = event;
      // The new record may rank differently at time 0 (a sustain pedal going from off to
      // on): move it to its place so the buffer stays sorted.
      const int count = GetEventCount();
      int at = i;
      while (at + 1 < count && EventAt(at).SortsAfter(EventAt(at + 1))) {
        std::swap(EventAt(at), EventAt(at + 1));
        ++at;
      }
      while (at > 0 && EventAt(at - 1).SortsAfter(EventAt(at))) {
        std::swap(EventAt(at - 1), EventAt(at));
        --at;
      }
      return true;
    }
  }
  return false;
}

bool TMidiFileBuf::PrepareEvent(TMidiSongEvent& event) {
  const int kind = event.msg.GetKind();
  if (filter & (1u << kind)) return false;
  if (timeLimit == 0) return true;
  if (timeLimitMode == kMidiEndCutoff) return event.time < timeLimit;
  if (event.time >= timeLimit) {
    event.time -= timeLimit;
    return true;
  }
  // Chase: the state before the start collapses to time 0.
  if (kind == kMidiKindTempo) {
    if (event.time < lastChasedTempoTime) return false;
    lastChasedTempoTime = event.time;
  }
  event.time = 0;
  if (kind == kMidiKindWait) return false;
  if (event.msg.IsChannelMessage() &&
      (event.msg.GetCommand() == kMidiNoteOff || event.msg.GetCommand() == kMidiNoteOn))
    return false;
  return !ReplaceChasedEvent(event);
}

bool TMidiFileBuf::PlaceEvent(TMidiSongEvent event) {
  const int count = GetSegmentCount();
  for (int s = 0; s < count; ++s) {
    TMidiSongEventBuf& segment = *segments[s];
    if (!segment.IsFull()) {
      segment.Insert(event);
      MarkUsed(s);
      return true;
    }
    if (segment.events[segment.count - 1].SortsAfter(event)) {
      const TMidiSongEvent last = segment.TakeLast();
      segment.Insert(event);
      MarkUsed(s);
      event = last;
    }
  }
  if (growthStep > 0 && Grow(growthStep) > 0) {
    segments[count]->Insert(event);
    MarkUsed(count);
    return true;
  }
  return false;
}

void TMidiFileBuf::AddEvent(const TMidiSongEvent& event) {
  TMidiSongEvent copy = event;
  if (!PrepareEvent(copy)) return;
  if (!PlaceEvent(copy)) overflow = true;
}

void TMidiFileBuf::AddTempo(uint32_t time, int bpm) {
  AddEvent(time, TMidiMsg::TempoFromBpm(bpm));
}

void TMidiFileBuf::AddTimeSignature(uint32_t time, int numerator, int power) {
  AddEvent(time, TMidiMsg::TimeSignature(numerator, power));
}

void TMidiFileBuf::AddKeySignature(uint32_t time, int count, bool minor) {
  AddEvent(time, TMidiMsg::KeySignature(count, minor));
}

void TMidiFileBuf::AddWait(uint32_t time, int length) { AddEvent(time, TMidiMsg::Wait(length)); }

void TMidiFileBuf::AddPause(int seconds) {
  uint64_t t = GetLastTime();
  if (timeLimitMode == kMidiStartOffset) t += timeLimit;
  t += 1;
  const uint32_t time =
      static_cast<uint32_t>(std::min<uint64_t>(t, std::numeric_limits<uint32_t>::max()));
  const int64_t steps = static_cast<int64_t>(std::max(seconds, 0)) * 4;
  AddTempo(time, 60);
  AddWait(time, static_cast<int>(std::min<int64_t>(steps, 65535)));
}

int TMidiFileBuf::GetEventCount() const {
  if (highestUsed < 0) return 0;
  return highestUsed * kMidiSegmentEvents + segments[highestUsed]->count;
}

const TMidiSongEvent& TMidiFileBuf::GetEvent(int i) const {
  const int Count = GetEventCount();
  KVT_PRECONDITION(Count > i);
  KVT_PRECONDITION(i >= 0);
  return segments[i / kMidiSegmentEvents]->events[i % kMidiSegmentEvents];
}

bool TMidiFileBuf::IsEmpty() const { return segments[0]->count == 0; }

uint32_t TMidiFileBuf::GetLastTime() const {
  for (int s = highestUsed; s >= 0; --s) {
    const TMidiSongEventBuf& segment = *segments[s];
    if (segment.count > 0) return segment.events[segment.count - 1].time;
  }
  return 0;
}

int TMidiFileBuf::FindTimeIndex(uint32_t t) const {
  const int count = GetEventCount();
  if (count == 0 || GetEvent(0).time >= t) return 0;
  if (GetEvent(count - 1).time < t) return std::max(count - 2, 0);
  // Now event 0 is before t and the last event at or after it: find the first event at or
  // after t.
  int low = 0;
  int high = count - 1;
  while (high - low > 1) {
    const int mid = low + (high - low) / 2;
    if (GetEvent(mid).time < t)
      low = mid;
    else
      high = mid;
  }
  return GetEvent(high).time == t ? high : low;
}

int64_t TMidiFileBuf::GetPlayLength(uint32_t t) const {
  TMFBTimeIndex index(*this);
  if (t == 0)
    index.SetIndex(GetEventCount() - 1);
  else
    index.SeekTime(t);
  return index.GetElapsedMs();
}

const TMidiSongEventBuf* TMidiFileBuf::GetSegment(int i) const {
  if (i < 0 || i >= GetSegmentCount()) return nullptr;
  return segments[i].get();
}

}  // namespace kvt
