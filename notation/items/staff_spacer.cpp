#include "notation/items/staff_spacer.h"

#include <algorithm>
#include <cstdint>

#include "notation/items/item_position.h"

namespace kvt {

TStaffSpacer::TStaffSpacer(int w) : width(0) { SetWidthValue(w); }

void TStaffSpacer::SetWidthValue(int w) {
  width = static_cast<uint16_t>(std::clamp(w, 0, kMaxSpacerWidth));
}

void TStaffSpacer::AdjustWidth(int delta) {
  const int64_t w = static_cast<int64_t>(width) + delta;
  width = static_cast<uint16_t>(std::clamp<int64_t>(w, 0, kMaxSpacerWidth));
}

void TStaffSpacer::SetWidthReal(double x) { width = static_cast<uint16_t>(HundredthsFromReal(x, 0, kMaxSpacerWidth)); }

}  // namespace kvt
