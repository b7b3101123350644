// Member searches of the item base; they need the note class, so they live apart from the
// base's own virtual operations.

#include "notation/items/music_note.h"
#include "notation/items/notated_item.h"

namespace kvt {

TMusicNote* TNotatedItem::FindMemberAtPos(int pos) const {
  const int count = GetMemberCount();
  for (int i = 0; i < count; ++i) {
    TMusicNote* member = GetMember(i);
    if (!member) continue;
    const int p = member->GetStaffPos();
    if (p == pos) return member;
    // Members run from the lowest note upward: past pos nothing more can match.
    if (p < pos) return nullptr;
  }
  return nullptr;
}

TMusicNote* TNotatedItem::FindTieMember(int pos, bool wantTieIn, int accidental,
                                        bool stopAtHiddenTie) const {
  const int count = GetMemberCount();
  for (int i = 0; i < count; ++i) {
    TMusicNote* member = GetMember(i);
    if (!member) continue;
    const int p = member->GetStaffPos();
    if (p < pos) return nullptr;
    if (p != pos) continue;
    const int own = member->GetRawAccidental();
    if (accidental != kAccNone && own != kAccNone && own != accidental) continue;
    if (stopAtHiddenTie && member->IsTieIn() && member->IsTieOut() &&
        GetVisibility() == kVisNever)
      return nullptr;
    if (wantTieIn ? member->IsTieIn() : member->IsTieOut()) return member;
  }
  return nullptr;
}

}  // namespace kvt
