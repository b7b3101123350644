// The error-finding index: remembering the accidentals written in a bar.

#include "notation/index/find_error_ntn_idx.h"

#include <cstring>

#include "notation/items/item_cast.h"
#include "notation/items/music_note.h"
#include "notation/staff/music_staff.h"
#include "notation/items/repeat_ending.h"

namespace kvt {

namespace {

// Staff positions are signed 8-bit in every note; clamping keeps any int inside the memory.
int MemorySlot(int position) {
  if (position < -128) position = -128;
  if (position > 127) position = 127;
  return position + 128;
}

}  // namespace

TFindErrorNtnIdx::TFindErrorNtnIdx(TMusicStaff* staff) : TAuditNtnIdx(staff) { ClearMemory(); }

TFindErrorNtnIdx::~TFindErrorNtnIdx() = default;

void TFindErrorNtnIdx::ClearMemory() { std::memset(memory, kAccNone, sizeof memory); }

void TFindErrorNtnIdx::Reset() {
  TAuditNtnIdx::Reset();
  ClearMemory();
}

int TFindErrorNtnIdx::GetRememberedAccidental(int position) const {
  return memory[MemorySlot(position)];
}

bool TFindErrorNtnIdx::Next() {
  if (!CanMove(1)) return false;
  if (const TNotatedItem* at = GetItem()) {
    switch (at->GetType()) {
      case kItemBarLine:
      case kItemClef:
      case kItemKey:
        ClearMemory();
        break;
      case kItemEnding:
        if (ItemAs<TSpecialEnding>(at)->HasAnyEnding()) ClearMemory();
        break;
      default:
        if (at->IsSongNoteClass()) {
          for (int m = 0, count = at->GetMemberCount(); m < count; ++m) {
            const TMusicNote* member = at->GetMember(m);
            if (member && member->GetAccidental() != kAccNone)
              memory[MemorySlot(member->GetStaffPos())] =
                  static_cast<uint8_t>(member->GetAccidental());
          }
        }
        break;
    }
  }
  return TAuditNtnIdx::Next();
}

bool TFindErrorNtnIdx::HasAccidentalMismatch() const {
  const TMusicStaff* staff = GetStaff();
  const TNotatedItem* at = GetItem();
  if (!staff || staff->IsMuted() || !at || !at->IsSongNoteClass()) return false;
  const TStaffContextState& state = GetRunningState();
  for (int m = 0, count = at->GetMemberCount(); m < count; ++m) {
    const TMusicNote* member = at->GetMember(m);
    if (!member || member->GetAccidental() != kAccNone || member->IsTieIn() || member->IsMuted())
      continue;
    const int letter = member->GetNoteLetter(state);
    const int running = state.GetRunningAccidental(letter);
    const int written = memory[MemorySlot(member->GetStaffPos())];
    const bool mismatch =
        written == kAccNone ? running != state.GetKeyAccidental(letter) : running != written;
    if (mismatch) return true;
  }
  return false;
}

}  // namespace kvt
