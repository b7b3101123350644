#include "midi/events/midi_song_event.h"

#include <algorithm>

#include "utils/precondition.h"

namespace kvt {

bool TMidiSongEvent::SortsAfter(const TMidiSongEvent& other) const {
  if (time != other.time) return time > other.time;
  return msg.GetSortPriority() > other.msg.GetSortPriority();
}

bool TMidiSongEventBuf::Insert(const TMidiSongEvent& event) {
  if (IsFull()) return false;
  int at = count;
  // Events mostly arrive in ascending time: scan back from the end.
  while (at > 0 && events[at - 1].SortsAfter(event)) --at;
  std::copy_backward(events + at, events + count, events + count + 1);
  events[at] = event;
  ++count;
  return true;
}

TMidiSongEvent TMidiSongEventBuf::TakeLast() {
  KVT_PRECONDITION(count > 0);
  --count;
  return events[count];
}

}  // namespace kvt
