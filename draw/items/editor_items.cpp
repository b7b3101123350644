// The editor's items: spacers, staff boundaries, markers and user objects. Apart from what
// user objects draw through their scripts, they show only while hidden items are shown.
#include <algorithm>

#include "draw/items/item_draw_site.h"
#include "draw/items/other_item_kinds.h"
#include "draw/mul_div.h"
#include "draw/music_draw_settings.h"
#include "draw/music_fonts.h"
#include "notation/index/staff_draw_pos.h"
#include "notation/items/notation_marker.h"
#include "notation/items/staff_sizer.h"
#include "notation/items/staff_spacer.h"
#include "notation/items/user_object.h"

namespace kvt {

namespace {
constexpr int kHiddenPercent = 25;
constexpr int kFontStaffBold = 3;
constexpr int kAlignCentred = 0;
constexpr char kSystemBreakMark[] = "\xB6";

int HeadWidth(TMusicFonts& fonts) { return fonts.GetGlyphWidth(7); }

// The user-object marker's width: its drop, at least 2.
int UserObjectMarkerWidth(TMusicFonts& fonts) {
  return std::max(MulDiv(fonts.GetSpace(), GetMarkerScale(), 20), 2);
}

bool ShowsEditorMarks(TItemDrawSite& site) {
  return site.HiddenShown() && site.DrawMode() != kDrawModeStaffOnly;
}
}  // namespace

int MarkColor(TItemDrawSite& site, const TNotatedItem& item) {
  if (item.GetColor() != 0 && site.IsActiveStaff()) return site.Fonts().GetColorIndex();
  return HiddenColor(site);
}

int SpacerWidth(const TItemDrawCall& call, const TStaffSpacer& spacer) {
  const int percent = call.drawPos.IsHidden() ? kHiddenPercent : spacer.GetWidthValue();
  return std::max(MulDiv(percent, HeadWidth(call.site.Fonts()), 100), 0);
}

void DrawSpacerItem(const TItemDrawCall& call, const TStaffSpacer& spacer, int x) {
  TItemDrawSite& site = call.site;
  const bool staffOnlyShown =
      site.DrawMode() == kDrawModeStaffOnly && spacer.GetVisibility() == kVisAlways;
  if (!site.Editing() && !staffOnlyShown) return;
  TMusicFonts& fonts = site.Fonts();
  fonts.DrawGapRuler(fonts.GetColorIndex(), static_cast<float>(-site.UpperExtent()), x,
                     SpacerWidth(call, spacer), call.drawPos.IsHidden());
}

int SizerWidth(const TItemDrawCall& call, const TStaffSizer& sizer) {
  TItemDrawSite& site = call.site;
  TMusicFonts& fonts = site.Fonts();
  if (call.drawPos.IsAutoInsert()) return 0;
  if (call.drawPos.IsHidden() && site.HiddenShown()) return fonts.GetSpace();
  switch (sizer.GetStyle()) {
    case kSizerGap: {
      const int percent = call.drawPos.IsHidden() ? kHiddenPercent : sizer.GetGapWidth();
      return std::max(MulDiv(percent, HeadWidth(fonts), 100), 0);
    }
    case kSizerNewSystem: return fonts.GetBoldTextWidth(kSystemBreakMark);
    default: return fonts.GetSpace();
  }
}

void DrawSizerItem(const TItemDrawCall& call, const TStaffSizer& sizer, int x) {
  TItemDrawSite& site = call.site;
  if (!site.HiddenShown() || call.drawPos.IsAutoInsert()) return;
  TMusicFonts& fonts = site.Fonts();
  const int hidden = HiddenColor(site);
  const int color = MarkColor(site, sizer);
  const int t = site.TopLinePosition();
  const int b = site.BottomLinePosition();
  if (call.drawPos.IsHidden()) {
    fonts.DrawVerticalArrow(hidden, x, t - 1, t);
    return;
  }
  switch (sizer.GetStyle()) {
    case kSizerReset:
      fonts.DrawVerticalArrow(color, x, t, -site.UpperExtent());
      fonts.DrawVerticalArrow(color, x, b, site.LowerExtent());
      break;
    case kSizerNewSize:
      if (sizer.GetUpper() != 0) fonts.DrawVerticalArrow(color, x, t, t - sizer.GetUpper());
      if (sizer.GetLower() != 0) fonts.DrawVerticalArrow(color, x, b, b + sizer.GetLower());
      break;
    case kSizerCollapse:
      fonts.DrawVerticalArrow(color, x, t - 1, 0);
      fonts.DrawVerticalArrow(color, x, b + 1, 0);
      break;
    case kSizerEndCollapse:
      fonts.DrawVerticalArrow(color, x, 0, t - 1);
      fonts.DrawVerticalArrow(color, x, 0, b + 1);
      break;
    case kSizerGap:
      fonts.DrawGapRuler(color, static_cast<float>(t), x, SizerWidth(call, sizer), false);
      break;
    case kSizerNewSystem: {
      const int itemColor = fonts.GetColorIndex();
      fonts.SetColorIndex(hidden);
      fonts.DrawText(kFontStaffBold, kAlignCentred, x, static_cast<float>(t - 1), kSystemBreakMark);
      fonts.SetColorIndex(itemColor);
      break;
    }
    default: break;
  }
}

int MarkerWidth(const TItemDrawCall& call) {
  return call.site.HiddenShown() ? 3 * call.site.Fonts().GetSpace() / 4 : 0;
}

void DrawMarkerItem(const TItemDrawCall& call, const TNotationMarker& marker, int x) {
  if (!call.site.HiddenShown()) return;
  call.site.Fonts().DrawMarkerWedge(x + call.drawPos.GetWidth(), marker.GetPos(),
                                    MarkColor(call.site, marker), marker.GetTarget());
}

int UserObjectWidth(const TItemDrawCall& call) {
  if (!call.drawPos.IsWidthPending()) return call.drawPos.GetWidth();
  const int marker = ShowsEditorMarks(call.site) ? UserObjectMarkerWidth(call.site.Fonts()) : 0;
  return std::max(marker, call.site.MeasureUserObject(call.pos));
}

void DrawUserObjectItem(const TItemDrawCall& call, const TKVTUserObject& object, int x) {
  TItemDrawSite& site = call.site;
  const int width = call.drawPos.GetWidth();
  const int anchor = x + width;
  site.DrawUserObject(call.pos, anchor);
  if (ShowsEditorMarks(site))
    site.Fonts().DrawUserObjectMarker(anchor, object.GetPos(), width, HiddenColor(site));
}

}  // namespace kvt
