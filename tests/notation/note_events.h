#pragma once
// Test helpers: walking items as the score player does and reading back the MIDI events.

#include <cstdint>
#include <vector>

#include "midi/events/midi_file_buf.h"
#include "notation/items/notated_item.h"
#include "notation/context/staff_context_state.h"

namespace kvt::test {

struct TNoteEvent {
  uint32_t time;
  bool on;  // note-on with velocity; otherwise a note end
  int key;
  int velocity;
  friend bool operator==(const TNoteEvent&, const TNoteEvent&) = default;
};

inline std::vector<TNoteEvent> NoteEvents(const TMidiFileBuf& buffer) {
  std::vector<TNoteEvent> out;
  for (int i = 0; i < buffer.GetEventCount(); ++i) {
    const TMidiSongEvent& e = buffer.GetEvent(i);
    if (!e.msg.IsChannelMessage()) continue;
    if (e.msg.IsNoteOn())
      out.push_back({e.time, true, e.msg.GetData1(), e.msg.GetData2()});
    else if (e.msg.IsNoteOff())
      out.push_back({e.time, false, e.msg.GetData1(), e.msg.GetData2()});
  }
  return out;
}

// Perform then ApplyToContext for each item, with the state as it stood before the item.
inline void Walk(const std::vector<const TNotatedItem*>& items, TStaffContextState& state,
                 TMidiFileBuf& buffer) {
  for (const TNotatedItem* item : items) {
    item->Perform(state, &buffer);
    item->ApplyToContext(state);
  }
}

}  // namespace kvt::test
