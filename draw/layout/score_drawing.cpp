// TScoreDrawInfo: drawing a system, its staff labels, and the questions the page renderer
// asks of a laid-out system.
#include <algorithm>
#include <string>

#include "draw/items/item_color.h"
#include "draw/layout/fonts_sizing_scope.h"
#include "draw/layout/score_draw_info.h"
#include "draw/layout/staff_drawing.h"
#include "draw/mul_div.h"
#include "draw/music_fonts.h"
#include "notation/items/item_cast.h"
#include "notation/items/staff_sizer.h"
#include "notation/staff/music_staff.h"

namespace kvt {

namespace {
constexpr int kFontStaffBold = 3;
constexpr int kEditorBackground = 2;
}  // namespace

void TScoreDrawInfo::Draw(int spanRight, int leftX, int yOffset, int drawnLast) {
  TMusicFonts& f = *fonts;
  f.SetColorIndex(kColorInk);
  if (drawMode == kDrawModeEdit || drawMode == kDrawModeView)
    f.SetBackgroundColorIndex(kEditorBackground);
  const TDrawSpan span{leftX, spanRight};
  for (int i = 0; i < inUse; ++i) {
    if (i == drawnLast) continue;
    if (i > 0 && GetStack(i).collapsed) continue;
    DrawStaff(*this, i, span, leftX, yOffset);
  }
  if (drawnLast >= 0 && drawnLast < inUse) DrawStaff(*this, drawnLast, span, leftX, yOffset);
}

std::u16string TScoreDrawInfo::GetStaffLabel(int i) const {
  const TStaffDrawInfo* layout = GetStaffDrawInfo(i);
  const char16_t* label = layout ? layout->GetStaffLabel() : nullptr;
  return label ? std::u16string(label) : std::u16string();
}

void TScoreDrawInfo::DrawStaffLabels(int x, int yOffset, int labelWidth) {
  TMusicFonts& f = *fonts;
  const int savedOrigin = f.GetStaffOrigin();
  for (int i = 0; i < inUse; ++i) {
    const TStackedStaff& stack = GetStack(i);
    if (!stack.startsGroup || stack.empty) continue;
    std::u16string label;
    for (int k = i; k < inUse && label.empty(); ++k) {
      if (k > i && GetStack(k).startsGroup) break;
      if (!GetStack(k).collapsed) label = GetStaffLabel(k);
    }
    if (label.empty()) continue;
    const bool active = activeStaff == i;
    f.SetColorIndex(
        StaffColorIndex(GetStaffDrawInfo(i)->GetStaff()->GetColor(), ShowsHiddenItems(), active));
    f.SetStaffOrigin(yOffset + stack.originY);
    const int width = f.GetTextWidthW(kFontStaffBold, label);
    f.DrawTextW(kFontStaffBold, 0, x + (labelWidth - width) / 2, 0.0f, label);
  }
  f.SetStaffOrigin(savedOrigin);
}

int TScoreDrawInfo::GetBracketWidth() const {
  const int unit = metrics.UnitWidth();
  const int bracket = MulDiv(2, unit, 3);
  const int brace = 2 * unit;
  bool anyBracket = false, anyBrace = false, both = false;
  for (int i = 0; i < inUse; ++i) {
    const TStackedStaff& s = GetStack(i);
    anyBracket |= s.bracketBits != 0;
    anyBrace |= s.braceBits != 0;
    both |= s.bracketBits != 0 && s.braceBits != 0;
  }
  int width = std::max(anyBracket ? bracket : 0, anyBrace ? brace : 0);
  if (both) width += bracket;
  return width;
}

int TScoreDrawInfo::GetStaffLabelWidth(bool braceRoom, bool fullNames) const {
  TFontsSizingScope sizing(*fonts);
  const int space = metrics.Space();
  int widest = 0;
  for (int i = 0; i < inUse; ++i) {
    const TMusicStaff& staff = *GetStaffDrawInfo(i)->GetStaff();
    int width = fonts->GetTextWidthW(kFontStaffBold, staff.GetLabel(fullNames));
    if (braceRoom && GetStack(i).braceBits != 0) width += 4 * space;
    widest = std::max(widest, width);
  }
  return braceRoom ? widest + 3 * space : widest;
}

bool TScoreDrawInfo::NeedsSystemLine() const {
  if (stacking.linedGroups > 1) return true;
  for (int i = 0; i < inUse; ++i)
    if (GetStack(i).bracketBits != 0) return true;
  return false;
}

bool TScoreDrawInfo::StartsWithNewPage() const {
  const TStaffDrawInfo* layout = GetStaffDrawInfo(0);
  if (!layout) return false;
  int64_t time = 0;
  for (int n = 1; n < layout->GetDrawPosCount(); ++n) {
    const TStaffDrawPos& pos = *layout->PositionAt(n);
    const auto* sizer = ItemAs<TStaffSizer>(layout->GetStaff()->GetItem(pos.GetItemIndex()));
    if (sizer && !pos.IsAutoInsert() && sizer->GetStyle() == kSizerNewSystem && sizer->IsNewPage())
      return true;
    time += pos.GetTimeSlots();
    if (pos.GetKind() == kDrawBarLine && time > 0) return false;
  }
  return false;
}

}  // namespace kvt
