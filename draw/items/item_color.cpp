#include "draw/items/item_color.h"

namespace kvt {

namespace {
bool IsHighlight(int color) { return color >= 1 && color <= 7; }
}  // namespace

int HiddenColorIndex(bool hiddenShown, bool activeStaff) {
  return hiddenShown && activeStaff ? kColorActiveHidden : kColorHidden;
}

int StaffColorIndex(int staffColor, bool hiddenShown, bool activeStaff) {
  if (IsHighlight(staffColor)) return 8 + staffColor;
  if (!hiddenShown) return kColorInk;
  return activeStaff ? kColorActiveStaff : kColorInactiveStaff;
}

int ItemColorIndex(const TItemColorFacts& facts) {
  if (facts.hiddenPosition) return HiddenColorIndex(facts.hiddenShown, facts.activeStaff);
  if (IsHighlight(facts.itemColor)) return 8 + facts.itemColor;
  return StaffColorIndex(facts.staffColor, facts.hiddenShown, facts.activeStaff);
}

}  // namespace kvt
