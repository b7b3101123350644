#pragma once
// The staff audit entry points that edits call after changing items: they bring the derived
// state of the items (stems, beams, ties, accidentals, key cancellations ...) in line with
// their neighbours over the changed span. Both take any indices: out-of-range values are
// bounded to the staff.

namespace kvt {

class TMusicStaff;

// Audits from the second bar line before `first` through the second bar line after `last`
// (a last below 0 means first), continuing to the tenth bar line after it.
void AuditStaffAround(TMusicStaff& staff, int first, int last = -1);
// Audits the whole bars that hold first..last (first below 0 means 0, last below 0 the last
// item), continuing to the tenth bar line after them; auditing the whole staff clears its
// needs-audit mark.
void AuditStaffRange(TMusicStaff& staff, int first = -1, int last = -1);

}  // namespace kvt
