// Expressions: the placement common to every kind, then each kind's own width and drawing.
#include <algorithm>
#include <cstdio>
#include <string>

#include "draw/items/expression_texts.h"
#include "draw/items/item_draw_site.h"
#include "draw/items/other_item_kinds.h"
#include "draw/music_fonts.h"
#include "notation/index/staff_draw_pos.h"
#include "notation/items/dynamic_level_data.h"
#include "notation/items/dynamic_variance.h"
#include "notation/items/flow_direction.h"
#include "notation/items/general_expression.h"
#include "notation/items/generic_control.h"
#include "notation/items/item_cast.h"
#include "notation/items/patch_data.h"
#include "notation/items/performance_style.h"
#include "notation/items/sustain_pedal.h"
#include "notation/items/tempo_data.h"
#include "notation/items/tempo_variance.h"
#include "notation/items/text_expression.h"
#include "utils/text_encoding.h"

namespace kvt {

namespace {
constexpr int kGlyphAnchor = 50;
constexpr int kFontStaffBold = 3;
constexpr int kAlignCentred = 0;
constexpr int kAlignBaseline = 1;
// Scripted text: centre vertically on the current point (draw/music_fonts.h).
constexpr int kTextCentreVertically = 0x1000;
constexpr int kTransparentBackground = 1;

std::string Decimal(int value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%d", value);
  return buffer;
}

// The editor's anchor mark width: the anchor glyph's.
int AnchorWidth(TMusicFonts& fonts) { return fonts.GetGlyphWidth(kGlyphAnchor); }

// Draws glyph then optional hidden-colour Staff Bold text after it.
void DrawGlyphWithNote(const TItemDrawCall& call, int glyph, int x, float position,
                       const std::string& note) {
  TMusicFonts& fonts = call.site.Fonts();
  const int width = fonts.DrawGlyphAtPos(0, glyph, x, position);
  if (note.empty()) return;
  const int itemColor = fonts.GetColorIndex();
  fonts.SetColorIndex(HiddenColor(call.site));
  fonts.DrawBoldText(x + width, position, note.c_str());
  fonts.SetColorIndex(itemColor);
}

std::string DynamicNote(const TItemDrawCall& call, const TDynamicLevelData& dynamic) {
  if (!call.site.HiddenShown() || (!dynamic.HasVelocity() && !dynamic.HasVolume())) return {};
  const std::string velocity = dynamic.HasVelocity() ? Decimal(dynamic.GetVelocity()) : "-";
  const std::string volume = dynamic.HasVolume() ? Decimal(dynamic.GetVolume()) : "-";
  return "[" + velocity + "," + volume + "]";
}

std::string PauseNote(const TItemDrawCall& call, const TTempoVariance& variance) {
  if (!call.site.HiddenShown() || !variance.HasPause() || variance.GetPause() == 0) return {};
  return ":" + Decimal(variance.GetPause());
}

// --- Text expressions ---

bool IsSymbolSlot(int slot) {
  return slot == kTextFontStaffSymbols || slot == kTextFontStaffCueSymbols;
}

int TextWidth(const TItemDrawCall& call, const TTextExpression& text) {
  TMusicFonts& fonts = call.site.Fonts();
  if (text.GetScale() == 100) return fonts.GetTextWidthW(text.GetFontIndex(), text.GetText());
  fonts.SetUserFontFromSlot(text.GetFontIndex(), text.GetScale());
  int width = 0;
  float height = 0, descent = 0;
  fonts.CalcTextSize(Utf16ToUtf8(text.GetText()), width, height, descent);
  return width;
}

void DrawTextKind(const TItemDrawCall& call, const TTextExpression& text, int x, float position) {
  TMusicFonts& fonts = call.site.Fonts();
  if (call.site.DrawMode() == kDrawModeStaffOnly && text.GetVisibility() == kVisNever) return;
  const int slot = text.GetFontIndex();
  if (text.GetScale() == 100) {
    fonts.DrawTextW(slot, IsSymbolSlot(slot) ? kAlignBaseline : kAlignCentred, x, position,
                    text.GetText());
    return;
  }
  TDrawPenSpec pen = fonts.GetPen();
  fonts.SetPenColorIndex(pen, fonts.GetColorIndex());
  fonts.SetPen(pen);
  fonts.SetUserFontFromSlot(slot, text.GetScale());
  fonts.MoveTo(x, position);
  fonts.DrawTextWide(text.GetText(), IsSymbolSlot(slot) ? 0 : kTextCentreVertically,
                     kTransparentBackground);
}

// --- Tempo mark ---

int TempoMark(const TItemDrawCall& call, const TTempoData& tempo, int x, bool draw,
              float position) {
  TMusicFonts& fonts = call.site.Fonts();
  const TTempoMarkParts parts = BuildTempoMark(tempo);
  const int start = x;
  if (parts.hasText) {
    if (draw) fonts.DrawBoldTextW(x, position, tempo.GetText());
    x += fonts.GetBoldTextWidthW(tempo.GetText());
    if (draw) fonts.DrawBoldText(x, position, " (");
    x += fonts.GetBoldTextWidth(" (");
  }
  if (draw) fonts.DrawGlyphAtPos(0, parts.noteGlyph, x, position);
  x += fonts.GetGlyphWidth(parts.noteGlyph);
  if (draw) fonts.DrawBoldText(x, position, parts.tail.c_str());
  x += fonts.GetBoldTextWidth(parts.tail.c_str());
  return x - start;
}

// --- Flow directions ---

int FlowWidth(const TItemDrawCall& call, const TFlowDirection& flow) {
  TMusicFonts& fonts = call.site.Fonts();
  const TFlowParts parts = BuildFlowParts(flow);
  int width = fonts.GetItalicTextWidth(parts.main.c_str());
  if (parts.symbolCounts)
    width += fonts.GetGlyphWidth(parts.symbol) + fonts.GetItalicTextWidth(parts.suffix.c_str());
  return width;
}

void DrawFlowKind(const TItemDrawCall& call, const TFlowDirection& flow, int x, float position) {
  TMusicFonts& fonts = call.site.Fonts();
  const TFlowParts parts = BuildFlowParts(flow);
  switch (flow.GetStyle()) {
    case kFlowCoda:
      fonts.DrawGlyphAtPos(0, kGlyphCoda, x, position - 5.0f);
      fonts.DrawItalicText(x, position, parts.main.c_str());
      return;
    case kFlowSegno: fonts.DrawGlyphAtPos(0, kGlyphSegno, x, position); return;
    case kFlowToCoda:
    case kFlowDalSegno:
    case kFlowDSalCoda:
    case kFlowDSalFine:
      fonts.DrawItalicText(x, position, parts.main.c_str());
      x += fonts.GetItalicTextWidth(parts.main.c_str());
      x += fonts.DrawGlyphAtPos(0, parts.symbol, x, position);
      fonts.DrawItalicText(x, position, parts.suffix.c_str());
      return;
    default: fonts.DrawItalicText(x, position, parts.main.c_str()); return;
  }
}

int ItalicWidthUtf8(TMusicFonts& fonts, std::string_view utf8) {
  return fonts.GetItalicTextWidthW(Utf8ToUtf16(utf8));
}
void DrawItalicUtf8(TMusicFonts& fonts, int x, float position, std::string_view utf8) {
  fonts.DrawItalicTextW(x, position, Utf8ToUtf16(utf8));
}
// The glyph a kind draws on its own; 0 for the kinds that draw text.
int KindGlyph(const TNtnGeneralExpression& expression) {
  switch (expression.GetType()) {
    case kItemSustainPedal: return ItemRef<TSustainPedal>(expression).GetSymbol();
    case kItemDynamic: return ItemRef<TDynamicLevelData>(expression).GetSymbol();
    case kItemTempoVariance:
      return TempoVarianceGlyph(ItemRef<TTempoVariance>(expression), expression.GetPos());
    default: return 0;
  }
}

}  // namespace

void ExpressionReach(TMusicFonts& fonts, const TNtnGeneralExpression& expression, float& up,
                     float& down) {
  const float step = static_cast<float>(std::max(1, fonts.GetStepHeight()));
  // Text stands centred on its position and is about as tall as a lyric line.
  up = static_cast<float>(fonts.GetLyricLineHeight()) / 2;
  down = up;
  if (const int glyph = KindGlyph(expression); glyph != 0) {
    int top = 0, bottom = 0;
    fonts.GetGlyphInkOffsets(0, glyph, top, bottom);
    up = static_cast<float>(-top) / step;
    down = static_cast<float>(bottom) / step;
  }
}

float PlacedPosition(const TItemDrawCall& call, const TNtnGeneralExpression& expression) {
  float up = 0, down = 0;
  ExpressionReach(call.site.Fonts(), expression, up, down);
  return call.site.ExpressionPosition(expression.GetPos(), up, down);
}

int ExpressionKindWidth(const TItemDrawCall& call, const TNtnGeneralExpression& expression) {
  TMusicFonts& fonts = call.site.Fonts();
  switch (expression.GetType()) {
    case kItemText: return TextWidth(call, ItemRef<TTextExpression>(expression));
    case kItemGenericControl:
      return fonts.GetBoldTextWidth(MpcLabel(ItemRef<TGenericControl>(expression)).c_str());
    case kItemSustainPedal:
      return fonts.GetGlyphWidth(ItemRef<TSustainPedal>(expression).GetSymbol());
    case kItemPerformanceStyle:
      return ItalicWidthUtf8(fonts, ItemRef<TPerformanceStyle>(expression).GetDisplayText());
    case kItemTempo: return TempoMark(call, ItemRef<TTempoData>(expression), 0, false, 0.0f);
    case kItemTempoVariance: {
      const auto& variance = ItemRef<TTempoVariance>(expression);
      // The width is the upright fermata's whichever way it turns.
      const int glyph = TempoVarianceGlyph(variance, -1.0f);
      return glyph != 0 ? fonts.GetGlyphWidth(glyph)
                        : ItalicWidthUtf8(fonts, variance.GetDisplayText());
    }
    case kItemDynamic:
      return fonts.GetGlyphWidth(ItemRef<TDynamicLevelData>(expression).GetSymbol());
    case kItemDynamicVariance:
      return ItalicWidthUtf8(fonts, ItemRef<TDynamicVariance>(expression).GetDisplayText());
    case kItemPatch: return fonts.GetBoldTextWidthW(ItemRef<TPatchData>(expression).GetName());
    case kItemFlow: return FlowWidth(call, ItemRef<TFlowDirection>(expression));
    default: return 0;
  }
}

void DrawExpressionKind(const TItemDrawCall& call, const TNtnGeneralExpression& expression, int x) {
  TMusicFonts& fonts = call.site.Fonts();
  const float position = PlacedPosition(call, expression);
  switch (expression.GetType()) {
    case kItemText: DrawTextKind(call, ItemRef<TTextExpression>(expression), x, position); break;
    case kItemGenericControl:
      fonts.DrawBoldText(x, position, MpcLabel(ItemRef<TGenericControl>(expression)).c_str());
      break;
    case kItemSustainPedal:
      fonts.DrawGlyphAtPos(0, ItemRef<TSustainPedal>(expression).GetSymbol(), x, position);
      break;
    case kItemPerformanceStyle:
      DrawItalicUtf8(fonts, x, position, ItemRef<TPerformanceStyle>(expression).GetDisplayText());
      break;
    case kItemTempo: TempoMark(call, ItemRef<TTempoData>(expression), x, true, position); break;
    case kItemTempoVariance: {
      const auto& variance = ItemRef<TTempoVariance>(expression);
      const int glyph = TempoVarianceGlyph(variance, position);
      if (glyph != 0)
        DrawGlyphWithNote(call, glyph, x, position, PauseNote(call, variance));
      else
        DrawItalicUtf8(fonts, x, position, variance.GetDisplayText());
      break;
    }
    case kItemDynamic: {
      const auto& dynamic = ItemRef<TDynamicLevelData>(expression);
      DrawGlyphWithNote(call, dynamic.GetSymbol(), x, position, DynamicNote(call, dynamic));
      break;
    }
    case kItemDynamicVariance:
      DrawItalicUtf8(fonts, x, position, ItemRef<TDynamicVariance>(expression).GetDisplayText());
      break;
    case kItemPatch:
      fonts.DrawBoldTextW(x, position, ItemRef<TPatchData>(expression).GetName());
      break;
    case kItemFlow: DrawFlowKind(call, ItemRef<TFlowDirection>(expression), x, position); break;
    default: break;
  }
}

int ExpressionWidth(const TItemDrawCall& call, const TNtnGeneralExpression& expression) {
  if (expression.IsWide()) return ExpressionKindWidth(call, expression);
  return call.site.Editing() ? AnchorWidth(call.site.Fonts()) : 0;
}

void DrawExpressionItem(const TItemDrawCall& call, const TNtnGeneralExpression& expression, int x) {
  TItemDrawSite& site = call.site;
  TMusicFonts& fonts = site.Fonts();
  const int f = ExpressionKindWidth(call, expression);
  const int e = !expression.IsWide() && site.Editing() ? AnchorWidth(fonts) : 0;
  const int p = call.drawPos.GetWidth();
  const int justify = expression.GetJustify();
  const bool atNextNote = expression.GetPlacement() == kPlaceAtNextNote;
  int offset = 0;
  int kindX = x;
  if (atNextNote) {
    offset = site.AnchorOffset(call.pos, justify);
    kindX = (justify == kJustifyLeft ? x : justify == kJustifyCenter ? x - f / 2 : x - f) + offset;
  } else if (justify == kJustifyLeft) {
    kindX = x + e;
  } else if (justify == kJustifyCenter) {
    kindX = x - f / 2 + p / 2;
  } else {
    kindX = x - f + p - e;
  }
  DrawExpressionKind(call, expression, kindX);
  if (e == 0 && !(atNextNote && site.Editing())) return;
  const int itemColor = fonts.GetColorIndex();
  const int hidden = HiddenColor(site);
  if (e != 0) {
    fonts.SetColorIndex(hidden);
    int anchorX = x;
    if (!atNextNote && justify == kJustifyCenter) anchorX = x + p / 2 - e / 2;
    if (!atNextNote && justify == kJustifyRight) anchorX = x + p - e;
    fonts.DrawExpressionAnchor(anchorX, PlacedPosition(call, expression), justify);
  }
  if (atNextNote && site.Editing())
    fonts.DrawDottedArrow(hidden, PlacedPosition(call, expression), x + e, x + offset);
  fonts.SetColorIndex(itemColor);
}

}  // namespace kvt
