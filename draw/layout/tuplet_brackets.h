#pragma once
// Tuplet brackets: the line over (or under) a triplet group with its number, kept clear of
// the notes, stems, beams, slurs and articulations of the group and outside the staff. A
// triplet that is exactly a beam group without markers at both ends gets no bracket: its
// number goes on the beam (DrawBeamGroup).

#include "draw/layout/staff_connects.h"

namespace kvt {

class TMusicFonts;
class TStaffDrawInfo;

// The y that a bracket or number must not cross at the note of position n, at x, for
// direction d (+1 above, -1 below).
int TupletClearanceY(TStaffDrawInfo& layout, int n, int x, int direction);

// False when the group has no bracket (see above) or is not drawable.
bool ComputeTupletBracket(TStaffDrawInfo& layout, TStaffConnect& out, int n, int x);

void DrawTupletBracket(TMusicFonts& fonts, TStaffDrawInfo& layout, int n);

// Whether the triplet group starting at the item is exactly the beam group starting there.
bool IsTripletOnBeam(TStaffDrawInfo& layout, int firstItem, bool grace);

}  // namespace kvt
