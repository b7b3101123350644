#include "app/editor/play_start_tick.h"

#include <algorithm>
#include <cstdint>

#include "notation/audit/audit_ntn_idx.h"
#include "notation/index/rel_ntn_idx.h"
#include "notation/staff/music_staff.h"

namespace kvt {

int32_t PlayStartTick(TMusicStaff* staff, int caret, int playStart) {
  if (staff == nullptr) return 0;
  const int item = std::max(caret, 0);
  // The item's time from the staff start; the audit walk knows the bar and its length there.
  const int64_t at = TRelNtnIdx(staff, item).GetTicks();
  TAuditNtnIdx index(staff, item);
  const TStaffContextState& state = index.GetRunningState();
  if (playStart <= 0) return static_cast<int32_t>(std::min<int64_t>(at, INT32_MAX));
  int64_t start = at - index.GetTicksSinceBar();
  if (playStart >= 2) start -= static_cast<int64_t>(playStart - 1) * state.GetBarLength();
  return static_cast<int32_t>(std::clamp<int64_t>(start, 0, std::min<int64_t>(at, INT32_MAX)));
}

}  // namespace kvt
