// Accidental audits over a staff: explicit accidentals, removing the implied ones, spelling
// conflicts in chords and respelling.

#include <cstdlib>

#include <vector>

#include "notation/audit/audit_ntn_idx.h"
#include "notation/items/item_cast.h"
#include "notation/items/clef_data.h"
#include "notation/items/music_note.h"
#include "notation/staff/music_staff.h"
#include "notation/items/repeat_ending.h"
#include "notation/audit/staff_audit.h"
#include "notation/edits/staff_edits.h"

namespace kvt {

namespace {

constexpr int kMemoryPositions = 201;  // staff positions -100 .. 100
constexpr int kMemoryOffset = 100;
constexpr int kLetterCount = 7;

// An audit index whose running state walks the items in plain linear order.
class TLinearAuditIdx : public TAuditNtnIdx {
public:
  explicit TLinearAuditIdx(TMusicStaff* staff) { SetStaff(staff); }
  void Reset() override {
    TAuditNtnIdx::Reset();
    UseLinearWalkMode();
  }
};

// The accidentals shown so far in the bar, by staff position.
class TAccidentalMemory {
public:
  TAccidentalMemory() { Clear(); }
  void Clear() {
    for (int& code : codes) code = kAccNone;
  }
  // kAccNone for positions outside the memory.
  int Get(int pos) const { return InRange(pos) ? codes[pos + kMemoryOffset] : kAccNone; }
  void Set(int pos, int code) {
    if (InRange(pos)) codes[pos + kMemoryOffset] = code;
  }

private:
  static bool InRange(int pos) { return pos >= -kMemoryOffset && pos <= kMemoryOffset; }
  int codes[kMemoryPositions];
};

// Whether passing the item empties the memory: a bar line, a key, an ending with endings
// set, or a clef that changes the clef in force or its octave shift.
bool ClearsMemory(const TNotatedItem& item, const TStaffContextState& state) {
  switch (item.GetType()) {
    case kItemBarLine:
    case kItemKey: return true;
    case kItemEnding: return ItemRef<TSpecialEnding>(item).HasAnyEnding();
    case kItemClef: {
      const auto& clef = ItemRef<TClefData>(item);
      return clef.GetClefType() != state.GetClef() ||
             clef.GetOctaveShift() != state.GetClefOctaveShift();
    }
    default: return false;
  }
}

void AuditItemAccidentals(TNotatedItem& item, const TAuditNtnIdx& idx, TAccidentalMemory& memory) {
  const TStaffContextState& state = idx.GetRunningState();
  const int n = item.GetMemberCount();
  // The accidentals each letter carries in this item, one bit per code.
  int carried[kLetterCount] = {};
  for (int m = 0; m < n; ++m) {
    const TMusicNote* member = item.GetMember(m);
    carried[member->GetNoteLetter(state)] |= 1 << member->GetSoundingAccidental(state);
  }
  TStaffTieList pending = idx.GetTieList();
  for (int m = 0; m < n; ++m) {
    TMusicNote* member = item.GetMember(m);
    const int pos = member->GetStaffPos();
    const int letter = member->GetNoteLetter(state);
    const int c = member->GetSoundingAccidental(state);
    const int remembered = memory.Get(pos);
    if (member->IsTieIn()) {
      const TMusicNote* next = item.GetMember(m + 1);
      const bool nextApart = !next || next->GetStaffPos() != pos ||
                             next->GetSoundingAccidental(state) == c;
      if ((remembered == kAccNone || remembered == c) && nextApart) {
        member->SetAutoAccidental(c);  // implied by the tie; the memory stays as it was
        continue;
      }
      memory.Set(pos, c);
      continue;
    }
    TStaffTieEntry entry;
    const bool tiePending = pending.Find(pos, kAccNone, entry, false);
    const bool implied = remembered != kAccNone
                             ? c == remembered
                             : state.GetRunningAccidental(letter) == state.GetKeyAccidental(letter);
    if (c == state.GetRunningAccidental(letter) && !tiePending && carried[letter] == (1 << c) &&
        implied) {
      member->ClearAutoAccidental();
    } else {
      memory.Set(pos, c);
    }
  }
}

}  // namespace

void MakeAccidentalsExplicit(TMusicStaff& staff) {
  // Every sounding accidental is worked out under the staff as it stands before any is
  // written: an accidental made explicit changes the running context of the notes after it
  // (a tie's implied sharp written out would carry to a plain F later in the bar).
  struct TWritten {
    TNotatedItem* item;
    TMusicNote* member;
    int accidental;
  };
  std::vector<TWritten> written;
  TAuditNtnIdx idx(&staff);
  do {
    TNotatedItem* item = idx.GetItem();
    if (!item || !item->IsSongNoteClass()) continue;
    const TStaffContextState& state = idx.GetRunningState();
    for (int m = 0, n = item->GetMemberCount(); m < n; ++m) {
      TMusicNote* member = item->GetMember(m);
      // The sounding accidental: the bar's running one, or the one a tie implied, so that no
      // pitch changes.
      if (member->GetAccidental() == kAccNone)
        written.push_back({item, member, member->GetSoundingAccidental(state)});
    }
  } while (idx.Next());
  for (const TWritten& w : written) w.member->SetAccidental(w.accidental);
  const TNotatedItem* updated = nullptr;
  for (const TWritten& w : written) {
    if (w.item != updated) ItemAs<TSongNote>(w.item)->Update();
    updated = w.item;
  }
}

void AuditAccidentals(TMusicStaff& staff) {
  AuditStaffRange(staff);
  MakeAccidentalsExplicit(staff);
  TAuditNtnIdx idx(&staff);
  TAccidentalMemory memory;
  do {
    TNotatedItem* item = idx.GetItem();
    if (!item) break;
    if (ClearsMemory(*item, idx.GetRunningState())) {
      memory.Clear();
    } else if (item->IsSongNoteClass()) {
      AuditItemAccidentals(*item, idx, memory);
      ItemAs<TSongNote>(item)->Update();
    }
  } while (idx.Next());
}

int FindSpellingConflict(TMusicStaff& staff, int from) {
  TLinearAuditIdx idx(&staff);
  if (from > 0) idx.SetIndex(from);
  while (idx.Next()) {
    const TNotatedItem* item = idx.GetItem();
    if (!item || !item->HasNotes() || idx.GetIndex() <= from) continue;
    const int n = item->GetMemberCount();
    const TMusicNote* lowest = item->GetMember(0);
    const TMusicNote* highest = item->GetMember(n - 1);
    if (n > 1 && lowest->GetStaffPos() == highest->GetStaffPos() &&
        lowest->GetHeadShift() == highest->GetHeadShift())
      continue;
    const TStaffContextState& state = idx.GetRunningState();
    int closeInRow = 0;
    for (int m = 1; m < n; ++m) {
      const TMusicNote* a = item->GetMember(m - 1);
      const TMusicNote* b = item->GetMember(m);
      const int pa = a->GetPitch(state);
      const int pb = b->GetPitch(state);
      if (std::abs(pb - pa) > 1) {
        closeInRow = 0;
        continue;
      }
      ++closeInRow;
      if (pa == pb || closeInRow >= 2 || b->IsTieIn() || b->IsTieOut()) return idx.GetIndex();
    }
  }
  return 0;
}

void NormalizeChords(TMusicStaff& staff) {
  MakeAccidentalsExplicit(staff);
  TLinearAuditIdx idx(&staff);
  do {
    TNotatedItem* item = idx.GetItem();
    if (item && item->IsSongNoteClass())
      ItemAs<TSongNote>(item)->Respell(idx.GetRunningState());
  } while (idx.Next());
  AuditAccidentals(staff);
}

}  // namespace kvt
