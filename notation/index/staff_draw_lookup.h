#pragma once
// The questions the notation indices ask of a staff's layout (TStaffDrawInfo): which staff it
// lays out, its draw positions, the draw position of an item, and whether a boundary item
// applies to it. The staff layout answers them; until it is part of the library a stand-in
// answers as a layout with no staff and no positions (see staff_draw_lookup_pending.cpp).
//
// Every function takes the layout by reference and never keeps it; positions returned stay
// valid until the layout is rebuilt.

namespace kvt {

class TMusicStaff;
class TNotatedItem;
class TStaffDrawInfo;
class TStaffDrawPos;

// The staff the layout is bound to; null when none.
TMusicStaff* GetDrawInfoStaff(const TStaffDrawInfo& drawInfo);
// Number of draw positions in use (position 0 is the staff start).
int GetDrawPosCount(const TStaffDrawInfo& drawInfo);
// Position n; null outside 0 .. count - 1.
TStaffDrawPos* GetDrawPosAt(TStaffDrawInfo& drawInfo, int n);
// The draw position of item `itemIndex`; -1 when the layout has none for it.
int FindDrawPosOfItem(const TStaffDrawInfo& drawInfo, int itemIndex);
// Whether a boundary item (TStaffSizer) takes effect in this layout.
bool DoesBoundaryApply(const TStaffDrawInfo& drawInfo, const TNotatedItem& boundary);

}  // namespace kvt
