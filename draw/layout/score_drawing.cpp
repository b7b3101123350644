// TScoreDrawInfo: drawing a system, its staff labels, and the questions the page renderer
// asks of a laid-out system.
#include <algorithm>
#include <cstdint>
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

std::u16string TScoreDrawInfo::GetGroupLabel(int first) const {
  for (int k = first; k < inUse; ++k) {
    if (k > first && GetStack(k).startsGroup) break;
    if (!GetStack(k).collapsed) {
      std::u16string label = GetStaffLabel(k);
      if (!label.empty()) return label;
    }
  }
  return {};
}

void TScoreDrawInfo::DrawStaffLabels(int x, int yOffset, int labelWidth) {
  TMusicFonts& f = *fonts;
  const int savedOrigin = f.GetStaffOrigin();
  const int step = GetStepHeight();
  auto draw = [&](int i, const std::u16string& label, int64_t y) {
    f.SetColorIndex(StaffColorIndex(GetStaffDrawInfo(i)->GetStaff()->GetColor(), ShowsHiddenItems(),
                                    activeStaff == i));
    f.SetStaffOrigin(static_cast<int>(std::clamp<int64_t>(y, INT32_MIN, INT32_MAX)));
    const int width = f.GetTextWidthW(kFontStaffBold, label);
    f.DrawTextW(kFontStaffBold, 0, x + (labelWidth - width) / 2, 0.0f, label);
  };
  for (int i = 0; i < inUse; ++i) {
    const TStackedStaff& stack = GetStack(i);
    if (!stack.startsGroup) continue;
    // A brace run whose groups all carry one label shows it once, between its outer lines.
    if ((stack.braceBits & kJoinedToNext) != 0 && (stack.braceBits & kJoinedToPrevious) == 0) {
      int last = i;
      while (last + 1 < inUse && (GetStack(last).braceBits & kJoinedToNext) != 0) ++last;
      while (last + 1 < inUse && !GetStack(last + 1).startsGroup) ++last;
      std::u16string shared;
      bool same = true;
      int groups = 0;
      for (int k = i; k <= last && same; ++k) {
        if (!GetStack(k).startsGroup || GetStack(k).empty) continue;
        const std::u16string label = GetGroupLabel(k);
        same = !label.empty() && (groups == 0 || label == shared);
        shared = label;
        ++groups;
      }
      if (same && groups > 1) {
        const int64_t top = static_cast<int64_t>(GetStack(i).originY) +
                            GetStaffDrawInfo(i)->GetStaff()->GetTopLinePosition() * step;
        const int64_t bottom = static_cast<int64_t>(GetStack(last).originY) +
                               GetStaffDrawInfo(last)->GetStaff()->GetBottomLinePosition() * step;
        draw(i, shared, yOffset + (top + bottom) / 2);
        i = last;
        continue;
      }
    }
    if (stack.empty) continue;
    const std::u16string label = GetGroupLabel(i);
    if (!label.empty()) draw(i, label, static_cast<int64_t>(yOffset) + stack.originY);
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
