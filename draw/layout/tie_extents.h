#pragma once
// The horizontal reach of ties within one laid-out system, for the note drawing.
//
// TieForwardExtent: from the right edge of the note's drawn item at position `n` to where the
// tie ends: the trailing space of the position, the widths passed, then the target's head
// offset plus seven eighths of the member's head shift times the head width. True when the
// target note lies in this layout; otherwise the distance runs to the end of the last
// position laid out and the result is false.
//
// TieBackExtent: from the note's head back to the tie's source: the distance from the right
// edge of the source's drawn item. True when the source lies in this layout; otherwise the
// distance reaches back over the system-start items (clef, key, time signature, bar line and
// the staff start) to their right edge, and is at least one unit.

namespace kvt {

class TStaffDrawInfo;

bool TieForwardExtent(TStaffDrawInfo& layout, int n, int memberPosition, int accidental, int& distance);
bool TieBackExtent(TStaffDrawInfo& layout, int n, int memberPosition, int accidental, int& distance);

}  // namespace kvt
