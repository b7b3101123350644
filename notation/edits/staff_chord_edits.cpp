// Merging notes into chords and taking members out.

#include <memory>

#include "notation/items/chord_data.h"
#include "notation/items/item_cast.h"
#include "notation/staff/music_staff.h"
#include "notation/items/rest_chord.h"
#include "notation/audit/staff_audit.h"
#include "notation/edits/staff_edits.h"

namespace kvt {

namespace {

constexpr uint16_t kDotFlags = kMaskDotted | kMaskDblDotted;

// Replaces the item at i (detached and deleted) by `replacement`.
void ReplaceItem(TMusicStaff& staff, int i, std::unique_ptr<TNotatedItem> replacement) {
  std::unique_ptr<TNotatedItem> old = staff.DetachItem(i);
  staff.InsertItem(std::move(replacement), i);
}

// Step 1 of a merge: the note takes the target's explicit stem when it matches its duration,
// and becomes a grace note beside a grace note.
void FitNoteToTarget(TMusicNote& note, const TNotatedItem& target) {
  const auto& song = ItemRef<TSongNote>(target);
  if (note.GetStemSetting() == kStemAuto && target.IsMusicNoteClass() &&
      song.GetStemSetting() != kStemAuto && song.GetDurationCode() == note.GetDurationCode() &&
      (song.GetFlags() & kDotFlags) == (note.GetFlags() & kDotFlags))
    note.SetStemDir(song.GetStemSetting());
  if (song.IsGrace() && !note.IsGrace()) note.SetNoteFlag(kFlagGrace);
}

// Adds the note to the item at i; false with nothing changed on refusal (the note's own
// fields may have been adjusted by the caller, who restores them).
bool AddToItem(TMusicStaff& staff, std::unique_ptr<TMusicNote>& note, int i) {
  TNotatedItem* item = staff.GetItem(i);
  switch (item->GetType()) {
    case kItemNote: {
      // Decided on copies first: a chord that refused the new note after taking the old one
      // would have changed the old note on the way in.
      if (!TChordData::WouldTake(ItemRef<TMusicNote>(*item), *note)) return false;
      std::unique_ptr<TNotatedItem> detached = staff.DetachItem(i);
      std::unique_ptr<TMusicNote> held = TakeItemAs<TMusicNote>(detached);
      const TMusicNote* heldNote = held.get();
      auto chord = std::make_unique<TChordData>();
      if (!chord->AddNote(held)) {
        staff.InsertItem(std::move(held), i);
        return false;
      }
      if (!chord->AddNote(note)) {
        staff.InsertItem(chord->RemoveNote(heldNote), i);
        return false;
      }
      staff.InsertItem(std::move(chord), i);
      return true;
    }
    case kItemChord: return ItemRef<TChordData>(*item).AddNote(note);
    case kItemRestChord: return ItemRef<TRestChord>(*item).AttachNote(note);
    case kItemRest: {
      const auto* rest = ItemAs<TRestNote>(item);
      auto restChord = std::make_unique<TRestChord>(rest->GetDurationCode(), rest->GetFlags());
      restChord->Assign(*rest);
      if (!restChord->AttachNote(note)) return false;  // the rest never left the staff
      ReplaceItem(staff, i, std::move(restChord));
      return true;
    }
    default: return false;
  }
}

}  // namespace

bool MergeNoteAt(TMusicStaff& staff, std::unique_ptr<TMusicNote>& note, int i) {
  TNotatedItem* item = staff.GetItem(i);
  if (!note || !item || !item->IsSongNoteClass()) return false;
  const int oldStem = note->GetStemSetting();
  const uint16_t oldFlags = note->GetFlags();
  FitNoteToTarget(*note, *item);
  if (!AddToItem(staff, note, i)) {
    note->SetStemDir(oldStem);
    note->SetFlags(oldFlags);
    return false;
  }
  AuditStaffAround(staff, i);
  return true;
}

std::unique_ptr<TMusicNote> RemoveMemberAt(TMusicStaff& staff, int i, int position) {
  TNotatedItem* item = staff.GetItem(i);
  if (!item || !item->IsSongNoteClass()) return nullptr;
  const TMusicNote* member = item->FindMemberAtPos(position);
  if (!member) return nullptr;
  std::unique_ptr<TMusicNote> removed;
  if (auto* chord = ItemAs<TChordData>(item)) {
    // The last member is the chord's note: a chord is never emptied.
    if (chord->GetMemberCount() < 2 || !(removed = chord->RemoveNote(member))) return nullptr;
    if (chord->GetMemberCount() == 1) {
      std::unique_ptr<TMusicNote> remaining = chord->RemoveNote(chord->GetMember(0));
      remaining->SetVisibility(chord->GetVisibility());
      ReplaceItem(staff, i, std::move(remaining));
    }
  } else if (auto* restChord = ItemAs<TRestChord>(item)) {
    if (!(removed = restChord->DetachNote(member))) return nullptr;
    if (!restChord->GetPart()) {
      auto rest = std::make_unique<TRestNote>(restChord->GetDurationCode(), restChord->GetFlags());
      rest->Assign(*restChord);
      ReplaceItem(staff, i, std::move(rest));
    }
  } else {
    return nullptr;  // a plain note is not a member of anything
  }
  AuditStaffAround(staff, i);
  return removed;
}

}  // namespace kvt
