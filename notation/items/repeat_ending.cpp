#include "notation/items/repeat_ending.h"

#include <algorithm>
#include <cstdint>

#include "notation/items/bar_line_data.h"
#include "notation/items/item_cast.h"
#include "notation/context/staff_context_state.h"

namespace kvt {

namespace {

int OneMinus(int v) {
  const int64_t r = 1 - static_cast<int64_t>(v);
  return static_cast<int>(std::clamp<int64_t>(r, INT32_MIN, INT32_MAX));
}

}  // namespace

TSpecialEnding::TSpecialEnding()
    : closedBracket(0), hideText(0), endings(0), bracketHeight(4), vertOffsetStore(1) {}

bool TSpecialEnding::HasEnding(int n) const {
  // The master pass that selects an ending comes from the running state and may be any
  // number up to 127; only 1..7 name a bit.
  if (n < 1 || n > kMaxEndingNumber) return false;
  return (endings & (1u << (n - 1))) != 0;
}

void TSpecialEnding::SetEnding(int n, bool on) {
  if (n < 1 || n > kMaxEndingNumber) return;
  const uint32_t bit = 1u << (n - 1);
  endings = on ? (endings | bit) : (endings & ~bit);
}

void TSpecialEnding::SetDefaultEnding(bool on) {
  endings = on ? (endings | kDefaultEndingBit) : (endings & ~uint32_t{kDefaultEndingBit});
}

int TSpecialEnding::GetVertOffset() const { return OneMinus(vertOffsetStore); }

void TSpecialEnding::SetVertOffset(int offset) { vertOffsetStore = OneMinus(offset); }

void TSpecialEnding::ApplyToContext(TStaffContextState& state) const {
  if (HasAnyEnding()) state.SetMasterRepeatCount(8);
}

int TSpecialEnding::GetNextPlayIndex(TStaffContextState& state, const TMusicStaff* staff,
                                     int index) const {
  return NextPlayIndexIn(state, GetStaffItems(staff), index);
}

int TSpecialEnding::NextPlayIndexIn(TStaffContextState& state, TStaffItemSpan items,
                                    int index) const {
  const int pass = state.GetMasterRepeatPass();
  if (!HasAnyEnding() || pass == 0) return index + 1;
  if (state.RepeatsActive() ? HasEnding(pass) : HasDefaultEnding()) return index + 1;

  const int count = static_cast<int>(items.size());
  for (int i = std::max(index + 1, 0); i < count; ++i) {
    const TNotatedItem* item = items[static_cast<size_t>(i)].get();
    if (const auto* bar = ItemAs<TBarLineData>(item)) {
      switch (bar->GetStyle()) {
        case kBarDouble:
        case kBarBrokenDouble:
        case kBarSectionOpen:
        case kBarMasterRepeatOpen:
          return i;
        case kBarSectionClose:
        case kBarMasterRepeatClose:
          return i + 1;
        default:
          break;
      }
    } else if (const auto* ending = ItemAs<TSpecialEnding>(item); ending && ending->HasAnyEnding()) {
      return i;
    }
  }
  return index + 1;
}

}  // namespace kvt
