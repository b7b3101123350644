#include "notation/items/sustain_pedal.h"

#include "midi/events/midi_file_buf.h"
#include "notation/context/staff_context_state.h"

namespace kvt {

TSustainPedal::TSustainPedal(bool down) : status(down ? 1 : 0) {}

void TSustainPedal::Perform(TStaffContextState& state, TMidiFileBuf* buffer) const {
  if (!buffer) return;
  const int32_t position = state.GetSongPosition();
  buffer->AddEvent(static_cast<uint32_t>(position < 0 ? 0 : position),
                   TMidiMsg::Channel(kMidiControlChange, state.GetPort(), state.GetChannel(),
                                     kMidiControllerSustain, IsDown() ? 127 : 0));
}

}  // namespace kvt
