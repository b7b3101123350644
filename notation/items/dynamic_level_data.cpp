#include "notation/items/dynamic_level_data.h"

#include "midi/events/midi_file_buf.h"
#include "notation/items/packed_field.h"
#include "notation/context/staff_context_state.h"

namespace kvt {

TDynamicLevelData::TDynamicLevelData(int value)
    : level(0), hasVelocity(0), hasVolume(0), velocity(0), volume(0), spare(0) {
  SetLevel(value);
  SetWide(false);
}

int TDynamicLevelData::GetSymbol() const {
  return kGlyphDynamicFirst + ClampInt(GetLevel(), 0, kDynamicLevelCount - 1);
}

void TDynamicLevelData::SetVelocity(int value) { velocity = static_cast<uint32_t>(ClampMidiData(value)); }

void TDynamicLevelData::SetVolume(int value) { volume = static_cast<uint32_t>(ClampMidiData(value)); }

void TDynamicLevelData::CopyDynamic(const TDynamicLevelData& other) {
  level = other.level;
  hasVelocity = other.hasVelocity;
  hasVolume = other.hasVolume;
  velocity = other.velocity;
  volume = other.volume;
}

void TDynamicLevelData::ApplyToContext(TStaffContextState& state) const {
  state.MarkDynamicChanged();
  if (velocity != 0) state.SetNoteVelocity(static_cast<int>(velocity));
}

void TDynamicLevelData::Perform(TStaffContextState& state, TMidiFileBuf* buffer) const {
  if (!buffer || !HasVolume()) return;
  const int32_t position = state.GetSongPosition();
  buffer->AddEvent(static_cast<uint32_t>(position < 0 ? 0 : position),
                   TMidiMsg::Channel(kMidiControlChange, state.GetPort(), state.GetChannel(), 7,
                                     ClampMidiData(static_cast<int>(volume))));
}

}  // namespace kvt
