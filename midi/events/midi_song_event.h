#pragma once
// TMidiSongEvent: a record and its time in ticks (192 per quarter note).
// TMidiSongEventBuf: one segment of a TMidiFileBuf, up to 2048 events in time order.

#include <cstdint>

#include "midi/events/midi_msg.h"

namespace kvt {

struct TMidiSongEvent {
  uint32_t time = 0;
  TMidiMsg msg;

  TMidiSongEvent() = default;
  TMidiSongEvent(uint32_t time, TMidiMsg msg) : time(time), msg(msg) {}

  // Order of the buffers: by time, then by TMidiMsg::GetSortPriority.
  bool SortsAfter(const TMidiSongEvent& other) const;

  friend bool operator==(const TMidiSongEvent& a, const TMidiSongEvent& b) {
    return a.time == b.time && a.msg == b.msg;
  }
};

inline constexpr int kMidiSegmentEvents = 2048;

struct TMidiSongEventBuf {
  uint16_t count = 0;
  TMidiSongEvent events[kMidiSegmentEvents];

  bool IsFull() const { return count >= kMidiSegmentEvents; }
  // Inserts the event after every event that does not sort after it (the scan runs backward
  // from the end, as events mostly arrive in ascending time). False when the segment is full.
  bool Insert(const TMidiSongEvent& event);
  // Removes and returns the last event; the segment must not be empty.
  TMidiSongEvent TakeLast();
};

}  // namespace kvt
