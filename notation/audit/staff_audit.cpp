// The spans of the staff audit and the score-wide audit.

#include "notation/audit/staff_audit.h"

#include <algorithm>
#include <vector>

#include "notation/audit/audit_item.h"
#include "notation/audit/audit_ntn_idx.h"
#include "notation/audit/audit_walk_cache.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "notation/items/notated_item.h"
#include "notation/index/simple_ntn_idx.h"
#include "notation/services/services.h"
#include "notation/services/user_object_host.h"
#include "utils/busy_cursor.h"

namespace kvt {

namespace {

// Bar lines each side of a point edit, and past the end of a span.
constexpr int kBarsAroundEdit = 2;
constexpr int kBarsPastSpan = 10;

// The staves being audited on this thread. The audit step may make an edit that audits its
// own range (re-beaming a group); that nested audit would start the same step again.
thread_local std::vector<const TMusicStaff*> auditing;

// Marks a staff as being audited for the life of a scope (scopes nest, so the newest mark is
// always the last one).
class TAuditingMark {
public:
  explicit TAuditingMark(const TMusicStaff& staff) { auditing.push_back(&staff); }
  ~TAuditingMark() { auditing.pop_back(); }
  TAuditingMark(const TAuditingMark&) = delete;
  TAuditingMark& operator=(const TAuditingMark&) = delete;

  static bool IsAuditing(const TMusicStaff& staff) {
    return std::find(auditing.begin(), auditing.end(), &staff) != auditing.end();
  }
};

bool IsBarLine(const TMusicStaff& staff, int i) {
  const TNotatedItem* item = staff.GetItem(i);
  return item && item->GetType() == kItemBarLine;
}

// The n-th bar line before i (not i itself); item 0 when there are fewer.
int BarLineBefore(const TMusicStaff& staff, int i, int n) {
  for (int k = std::min(i, staff.GetLastIndex()) - 1; k > 0; --k)
    if (IsBarLine(staff, k) && --n == 0) return k;
  return 0;
}

// The n-th bar line after i (not i itself); the last index when there are fewer.
int BarLineAfter(const TMusicStaff& staff, int i, int n) {
  const int last = staff.GetLastIndex();
  for (int k = std::max(i, -1) + 1; k < last; ++k)
    if (IsBarLine(staff, k) && --n == 0) return k;
  return last;
}

// AuditStaffSpan for a staff already marked as being audited. With a kept walk, the walk to
// first continues from where it stands (restarting from item 0 only when first lies behind
// it) and stays at first for the next span.
void AuditMarkedSpan(TMusicStaff& staff, int first, int last, TAuditNtnIdx* kept = nullptr) {
  const int lastIndex = staff.GetLastIndex();
  first = std::clamp(first, 0, lastIndex);
  last = std::clamp(last, first, lastIndex);
  const int stop = BarLineAfter(staff, last, kBarsPastSpan);

  TAuditWalkCache& cache = staff.AuditWalkCache();
  TAuditNtnIdx idx;
  if (kept) {
    kept->SetIndex(first);
    idx = *kept;
  } else {
    idx = cache.WalkTo(staff, first);
  }
  while (true) {
    AuditItem(idx);
    if (idx.GetIndex() >= stop || !idx.Next()) break;
  }
  // The audit step rewrote items from first on, which walks kept after it have read.
  cache.DropFrom(first + 1);
  if (first == 0 && stop == lastIndex) staff.SetNeedsAudit(false);
}

// AuditStaffAround for a staff already marked as being audited.
void AuditMarkedAround(TMusicStaff& staff, int first, int last) {
  const int lastIndex = staff.GetLastIndex();
  first = std::clamp(first, 0, lastIndex);
  last = last < 0 ? first : std::clamp(last, first, lastIndex);
  AuditMarkedSpan(staff, BarLineBefore(staff, first, kBarsAroundEdit),
                  BarLineAfter(staff, last, kBarsAroundEdit));
}

// The span AuditStaffRange audits for first..last: whole bars, back to the item after the bar
// line before first, on to the item before the bar line after last (an end standing on a bar
// line stays), never the closing bar line.
void WidenToWholeBars(const TMusicStaff& staff, int& first, int& last) {
  const int lastIndex = staff.GetLastIndex();
  first = std::clamp(first, 0, lastIndex);
  last = last < 0 ? lastIndex : std::clamp(last, 0, lastIndex);
  if (last < first) std::swap(first, last);
  if (!IsBarLine(staff, first)) first = std::max(BarLineBefore(staff, first, 1) + 1, 1);
  if (!IsBarLine(staff, last)) last = BarLineAfter(staff, last, 1) - 1;
  last = std::max(std::min(last, lastIndex - 1), first);
}

}  // namespace

void AuditStaffSpan(TMusicStaff& staff, int first, int last) {
  if (TAuditingMark::IsAuditing(staff)) return;
  TAuditingMark mark(staff);
  AuditMarkedSpan(staff, first, last);
}

void AuditStaffAround(TMusicStaff& staff, int first, int last) {
  if (TAuditingMark::IsAuditing(staff)) return;
  TAuditingMark mark(staff);
  AuditMarkedAround(staff, first, last);
}

void AuditStaffRange(TMusicStaff& staff, int first, int last) {
  WidenToWholeBars(staff, first, last);
  AuditStaffSpan(staff, first, last);
}

TRunningStaffAudit::TRunningStaffAudit(TMusicStaff& staff) : staff(staff), walk(&staff) {}

// The kept walk has read only items before the span's start; edits and audits write at or
// after it, except a tempo's audit setting an earlier variance's ramp, which no walk reads.
void TRunningStaffAudit::AuditRange(int first, int last) {
  if (TAuditingMark::IsAuditing(staff)) return;
  TAuditingMark mark(staff);
  WidenToWholeBars(staff, first, last);
  AuditMarkedSpan(staff, first, last, &walk);
}

void RefreshAndAuditStaff(TMusicStaff& staff, const TServices& services, int first, int last) {
  if (TAuditingMark::IsAuditing(staff)) return;
  TAuditingMark mark(staff);
  const int lastIndex = staff.GetLastIndex();
  if (first < 0) {
    first = 0;
    last = lastIndex;
  }
  first = std::min(first, lastIndex);
  last = std::clamp(last, first, lastIndex);
  if (services.userObjectHost) {
    TUserObjectHost& host = *services.userObjectHost;
    // A script may change the staff: the bound is read again after each object.
    for (int i = first; i <= std::min(last, staff.GetLastIndex()); ++i) {
      const TNotatedItem* item = staff.GetItem(i);
      if (!item || item->GetType() != kItemUserObject) continue;
      // A script may change any item: no kept walk is trusted after it.
      TSimpleNtnIdx idx(&staff, i);
      host.RunUserObjectAudit(idx);
      staff.AuditWalkCache().DropFrom(0);
    }
  }
  AuditMarkedAround(staff, first, last);
}

void AuditScore(TMusicScore& score, bool refreshAll, const TServices& services) {
  TKVBusyCursor busy(CursorServiceOf(services));
  for (int s = 0; s < score.GetStaffCount(); ++s) {
    TMusicStaff* staff = score.GetStaff(s);
    if (!staff) continue;
    if (refreshAll)
      RefreshAndAuditStaff(*staff, services);
    else if (staff->GetNeedsAudit())
      AuditStaffRange(*staff);
  }
}

}  // namespace kvt
