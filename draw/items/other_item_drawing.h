#pragma once
// Measuring and drawing of every item kind except notes, rests and chords: clefs, keys, time
// signatures, bar lines, endings, multi-bar rests, spacers, boundaries, markers, user objects
// and the expressions. The staff layout stores GetOtherItemWidth as the position's width;
// the staff drawing calls DrawOtherItem once per drawn position.
//
// Contract:
// - The site's fonts are in a sizing phase for widths and a drawing phase for drawing
//   (TMusicFonts raises TPreconditionError otherwise, a fault of the caller).
// - pos is the item's draw-position index in the site's layout and drawPos that position.
// - Any field value a damaged score can hold measures and draws without undefined behaviour;
//   kinds that are not handled here measure 2W (W the filled-head width) and draw nothing.
// - DrawOtherItem selects the item's colour (ItemDrawColor) and leaves it selected.

namespace kvt {

class TItemDrawSite;
class TNotatedItem;
class TStaffDrawPos;

int ItemDrawColor(TItemDrawSite& site, const TNotatedItem& item, const TStaffDrawPos& drawPos);
int GetOtherItemWidth(TItemDrawSite& site, const TNotatedItem& item, int pos,
                      const TStaffDrawPos& drawPos);
void DrawOtherItem(TItemDrawSite& site, const TNotatedItem& item, int pos,
                   const TStaffDrawPos& drawPos, int x);

}  // namespace kvt
