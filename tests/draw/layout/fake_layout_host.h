#pragma once
// Test helper: a staff layout host with fixed metrics and fixed widths for the item kinds
// drawn elsewhere, in a chosen draw mode. Widths (logical units): filled head 12 (the unit),
// other heads 14, accidental column 10, dot 6, flag 8, rests 11, every other glyph 10; bar
// line 4 (repeat dots 9 from its edge), clef 20, key 24, time signature 16, any other item 10.

#include <string_view>

#include "draw/layout/staff_draw_info.h"
#include "draw/layout/staff_layout_host.h"
#include "draw/user_object_draw_host.h"
#include "notation/items/notated_item.h"

namespace kvt::test {

class TFixedLayoutMetrics final : public TLayoutMetrics {
public:
  int GlyphWidth(int sizeIndex, int glyph) const override {
    int w = 10;
    if (glyph == kGlyphFilledHead) w = 12;
    else if (glyph == kGlyphWholeHead || glyph == kGlyphHalfHead) w = 14;
    else if (glyph == kGlyphDot) w = 6;
    else if (glyph == kGlyphFlag) w = 8;
    else if (glyph >= kGlyphFirstRest && glyph <= kGlyphFirstRest + 6) w = 11;
    else if (glyph < 0 || glyph > 81) w = 0;
    return sizeIndex == 1 ? w * 2 / 3 : w;
  }
  int AccidentalColumnWidth(int sizeIndex) const override { return sizeIndex == 1 ? 6 : 10; }
  int Space() const override { return 16; }
  int RepeatDotOffset() const override { return 9; }
};

class TFakeLayoutHost final : public TStaffLayoutHost {
public:
  explicit TFakeLayoutHost(int mode = kDrawModeView) : mode(mode) {}

  const TLayoutMetrics& Metrics() const override { return external ? *external : metrics; }
  int GetDrawMode() const override { return mode; }
  TMusicScore* GetScore() const override { return score; }
  bool IsFirstLayoutStaff(int slot) const override { return slot == 0; }
  int GetLinedGroupCount() const override { return groups; }
  int MeasureOtherItem(TStaffDrawInfo&, TStaffDrawPos&, const TNotatedItem& item) override {
    switch (item.GetType()) {
      case kItemBarLine: return 4;
      case kItemClef: return 20;
      case kItemKey: return 24;
      case kItemTimeSig: return 16;
      case kItemText: return textWidth;
      default: return 10;
    }
  }
  int LyricTextWidth(std::u16string_view text) override { return 6 * static_cast<int>(text.size()); }
  TUserObjectDrawHost& UserObjects() override { return userObjects; }
  int GetActiveSlot() const override { return 0; }

  int mode;
  int groups = 1;
  int textWidth = 10;
  TMusicScore* score = nullptr;
  TFixedLayoutMetrics metrics;
  // When set, measures with these instead (e.g. a score's music fonts).
  const TLayoutMetrics* external = nullptr;
  TNullUserObjectDrawHost userObjects;
};

}  // namespace kvt::test
