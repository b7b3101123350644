#include "app/editor/insertion_state.h"

#include "notation/items/song_note.h"

namespace kvt {

void ResetAfterEntry(TInsertionState& state, int persistentMask) {
  const auto keeps = [persistentMask](int bit) { return (persistentMask >> bit & 1) != 0; };
  uint16_t clear = 0;
  if (!keeps(kKeepArticulation))
    clear |= kMaskAccent | kMaskStaccato | kMaskTenuto | kMaskMarcato | kMaskStaccatissimo;
  if (!keeps(kKeepDots)) clear |= kMaskDotted | kMaskDblDotted;
  if (!keeps(kKeepSlur)) clear |= kMaskSlur;
  if (!keeps(kKeepTie)) clear |= kMaskTieOut;
  if (!keeps(kKeepGrace)) clear |= kMaskGrace;
  if (!keeps(kKeepHairpin)) clear |= kMaskCrescendo | kMaskDiminuendo;
  state.attributes = static_cast<uint16_t>(state.attributes & ~clear);
  if (!keeps(kKeepAccidental)) state.accidental = kInsertNoAccidental;
  if (!keeps(kKeepColor)) state.color = 0;
  if (!keeps(kKeepNoteHead)) state.noteHead = 0;
  if (!keeps(kKeepStem)) state.stem = 0;
}

int EntryColor(const TInsertionState& state, int persistentMask) {
  return (persistentMask >> kKeepColor & 1) != 0 ? state.color : 0;
}

}  // namespace kvt
