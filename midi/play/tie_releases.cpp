#include "midi/play/tie_releases.h"

#include <algorithm>

#include "midi/events/midi_file_buf.h"
#include "notation/context/staff_context_state.h"
#include "notation/items/item_cast.h"
#include "notation/items/music_note.h"
#include "notation/items/packed_field.h"
#include "notation/items/rest_chord.h"

namespace kvt {

namespace {

// The note whose mute silences the item's members: a rest chord's part, else the item.
const TMusicNote* MutingOwner(const TNotatedItem& item) {
  if (item.GetType() == kItemRestChord) return ItemRef<TRestChord>(item).GetPart();
  return ItemAs<TMusicNote>(&item);
}

int SoundingPitch(const TMusicNote& note, const TStaffContextState& state) {
  return ClampMidiData(note.GetPitch(state));
}

}  // namespace

void TTieReleases::BeforeItem(const TNotatedItem& item, const TStaffContextState& state,
                              TMidiFileBuf& buffer) {
  if (!item.IsSongNoteClass() && item.GetType() != kItemMultiBarRest) return;
  const TMusicNote* owner = MutingOwner(item);
  // Grace notes come before the note they lead to, at its tick: a tie may continue after them.
  if (owner && owner->IsGrace()) return;
  const int64_t at = state.GetSongPosition();
  auto continues = [&](const TWaitingTie& tie) {
    if (at != tie.continuesAt || tie.port != state.GetPort() || tie.channel != state.GetChannel())
      return false;
    for (int m = 0; m < item.GetMemberCount(); ++m) {
      const TMusicNote* member = item.GetMember(m);
      if (member->IsTieIn() && SoundingPitch(*member, state) == tie.pitch) return true;
    }
    return false;
  };
  std::erase_if(waiting, [&](const TWaitingTie& tie) {
    if (at < tie.continuesAt) return false;
    // A continuation ends the sound itself (or ties on, and is taken up below).
    if (!continues(tie)) Release(tie, buffer);
    return true;
  });
  if (!owner || owner->IsMuted()) return;
  for (int m = 0; m < item.GetMemberCount(); ++m) {
    const TMusicNote* member = item.GetMember(m);
    if (!member->IsTieOut() || member->IsMuted()) continue;
    waiting.push_back({state.GetPort(), state.GetChannel(), SoundingPitch(*member, state),
                       at + member->GetDuration(), member->GetPlayedEnd(state, false)});
  }
}

void TTieReleases::EndAll(TMidiFileBuf& buffer) {
  for (const TWaitingTie& tie : waiting) Release(tie, buffer);
  waiting.clear();
}

void TTieReleases::Release(const TWaitingTie& tie, TMidiFileBuf& buffer) const {
  const int64_t at = std::clamp<int64_t>(tie.playedEnd, 0, INT32_MAX);
  buffer.AddEvent(static_cast<uint32_t>(at),
                  TMidiMsg::Channel(kMidiNoteOff, tie.port, tie.channel, tie.pitch, 0));
}

}  // namespace kvt
