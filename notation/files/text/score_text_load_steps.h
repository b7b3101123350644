#pragma once
// The steps every load of a text score ends with, after its records are read.

namespace kvt {

class TMusicScore;
struct TServices;

// A full audit of every staff with its user objects (the derived state of stems, beams, ties,
// accidentals ... brought in line with the items as read), with the load's services.
void AuditLoadedScore(TMusicScore& score, const TServices& services);

// An audit around the items first..last of a staff (two bar lines each side, on to the tenth
// bar line after), after they were inserted.
void AuditInsertedSpan(class TMusicStaff& staff, int first, int last);

}  // namespace kvt
