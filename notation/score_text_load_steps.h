#pragma once
// The steps every load of a text score ends with, after its records are read.

namespace kvt {

class TMusicScore;

// A full audit of every staff (the derived state of stems, beams, ties, accidentals ...
// brought in line with the items as read).
void AuditLoadedScore(TMusicScore& score);

// An audit of the items first..last of a staff after they were inserted.
void AuditInsertedSpan(class TMusicStaff& staff, int first, int last);

}  // namespace kvt
