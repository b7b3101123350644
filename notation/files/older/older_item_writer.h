#pragma once
// Item records of the older binary layout at version 16, as the 1.75 export writes them (the
// reader's table of fields is in older_item_reader.h). Kinds 0 to 18 are written as
// themselves, each with its 16-bit type code; features version 16 cannot hold are converted:
//   - a spacer becomes a text item of blanks (width / 100 of them, 1 to 254; Wide above width
//     20; font StaffBold; the spacer's visibility);
//   - a multi-bar rest of n bars becomes n whole rests with its attributes, separated by n - 1
//     Single bar lines;
//   - user objects, boundaries and markers are dropped.
// Visibility keeps Default, Always and TopStaff; SingleStaff becomes TopStaff when the staff
// has a visible staff before it or fewer than two staves are visible, MultiStaff becomes
// Always when more than one staff is visible, and everything else the hidden code 3. Colours
// above 2 are written as 3.

#include "notation/files/older/older_layout_io.h"

namespace kvt {

class TKRVStream;
class TNotatedItem;
class TMusicFontsData;

// Where the items of one staff are written.
struct TExportStaffContext {
  bool visibleStaffBefore = false;  // a visible staff stands before this one
  int visibleStaffCount = 0;        // visible staves of the score
  const TMusicFontsData* fonts = nullptr;
};

// The records the item becomes: 0 for user objects, boundaries and markers, 2n - 1 for a
// multi-bar rest of n bars, 1 for every other kind.
int CountExportRecords(const TNotatedItem& item);

// Writes the item's records (nothing for the dropped kinds).
void WriteExportItem(TKRVStream& stream, const TNotatedItem& item, const TExportStaffContext& context);

// The tempo as version 16 stores it: in quarter notes per minute whatever the mark's base.
int ExportTempoValue(int tempo, int base);

}  // namespace kvt
