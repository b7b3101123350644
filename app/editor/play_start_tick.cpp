#include "app/editor/play_start_tick.h"

#include <algorithm>

#include "notation/audit/audit_ntn_idx.h"
#include "notation/staff/music_staff.h"

namespace kvt {

int32_t PlayStartTick(TMusicStaff* staff, int caret, int playStart) {
  if (staff == nullptr) return 0;
  TAuditNtnIdx index(staff, std::max(caret, 0));
  const TStaffContextState& state = index.GetRunningState();
  const int64_t at = state.GetSongPosition();
  if (playStart <= 0) return static_cast<int32_t>(at);
  int64_t start = at - index.GetTicksSinceBar();
  if (playStart >= 2) start -= static_cast<int64_t>(playStart - 1) * state.GetBarLength();
  return static_cast<int32_t>(std::clamp<int64_t>(start, 0, at));
}

}  // namespace kvt
