#pragma once
// The per-kind halves of other_item_drawing.h, one group per file. Internal to draw/items.

#include <string_view>

namespace kvt {

class TItemDrawSite;
class TMusicFonts;
class TNotatedItem;
class TStaffDrawPos;
class TClefData;
class TKeyData;
class TTimeSignatureData;
class TBarLineData;
class TSpecialEnding;
class TMultiMeasureRest;
class TStaffSpacer;
class TStaffSizer;
class TNotationMarker;
class TKVTUserObject;
class TNtnGeneralExpression;

struct TItemDrawCall {
  TItemDrawSite& site;
  int pos;
  const TStaffDrawPos& drawPos;
};

// Signatures.
int ClefWidth(const TItemDrawCall& call);
void DrawClefItem(const TItemDrawCall& call, const TClefData& clef, int x);
// Draws a clef glyph (and its "8") at size index 0 or 1; answers the clef glyph's width.
int DrawClef(TMusicFonts& fonts, int sizeIndex, int x, int clefType, int octaveShift);
int KeyWidth(const TItemDrawCall& call, const TKeyData& key);
void DrawKeyItem(const TItemDrawCall& call, const TKeyData& key, int x);
int TimeSigWidth(const TItemDrawCall& call, const TTimeSignatureData& time);
void DrawTimeSigItem(const TItemDrawCall& call, const TTimeSignatureData& time, int x);

// Bars.
int BarLineWidth(const TItemDrawCall& call, const TBarLineData& bar);
void DrawBarLineItem(const TItemDrawCall& call, const TBarLineData& bar, int x);
int EndingWidth(const TItemDrawCall& call, const TSpecialEnding& ending);
void DrawEndingItem(const TItemDrawCall& call, const TSpecialEnding& ending, int x);
int MultiRestWidth(const TItemDrawCall& call, const TMultiMeasureRest& rest);
void DrawMultiRestItem(const TItemDrawCall& call, const TMultiMeasureRest& rest, int x);
// The staff's line span for a bar drawn at a position, extended over the connections.
void BarLineSpan(TItemDrawSite& site, bool connect, int& top, int& bottom);

// Editor items.
int SpacerWidth(const TItemDrawCall& call, const TStaffSpacer& spacer);
void DrawSpacerItem(const TItemDrawCall& call, const TStaffSpacer& spacer, int x);
int SizerWidth(const TItemDrawCall& call, const TStaffSizer& sizer);
void DrawSizerItem(const TItemDrawCall& call, const TStaffSizer& sizer, int x);
int MarkerWidth(const TItemDrawCall& call);
void DrawMarkerItem(const TItemDrawCall& call, const TNotationMarker& marker, int x);
int UserObjectWidth(const TItemDrawCall& call);
void DrawUserObjectItem(const TItemDrawCall& call, const TKVTUserObject& object, int x);
// The colour of editor marks: the item's own on the active staff, else the hidden colour.
int MarkColor(TItemDrawSite& site, const TNotatedItem& item);

// Expressions.
int ExpressionWidth(const TItemDrawCall& call, const TNtnGeneralExpression& expression);
void DrawExpressionItem(const TItemDrawCall& call, const TNtnGeneralExpression& expression, int x);
// The width and the drawing of the kind itself (slots 22 and 23).
int ExpressionKindWidth(const TItemDrawCall& call, const TNtnGeneralExpression& expression);
void DrawExpressionKind(const TItemDrawCall& call, const TNtnGeneralExpression& expression, int x);
// How far the expression's ink reaches above (up) and below (down) its position, in steps.
void ExpressionReach(TMusicFonts& fonts, const TNtnGeneralExpression& expression, float& up,
                     float& down);
// The position the expression is drawn at: its own, moved clear of the staff's lyric lines.
float PlacedPosition(const TItemDrawCall& call, const TNtnGeneralExpression& expression);

// The hidden colour of the site's staff.
int HiddenColor(TItemDrawSite& site);

}  // namespace kvt
