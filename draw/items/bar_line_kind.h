#pragma once
// The bar-line kind a bar item draws, which can differ from its style: the staff's opening bar
// is Transparent, an auto-inserted closing bar is Single, and when hidden items are not shown
// a bar opening right after the matching closing bar merges with it (Section Close + Open draw
// one Double bar, Local Repeat Close + Open one close-open bar, Master Repeat Close + Open a
// local repeat opening).

namespace kvt {

inline constexpr int kBarKindCloseOpen = 12;

struct TBarKindFacts {
  int style = 0;              // the bar item's style 0..10 (others read as Single)
  bool firstIndex = false;    // the bar is the staff's first item
  bool lastIndex = false;     // the bar is the staff's last item
  bool autoInserted = false;  // the draw position was added by the layout
  bool hiddenShown = false;   // the output shows hidden items
  bool previousIsVisibleBar = false;
  int previousStyle = 0;  // style of that previous visible bar
};

int DrawnBarKind(const TBarKindFacts& facts);

}  // namespace kvt
