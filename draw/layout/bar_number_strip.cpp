#include "draw/layout/bar_number_strip.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>

#include "draw/items/item_color.h"
#include "draw/layout/score_draw_info.h"
#include "draw/music_fonts.h"
#include "notation/items/bar_line_data.h"
#include "notation/items/item_cast.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"

namespace kvt {

namespace {
constexpr int kSlotStaffBold = 3;
constexpr int kAlignBaselineKind = 1;

std::u16string NumberText(int first, int last) {
  char buffer[32];
  if (first >= 0 && last > first)
    std::snprintf(buffer, sizeof buffer, "%d - %d", first, last);
  else
    std::snprintf(buffer, sizeof buffer, "%d", last);
  return std::u16string(buffer, buffer + std::char_traits<char>::length(buffer));
}
}  // namespace

void DrawBarNumberStrip(TScoreDrawInfo& score, int slot, const TBarNumberStrip& strip) {
  TStaffDrawInfo* layout = score.GetStaffDrawInfo(slot);
  if (!layout || !layout->GetStaff() || !score.GetScore()) return;
  TMusicFonts& fonts = score.Fonts();
  const TMusicStaff& staff = *layout->GetStaff();
  const bool active = score.GetActiveStaff() == slot;
  const int tickColor = HiddenColorIndex(score.ShowsHiddenItems(), active);
  const int textColor = StaffColorIndex(staff.GetColor(), score.ShowsHiddenItems(), active);
  const int starting = score.GetScore()->GetStartingBar();
  const int singleWidth = fonts.GetBarLineWidth(kBarSingle);
  fonts.SetStaffOrigin(strip.baselineY);
  fonts.SetColorIndex(tickColor);
  auto tick = [&](int64_t x, int height) {
    if (height == 0) return;
    const int xi = static_cast<int>(x);
    fonts.DrawLine(xi, strip.baselineY, xi, strip.baselineY - height);
  };

  int64_t x = strip.leftX;
  int64_t previous = static_cast<int64_t>(strip.leftX) - 1;
  bool seenNumber = false;
  int64_t rangeFirst = -1;
  int64_t restStart = 0;
  const int last = layout->GetDrawPosCount() - 1;
  for (int n = 1; n <= last; ++n) {
    const TStaffDrawPos& pos = *layout->PositionAt(n);
    const int64_t here = x;
    x += pos.GetWidth();
    if (pos.GetKind() == kDrawMultiBarRest && !pos.IsAutoInsert()) {
      restStart = static_cast<int64_t>(pos.GetCounter()) + starting - 1;
      if (strip.showRanges && seenNumber && n != last) rangeFirst = restStart;
      continue;
    }
    int64_t number = 0;
    int64_t at = 0;
    bool numbered = false;
    if (pos.GetKind() == kDrawBarLine) {
      const auto* bar = ItemAs<TBarLineData>(staff.GetItem(pos.GetItemIndex()));
      const int width = fonts.GetBarLineWidth(bar ? bar->GetStyle() : kBarSingle);
      at = here + width / 2;
      // The staff's opening bar ends no bar.
      if (pos.GetItemIndex() == 0) {
        previous = at;
        continue;
      }
      numbered = bar && !bar->IsXBarCnt() && !bar->IsNotABar();
      number = static_cast<int64_t>(pos.GetCounter()) + starting;
      if (!numbered) {
        tick(at, strip.shortTick);
        continue;
      }
    } else if (pos.GetKind() == kDrawMultiBarRestContinuation && !strip.showRanges) {
      numbered = true;
      number = restStart + pos.GetCounter();
      at = x + singleWidth / 2;
    } else {
      continue;
    }
    tick(at, strip.tallTick);
    const std::u16string text =
        NumberText(static_cast<int>(rangeFirst), static_cast<int>(number - 1));
    const int64_t roomLeft = previous + 1;
    const int64_t roomRight = std::min<int64_t>(at, strip.rightX);
    const int64_t room = roomRight - roomLeft;
    const int width = fonts.GetTextWidthW(kSlotStaffBold, text);
    if (room >= 1 && roomLeft < strip.rightX && width < room) {
      fonts.SetColorIndex(textColor);
      fonts.DrawTextW(kSlotStaffBold, kAlignBaselineKind,
                      static_cast<int>(roomLeft + (room - width) / 2), 0.0f, text);
      fonts.SetColorIndex(tickColor);
    }
    previous = at;
    rangeFirst = -1;
    seenNumber = true;
  }
}

}  // namespace kvt
