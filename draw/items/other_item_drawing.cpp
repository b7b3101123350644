#include "draw/items/other_item_drawing.h"

#include "draw/items/item_color.h"
#include "draw/items/item_draw_site.h"
#include "draw/items/other_item_kinds.h"
#include "draw/music_fonts.h"
#include "notation/index/staff_draw_pos.h"
#include "notation/items/bar_line_data.h"
#include "notation/items/clef_data.h"
#include "notation/items/general_expression.h"
#include "notation/items/item_cast.h"
#include "notation/items/key_data.h"
#include "notation/items/multi_measure_rest.h"
#include "notation/items/notation_marker.h"
#include "notation/items/repeat_ending.h"
#include "notation/items/staff_sizer.h"
#include "notation/items/staff_spacer.h"
#include "notation/items/time_signature_data.h"
#include "notation/items/user_object.h"

namespace kvt {

TItemDrawSite::~TItemDrawSite() = default;

int HiddenColor(TItemDrawSite& site) {
  return HiddenColorIndex(site.HiddenShown(), site.IsActiveStaff());
}

int ItemDrawColor(TItemDrawSite& site, const TNotatedItem& item, const TStaffDrawPos& drawPos) {
  TItemColorFacts facts;
  facts.hiddenPosition = drawPos.IsHidden();
  facts.itemColor = item.GetColor();
  facts.staffColor = site.StaffColor();
  facts.hiddenShown = site.HiddenShown();
  facts.activeStaff = site.IsActiveStaff();
  return ItemColorIndex(facts);
}

int GetOtherItemWidth(TItemDrawSite& site, const TNotatedItem& item, int pos,
                      const TStaffDrawPos& drawPos) {
  const TItemDrawCall call{site, pos, drawPos};
  if (item.IsExpressionClass()) return ExpressionWidth(call, ItemRef<TNtnGeneralExpression>(item));
  switch (item.GetType()) {
    case kItemClef: return ClefWidth(call);
    case kItemKey: return KeyWidth(call, ItemRef<TKeyData>(item));
    case kItemTimeSig: return TimeSigWidth(call, ItemRef<TTimeSignatureData>(item));
    case kItemBarLine: return BarLineWidth(call, ItemRef<TBarLineData>(item));
    case kItemEnding: return EndingWidth(call, ItemRef<TSpecialEnding>(item));
    case kItemMultiBarRest: return MultiRestWidth(call, ItemRef<TMultiMeasureRest>(item));
    case kItemSpacer: return SpacerWidth(call, ItemRef<TStaffSpacer>(item));
    case kItemBoundary: return SizerWidth(call, ItemRef<TStaffSizer>(item));
    case kItemMarker: return MarkerWidth(call);
    case kItemUserObject: return UserObjectWidth(call);
    default: return 2 * site.Fonts().GetGlyphWidth(7);
  }
}

void DrawOtherItem(TItemDrawSite& site, const TNotatedItem& item, int pos,
                   const TStaffDrawPos& drawPos, int x) {
  site.Fonts().SetColorIndex(ItemDrawColor(site, item, drawPos));
  const TItemDrawCall call{site, pos, drawPos};
  if (item.IsExpressionClass()) {
    DrawExpressionItem(call, ItemRef<TNtnGeneralExpression>(item), x);
    return;
  }
  switch (item.GetType()) {
    case kItemClef: DrawClefItem(call, ItemRef<TClefData>(item), x); break;
    case kItemKey: DrawKeyItem(call, ItemRef<TKeyData>(item), x); break;
    case kItemTimeSig: DrawTimeSigItem(call, ItemRef<TTimeSignatureData>(item), x); break;
    case kItemBarLine: DrawBarLineItem(call, ItemRef<TBarLineData>(item), x); break;
    case kItemEnding: DrawEndingItem(call, ItemRef<TSpecialEnding>(item), x); break;
    case kItemMultiBarRest: DrawMultiRestItem(call, ItemRef<TMultiMeasureRest>(item), x); break;
    case kItemSpacer: DrawSpacerItem(call, ItemRef<TStaffSpacer>(item), x); break;
    case kItemBoundary: DrawSizerItem(call, ItemRef<TStaffSizer>(item), x); break;
    case kItemMarker: DrawMarkerItem(call, ItemRef<TNotationMarker>(item), x); break;
    case kItemUserObject: DrawUserObjectItem(call, ItemRef<TKVTUserObject>(item), x); break;
    default: break;
  }
}

}  // namespace kvt
