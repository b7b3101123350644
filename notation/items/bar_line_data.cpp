#include "notation/items/bar_line_data.h"

#include <algorithm>

#include "notation/items/item_cast.h"
#include "notation/items/packed_field.h"
#include "notation/context/staff_context_state.h"

namespace kvt {

namespace {

// The bar line at items[i], or null when that item is something else.
const TBarLineData* BarAt(TStaffItemSpan items, int i) {
  return ItemAs<TBarLineData>(items[static_cast<size_t>(i)].get());
}

// The last index a backward search from `index` may read.
int LastReadable(TStaffItemSpan items, int index) {
  return std::min(index - 1, static_cast<int>(items.size()) - 1);
}

}  // namespace

TBarLineData::TBarLineData(int barStyle, int repeatCount)
    : style(0), sysBreak(0), notABar(0), xBarCnt(0), repeat(1) {
  SetStyle(barStyle, repeatCount);
}

void TBarLineData::SetStyle(int barStyle, int repeatCount) {
  style = static_cast<uint16_t>(MaskBits(barStyle, 5));
  if (style == kBarLocalRepeatClose)
    repeat = static_cast<uint16_t>(repeatCount > 1 ? std::min(repeatCount, 255) : 2);
  else
    repeat = 1;
}

void TBarLineData::SetStaffEndStyle(int kind) {
  static constexpr int kEndStyles[5] = {kBarSectionClose, kBarMasterRepeatClose, kBarSingle,
                                        kBarDouble, kBarTransparent};
  SetStyle(kEndStyles[BoundIndex(kind, 5, kEndBarSectionClose)], 1);
  SetVisibility(kVisDefault);
}

int TBarLineData::GetOpeningStyle() const {
  switch (GetStyle()) {
    case kBarSectionClose: return kBarSectionOpen;
    case kBarLocalRepeatClose: return kBarLocalRepeatOpen;
    case kBarMasterRepeatClose: return kBarMasterRepeatOpen;
    default: return kBarNoOpeningStyle;
  }
}

void TBarLineData::ApplyToContext(TStaffContextState& state) const {
  state.ResetRunningKey();
  switch (GetStyle()) {
    case kBarSectionOpen:
    case kBarSectionClose:
      state.SetMasterRepeatPass(1);
      break;
    case kBarLocalRepeatOpen:
      state.SetLocalRepeatPass(1);
      break;
    case kBarLocalRepeatClose:
      state.NextLocalRepeatPass();
      break;
    case kBarMasterRepeatOpen:
      state.SetMasterRepeatPass(1);
      state.SetMasterRepeatCount(2);
      break;
    case kBarMasterRepeatClose:
      state.NextMasterRepeatPass();
      break;
    default:
      break;
  }
}

int TBarLineData::GetNextPlayIndex(TStaffContextState& state, const TMusicStaff* staff,
                                   int index) const {
  return NextPlayIndexIn(state, GetStaffItems(staff), index);
}

int TBarLineData::NextPlayIndexIn(TStaffContextState& state, TStaffItemSpan items,
                                  int index) const {
  switch (GetStyle()) {
    case kBarLocalRepeatClose:
      if (state.IsWalkModeSet()) return index + 1;
      if (state.GetLocalRepeatPass() >= GetRepeat()) {
        state.SetLocalRepeatPass(0);
        return index + 1;
      }
      return FindLocalRepeatTarget(items, index);
    case kBarMasterRepeatClose:
      if (!state.RepeatsActive()) return index + 1;
      if (state.GetMasterRepeatPass() >= state.GetMasterRepeatCount()) return index + 1;
      return FindMasterRepeatTarget(items, index);
    default:
      return index + 1;
  }
}

int TBarLineData::FindLocalRepeatTarget(TStaffItemSpan items, int index) const {
  bool masterClosePassed = false;
  int found = 0;
  for (int i = LastReadable(items, index); i > 0; --i) {
    const TBarLineData* bar = BarAt(items, i);
    if (!bar) continue;
    const int s = bar->GetStyle();
    if (s == kBarLocalRepeatOpen || s == kBarLocalRepeatClose) {
      found = i;
      break;
    }
    if (s == kBarMasterRepeatClose) masterClosePassed = true;
    // The local repeat would cross into a master repeat that it does not enclose.
    if (s == kBarMasterRepeatOpen && !masterClosePassed) return index + 1;
  }
  return std::max(found + 1, 1);
}

int TBarLineData::FindMasterRepeatTarget(TStaffItemSpan items, int index) const {
  int localClosesPassed = 0;
  int localOpensPassed = 0;
  int found = 0;
  for (int i = LastReadable(items, index); i > 0; --i) {
    const TBarLineData* bar = BarAt(items, i);
    if (!bar) continue;
    const int s = bar->GetStyle();
    if (s == kBarMasterRepeatOpen || s == kBarSectionOpen || s == kBarSectionClose) {
      found = i;
      break;
    }
    if (s == kBarLocalRepeatClose) ++localClosesPassed;
    if (s == kBarLocalRepeatOpen) {
      // A local repeat that opens inside the master repeat but closes after it.
      if (localClosesPassed == 0) return index + 1;
      ++localOpensPassed;
    }
  }
  if (localClosesPassed != localOpensPassed) return index + 1;
  return std::max(found + 1, 1);
}

}  // namespace kvt
