// Kept audit walks at bar lines of a staff.

#include "notation/audit/audit_walk_cache.h"

#include <algorithm>
#include <iterator>

#include "notation/staff/music_staff.h"

namespace kvt {

TAuditWalkCache::TStart TAuditWalkCache::StartOf(const TAuditNtnIdx& fresh) {
  const TStaffContextState& state = fresh.GetRunningState();
  return {state.GetChannel(), state.GetPort(), state.GetTransposition()};
}

void TAuditWalkCache::DropFrom(int i) {
  const auto from = std::find_if(kept.begin(), kept.end(),
                                 [i](const TAuditNtnIdx& walk) { return walk.GetIndex() >= i; });
  kept.erase(from, kept.end());
}

TAuditNtnIdx TAuditWalkCache::WalkTo(TMusicStaff& staff, int target) {
  TAuditNtnIdx walk(&staff);
  const TStart now = StartOf(walk);
  if (!(now == start)) {
    // Kept walks began from another start context: none of them holds.
    kept.clear();
    start = now;
  }
  target = std::clamp(target, 0, staff.GetLastIndex());
  const auto after = std::find_if(kept.begin(), kept.end(), [target](const TAuditNtnIdx& w) {
    return w.GetIndex() > target;
  });
  if (after != kept.begin()) walk = *std::prev(after);
  // Kept walks past the target are left alone: the caller's audit decides what it rewrites.
  int bars = 0;
  while (walk.GetIndex() < target) {
    const TNotatedItem* item = staff.GetItem(walk.GetIndex());
    if (item && item->GetType() == kItemBarLine && ++bars >= kBarsPerWalk) {
      bars = 0;
      if (walk.GetIndex() > LastKeptIndex()) kept.push_back(walk);
    }
    if (!walk.Next()) break;
  }
  return walk;
}

}  // namespace kvt
