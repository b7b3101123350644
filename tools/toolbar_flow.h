#pragma once
// The gadget flow of a toolbar: where each gadget sits for a style word and a number of rows,
// and the candidate layouts of a floating toolbar. Pure geometry, so the rules are tested
// without windows.
//
// Docked at the top or bottom all gadgets stand in one row after a 10-pixel gripper; docked at
// the left or right each gadget ends its row (a column) below a 13-pixel gripper. Floating with
// r rows wanted, a row ends when the next gadget would pass the total width divided by r (at
// least the widest gadget, rounded up); a separator at such a break becomes a bar across the
// whole row (separator size + 1 high) with no gap after it.

#include <QRect>
#include <QSize>

#include <cstdint>
#include <vector>

namespace kvt {

inline constexpr int kHorizontalGripper = 10;
inline constexpr int kVerticalGripper = 13;
inline constexpr int kMaxFloatLayouts = 32;

struct TFlowGadget {
  QSize size;
  bool separator = false;
  bool takesPart = true;  // false: moved out of sight
};

struct TFlowResult {
  std::vector<QRect> rects;        // per gadget; empty (null) for one out of sight
  std::vector<bool> barSeparator;  // per gadget: a separator drawn across its row
  QSize size;                      // the widest row by the total height
  int rows = 0;
};

// Lays the gadgets out for style (TBRS_* bits) and rowsWanted (floating only; below 1 is 1).
TFlowResult FlowGadgets(const std::vector<TFlowGadget>& gadgets, uint16_t style, int rowsWanted,
                        int separatorSize);

struct TFloatLayout {
  QSize size;
  int rows = 0;
};

// For r = 1 up to the number of taking gadgets, the floating flow with r rows; each size whose
// row count differs from the previous kept one is kept, until the row count reaches the number
// of gadgets or 32 layouts are kept. At least one layout (for no gadgets, an empty one).
std::vector<TFloatLayout> CandidateFloatLayouts(const std::vector<TFlowGadget>& gadgets,
                                                int separatorSize);

}  // namespace kvt
