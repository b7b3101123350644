#include "draw/layout/staff_item_site.h"

#include <algorithm>
#include <climits>

#include "draw/layout/lyric_band.h"
#include "draw/layout/score_draw_info.h"
#include "draw/music_fonts.h"
#include "notation/context/staff_context_state.h"
#include "notation/index/simple_ntn_idx.h"
#include "notation/items/bar_line_data.h"
#include "notation/items/clef_data.h"
#include "notation/items/item_cast.h"
#include "notation/staff/music_staff.h"

namespace kvt {

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

// The staff layout answers the distances itself; backward distances count negative here.
int TStaffItemSite::DistanceToBar(int pos, bool forward, int edge) {
  const int distance = layout->DistanceToBar(pos, forward ? 1 : -1, edge, false, false);
  return forward ? distance : -distance;
}

int TStaffItemSite::DistanceToPaddedNeighbour(int pos, bool forward) {
  const int distance = layout->DistanceToPaddedNeighbour(pos, forward ? 1 : -1);
  return forward ? distance : -distance;
}

int TStaffItemSite::RunWidth(int pos) { return layout->RunWidth(pos); }

int TStaffItemSite::CountRestPositions(int pos) { return layout->CountRestPositions(pos); }

int TStaffItemSite::AnchorOffset(int pos, int justification) {
  return layout->AnchorOffset(justification, pos);
}

bool TStaffItemSite::ClefAfterNoteInBar(int pos) { return layout->ClefAfterNoteInBar(pos); }

int TStaffItemSite::GetClefAt(int pos) { return layout->GetClefAt(pos, kClefTreble); }

bool TStaffItemSite::NoteSincePreviousBar(int pos) {
  for (int n = pos - 1; n > 0; --n) {
    const TStaffDrawPos* p = DrawPosAt(n);
    if (p->GetKind() == kDrawBarLine) return false;
    if (p->GetKind() == kDrawNote || p->IsMultiBarRest()) return true;
  }
  return false;
}

int TStaffItemSite::MeasureUserObject(int pos) {
  return std::max(0, layout->MeasureUserObject(pos));
}

void TStaffItemSite::DrawUserObject(int pos, int x) { layout->DrawUserObject(pos, x); }

float TStaffItemSite::ExpressionPosition(float position, float up, float down) {
  return ClearOfLyricBand(GetLyricBand(*score, slot), position, up, down, TopLinePosition(),
                          BottomLinePosition());
}

}  // namespace kvt
