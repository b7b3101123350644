// Note flags and ties over a staff range.

#include <vector>

#include "notation/audit/audit_ntn_idx.h"
#include "notation/items/item_cast.h"
#include "notation/items/bar_line_data.h"
#include "notation/items/music_note.h"
#include "notation/staff/music_staff.h"
#include "notation/items/rest_chord.h"
#include "notation/items/repeat_ending.h"
#include "notation/staff/staff_range.h"

namespace kvt {

namespace {

enum TFlagScope { kScopeNone, kScopeSongNotes, kScopeMembers };

// Where a flag bit applies: to every song note (rests too), to items with members, or never.
TFlagScope ScopeOf(int bit) {
  switch (bit) {
    case kFlagDotted:
    case kFlagSlur:
    case kFlagDblDotted:
    case kFlagGrace:
    case kFlagCrescendo:
    case kFlagDiminuendo: return kScopeSongNotes;
    case kFlagAccent:
    case kFlagStaccato:
    case kFlagTieOut:
    case kFlagTenuto:
    case kFlagMarkA:
    case kFlagMarkB:
    case kFlagMarcato:
    case kFlagStaccatissimo: return kScopeMembers;
    default: return kScopeNone;
  }
}

// The song note a flag bit is set on for this item: for member bits the item's notes (a rest
// chord's part instead of the rest chord); null when the bit does not apply to the item.
TSongNote* FlagTarget(TNotatedItem* item, TFlagScope scope) {
  if (!item->IsSongNoteClass()) return nullptr;
  if (scope == kScopeSongNotes) return ItemAs<TSongNote>(item);
  if (scope != kScopeMembers || item->GetMemberCount() == 0) return nullptr;
  if (item->GetType() == kItemRestChord) return ItemAs<TRestChord>(item)->GetPart();
  return ItemAs<TSongNote>(item);
}

bool TargetHasFlag(const TSongNote& target, int bit) {
  if (target.HasNoteFlag(bit)) return true;
  for (int m = 0, n = target.GetMemberCount(); m < n; ++m)
    if (target.GetMember(m)->HasNoteFlag(bit)) return true;
  return false;
}

// A tie may not run across these items.
bool BreaksTies(const TNotatedItem& item) {
  switch (item.GetType()) {
    case kItemClef:
    case kItemKey: return true;
    case kItemBarLine: {
      const int style = ItemRef<TBarLineData>(item).GetStyle();
      return style == kBarLocalRepeatClose || style == kBarMasterRepeatClose;
    }
    case kItemEnding: return ItemRef<TSpecialEnding>(item).IsLaterEnding();
    default: return false;
  }
}

}  // namespace

bool TStaffRange::GetFlagState(int bit, bool& anySet) const {
  anySet = false;
  const TFlagScope scope = ScopeOf(bit);
  if (!IsValid() || scope == kScopeNone) return false;
  bool applies = false;
  for (int i = first; i <= last; ++i) {
    const TSongNote* target = FlagTarget(staff->GetItem(i), scope);
    if (!target) continue;
    applies = true;
    if (TargetHasFlag(*target, bit)) anySet = true;
  }
  return applies;
}

bool TStaffRange::ToggleFlag(int bit) {
  if (!IsValid()) return false;
  if (bit == kFlagTieOut) {
    int songNotes = 0;
    for (int i = first; i <= last; ++i) songNotes += staff->GetItem(i)->IsSongNoteClass();
    if (songNotes > 1) return ToggleTies();
  }
  bool anySet = false;
  if (!GetFlagState(bit, anySet)) return false;
  const TFlagScope scope = ScopeOf(bit);
  int graceOfSlur = -1;  // grace flag of the first item given a slur
  for (int i = first; i <= last; ++i) {
    TSongNote* target = FlagTarget(staff->GetItem(i), scope);
    if (!target) continue;
    if (anySet) {
      target->ClearNoteFlag(bit);
      for (int m = 0, n = target->GetMemberCount(); m < n; ++m)
        target->GetMember(m)->ClearNoteFlag(bit);
    } else {
      if (bit == kFlagSlur) {
        const int grace = target->IsGrace() ? 1 : 0;
        if (graceOfSlur < 0) graceOfSlur = grace;
        if (grace != graceOfSlur) continue;
      }
      target->SetNoteFlag(bit);
      for (int m = 0, n = target->GetMemberCount(); m < n; ++m)
        target->GetMember(m)->SetNoteFlag(bit);
    }
    target->Update();
    if (target != staff->GetItem(i)) ItemAs<TSongNote>(staff->GetItem(i))->Update();
  }
  AuditRange();
  return true;
}

bool TStaffRange::ToggleTies() {
  if (!IsValid()) return false;
  // The song notes of the range, from the first to the last.
  std::vector<int> notes;
  for (int i = first; i <= last; ++i)
    if (staff->GetItem(i)->IsSongNoteClass()) notes.push_back(i);
  if (notes.empty()) return false;
  for (int i = notes.front(); i <= notes.back(); ++i)
    if (BreaksTies(*staff->GetItem(i))) return false;

  // Test pass, with the running context before each song note.
  struct TContinued {
    TMusicNote* member;
    TNotatedItem* owner;
  };
  std::vector<TContinued> continued;
  std::vector<TStaffContextState> before;
  TAuditNtnIdx walk(staff);
  for (int i : notes) {
    walk.SetIndex(i);
    before.push_back(walk.GetRunningState());
  }
  bool anyTied = false;
  for (size_t k = 0; k + 1 < notes.size(); ++k) {
    TNotatedItem* item = staff->GetItem(notes[k]);
    for (int m = 0, n = item->GetMemberCount(); m < n; ++m) {
      TMusicNote* member = item->GetMember(m);
      const int pos = member->GetStaffPos();
      for (size_t j = k + 1; j < notes.size(); ++j) {
        const TMusicNote* next = staff->GetItem(notes[j])->FindMemberAtPos(pos);
        if (!next) continue;
        if (next->GetAccidental() != kAccNone &&
            next->GetSoundingAccidental(before[j]) != member->GetSoundingAccidental(before[k]))
          return false;
        continued.push_back({member, item});
        if (member->IsTieOut()) anyTied = true;
        break;
      }
    }
  }
  if (continued.empty()) return false;

  for (const TContinued& c : continued) {
    if (anyTied) {
      c.member->ClearNoteFlag(kFlagTieOut);
      if (c.owner->IsSongNoteClass()) ItemAs<TSongNote>(c.owner)->ClearNoteFlag(kFlagTieOut);
    } else {
      c.member->SetNoteFlag(kFlagTieOut);
      if (c.owner->IsSongNoteClass() && c.owner->IsMusicNoteClass())
        ItemAs<TSongNote>(c.owner)->SetNoteFlag(kFlagTieOut);
    }
  }
  for (int i : notes) ItemAs<TSongNote>(staff->GetItem(i))->Update();
  AuditRange();
  return true;
}

}  // namespace kvt
