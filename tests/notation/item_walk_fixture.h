#pragma once
// Test support for the item kinds: a small staff of items walked in play order the way the
// score player walks it (next index first, then apply), and the events of a MIDI buffer as a
// vector.

#include <memory>
#include <utility>
#include <vector>

#include "notation/items/item_cast.h"
#include "notation/items/bar_line_data.h"
#include "notation/items/flow_direction.h"
#include "midi/events/midi_file_buf.h"
#include "notation/items/notated_item.h"
#include "notation/items/notation_marker.h"
#include "notation/items/repeat_ending.h"
#include "notation/context/staff_context_state.h"
#include "notation/staff/staff_items.h"

namespace kvt::test {

// An item array owned by the test, with a span view for NextPlayIndexIn.
class TItemStaff {
public:
  template <class T, class... Args>
  T* Add(Args&&... args) {
    auto item = std::make_unique<T>(std::forward<Args>(args)...);
    T* raw = item.get();
    items.push_back(std::move(item));
    return raw;
  }
  TBarLineData* Bar(int style, int repeat = 1) { return Add<TBarLineData>(style, repeat); }
  // A filler without any effect on play order (stands for the notes of a bar).
  TNotatedItem* Music() { return Add<TNotationMarker>(); }
  TSpecialEnding* Ending(std::initializer_list<int> numbers, bool defaultEnding = false) {
    TSpecialEnding* e = Add<TSpecialEnding>();
    for (int n : numbers) e->SetEnding(n, true);
    e->SetDefaultEnding(defaultEnding);
    return e;
  }
  TFlowDirection* Flow(int style) { return Add<TFlowDirection>(style); }

  TStaffItemSpan Span() const { return items; }
  int Count() const { return static_cast<int>(items.size()); }
  TNotatedItem* At(int i) const { return items[static_cast<size_t>(i)].get(); }

private:
  std::vector<std::unique_ptr<TNotatedItem>> items;
};

// The next index of the item at i, over the test staff.
inline int NextIndex(const TItemStaff& staff, TStaffContextState& state, int i) {
  const TNotatedItem* item = staff.At(i);
  switch (item->GetType()) {
    case kItemBarLine:
      return ItemAs<TBarLineData>(item)->NextPlayIndexIn(state, staff.Span(), i);
    case kItemEnding:
      return ItemAs<TSpecialEnding>(item)->NextPlayIndexIn(state, staff.Span(), i);
    case kItemFlow:
      return ItemAs<TFlowDirection>(item)->NextPlayIndexIn(state, staff.Span(), i);
    default:
      return item->GetNextPlayIndex(state, nullptr, i);
  }
}

// Indexes reached in play order from item 0 until play leaves the staff or the step budget
// runs out (a walk that never ends shows as a list of `budget` entries).
inline std::vector<int> WalkPlayOrder(const TItemStaff& staff, TStaffContextState& state,
                                      int budget = 200) {
  std::vector<int> visited;
  int i = 0;
  while (i >= 0 && i < staff.Count() && static_cast<int>(visited.size()) < budget) {
    visited.push_back(i);
    const int next = NextIndex(staff, state, i);
    staff.At(i)->ApplyToContext(state);
    i = next;
  }
  return visited;
}

inline std::vector<TMidiSongEvent> Events(const TMidiFileBuf& buffer) {
  std::vector<TMidiSongEvent> events;
  for (int i = 0; i < buffer.GetEventCount(); ++i) events.push_back(buffer.GetEvent(i));
  return events;
}

// A control change as the buffer stores it.
inline TMidiSongEvent ControlAt(uint32_t time, int port, int channel, int controller, int value) {
  return TMidiSongEvent(time, TMidiMsg::Channel(kMidiControlChange, port, channel, controller, value));
}

}  // namespace kvt::test
