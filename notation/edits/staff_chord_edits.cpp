// Merging notes into chords and taking members out.

#include <memory>

#include "notation/items/chord_data.h"
#include "notation/staff/music_staff.h"
#include "notation/items/rest_chord.h"
#include "notation/audit/staff_audit.h"
#include "notation/edits/staff_edits.h"

namespace kvt {

namespace {

constexpr uint16_t kDotFlags = kMaskDotted | kMaskDblDotted;

// A stand-in note with what a chord decides on (position, accidental, duration, flags, stem
// and options), so a trial chord can answer without touching the real notes.
std::unique_ptr<TMusicNote> TrialCopy(const TMusicNote& note) {
  auto copy = std::make_unique<TMusicNote>(note.GetStaffPos(), note.GetDurationCode(),
                                           note.GetFlags(), note.GetRawAccidental());
  copy->Assign(note);
  return copy;
}

// Whether a chord made of `held` and then `added` takes both.
bool ChordWouldTake(const TMusicNote& held, const TMusicNote& added) {
  TChordData trial;
  if (!trial.AddNote(TrialCopy(held).release())) return false;
  auto candidate = TrialCopy(added);
  if (!trial.AddNote(candidate.get())) return false;
  candidate.release();  // owned by the trial chord
  return true;
}

// Replaces the item at i (detached and deleted) by `replacement`.
void ReplaceItem(TMusicStaff& staff, int i, std::unique_ptr<TNotatedItem> replacement) {
  std::unique_ptr<TNotatedItem> old = staff.DetachItem(i);
  staff.InsertItem(std::move(replacement), i);
}

// Step 1 of a merge: the note takes the target's explicit stem when it matches its duration,
// and becomes a grace note beside a grace note.
void FitNoteToTarget(TMusicNote& note, const TNotatedItem& target) {
  const auto& song = static_cast<const TSongNote&>(target);
  if (note.GetStemSetting() == kStemAuto && target.IsMusicNoteClass() &&
      song.GetStemSetting() != kStemAuto && song.GetDurationCode() == note.GetDurationCode() &&
      (song.GetFlags() & kDotFlags) == (note.GetFlags() & kDotFlags))
    note.SetStemDir(song.GetStemSetting());
  if (song.IsGrace() && !note.IsGrace()) note.SetNoteFlag(kFlagGrace);
}

// Adds the note to the item at i; false with nothing changed on refusal (the note's own
// fields may have been adjusted by the caller, who restores them).
bool AddToItem(TMusicStaff& staff, TMusicNote* note, int i) {
  TNotatedItem* item = staff.GetItem(i);
  switch (item->GetType()) {
    case kItemNote: {
      auto* held = static_cast<TMusicNote*>(item);
      // Decided on copies first: a chord that refused the new note after taking the old one
      // would have changed the old note on the way in.
      if (!ChordWouldTake(*held, *note)) return false;
      auto chord = std::make_unique<TChordData>();
      std::unique_ptr<TNotatedItem> detached = staff.DetachItem(i);
      if (!chord->AddNote(held)) {
        staff.InsertItem(std::move(detached), i);
        return false;
      }
      detached.release();  // owned by the chord
      if (!chord->AddNote(note)) {
        chord->RemoveNote(held);
        staff.InsertItem(std::unique_ptr<TNotatedItem>(held), i);
        return false;
      }
      staff.InsertItem(std::move(chord), i);
      return true;
    }
    case kItemChord: return static_cast<TChordData*>(item)->AddNote(note);
    case kItemRestChord: return static_cast<TRestChord*>(item)->AttachNote(note);
    case kItemRest: {
      const auto* rest = static_cast<const TRestNote*>(item);
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

bool MergeNoteAt(TMusicStaff& staff, TMusicNote* note, int i) {
  TNotatedItem* item = staff.GetItem(i);
  if (!note || !item || !item->IsSongNoteClass() || item == note) return false;
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

TMusicNote* RemoveMemberAt(TMusicStaff& staff, int i, int position) {
  TNotatedItem* item = staff.GetItem(i);
  if (!item || !item->IsSongNoteClass()) return nullptr;
  TMusicNote* member = item->FindMemberAtPos(position);
  if (!member) return nullptr;
  if (item->GetType() == kItemChord) {
    auto* chord = static_cast<TChordData*>(item);
    // The last member is the chord's note: a chord is never emptied.
    if (chord->GetMemberCount() < 2 || !chord->RemoveNote(member)) return nullptr;
    if (chord->GetMemberCount() == 1) {
      TMusicNote* remaining = chord->GetMember(0);
      chord->RemoveNote(remaining);
      remaining->SetVisibility(chord->GetVisibility());
      ReplaceItem(staff, i, std::unique_ptr<TNotatedItem>(remaining));
    }
  } else if (item->GetType() == kItemRestChord) {
    auto* restChord = static_cast<TRestChord*>(item);
    if (!restChord->DetachNote(member)) return nullptr;
    if (!restChord->GetPart()) {
      auto rest = std::make_unique<TRestNote>(restChord->GetDurationCode(), restChord->GetFlags());
      rest->Assign(*restChord);
      ReplaceItem(staff, i, std::move(rest));
    }
  } else {
    return nullptr;  // a plain note is not a member of anything
  }
  AuditStaffAround(staff, i);
  return member;
}

}  // namespace kvt
