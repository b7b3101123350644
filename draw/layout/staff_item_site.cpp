#include "draw/layout/staff_item_site.h"

#include <algorithm>
#include <climits>

#include "draw/layout/score_draw_info.h"
#include "draw/music_fonts.h"
#include "notation/context/staff_context_state.h"
#include "notation/index/simple_ntn_idx.h"
#include "notation/items/bar_line_data.h"
#include "notation/items/clef_data.h"
#include "notation/items/item_cast.h"
#include "notation/staff/music_staff.h"

namespace kvt {

namespace {
int ClampToInt(int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, INT_MIN, INT_MAX)); }

bool IsSongOrRest(const TNotatedItem* item) {
  return item && (item->IsSongNoteClass() || item->GetType() == kItemMultiBarRest);
}
}  // namespace

TStaffItemSite::TStaffItemSite(TScoreDrawInfo& score, TStaffDrawInfo& layout)
    : score(&score), layout(&layout), slot(layout.GetSlot()) {}

TMusicFonts& TStaffItemSite::Fonts() { return score->Fonts(); }
int TStaffItemSite::DrawMode() const { return score->GetDrawMode(); }
bool TStaffItemSite::IsActiveStaff() const { return score->GetActiveStaff() == slot; }
int TStaffItemSite::StaffColor() const {
  return layout->GetStaff() ? layout->GetStaff()->GetColor() : 0;
}
bool TStaffItemSite::IsFirstStaff() const { return slot == 0; }
int TStaffItemSite::TopLinePosition() const {
  return layout->GetStaff() ? layout->GetStaff()->GetTopLinePosition() : 0;
}
int TStaffItemSite::BottomLinePosition() const {
  return layout->GetStaff() ? layout->GetStaff()->GetBottomLinePosition() : 0;
}
int TStaffItemSite::UpperExtent() const { return score->GetStack(slot).upper; }
int TStaffItemSite::LowerExtent() const { return score->GetStack(slot).lower; }
bool TStaffItemSite::ConnectsAbove() const {
  return (score->GetStack(slot).connectBits & kJoinedToPrevious) != 0;
}
bool TStaffItemSite::ConnectsBelow() const {
  return (score->GetStack(slot).connectBits & kJoinedToNext) != 0;
}
int TStaffItemSite::LineCount() const {
  return layout->GetStaff() ? layout->GetStaff()->GetLines() : 0;
}
int TStaffItemSite::LastItemIndex() const {
  return layout->GetStaff() ? layout->GetStaff()->GetLastIndex() : -1;
}

const TNotatedItem* TStaffItemSite::ItemAt(int itemIndex) const {
  return layout->GetStaff() ? layout->GetStaff()->GetItem(itemIndex) : nullptr;
}

const TStaffDrawPos* TStaffItemSite::DrawPosAt(int pos) const { return layout->PositionAt(pos); }

int TStaffItemSite::Count() const { return layout->GetDrawPosCount(); }

int64_t TStaffItemSite::X(int pos) const { return layout->XOfPosition(pos); }

int TStaffItemSite::FindBar(int pos, int step) const {
  for (int n = pos + step; n >= 0 && n < Count(); n += step) {
    if (layout->PositionAt(n)->GetKind() == kDrawBarLine) return n;
  }
  return -1;
}

int TStaffItemSite::DistanceToBar(int pos, bool forward, int edge) {
  const int bar = FindBar(pos, forward ? 1 : -1);
  if (bar < 0) return forward ? ClampToInt(X(Count()) - X(pos)) : ClampToInt(-X(pos));
  int64_t x = X(bar);
  if (edge == 1) {
    const auto* item = ItemAs<TBarLineData>(ItemAt(layout->PositionAt(bar)->GetItemIndex()));
    x += Fonts().GetBarLineWidth(item ? item->GetStyle() : kBarSingle);
  }
  return ClampToInt(x - X(pos));
}

int TStaffItemSite::DistanceToPaddedNeighbour(int pos, bool forward) {
  if (forward) {
    const int bar = FindBar(pos, 1);
    return ClampToInt((bar < 0 ? X(Count()) : X(bar)) - X(pos));
  }
  const int bar = FindBar(pos, -1);
  if (bar < 0) return ClampToInt(-X(pos));
  return ClampToInt(X(bar) + layout->PositionAt(bar)->GetWidth() - X(pos));
}

int TStaffItemSite::RunWidth(int pos) {
  const TStaffDrawPos* first = DrawPosAt(pos);
  if (!first) return 0;
  int64_t width = 0;
  for (int n = pos; n < Count(); ++n) {
    const TStaffDrawPos* p = DrawPosAt(n);
    if (n > pos && (!p->IsMultiBarRest() || p->GetItemIndex() != first->GetItemIndex())) break;
    width += p->GetWidth();
  }
  return ClampToInt(width);
}

int TStaffItemSite::CountRestPositions(int pos) {
  const TStaffDrawPos* first = DrawPosAt(pos);
  if (!first || !first->IsMultiBarRest()) return 0;
  int count = 0;
  for (int n = pos; n < Count(); ++n) {
    const TStaffDrawPos* p = DrawPosAt(n);
    if (!p->IsMultiBarRest() || p->GetItemIndex() != first->GetItemIndex()) break;
    ++count;
  }
  return count;
}

int TStaffItemSite::AnchorOffset(int pos, int justification) {
  for (int n = pos + 1; n < Count(); ++n) {
    const TStaffDrawPos* p = DrawPosAt(n);
    if (p->GetKind() != kDrawNote) continue;
    const int head = Fonts().GetGlyphWidth(kGlyphFilledHead);
    const int anchor = justification == 1 ? head / 2 : justification == 2 ? head : 0;
    return ClampToInt(X(n) + layout->GetLeadWidth(*p) + anchor - X(pos));
  }
  return 0;
}

bool TStaffItemSite::ClefAfterNoteInBar(int pos) {
  const TStaffDrawPos* p = DrawPosAt(pos);
  if (!p || p->IsAutoInsert()) return false;
  for (int i = p->GetItemIndex() - 1; i >= 0; --i) {
    const TNotatedItem* item = ItemAt(i);
    if (!item || item->GetType() == kItemBarLine) return false;
    if (IsSongOrRest(item)) return true;
  }
  return false;
}

int TStaffItemSite::GetClefAt(int pos) {
  const TStaffDrawPos* p = DrawPosAt(pos);
  for (int i = p ? p->GetItemIndex() : -1; i >= 0; --i) {
    if (const auto* clef = ItemAs<TClefData>(ItemAt(i))) return clef->GetClefType();
  }
  return kClefTreble;
}

bool TStaffItemSite::NoteSincePreviousBar(int pos) {
  for (int n = pos - 1; n > 0; --n) {
    const TStaffDrawPos* p = DrawPosAt(n);
    if (p->GetKind() == kDrawBarLine) return false;
    if (p->GetKind() == kDrawNote || p->IsMultiBarRest()) return true;
  }
  return false;
}

int TStaffItemSite::MeasureUserObject(int pos) {
  TStaffDrawPos* p = layout->GetDrawPosAt(pos);
  if (!p || !layout->GetStaff()) return 0;
  TSimpleNtnIdx index(layout->GetStaff(), p->GetItemIndex());
  return std::max(0, score->UserObjects().UserObjectWidth(index, *layout, *p));
}

void TStaffItemSite::DrawUserObject(int pos, int x) {
  TStaffDrawPos* p = layout->GetDrawPosAt(pos);
  if (!p || !layout->GetStaff()) return;
  TSimpleNtnIdx index(layout->GetStaff(), p->GetItemIndex());
  score->UserObjects().UserObjectDraw(index, *layout, *p, x);
}

}  // namespace kvt
