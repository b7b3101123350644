#include "app/editor/editor_piano_keys.h"

#include <algorithm>

#include "notation/context/staff_context_state.h"
#include "notation/items/item_cast.h"
#include "notation/items/music_note.h"
#include "notation/items/song_note.h"
#include "notation/staff/music_staff.h"

namespace kvt {

namespace {

// The running state before item i; a walk that cannot reach i (a jump away) leaves the state
// where the walk stopped, which is the best the staff offers.
TStaffContextState StateBefore(const TMusicStaff& staff, int i) {
  TStaffContextState state;
  staff.GetPlayStateAt(std::clamp(i, 0, std::max(0, staff.GetItemCount() - 1)), state);
  return state;
}

}  // namespace

std::vector<int> NoteKeysOfItems(const TMusicStaff& staff, int first, int last) {
  std::vector<int> keys;
  first = std::max(first, 0);
  last = std::min(last, staff.GetItemCount() - 1);
  if (first > last) return keys;
  TStaffContextState state = StateBefore(staff, first);
  for (int i = first; i <= last; ++i) {
    const TNotatedItem* item = staff.GetItem(i);
    if (!item) continue;
    if (const TMusicNote* note = ItemAs<TMusicNote>(item)) {
      for (int m = 0; m < note->GetMemberCount(); ++m)
        if (const TMusicNote* member = note->GetMember(m)) keys.push_back(member->GetPitch(state));
    }
    item->ApplyToContext(state);
  }
  std::sort(keys.begin(), keys.end());
  keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
  return keys;
}

TCaretKey CaretKeyAt(const TMusicStaff& staff, int caretIndex, int caretPos) {
  const TStaffContextState state = StateBefore(staff, caretIndex);
  const TMusicNote probe(caretPos, kDurQuarter, 0, kAccNone);
  return {probe.GetPitch(state), probe.GetSoundingAccidental(state)};
}

}  // namespace kvt
