#include "draw/layout/score_draw_info.h"

#include <algorithm>

#include "draw/items/other_item_drawing.h"
#include "draw/layout/fonts_sizing_scope.h"
#include "draw/layout/staff_item_site.h"
#include "draw/music_fonts.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "utils/bool_array.h"

namespace kvt {

TScoreDrawInfo::TScoreDrawInfo(TMusicScore& score, TMusicFonts& fonts, int drawMode)
    : score(&score),
      fonts(&fonts),
      metrics(fonts),
      userObjects(&nullUserObjects),
      drawMode(drawMode) {}

TScoreDrawInfo::~TScoreDrawInfo() = default;

void TScoreDrawInfo::ResetLayout() {
  inUse = 0;
  Restack();
}

bool TScoreDrawInfo::AddStaff(int scoreStaffIndex) {
  if (IsFull() || score->GetStaff(scoreStaffIndex) == nullptr) return false;
  if (static_cast<int>(staves.size()) <= inUse)
    staves.push_back(std::make_unique<TStaffDrawInfo>(*this, inUse));
  staves[static_cast<size_t>(inUse)]->SetStaff(scoreStaffIndex);
  ++inUse;
  Restack();
  return true;
}

bool TScoreDrawInfo::AddStaffByPointer(const TMusicStaff* staff) {
  const int index = staff ? score->IndexOfStaff(staff) : -1;
  return index >= 0 && AddStaff(index);
}

bool TScoreDrawInfo::StartWithStaff(int scoreStaffIndex) {
  inUse = 0;
  return AddStaff(scoreStaffIndex);
}

int TScoreDrawInfo::AddStavesFromList(std::span<const int> scoreStaves, int firstEntry,
                                      int heightLimit) {
  ResetLayout();
  for (size_t k = static_cast<size_t>(std::max(firstEntry, 0));
       k < scoreStaves.size() && !IsFull() && GetTotalHeight() < heightLimit; ++k)
    AddStaff(scoreStaves[k]);
  return inUse;
}

int TScoreDrawInfo::AddSelectedStaves(const TKVBoolArray& selection, int heightLimit) {
  ResetLayout();
  for (int i = 0; i < score->GetStaffCount() && !IsFull() && GetTotalHeight() < heightLimit; ++i)
    if (selection.Get(i)) AddStaff(i);
  return inUse;
}

int TScoreDrawInfo::AddStavesFrom(int firstStaff, int heightLimit) {
  ResetLayout();
  for (int i = std::max(firstStaff, 0);
       i < score->GetStaffCount() && !IsFull() && GetTotalHeight() < heightLimit; ++i)
    AddStaff(i);
  return inUse;
}

bool TScoreDrawInfo::AttachPrintData(TKVTNTNPrintData* print) {
  printData = print;
  if (drawMode != kDrawModePreview && drawMode != kDrawModePrint) drawMode = kDrawModePrint;
  return true;
}

bool TScoreDrawInfo::IsLayeringActive() const {
  return score->GetAllowLayering() && (drawMode != kDrawModeEdit || layering);
}

TStaffDrawInfo* TScoreDrawInfo::GetStaffDrawInfo(int i) const {
  return i >= 0 && i < inUse ? staves[static_cast<size_t>(i)].get() : nullptr;
}

const TStackedStaff& TScoreDrawInfo::GetStack(int i) const {
  static const TStackedStaff kNone;
  return i >= 0 && i < static_cast<int>(stacking.staves.size())
             ? stacking.staves[static_cast<size_t>(i)]
             : kNone;
}

int TScoreDrawInfo::GetStepHeight() const { return std::max(1, metrics.Space() / 2); }

void TScoreDrawInfo::Restack(bool fitBoundaries) {
  std::vector<TStackInput> inputs;
  inputs.reserve(static_cast<size_t>(inUse));
  int collapsedCount = 0;
  for (int i = 0; i < inUse; ++i) {
    TStaffDrawInfo& layout = *staves[static_cast<size_t>(i)];
    TStackInput input = StackInputOf(*layout.GetStaff());
    if (fitBoundaries) {
      bool collapsed = false;
      int upper = 0, lower = 0;
      layout.FitBoundaries(collapsed, upper, lower);
      input.upper = upper;
      input.lower = lower;
      input.collapsed = collapsed && collapsedCount < inUse - 1;
      if (input.collapsed) ++collapsedCount;
    }
    inputs.push_back(input);
  }
  stacking = StackStaves(inputs, IsLayeringActive(), GetStepHeight());
  for (int i = 0; i < inUse; ++i)
    staves[static_cast<size_t>(i)]->SetStaffY(stacking.staves[static_cast<size_t>(i)].originY);
}

int TScoreDrawInfo::GetSystemEdgeY(int direction) const {
  const int step = GetStepHeight();
  if (direction < 0) {
    for (int i = 0; i < inUse; ++i) {
      const TStackedStaff& s = GetStack(i);
      const TMusicStaff* staff = staves[static_cast<size_t>(i)]->GetStaff();
      if (s.collapsed || staff->GetLines() == 0) continue;
      return s.originY + staff->GetTopLinePosition() * step;
    }
  } else {
    for (int i = inUse - 1; i >= 0; --i) {
      const TStackedStaff& s = GetStack(i);
      const TMusicStaff* staff = staves[static_cast<size_t>(i)]->GetStaff();
      if (s.collapsed || staff->GetLines() == 0) continue;
      return s.originY + staff->GetBottomLinePosition() * step;
    }
  }
  return 0;
}

void TScoreDrawInfo::LayoutStaves(int64_t firstTime, int width) {
  TFontsSizingScope sizing(*fonts);
  Restack();
  for (int i = 0; i < inUse; ++i) staves[static_cast<size_t>(i)]->BuildPositions(firstTime, width);
}

void TScoreDrawInfo::LayoutStavesFromItems(std::span<const TLayoutStart> starts, int width) {
  TFontsSizingScope sizing(*fonts);
  Restack();
  for (int i = 0; i < inUse; ++i) {
    const TLayoutStart start =
        static_cast<size_t>(i) < starts.size() ? starts[static_cast<size_t>(i)] : TLayoutStart{};
    staves[static_cast<size_t>(i)]->BuildPositionsFrom(start, width);
  }
}

void TScoreDrawInfo::LayoutStavesContinued(int width) {
  const std::vector<TLayoutStart> ends = GetLayoutEnds();
  LayoutStavesFromItems(ends, width);
}

std::vector<TLayoutStart> TScoreDrawInfo::GetLayoutEnds() const {
  std::vector<TLayoutStart> ends;
  for (int i = 0; i < inUse; ++i) ends.push_back(staves[static_cast<size_t>(i)]->GetLayoutEnd());
  return ends;
}

int TScoreDrawInfo::GetNaturalWidth() const {
  int widest = 0;
  for (int i = 0; i < inUse; ++i)
    widest = std::max(widest, staves[static_cast<size_t>(i)]->GetTotalWidth());
  return widest;
}

int TScoreDrawInfo::MeasureOtherItem(TStaffDrawInfo& layout, TStaffDrawPos& pos,
                                     const TNotatedItem& item) {
  TFontsSizingScope sizing(*fonts);
  int index = layout.GetDrawPosCount();
  if (const TStaffDrawPos* first = layout.PositionAt(0);
      first && &pos >= first && &pos < first + index)
    index = static_cast<int>(&pos - first);
  TStaffItemSite site(*this, layout);
  return std::max(0, GetOtherItemWidth(site, item, index, pos));
}

int TScoreDrawInfo::LyricTextWidth(std::u16string_view text) {
  TFontsSizingScope sizing(*fonts);
  return fonts->GetLyricTextWidthW(text);
}

}  // namespace kvt
