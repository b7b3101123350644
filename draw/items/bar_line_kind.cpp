#include "draw/items/bar_line_kind.h"

#include "notation/items/bar_line_data.h"

namespace kvt {

int DrawnBarKind(const TBarKindFacts& facts) {
  if (facts.firstIndex) return kBarTransparent;
  if (facts.lastIndex && facts.autoInserted) return kBarSingle;
  const int style = facts.style >= 0 && facts.style < kBarStyleCount ? facts.style : kBarSingle;
  if (facts.hiddenShown || !facts.previousIsVisibleBar) return style;
  if (style == kBarSectionOpen && facts.previousStyle == kBarSectionClose) return kBarDouble;
  if (style == kBarLocalRepeatOpen && facts.previousStyle == kBarLocalRepeatClose)
    return kBarKindCloseOpen;
  if (style == kBarMasterRepeatOpen && facts.previousStyle == kBarMasterRepeatClose)
    return kBarLocalRepeatOpen;
  return style;
}

}  // namespace kvt
