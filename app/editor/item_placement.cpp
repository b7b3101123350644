#include "app/editor/item_placement.h"

#include <algorithm>
#include <memory>

#include "notation/items/flow_direction.h"
#include "notation/items/general_expression.h"
#include "notation/items/generic_control.h"
#include "notation/items/item_cast.h"
#include "notation/items/patch_data.h"
#include "notation/items/staff_sizer.h"
#include "notation/items/sustain_pedal.h"
#include "notation/items/tempo_variance.h"
#include "notation/items/text_expression.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"

namespace kvt {

namespace {

// How far inside its boundaries a default position must lie to be moved out, and how far
// beyond them it goes.
constexpr int kBoundaryInset = 3;
constexpr int kBeyondBoundary = 4;

bool Matches(const TNotatedItem& candidate, const TNotatedItem& like) {
  if (candidate.GetType() != like.GetType()) return false;
  if (const auto* text = ItemAs<TTextExpression>(&like)) {
    const auto* other = ItemAs<TTextExpression>(&candidate);
    return other->GetText() == text->GetText() && other->GetFontIndex() == text->GetFontIndex();
  }
  if (const auto* variance = ItemAs<TTempoVariance>(&like))
    return ItemAs<TTempoVariance>(&candidate)->GetStyle() == variance->GetStyle();
  return true;
}

const TNotatedItem* FindBack(const TMusicStaff& staff, int before, const TNotatedItem& like) {
  for (int i = std::min(before, staff.GetLastIndex()) - 1; i >= 1; --i) {
    const TNotatedItem* item = staff.GetItem(i);
    if (item && Matches(*item, like)) return item;
  }
  return nullptr;
}

// A new item of the expression kinds whose defaults set their placement; null for others.
std::unique_ptr<TNtnGeneralExpression> FreshExpression(const TNotatedItem& item) {
  switch (item.GetType()) {
    case kItemFlow:
      return std::make_unique<TFlowDirection>(ItemAs<TFlowDirection>(&item)->GetStyle());
    case kItemTempoVariance:
      return std::make_unique<TTempoVariance>(ItemAs<TTempoVariance>(&item)->GetStyle());
    case kItemPatch: return std::make_unique<TPatchData>();
    case kItemSustainPedal: return std::make_unique<TSustainPedal>();
    case kItemGenericControl: return std::make_unique<TGenericControl>();
    default: return nullptr;
  }
}

void PlaceByDefault(TNotatedItem& item, const TMusicStaff& staff, int caret) {
  if (item.GetType() != kItemText) {
    int upper = 0;
    int lower = 0;
    BoundariesAt(staff, caret, upper, lower);
    const int top = -upper + kBoundaryInset;
    const int bottom = lower - kBoundaryInset;
    const int pos = item.GetStaffPos();
    if (pos > top && pos < bottom)
      item.SetStaffPos(pos < 0 ? top - kBeyondBoundary : bottom + kBeyondBoundary);
  }
  if (const auto* flow = ItemAs<TFlowDirection>(&item)) {
    const int style = flow->GetStyle();
    if (style == kFlowCoda) item.SetStaffPos(-7);
    if (style == kFlowFine) item.SetStaffPos(8);
    if (style >= kFlowDaCapo && style <= kFlowDCalFine) item.SetStaffPos(-10);
  }
  if (const auto* variance = ItemAs<TTempoVariance>(&item)) {
    static constexpr int kByStyle[] = {-8, -4, -9};
    const int style = variance->GetStyle();
    if (style >= 0 && style < 3) item.SetStaffPos(kByStyle[style]);
  }
  if (auto* expression = ItemAs<TNtnGeneralExpression>(&item)) {
    if (const auto fresh = FreshExpression(item)) {
      expression->SetWide(fresh->IsWide());
      expression->SetJustify(fresh->GetJustify());
      expression->SetPlacement(fresh->GetPlacement());
    }
  }
}

}  // namespace

void BoundariesAt(const TMusicStaff& staff, int index, int& upper, int& lower) {
  upper = -staff.GetBoundaryTop();
  lower = staff.GetBoundaryBottom();
  for (int i = std::min(index, staff.GetLastIndex()) - 1; i >= 1; --i) {
    const auto* sizer = ItemAs<TStaffSizer>(staff.GetItem(i));
    if (!sizer) continue;
    if (sizer->GetStyle() == kSizerNewSize) {
      upper = sizer->GetUpper();
      lower = sizer->GetLower();
      return;
    }
    if (sizer->GetStyle() == kSizerReset) return;
  }
}

const TNotatedItem* FindEarlierLike(const TMusicScore& score, int activeStaff, int caret,
                                    const TNotatedItem& like) {
  const TMusicStaff* active = score.GetStaff(activeStaff);
  if (!active) return nullptr;
  if (const TNotatedItem* found = FindBack(*active, caret, like)) return found;
  const int32_t ticks = active->GetDurationBetween(caret, 0, 0);
  for (int s = 0; s < score.GetStaffCount(); ++s) {
    if (s == activeStaff) continue;
    const TMusicStaff* staff = score.GetStaff(s);
    if (const TNotatedItem* found = FindBack(*staff, staff->FindIndexAtTime(ticks, 0, 0), like))
      return found;
  }
  return nullptr;
}

void PlaceAutomatically(TNotatedItem& item, const TMusicScore& score, int activeStaff, int caret) {
  const TMusicStaff* staff = score.GetStaff(activeStaff);
  if (!staff) return;
  if (const TNotatedItem* earlier = FindEarlierLike(score, activeStaff, caret, item)) {
    const auto* from = ItemAs<TNtnGeneralExpression>(earlier);
    auto* to = ItemAs<TNtnGeneralExpression>(&item);
    if (from && to)
      to->SetPos(from->GetPos());  // keeps the hundredths
    else
      item.SetStaffPos(earlier->GetStaffPos());
    return;
  }
  PlaceByDefault(item, *staff, caret);
}

}  // namespace kvt
