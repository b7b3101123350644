#include "app/editor/editor_status.h"

#include <algorithm>
#include <cstdio>

#include "notation/items/bar_line_data.h"
#include "notation/items/item_cast.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"

namespace kvt {

namespace {

constexpr int32_t kWholeNoteTicks = 768;

}  // namespace

int BarOf(const TMusicScore& score, const TMusicStaff& staff, int index, int* opening) {
  int bar = score.GetStartingBar();
  int open = 0;
  const int last = std::min(index, staff.GetLastIndex());
  for (int i = 1; i < last; ++i) {
    const auto* line = ItemAs<TBarLineData>(staff.GetItem(i));
    if (!line) continue;
    open = i;
    if (!line->IsXBarCnt()) ++bar;
  }
  if (opening) *opening = open;
  return bar;
}

std::string CaretPositionText(const TMusicScore& score, const TMusicStaff& staff,
                              const TEditorCaret& caret) {
  char text[96];
  if (caret.HasSelection()) {
    const int first = BarOf(score, staff, caret.SelectionStart());
    const int last = BarOf(score, staff, caret.SelectionEnd());
    if (first == last)
      std::snprintf(text, sizeof text, "Bar %d", first);
    else
      std::snprintf(text, sizeof text, "Bar %d - %d", first, last);
    return text;
  }
  int opening = 0;
  const int bar = BarOf(score, staff, caret.caret, &opening);
  int beats = 4;
  int exponent = 2;
  staff.GetTimeSigAt(caret.caret, beats, exponent);
  const int32_t beatTicks = std::max<int32_t>(1, kWholeNoteTicks >> std::clamp(exponent, 0, 8));
  const int32_t inBar = staff.GetDurationBetween(caret.caret, opening, 0);
  char prefix[32] = "";
  if (inBar > 0)
    std::snprintf(prefix, sizeof prefix, "%d%s of ", static_cast<int>(inBar / beatTicks + 1),
                  inBar % beatTicks != 0 ? "+" : "");
  std::snprintf(text, sizeof text, "%s%d/%d  Bar %d", prefix, beats,
                1 << std::clamp(exponent, 0, 8), bar);
  return text;
}

}  // namespace kvt
