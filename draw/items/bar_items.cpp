// Bar lines, special endings and multi-bar rests.
#include <algorithm>
#include <cstdio>
#include <string>

#include "draw/items/bar_line_kind.h"
#include "draw/items/expression_texts.h"
#include "draw/items/item_draw_site.h"
#include "draw/items/other_item_kinds.h"
#include "draw/music_fonts.h"
#include "draw/staff_color_handles.h"
#include "notation/index/staff_draw_pos.h"
#include "notation/items/bar_line_data.h"
#include "notation/items/item_cast.h"
#include "notation/items/multi_measure_rest.h"
#include "notation/items/repeat_ending.h"

namespace kvt {

namespace {
constexpr int kFontStaffSymbols = 0;
constexpr int kFontStaffBold = 3;
constexpr int kAlignCentred = 0;
constexpr int kGlyphWholeRest = 20;
// "¶" in the one-byte text of the staff fonts.
constexpr char kSystemBreakMark[] = "\xB6";

std::string Decimal(long long value) {
  char buffer[24];
  std::snprintf(buffer, sizeof buffer, "%lld", value);
  return buffer;
}

int DrawnKind(const TItemDrawCall& call, const TBarLineData& bar) {
  TBarKindFacts facts;
  facts.style = bar.GetStyle();
  const int itemIndex = call.drawPos.GetItemIndex();
  facts.firstIndex = itemIndex == 0;
  facts.lastIndex = itemIndex == call.site.LastItemIndex();
  facts.autoInserted = call.drawPos.IsAutoInsert();
  facts.hiddenShown = call.site.HiddenShown();
  if (const TStaffDrawPos* previous = call.site.DrawPosAt(call.pos - 1);
      previous != nullptr && previous->GetKind() == kDrawBarLine && !previous->IsHidden()) {
    if (const auto* previousBar =
            ItemAs<TBarLineData>(call.site.ItemAt(previous->GetItemIndex()))) {
      facts.previousIsVisibleBar = true;
      facts.previousStyle = previousBar->GetStyle();
    }
  }
  return DrawnBarKind(facts);
}
}  // namespace

void BarLineSpan(TItemDrawSite& site, bool connect, int& top, int& bottom) {
  top = site.TopLinePosition();
  bottom = site.BottomLinePosition();
  if (top == 0 && bottom == 0) {
    top = -1;
    bottom = 1;
  }
  if (!connect) return;
  if (site.ConnectsAbove()) top = -site.UpperExtent();
  if (site.ConnectsBelow()) bottom = site.LowerExtent();
}

int BarLineWidth(const TItemDrawCall& call, const TBarLineData& bar) {
  const int kind = DrawnKind(call, bar);
  if (kind == kBarTransparent && !call.site.HiddenShown()) return 0;
  return call.site.Fonts().GetBarLineWidth(kind);
}

void DrawBarLineItem(const TItemDrawCall& call, const TBarLineData& bar, int x) {
  TItemDrawSite& site = call.site;
  TMusicFonts& fonts = site.Fonts();
  const int kind = DrawnKind(call, bar);
  const int hidden = HiddenColor(site);
  if (kind == kBarTransparent) {
    if (!site.HiddenShown() || call.drawPos.GetItemIndex() == 0) return;
    fonts.SetColorIndex(hidden);
  }
  int top = 0, bottom = 0;
  BarLineSpan(site, kind != kBarTransparent, top, bottom);
  const int kindWidth = fonts.GetBarLineWidth(kind);
  if (bar.GetStyle() == kBarLocalRepeatClose) {
    const int itemWidth = call.drawPos.GetWidth();
    if (site.HiddenShown() || site.IsActiveStaff()) {
      const int itemColor = fonts.GetColorIndex();
      if (!site.IsActiveStaff()) fonts.SetColorIndex(hidden);
      const std::string count = "(" + Decimal(bar.GetRepeat()) + ")";
      const int textWidth = fonts.GetBoldTextWidth(count.c_str());
      const int centre = x + itemWidth / 2;
      const int textX = site.ConnectsAbove() ? centre - textWidth : centre - textWidth / 2;
      fonts.DrawText(kFontStaffBold, kAlignCentred, textX, -8, count.c_str());
      fonts.SetColorIndex(itemColor);
    }
    x += itemWidth / 2 - kindWidth / 2;
  }
  if (bar.IsSysBreak() && site.IsFirstStaff() && site.HiddenShown()) {
    const int itemColor = fonts.GetColorIndex();
    fonts.SetColorIndex(hidden);
    fonts.DrawText(kFontStaffBold, kAlignCentred, x + kindWidth, -6, kSystemBreakMark);
    fonts.SetColorIndex(itemColor);
  }
  fonts.DrawBarLine(kind, x, top, bottom);
}

int EndingWidth(const TItemDrawCall& call, const TSpecialEnding& ending) {
  if (!call.site.HiddenShown()) return 0;
  const TEndingText text = BuildEndingText(ending, call.site.Editing());
  return call.site.Fonts().GetBoldTextWidth((text.numbers + text.marks).c_str());
}

void DrawEndingItem(const TItemDrawCall& call, const TSpecialEnding& ending, int x) {
  TItemDrawSite& site = call.site;
  TMusicFonts& fonts = site.Fonts();
  // Offsets stay small (8-bit fields); the sum cannot overflow.
  const int u = ending.GetVertOffsetStore() - site.UpperExtent();
  const int lineY = fonts.PositionToYInt(u);
  const int hookY = fonts.PositionToYInt(u + ending.GetBracketHeight());
  int start = x;
  int end = x + site.DistanceToBar(call.pos, true, ending.IsClosedBracket() ? 0 : 1);
  if (!site.HiddenShown() && !site.NoteSincePreviousBar(call.pos))
    start = x + site.DistanceToBar(call.pos, false, 1);
  const TEndingText text = BuildEndingText(ending, site.HiddenShown());
  const bool numbered = text.numbers.size() > 1;
  if (!ending.IsHideText()) {
    int textEnd = x;
    if (numbered) {
      fonts.DrawBoldText(x, static_cast<float>(u + 2), text.numbers.c_str());
      textEnd += fonts.GetBoldTextWidth(text.numbers.c_str());
    }
    if (site.HiddenShown() && !text.marks.empty()) {
      const int itemColor = fonts.GetColorIndex();
      fonts.SetColorIndex(HiddenColor(site));
      fonts.DrawBoldText(textEnd, static_cast<float>(u + 2), text.marks.c_str());
      fonts.SetColorIndex(itemColor);
      textEnd += fonts.GetBoldTextWidth(text.marks.c_str());
    }
    end = std::max(end, textEnd);
  }
  fonts.DrawLine(start, lineY, end, lineY);
  if (ending.HasAnyEnding()) fonts.DrawLine(start, lineY, start, hookY);
  if (ending.IsClosedBracket()) fonts.DrawLine(end, lineY, end, hookY);
}

int MultiRestWidth(const TItemDrawCall& call, const TMultiMeasureRest& rest) {
  TItemDrawSite& site = call.site;
  TMusicFonts& fonts = site.Fonts();
  const int whole = fonts.GetGlyphWidth(kGlyphWholeRest);
  if (call.drawPos.GetKind() == kDrawMultiBarRestContinuation) {
    return !site.HiddenShown() && rest.IsShowBarsWhenHidden() ? fonts.GetBarLineWidth(kBarSingle)
                                                              : 0;
  }
  if (call.drawPos.IsAutoInsert()) return site.HiddenShown() ? 2 * whole : whole;
  return 2 * whole + fonts.GetTextWidth(kFontStaffSymbols, Decimal(rest.GetNumBars()).c_str());
}

void DrawMultiRestItem(const TItemDrawCall& call, const TMultiMeasureRest& rest, int x) {
  TItemDrawSite& site = call.site;
  TMusicFonts& fonts = site.Fonts();
  if (call.drawPos.GetKind() == kDrawMultiBarRestContinuation) {
    if (site.HiddenShown() || !rest.IsShowBarsWhenHidden()) return;
    if (fonts.GetColorIndex() == TStaffColorHandles::kPlayHighlightIndex) return;
    int top = 0, bottom = 0;
    BarLineSpan(site, true, top, bottom);
    fonts.DrawBarLine(kBarSingle, x, top, bottom);
    return;
  }
  const int barCount = site.CountRestPositions(call.pos);
  if (!site.HiddenShown() && call.drawPos.IsAutoInsert()) {
    const int whole = fonts.GetGlyphWidth(kGlyphWholeRest);
    if (!rest.IsShowRestsWhenHidden() || call.drawPos.GetWidth() < whole) return;
    const int left = x + site.DistanceToPaddedNeighbour(call.pos, false);
    const int right = x + site.DistanceToPaddedNeighbour(call.pos, true);
    const int step = site.LineCount() >= 3 ? -2 : 0;
    fonts.DrawGlyphAtStep(0, kGlyphWholeRest, left + (right - left) / 2 - whole / 2, step);
    return;
  }
  if (barCount == 0) return;
  const bool stored = site.HiddenShown() || rest.IsPrintOnce();
  const std::string number = Decimal(stored ? rest.GetNumBars() : barCount);
  const std::u16string wide(number.begin(), number.end());
  fonts.DrawMultiBarRest(x, x + site.RunWidth(call.pos), wide, -5.0f, !site.HiddenShown());
}

}  // namespace kvt
