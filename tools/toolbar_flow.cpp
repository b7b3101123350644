#include "tools/toolbar_flow.h"

#include "tools/toolbar_record.h"

#include <algorithm>

namespace kvt {

TFlowResult FlowGadgets(const std::vector<TFlowGadget>& gadgets, uint16_t style, int rowsWanted,
                        int separatorSize) {
  TFlowResult result;
  result.rects.assign(gadgets.size(), QRect());
  result.barSeparator.assign(gadgets.size(), false);
  const bool floating = (style & TBRS_FLOATING) != 0;
  const bool vertical = !floating && (style & (TBRS_ALIGN_LEFT | TBRS_ALIGN_RIGHT)) != 0;

  int originX = 0, originY = 0;
  if (!floating) (vertical ? originY : originX) = vertical ? kVerticalGripper : kHorizontalGripper;

  int total = 0, widest = 0;
  for (const TFlowGadget& g : gadgets)
    if (g.takesPart) {
      total += g.size.width();
      widest = std::max(widest, g.size.width());
    }
  const int rows = std::max(rowsWanted, 1);
  const int target = floating ? std::max((total + rows - 1) / rows, widest) : 0;

  int x = originX, y = originY, rowHeight = 0, width = originX, rowCount = 0;
  bool rowOpen = false;
  auto endRow = [&] {
    if (!rowOpen) return;
    y += rowHeight;
    x = originX;
    rowHeight = 0;
    rowOpen = false;
  };
  for (size_t i = 0; i < gadgets.size(); ++i) {
    const TFlowGadget& g = gadgets[i];
    if (!g.takesPart) continue;
    const QSize size = g.size;
    if (floating && rowOpen && x + size.width() > target) {
      endRow();
      if (g.separator) {
        // A separator at a break: a bar across the row, and the next gadget starts afresh.
        result.barSeparator[i] = true;
        result.rects[i] = QRect(originX, y, std::max(target, 1), separatorSize + 1);
        y += separatorSize + 1;
        continue;
      }
    }
    if (!rowOpen) {
      rowOpen = true;
      ++rowCount;
    }
    result.rects[i] = QRect(QPoint(x, y), size);
    x += size.width();
    rowHeight = std::max(rowHeight, size.height());
    width = std::max(width, x);
    if (vertical) endRow();
  }
  endRow();
  // A bar separator spans the widest row.
  for (size_t i = 0; i < gadgets.size(); ++i)
    if (result.barSeparator[i]) result.rects[i].setWidth(std::max(width - originX, 1));
  result.size = QSize(std::max(width, originX), std::max(y, originY));
  result.rows = rowCount;
  return result;
}

std::vector<TFloatLayout> CandidateFloatLayouts(const std::vector<TFlowGadget>& gadgets,
                                                int separatorSize) {
  int count = 0;
  for (const TFlowGadget& g : gadgets) count += g.takesPart ? 1 : 0;
  std::vector<TFloatLayout> layouts;
  for (int r = 1; r <= std::max(count, 1); ++r) {
    const TFlowResult flow = FlowGadgets(gadgets, TBRS_ALIGN_TOP | TBRS_FLOATING, r, separatorSize);
    if (layouts.empty() || layouts.back().rows != flow.rows)
      layouts.push_back({flow.size, flow.rows});
    if (flow.rows >= count || static_cast<int>(layouts.size()) >= kMaxFloatLayouts) break;
  }
  return layouts;
}

}  // namespace kvt
