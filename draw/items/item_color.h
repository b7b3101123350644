#pragma once
// The colour rule shared by every item kind: which entry of the colour table
// (draw/staff_color_handles.h) an item is drawn in.
//
// Hidden positions take the hidden colour (6 on the active staff while hidden items are shown,
// else 7). Otherwise an item colour 1..7 gives 8 + colour; colour 0 (Default) gives the staff
// colour: the staff's own colour 1..7 as 8 + colour, else 0 when hidden items are not shown,
// else 4 on the active staff and 5 on the others. Colours outside 0..7 count as 0.

namespace kvt {

inline constexpr int kColorInk = 0;
inline constexpr int kColorActiveStaff = 4;
inline constexpr int kColorInactiveStaff = 5;
inline constexpr int kColorActiveHidden = 6;
inline constexpr int kColorHidden = 7;

struct TItemColorFacts {
  bool hiddenPosition = false;  // the draw position is hidden
  int itemColor = 0;            // the item's own colour 0..7
  int staffColor = 0;           // the staff's own colour 0..7
  bool hiddenShown = false;     // the output shows hidden items (modes 0 and 4)
  bool activeStaff = false;     // the staff holds the caret
};

// The hidden colour for a staff: 6 on the active staff while hidden items are shown, else 7.
int HiddenColorIndex(bool hiddenShown, bool activeStaff);
// The staff colour for items of colour 0.
int StaffColorIndex(int staffColor, bool hiddenShown, bool activeStaff);
int ItemColorIndex(const TItemColorFacts& facts);

}  // namespace kvt
