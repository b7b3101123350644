#include "notation/items/rest_note.h"

#include <cstdint>

#include "notation/items/item_cast.h"
#include "notation/items/packed_field.h"

namespace kvt {

namespace {

// Rest staff positions by duration code, before the vertical offset.
constexpr int kRestBasePos[kDurationCodeCount] = {-2, 0, 0, -1, 1, 1, 3};

}  // namespace

int GetBeatUnitTicks(int unitCode) {
  switch (unitCode) {
    case 0: return 768;
    case 1: return 384;
    case 3: return 96;
    case 4: return 48;
    case 5: return 24;
    case 6: return 12;
    default: return 192;
  }
}

TRestNote::TRestNote(int durationCode, int flagWord)
    : TSongNote(durationCode, flagWord),
      tickLength(kWholeNoteTicks),
      hasTickLength(0),
      hideRest(0),
      vertOffset(0) {}

TRestNote::~TRestNote() = default;

void TRestNote::Assign(const TNotatedItem& src) {
  TSongNote::Assign(src);
  if (GetType() == kItemRest) {
    SetXNoteSpace(0);
    SetXAccSpace(0);
  }
  if (!src.IsRestClass()) return;
  const auto& s = ItemRef<TRestNote>(src);
  hasTickLength = s.hasTickLength;
  tickLength = s.tickLength;
  vertOffset = s.vertOffset;
}

int TRestNote::GetStaffPos() const {
  return kRestBasePos[GetDurationCode()] + GetVertOffset();
}

// A plain rest is not displaced; the rest chord's displacement away from its notes comes with
// the drawing code.
int TRestNote::GetTopPos() const { return GetStaffPos() - 2; }
int TRestNote::GetBottomPos() const { return GetStaffPos() + 2; }

int TRestNote::GetDuration() const {
  if (IsGrace()) return 0;
  return hasTickLength ? static_cast<int>(tickLength) : GetNotatedDuration();
}

void TRestNote::SetTickLength(int count, int unitCode) {
  const int64_t ticks = static_cast<int64_t>(count) * GetBeatUnitTicks(unitCode);
  const int64_t bounded = ticks < 0 ? 0 : (ticks > kMaxRestTickLength ? kMaxRestTickLength : ticks);
  tickLength = static_cast<uint32_t>(bounded);
  hasTickLength = 1;
}

void TRestNote::ClearTickLength() { hasTickLength = 0; }

int TRestNote::GetVertOffset() const { return SignExtend(vertOffset, 12); }

void TRestNote::SetVertOffset(int offset) {
  vertOffset = MaskBits(ClampInt(offset, -(kMaxRestVertOffset + 1), kMaxRestVertOffset + 1), 12);
}

void TRestNote::SetHideRest(bool hide) {
  hideRest = hide;
  if (hide) vertOffset = 0;
}

bool TRestNote::IsRestHidden() const { return GetType() == kItemRestChord && hideRest; }

bool TRestNote::IsPlainWholeRest() const {
  return GetDurationCode() == kDurWhole && !IsGrace() && !IsDotted() && !IsDblDotted() &&
         !IsTriplet() && !HasNotes();
}

}  // namespace kvt
