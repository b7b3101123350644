// Clefs, key signatures and time signatures.
#include <algorithm>
#include <cstdio>

#include "draw/items/clef_placement.h"
#include "draw/items/item_draw_site.h"
#include "draw/items/key_signature_glyphs.h"
#include "draw/items/other_item_kinds.h"
#include "draw/music_fonts.h"
#include "notation/index/staff_draw_pos.h"
#include "notation/items/clef_data.h"
#include "notation/items/key_data.h"
#include "notation/items/time_signature_data.h"

namespace kvt {

namespace {
constexpr int kGlyphTrebleClef = 2;
constexpr int kGlyphCommonTime = 40;
constexpr int kGlyphAllaBreve = 41;
constexpr int kFontStaffSymbols = 0;

int ClefSize(const TItemDrawCall& call) { return call.site.ClefAfterNoteInBar(call.pos) ? 1 : 0; }

std::string Decimal(int value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%d", value);
  return buffer;
}

// The clef whose positions a key uses: the one the layout finds for an auto-inserted key,
// else the one the staff audit stored in the key.
int KeyClef(const TItemDrawCall& call, const TKeyData& key) {
  return call.drawPos.IsAutoInsert() ? call.site.GetClefAt(call.pos) : key.GetClef();
}

bool KeyDrawsNaturals(const TItemDrawCall& call, const TKeyData& key) {
  if (call.drawPos.IsAutoInsert()) return false;
  return !key.IsHideCancels() || call.site.HiddenShown();
}

bool IsEmptyKey(const TKeyGlyphs& glyphs) {
  return glyphs.naturals.empty() && glyphs.accidentals.empty();
}
}  // namespace

int ClefWidth(const TItemDrawCall& call) {
  return call.site.Fonts().GetScaledGlyphWidth(ClefSize(call), kGlyphTrebleClef);
}

int DrawClef(TMusicFonts& fonts, int sizeIndex, int x, int clefType, int octaveShift) {
  const TClefPlacement& placement = GetClefPlacement(clefType);
  const int pullY = fonts.PositionToYInt(placement.pullPosition);
  const int y = PulledClefY(fonts.PositionToYInt(placement.position), pullY, sizeIndex);
  const int width = fonts.GetScaledGlyphWidth(sizeIndex, placement.glyph);
  fonts.DrawGlyph(sizeIndex, placement.glyph, x, y);
  if (octaveShift == kOctaveShiftUp || octaveShift == kOctaveShiftDown) {
    const int position =
        octaveShift == kOctaveShiftUp ? placement.octaveUpPosition : placement.octaveDownPosition;
    const int eightY = PulledClefY(fonts.PositionToYInt(position), pullY, sizeIndex);
    fonts.DrawGlyph(sizeIndex, kGlyphOctaveEight, x + width / 2, eightY);
  }
  return width;
}

void DrawClefItem(const TItemDrawCall& call, const TClefData& clef, int x) {
  DrawClef(call.site.Fonts(), ClefSize(call), x, clef.GetClefType(), clef.GetOctaveShift());
}

int KeyWidth(const TItemDrawCall& call, const TKeyData& key) {
  TMusicFonts& fonts = call.site.Fonts();
  const TKeyGlyphs glyphs = BuildKeyGlyphs(key, KeyClef(call, key), KeyDrawsNaturals(call, key));
  if (IsEmptyKey(glyphs)) return call.site.Editing() ? fonts.GetGlyphWidth(kGlyphNatural) : 0;
  return KeySignatureWidth(glyphs, fonts.GetGlyphWidth(kGlyphNatural),
                           fonts.GetGlyphWidth(kGlyphFlat), fonts.GetGlyphWidth(kGlyphSharp));
}

void DrawKeyItem(const TItemDrawCall& call, const TKeyData& key, int x) {
  TMusicFonts& fonts = call.site.Fonts();
  const int clef = KeyClef(call, key);
  const TKeyGlyphs glyphs = BuildKeyGlyphs(key, clef, KeyDrawsNaturals(call, key));
  const int itemColor = fonts.GetColorIndex();
  const int g = fonts.GetGlyphWidth(kGlyphNatural) / 4;
  if (IsEmptyKey(glyphs)) {
    if (!call.site.Editing()) return;
    fonts.SetColorIndex(HiddenColor(call.site));
    fonts.DrawGlyphAtStep(0, kGlyphNatural, x, KeySharpPosition(clef, 5));
    fonts.SetColorIndex(itemColor);
    return;
  }
  // Cancellations the key hides are shown only as hidden marks.
  const bool hiddenNaturals = key.IsHideCancels();
  if (hiddenNaturals) fonts.SetColorIndex(HiddenColor(call.site));
  for (const TKeyGlyph& glyph : glyphs.naturals) {
    fonts.DrawGlyphAtStep(0, glyph.glyph, x, glyph.position);
    x += fonts.GetGlyphWidth(glyph.glyph) + g;
  }
  if (hiddenNaturals) fonts.SetColorIndex(itemColor);
  if (!glyphs.naturals.empty() && !glyphs.accidentals.empty()) x += 2 * g;
  for (const TKeyGlyph& glyph : glyphs.accidentals) {
    fonts.DrawGlyphAtStep(0, glyph.glyph, x, glyph.position);
    x += fonts.GetGlyphWidth(glyph.glyph) + g;
  }
}

int TimeSigWidth(const TItemDrawCall& call, const TTimeSignatureData& time) {
  TMusicFonts& fonts = call.site.Fonts();
  if (time.GetStyle() == kTimeSigCommon || time.GetStyle() == kTimeSigAllaBreve)
    return fonts.GetGlyphWidth(kGlyphCommonTime);
  const int top = fonts.GetTextWidth(kFontStaffSymbols, Decimal(time.GetBeats()).c_str());
  const int bottom = fonts.GetTextWidth(kFontStaffSymbols, Decimal(time.GetBeatValue()).c_str());
  return std::max(top, bottom);
}

void DrawTimeSigItem(const TItemDrawCall& call, const TTimeSignatureData& time, int x) {
  TMusicFonts& fonts = call.site.Fonts();
  if (time.GetStyle() == kTimeSigCommon || time.GetStyle() == kTimeSigAllaBreve) {
    fonts.DrawGlyphAtStep(0, time.GetStyle() == kTimeSigCommon ? kGlyphCommonTime : kGlyphAllaBreve,
                          x, 2);
    return;
  }
  const std::string top = Decimal(time.GetBeats());
  const std::string bottom = Decimal(time.GetBeatValue());
  const int topWidth = fonts.GetTextWidth(kFontStaffSymbols, top.c_str());
  const int bottomWidth = fonts.GetTextWidth(kFontStaffSymbols, bottom.c_str());
  const int wider = std::max(topWidth, bottomWidth);
  constexpr int kBaseline = 1;
  fonts.DrawText(kFontStaffSymbols, kBaseline, x + (wider - topWidth) / 2, 0, top.c_str());
  fonts.DrawText(kFontStaffSymbols, kBaseline, x + (wider - bottomWidth) / 2, 4, bottom.c_str());
}

}  // namespace kvt
