#pragma once
// The staff audit: brings the derived state of items (stems, beams, ties, accidentals, key
// cancellations, tempo ramps, dynamic velocities, multi-bar rest counts ...) in line with
// their neighbours over a span of a staff, after loading and after edits. The per-item step is
// AuditItem (audit_item.h); these entry points choose the spans.
//
// Contract:
// - Every entry point takes any indices: out-of-range values are bounded to the staff, and an
//   audit never adds or removes items of the staff it walks.
// - Each audit walks the staff once, forward in item order (never in play order), so its length
//   is bounded by the item count whatever repeats and jumps the staff holds.
// - An audit that covers a whole staff (from item 0 through the closing bar line) clears the
//   staff's needs-audit mark.
// - An audit asked for while the same staff is already being audited on this thread (an edit
//   that the audit step itself makes, such as re-beaming a group, audits its range) does
//   nothing: the walk under way covers that span.
// - UI thread (or the converter's one thread); not for concurrent use on one staff.

#include "notation/audit/audit_ntn_idx.h"

namespace kvt {

class TMusicScore;
class TMusicStaff;
struct TServices;

// Under the wait cursor of the services' cursor service, audits every staff of the score: with
// refreshAll each whole staff together with its user objects (RefreshAndAuditStaff);
// otherwise only the staves marked as needing an audit, each whole (AuditStaffRange), which
// clears their marks. Loading a score ends with AuditScore(score, true, services).
void AuditScore(TMusicScore& score, bool refreshAll, const TServices& services);

// Runs the user-object audit of the services' user-object host (none without one) for every
// user object from first to last, then AuditStaffAround(first, last). A first below 0 means
// the whole staff; a last below first is raised to first.
void RefreshAndAuditStaff(TMusicStaff& staff, const TServices& services, int first = -1,
                          int last = -1);

// Audits from the second bar line before `first` through the second bar line after `last` (a
// last below 0 means first), continuing to the tenth bar line after it.
void AuditStaffAround(TMusicStaff& staff, int first, int last = -1);

// Audits the whole bars that hold first..last (first below 0 means 0, last below 0 the last
// item), continuing to the tenth bar line after them; auditing the whole staff clears its
// needs-audit mark.
void AuditStaffRange(TMusicStaff& staff, int first = -1, int last = -1);

// A series of AuditStaffRange audits of one staff that keeps the audit walk's context
// between them: each span's walk continues from the start of the previous span instead of
// from item 0, so spans met in staff order cost their own length only, and the resulting
// staff is the one the separate audits give.
// - The staff must outlive the object, and its item count must not change while it lives.
// - Between calls, nothing may change the items before the start of the last span (edits at
//   or after it, like the audits themselves, are fine); a span that starts before the last
//   one restarts the walk from item 0.
// - Like AuditStaffRange, it does nothing while the staff is being audited on this thread.
class TRunningStaffAudit {
public:
  explicit TRunningStaffAudit(TMusicStaff& staff);
  TRunningStaffAudit(const TRunningStaffAudit&) = delete;
  TRunningStaffAudit& operator=(const TRunningStaffAudit&) = delete;
  // AuditStaffRange(staff, first, last).
  void AuditRange(int first, int last);

private:
  TMusicStaff& staff;
  TAuditNtnIdx walk;  // at the start of the last span
};

// Audits item by item from `first` until the walk has passed the tenth bar line after `last`
// or the staff ends: an audit index (which keeps the running context from item 0) runs
// AuditItem on each item reached.
void AuditStaffSpan(TMusicStaff& staff, int first, int last);

}  // namespace kvt
