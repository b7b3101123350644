// The neighbourhood index: remembering the last item of each context kind.

#include "notation/index/neighborhood_ntn_idx.h"

#include "notation/items/item_cast.h"
#include "notation/staff/music_staff.h"
#include "notation/items/patch_data.h"
#include "notation/items/tempo_variance.h"
#include "notation/items/time_signature_data.h"

namespace kvt {

TNeighborhoodNtnIdx::TNeighborhoodNtnIdx(TMusicStaff* staff) : TSimpleNtnIdx(staff) {}

TNeighborhoodNtnIdx::TNeighborhoodNtnIdx(TMusicStaff* staff, int i) : TSimpleNtnIdx(staff) {
  TNeighborhoodNtnIdx::SetIndex(i);
}

void TNeighborhoodNtnIdx::Reset() {
  TSimpleNtnIdx::Reset();
  for (int32_t& slot : slots) slot = 0;
}

bool TNeighborhoodNtnIdx::SetIndex(int i) {
  if (!GetStaff()) return false;
  const int last = LastIndex();
  const bool inRange = i >= 0 && i <= last;
  if (i < 2) {
    Reset();
    if (i <= 0) return inRange;
  }
  const int target = i < last ? i : last;
  while (GetIndex() < target)
    if (!Next()) break;
  while (GetIndex() > target)
    if (!Prev()) break;
  return inRange && GetIndex() == target;
}

int TNeighborhoodNtnIdx::SlotOf(const TNotatedItem& item) {
  switch (item.GetType()) {
    case kItemBarLine: return kSlotBarLine;
    case kItemClef: return kSlotClef;
    case kItemKey: return kSlotKey;
    case kItemTimeSig: return kSlotTimeSig;
    case kItemPatch: return kSlotInstrument;
    case kItemDynamic: return kSlotDynamic;
    case kItemDynamicVariance: return kSlotDynamicVariance;
    case kItemTempo: return kSlotTempo;
    case kItemTempoVariance:
      return ItemRef<TTempoVariance>(item).GetStyle() > 2 ? kSlotTempoVariance : -1;
    case kItemRest: return kSlotRest;
    default: return -1;
  }
}

bool TNeighborhoodNtnIdx::Next() {
  if (!CanMove(1)) return false;
  if (const TNotatedItem* at = GetItem()) {
    if (at->IsSongNoteClass()) {
      slots[kSlotPrevSongNote] = slots[kSlotSongNote];
      slots[kSlotSongNote] = GetIndex();
    }
    const int slot = SlotOf(*at);
    if (slot >= 0) slots[slot] = GetIndex();
  }
  return TSimpleNtnIdx::Next();
}

int32_t TNeighborhoodNtnIdx::FindBack(int slot, int before) const {
  for (int i = before - 1; i > 0; --i) {
    const TNotatedItem* at = ItemAt(i);
    if (at && SlotOf(*at) == slot) return i;
  }
  return 0;
}

int32_t TNeighborhoodNtnIdx::FindSongNoteBack(int before) const {
  for (int i = before - 1; i > 0; --i) {
    const TNotatedItem* at = ItemAt(i);
    if (at && at->IsSongNoteClass()) return i;
  }
  return 0;
}

bool TNeighborhoodNtnIdx::Prev() {
  if (!TSimpleNtnIdx::Prev()) return false;
  const TNotatedItem* at = GetItem();
  if (!at) return true;
  if (at->IsSongNoteClass()) {
    slots[kSlotSongNote] = slots[kSlotPrevSongNote];
    slots[kSlotPrevSongNote] =
        slots[kSlotSongNote] > 0 ? FindSongNoteBack(slots[kSlotSongNote]) : 0;
  }
  const int slot = SlotOf(*at);
  if (slot >= 0) slots[slot] = FindBack(slot, GetIndex());
  return true;
}

const TInstrumentDef* TNeighborhoodNtnIdx::GetInstrumentDef() const {
  if (slots[kSlotInstrument] > 0) {
    const TNotatedItem* at = ItemAt(slots[kSlotInstrument]);
    if (at && at->GetType() == kItemPatch)
      return &ItemAs<TPatchData>(at)->GetInstrument();
  }
  return GetStaff() ? &GetStaff()->GetInstrument() : nullptr;
}

void TNeighborhoodNtnIdx::GetTimeSignature(int& beats, int& exponent) const {
  beats = 4;
  exponent = 2;
  if (slots[kSlotTimeSig] <= 0) return;
  const TNotatedItem* at = ItemAt(slots[kSlotTimeSig]);
  if (!at || at->GetType() != kItemTimeSig) return;
  const auto* timeSig = ItemAs<TTimeSignatureData>(at);
  beats = timeSig->GetBeats();
  exponent = timeSig->GetBeatExponent();
}

}  // namespace kvt
