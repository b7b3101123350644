// Stand-in for the staff layout's answers until the layout is part of the library: a layout
// with no staff and no draw positions, in which every boundary applies. The staff layout
// defines these functions over its draw positions; this file is then deleted (a second
// definition fails the link, so the two cannot both stay).

#include "notation/index/staff_draw_lookup.h"

namespace kvt {

TMusicStaff* GetDrawInfoStaff(const TStaffDrawInfo&) { return nullptr; }
int GetDrawPosCount(const TStaffDrawInfo&) { return 0; }
TStaffDrawPos* GetDrawPosAt(TStaffDrawInfo&, int) { return nullptr; }
int FindDrawPosOfItem(const TStaffDrawInfo&, int) { return -1; }
bool DoesBoundaryApply(const TStaffDrawInfo&, const TNotatedItem&) { return true; }

}  // namespace kvt
