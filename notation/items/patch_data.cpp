#include "notation/items/patch_data.h"

#include "midi/events/midi_file_buf.h"
#include "notation/items/packed_field.h"
#include "notation/context/staff_context_state.h"

namespace kvt {

TPatchData::TPatchData(const TInstrumentDef* source) {
  if (source) instrument = *source;
  SetPos(-8);
}

std::u16string TPatchData::GetName() const {
  const char16_t* name = instrument.GetName();
  return name[0] ? std::u16string(name) : std::u16string(u"[Instr]");
}

void TPatchData::SetPatch(int patchPlus1) {
  if (patchPlus1 <= 0)
    instrument.ClearPatch();
  else
    instrument.SetPatch(patchPlus1 - 1);
}

void TPatchData::ApplyToContext(TStaffContextState& state) const {
  state.SetTransposition(instrument.GetTransposition());
}

void TPatchData::Perform(TStaffContextState& state, TMidiFileBuf* buffer) const {
  if (!buffer) return;
  const int32_t position = state.GetSongPosition();
  const uint32_t time = static_cast<uint32_t>(position < 0 ? 0 : position);
  const int port = state.GetPort();
  const int channel = state.GetChannel();
  auto control = [&](int controller, int value) {
    buffer->AddEvent(time, TMidiMsg::Channel(kMidiControlChange, port, channel, controller,
                                             ClampMidiData(value)));
  };
  if (instrument.HasPatch()) {
    if (instrument.HasBank()) {
      control(0, instrument.GetBankMSB() & 127);
      control(32, instrument.GetBankLSB());
    }
    buffer->AddEvent(time, TMidiMsg::Channel(kMidiProgramChange, port, channel,
                                             ClampMidiData(instrument.GetPatch()), 0));
  }
  if (instrument.HasBendRange()) {
    control(101, 0);
    control(100, 0);
    control(6, instrument.GetBendRange());
    control(38, 0);
    control(101, 127);
    control(100, 127);
  }
}

}  // namespace kvt
