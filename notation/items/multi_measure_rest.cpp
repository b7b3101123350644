#include "notation/items/multi_measure_rest.h"

#include <algorithm>
#include <cstdint>

#include "notation/items/item_position.h"
#include "notation/context/staff_context_state.h"

namespace kvt {

TMultiMeasureRest::TMultiMeasureRest(int n)
    : numBars(1), barTicks(768), printOnce(0), showBars(1), showRests(1) {
  SetNumBars(n);
}

void TMultiMeasureRest::SetNumBars(int n) {
  numBars = static_cast<uint16_t>(std::clamp(n, 1, kMaxMultiRestBars));
}

void TMultiMeasureRest::SetBarTicks(int count, int unitCode) {
  const int64_t ticks = static_cast<int64_t>(count) * DurationUnitTicks(unitCode);
  barTicks = static_cast<int32_t>(std::clamp<int64_t>(ticks, 0, INT32_MAX));
}

int TMultiMeasureRest::GetDuration() const {
  const int64_t ticks = static_cast<int64_t>(numBars) * barTicks;
  return static_cast<int>(std::min<int64_t>(ticks, INT32_MAX));
}

void TMultiMeasureRest::ApplyToContext(TStaffContextState& state) const {
  state.AdvanceSongPosition(GetDuration());
}

}  // namespace kvt
