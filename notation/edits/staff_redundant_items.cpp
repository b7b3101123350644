// Removal of items that repeat what is already in force.

#include "notation/items/bar_line_data.h"
#include "notation/items/item_cast.h"
#include "notation/items/dynamic_level_data.h"
#include "notation/items/key_data.h"
#include "notation/staff/music_staff.h"
#include "notation/items/patch_data.h"
#include "notation/items/repeat_ending.h"
#include "notation/audit/staff_audit.h"
#include "notation/edits/staff_edits.h"
#include "notation/items/sustain_pedal.h"
#include "notation/items/tempo_data.h"
#include "notation/items/time_signature_data.h"

namespace kvt {

namespace {

// Kinds checked, in this order.
constexpr int kRedundantKinds[] = {kItemKey,      kItemBarLine, kItemEnding, kItemPatch,
                                   kItemTimeSig,  kItemTempo,   kItemDynamic};

bool SameExpression(const TNtnGeneralExpression& a, const TNtnGeneralExpression& b) {
  return a.GetPos() == b.GetPos() && a.IsWide() == b.IsWide() &&
         a.GetJustify() == b.GetJustify() && a.GetPlacement() == b.GetPlacement();
}

// Two items of one kind hold the same stored settings. The fields that the staff audit derives
// from the neighbours (a key's clef and previous key, a bar line's NotABar) are left out: they
// say where an item stands, not what it sets.
bool SameItem(const TNotatedItem& a, const TNotatedItem& b) {
  if (a.GetType() != b.GetType() || a.GetVisibility() != b.GetVisibility() ||
      a.GetColor() != b.GetColor())
    return false;
  switch (a.GetType()) {
    case kItemKey: {
      const auto& x = ItemRef<TKeyData>(a);
      const auto& y = ItemRef<TKeyData>(b);
      return x.GetSharpsMask() == y.GetSharpsMask() && x.GetFlatsMask() == y.GetFlatsMask() &&
             x.GetTonic() == y.GetTonic() && x.IsHideCancels() == y.IsHideCancels() &&
             x.IsAutoSys() == y.IsAutoSys();
    }
    case kItemBarLine: {
      const auto& x = ItemRef<TBarLineData>(a);
      const auto& y = ItemRef<TBarLineData>(b);
      return x.GetStyle() == y.GetStyle() && x.GetRepeat() == y.GetRepeat() &&
             x.IsSysBreak() == y.IsSysBreak() && x.IsXBarCnt() == y.IsXBarCnt();
    }
    case kItemEnding: {
      const auto& x = ItemRef<TSpecialEnding>(a);
      const auto& y = ItemRef<TSpecialEnding>(b);
      return x.GetEndings() == y.GetEndings() && x.IsClosedBracket() == y.IsClosedBracket() &&
             x.IsHideText() == y.IsHideText() && x.GetBracketHeight() == y.GetBracketHeight() &&
             x.GetVertOffsetStore() == y.GetVertOffsetStore();
    }
    case kItemPatch: {
      const auto& x = ItemRef<TPatchData>(a);
      const auto& y = ItemRef<TPatchData>(b);
      return SameExpression(x, y) && x.GetInstrument() == y.GetInstrument();
    }
    case kItemTimeSig: {
      const auto& x = ItemRef<TTimeSignatureData>(a);
      const auto& y = ItemRef<TTimeSignatureData>(b);
      return x.GetBeats() == y.GetBeats() && x.GetBeatExponent() == y.GetBeatExponent() &&
             x.GetStyle() == y.GetStyle();
    }
    case kItemTempo: {
      const auto& x = ItemRef<TTempoData>(a);
      const auto& y = ItemRef<TTempoData>(b);
      return SameExpression(x, y) && x.GetTempo() == y.GetTempo() &&
             x.GetBase() == y.GetBase() && x.GetText() == y.GetText();
    }
    case kItemDynamic: {
      const auto& x = ItemRef<TDynamicLevelData>(a);
      const auto& y = ItemRef<TDynamicLevelData>(b);
      return SameExpression(x, y) && x.GetLevel() == y.GetLevel() &&
             x.HasVelocity() == y.HasVelocity() && x.GetVelocity() == y.GetVelocity() &&
             x.HasVolume() == y.HasVolume() && x.GetVolume() == y.GetVolume();
    }
    default: return false;
  }
}

void RemoveRedundantOfKind(TMusicStaff& staff, int type) {
  int run = -1;                           // the last item of the kind since the last song note
  const TNotatedItem* reference = nullptr;  // the item of the kind in force from an earlier run
  for (int i = 0; i <= staff.GetLastIndex() - 1;) {
    const TNotatedItem* item = staff.GetItem(i);
    if (item->GetType() == type) {
      // The earlier of two in one run goes first (the later one is what stands in force), so
      // that a later item equal to the reference leaves the reference in force, not the
      // earlier one. An earlier opening bar line stays: the staff always starts with one.
      if (run > 0 && staff.DeleteItem(run)) {
        --i;
        run = -1;
      }
      if (reference && SameItem(*item, *reference) && staff.DeleteItem(i)) continue;
      run = i;
    } else if (item->IsSongNoteClass()) {
      if (run >= 0 && type != kItemBarLine && type != kItemEnding) reference = staff.GetItem(run);
      run = -1;
    }
    ++i;
  }
}

void RemoveRepeatedPedals(TMusicStaff& staff, bool down) {
  for (int i = 1; i < staff.GetLastIndex() - 1;) {
    const TNotatedItem* a = staff.GetItem(i);
    const TNotatedItem* b = staff.GetItem(i + 1);
    auto isPedal = [down](const TNotatedItem* item) {
      return item->GetType() == kItemSustainPedal &&
             ItemAs<TSustainPedal>(item)->IsDown() == down;
    };
    if (isPedal(a) && isPedal(b) && staff.DeleteItem(i)) continue;
    ++i;
  }
}

}  // namespace

int RemoveRedundantItems(TMusicStaff& staff) {
  const int before = staff.GetItemCount();
  for (int type : kRedundantKinds) RemoveRedundantOfKind(staff, type);
  RemoveRepeatedPedals(staff, false);
  RemoveRepeatedPedals(staff, true);
  if (staff.GetItemCount() != before) AuditStaffRange(staff);
  return staff.GetItemCount();
}

}  // namespace kvt
