#pragma once
// Beam lines: for a beam group of a laid-out staff, the straight line on which its stems end,
// and its drawing (stems to the line, beam levels with stubs, a tuplet number on the beam).
//
// Vertical lengths are in steps (half a staff space); grace groups are scaled by 2/3. All
// geometry is computed in 64-bit or double and clamped into int, so equal end x and steep
// slopes never overflow.

#include "draw/layout/staff_connects.h"

namespace kvt {

class TMusicFonts;
class TMusicNote;
class TStaffDrawInfo;

// Stem length in steps for a beamed note: `member` is the note at the stem end, `flags` the
// item's flag count, `dir` its stem direction (+1 up); `inner` for notes other than the
// group's first and last; `accidental` adds room for the member's accidental on an up stem.
int GetBeamStemLength(const TMusicNote& member, int flags, int dir, bool grace, bool inner, bool accidental);

// Computes the beam of the group whose first note stands at position n (x its position's x).
// False when the group has no note to draw.
bool ComputeBeam(TStaffDrawInfo& layout, TStaffConnect& out, int n, int x);

// Draws the beam group whose first note stands at position n, at x.
void DrawBeamGroup(TMusicFonts& fonts, TStaffDrawInfo& layout, int n, int x);

}  // namespace kvt
