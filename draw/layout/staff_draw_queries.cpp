// TStaffDrawInfo: the questions the item drawing asks of a laid-out staff.

#include <algorithm>
#include <climits>

#include "draw/items/song_note_metrics.h"
#include "draw/layout/staff_draw_info.h"
#include "draw/user_object_draw_host.h"
#include "notation/index/simple_ntn_idx.h"
#include "notation/items/bar_line_data.h"
#include "notation/items/chord_data.h"
#include "notation/items/clef_data.h"
#include "notation/items/item_cast.h"
#include "notation/items/multi_measure_rest.h"
#include "notation/items/music_note.h"
#include "notation/items/notation_marker.h"
#include "notation/items/rest_note.h"
#include "notation/items/user_object.h"
#include "notation/staff/music_staff.h"

namespace kvt {

namespace {

int ClampToInt(int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, INT_MIN, INT_MAX)); }

}  // namespace

int TStaffDrawInfo::GetFullWidth(int n) {
  TStaffDrawPos* pos = PositionForMeasure(n);
  const TNotatedItem* item = pos && staff ? staff->GetItem(pos->GetItemIndex()) : nullptr;
  if (!item || pos->IsStaffStart()) return 0;
  if (const auto* song = ItemAs<TSongNote>(item)) return SongNoteWidth(*song, pos->GetAccidentalColumns(), Metrics());
  return MeasureItem(*pos, *item);
}

int TStaffDrawInfo::GetTailWidth(int n) const {
  const TStaffDrawPos* pos = PositionAt(n);
  return pos ? pos->GetWidth() - GetLeadWidth(*pos) : 0;
}

int TStaffDrawInfo::GetDrawnWidth(int n) {
  TStaffDrawPos* pos = PositionForMeasure(n);
  const TNotatedItem* item = pos && staff ? staff->GetItem(pos->GetItemIndex()) : nullptr;
  if (!item || pos->IsStaffStart()) return pos ? pos->GetWidth() : 0;
  return std::max(pos->GetWidth(), MeasureItem(*pos, *item));
}

int TStaffDrawInfo::ItemIndexToDrawnX(int itemIndex) const {
  const int n = FindDrawPosOfItem(itemIndex);
  if (n < 0) return ItemIndexToX(itemIndex);
  return ClampToInt(static_cast<int64_t>(XOfPosition(n)) + GetLeadWidth(positions[static_cast<size_t>(n)]));
}

int TStaffDrawInfo::NextNotePosition(int n) const {
  for (int i = std::max(n + 1, 1); i < GetDrawPosCount(); ++i)
    if (positions[static_cast<size_t>(i)].GetKind() == kDrawNote) return i;
  return -1;
}

int64_t TStaffDrawInfo::TimeSlotAt(int n) const {
  int64_t t = 0;
  for (int i = 0; i < std::min(n, GetDrawPosCount()); ++i) t += positions[static_cast<size_t>(i)].GetTimeSlots();
  return t;
}

int64_t TStaffDrawInfo::XToTimeSlot(int x) const {
  int64_t left = 0;
  int64_t t = 0;
  for (int i = 0; i < GetDrawPosCount(); ++i) {
    const TStaffDrawPos& p = positions[static_cast<size_t>(i)];
    if (i > 0 && left + p.GetWidth() > x) return t;
    left += p.GetWidth();
    t += p.GetTimeSlots();
  }
  return t;
}

int TStaffDrawInfo::ItemAtTimeSlot(int64_t ticks) const {
  int64_t t = GetDrawPosCount() > 0 ? positions[0].GetTimeSlots() : 0;
  for (int i = 1; i < GetDrawPosCount(); ++i) {
    if (t >= ticks && IsCaretStop(positions[static_cast<size_t>(i)])) return i;
    t += positions[static_cast<size_t>(i)].GetTimeSlots();
  }
  return -1;
}

int64_t TStaffDrawInfo::TimeSlotOfItem(int itemIndex) const {
  const int n = FindDrawPosOfItem(itemIndex);
  return n < 0 ? -1 : TimeSlotAt(n);
}

bool TStaffDrawInfo::HitTestMember(int x, int y, int& itemIndex, int& member) {
  itemIndex = -1;
  member = 0;
  int64_t left = 0;
  for (int n = 0; n < GetDrawPosCount(); ++n) {
    const TStaffDrawPos& pos = positions[static_cast<size_t>(n)];
    const auto* note = staff && n > 0 ? ItemAs<TMusicNote>(staff->GetItem(pos.GetItemIndex())) : nullptr;
    if (note && !pos.IsAutoInsert()) {
      const int size = SizeIndexOf(*note);
      const int w = Metrics().GlyphWidth(size, note->GetNoteHeadSymbol());
      const int64_t headX = left + SongNoteHeadX(*note, pos.GetAccidentalColumns(), Metrics());
      for (int i = 0; i < note->GetMemberCount(); ++i) {
        const TMusicNote* m = note->GetMember(i);
        const int64_t x0 = headX + static_cast<int64_t>(w) * m->GetHeadShift();
        const int y0 = PositionToY(static_cast<float>(m->GetStaffPos() - 1));
        const int y1 = PositionToY(static_cast<float>(m->GetStaffPos() + 1));
        if (x >= x0 && x < x0 + w && y >= y0 && y <= y1) {
          itemIndex = pos.GetItemIndex();
          member = i;
          return true;
        }
      }
    }
    left += pos.GetWidth();
  }
  return false;
}

int TStaffDrawInfo::DistanceToBar(int n, int direction, int edge, bool stopAtContext, bool countContinuations) {
  const int step = direction < 0 ? -1 : 1;
  const int64_t x = XOfPosition(n);
  for (int i = n + step; i > 0 && i < GetDrawPosCount(); i += step) {
    const TStaffDrawPos& p = positions[static_cast<size_t>(i)];
    if (stopAtContext && IsContextItem(p)) break;
    const bool bar = p.GetKind() == kDrawBarLine || (countContinuations && p.GetKind() == kDrawMultiBarRestContinuation);
    if (!bar) continue;
    const int64_t barX = XOfPosition(i);
    const int64_t width = p.IsHidden() ? 0 : GetFullWidth(i);
    int64_t target = 0;
    if (step > 0) {
      target = edge > 0 ? barX + width : barX;
    } else {
      target = edge < 0 ? barX : barX + width;
    }
    if (edge == 0 && !p.IsHidden()) {
      if (const auto* b = ItemAs<TBarLineData>(staff->GetItem(p.GetItemIndex()))) {
        if (step < 0 && b->IsRepeatOpen()) target += Metrics().RepeatDotOffset();
        if (step > 0 && b->IsRepeatClose()) target -= Metrics().RepeatDotOffset();
      }
    }
    return ClampToInt(step > 0 ? target - x : x - target);
  }
  // No bar line: to the end (or start) of the laid-out range.
  return ClampToInt(step > 0 ? GetTotalWidth() - x : x);
}

int TStaffDrawInfo::RunWidth(int n) const {
  const TStaffDrawPos* first = PositionAt(n);
  if (!first) return 0;
  int64_t w = first->GetWidth();
  for (int i = n + 1; i < GetDrawPosCount(); ++i) {
    const TStaffDrawPos& p = positions[static_cast<size_t>(i)];
    const bool same = p.GetItemIndex() == first->GetItemIndex();
    if (!same && (ShowsHiddenItems() || TakesDurationPadding(p))) break;
    w += p.GetWidth();
  }
  const int64_t cut = Metrics().UnitWidth() * 3 / 2;
  return ClampToInt(w > cut ? w - cut : w);
}

int TStaffDrawInfo::DistanceToPaddedNeighbour(int n, int direction) {
  const int64_t x = XOfPosition(n);
  if (direction > 0) {
    for (int i = n + 1; i < GetDrawPosCount(); ++i)
      if (TakesDurationPadding(positions[static_cast<size_t>(i)])) return ClampToInt(XOfPosition(i) - x);
    return ClampToInt(GetTotalWidth() - x);
  }
  for (int i = n - 1; i > 0; --i) {
    const TStaffDrawPos& p = positions[static_cast<size_t>(i)];
    if (!TakesDurationPadding(p)) continue;
    if (p.GetKind() != kDrawBarLine && p.GetKind() != kDrawMultiBarRestContinuation) return 0;
    return ClampToInt(x - XOfPosition(i) - GetDrawnWidth(i));
  }
  return 0;
}

int TStaffDrawInfo::AnchorOffset(int anchor, int n) {
  const int64_t x = XOfPosition(n);
  for (int i = n; i < GetDrawPosCount(); ++i) {
    TStaffDrawPos& p = positions[static_cast<size_t>(i)];
    const int kind = p.GetKind();
    const TNotatedItem* item = staff->GetItem(p.GetItemIndex());
    const int64_t at = XOfPosition(i) - x;
    if (kind == kDrawBarLine) {
      const int w = GetFullWidth(i);
      return ClampToInt(at + (anchor == 0 ? 0 : anchor == 1 ? w / 2 : w));
    }
    const auto* rest = ItemAs<TRestNote>(item);
    const bool centred = !ShowsHiddenItems() && (kind == kDrawMultiBarRest || (rest && rest->HasTickLength()));
    if (centred && (kind == kDrawMultiBarRest || kind == kDrawNote)) {
      const int64_t middle = XOfPosition(i) + (DistanceToPaddedNeighbour(i, 1) - DistanceToPaddedNeighbour(i, -1)) / 2;
      const int half = Metrics().GlyphWidth(0, kGlyphFirstRest) / 2;
      return ClampToInt(middle - x + (anchor == 0 ? -half : anchor == 2 ? half : 0));
    }
    if (kind == kDrawNote) {
      const auto* song = ItemAs<TSongNote>(item);
      const int size = SizeIndexOf(*song);
      const int head = SongNoteHeadX(*song, p.GetAccidentalColumns(), Metrics());
      int w = rest ? Metrics().GlyphWidth(size, kGlyphFirstRest + song->GetDurationCode())
                   : Metrics().GlyphWidth(size, HeadGlyphOf(*item)) * std::max(1, song->GetHeadColumns());
      if (anchor == 1) w /= 2;
      return ClampToInt(at + head + (anchor == 0 ? 0 : w));
    }
  }
  return 0;
}

bool TStaffDrawInfo::ClefAfterNoteInBar(int n) const {
  const TStaffDrawPos* p = PositionAt(n);
  return p && p->GetKind() == kDrawClef && GetAlignClass(*p, staff) == 0 && !p->IsHidden();
}

int TStaffDrawInfo::GetClefAt(int n, int defaultClef) const {
  for (int i = std::min(n, GetDrawPosCount() - 1); i > 0; --i) {
    const TStaffDrawPos& p = positions[static_cast<size_t>(i)];
    if (p.GetKind() == kDrawClef)
      if (const auto* clef = ItemAs<TClefData>(staff->GetItem(p.GetItemIndex()))) return clef->GetClefType();
  }
  // Otherwise the clef in force at the next caret stop: the last clef item before it.
  for (int i = std::max(n, 1); i < GetDrawPosCount(); ++i) {
    if (!IsCaretStop(positions[static_cast<size_t>(i)])) continue;
    for (int k = positions[static_cast<size_t>(i)].GetItemIndex(); k >= 0; --k)
      if (const auto* clef = ItemAs<TClefData>(staff->GetItem(k))) return clef->GetClefType();
    break;
  }
  return defaultClef;
}

int TStaffDrawInfo::FindMarkerBefore(int n, int target) const {
  const int bit = target == 0 ? kMarkerArticulation : target == 1 ? kMarkerSlur : kMarkerTriplet;
  for (int i = n - 1; i > 0; --i) {
    const TStaffDrawPos& p = positions[static_cast<size_t>(i)];
    const int kind = p.GetKind();
    if (kind == kDrawNote || kind == kDrawGraceNote || kind == kDrawMultiBarRest || kind == kDrawBarLine ||
        kind == kDrawMultiBarRestContinuation)
      return -1;
    if (kind != kDrawMarker) continue;
    if (const auto* marker = ItemAs<TNotationMarker>(staff->GetItem(p.GetItemIndex()));
        marker && (marker->GetTarget() & bit))
      return i;
  }
  return -1;
}

int TStaffDrawInfo::FindRestStart(int n) const {
  const TStaffDrawPos* p = PositionAt(n);
  if (!p || !p->IsMultiBarRest()) return -1;
  int i = n;
  while (i > 1 && positions[static_cast<size_t>(i - 1)].IsMultiBarRest() &&
         positions[static_cast<size_t>(i - 1)].GetItemIndex() == p->GetItemIndex())
    --i;
  return i;
}

int TStaffDrawInfo::CountRestPositions(int n) const {
  const int first = FindRestStart(n);
  if (first < 0) return 0;
  const int item = positions[static_cast<size_t>(first)].GetItemIndex();
  int count = 0;
  for (int i = first; i < GetDrawPosCount(); ++i) {
    const TStaffDrawPos& p = positions[static_cast<size_t>(i)];
    if (!p.IsMultiBarRest() || p.GetItemIndex() != item) break;
    if (p.GetKind() == kDrawMultiBarRest) ++count;
  }
  return count;
}

bool TStaffDrawInfo::FollowedByVisibleSpacer(int n) const {
  const TStaffDrawPos* next = PositionAt(n + 1);
  return next && !next->IsHidden() && next->GetKind() == kDrawSpacer;
}

int TStaffDrawInfo::MeasureUserObject(int n) {
  TStaffDrawPos* p = PositionForMeasure(n);
  if (!p || !staff || !ItemAs<TKVTUserObject>(staff->GetItem(p->GetItemIndex()))) return 0;
  TSimpleNtnIdx idx(staff, p->GetItemIndex());
  return std::max(0, host->UserObjects().UserObjectWidth(idx, *this, *p));
}

void TStaffDrawInfo::DrawUserObject(int n, int x) {
  TStaffDrawPos* p = PositionForMeasure(n);
  if (!p || !staff || !ItemAs<TKVTUserObject>(staff->GetItem(p->GetItemIndex()))) return;
  TSimpleNtnIdx idx(staff, p->GetItemIndex());
  host->UserObjects().UserObjectDraw(idx, *this, *p, x);
}

const char16_t* TStaffDrawInfo::GetStaffLabel() const {
  if (!staff) return u"";
  const bool full = ShowsHiddenItems() || FirstPositionTimeless();
  return staff->GetLabel(full);
}

}  // namespace kvt

#include "notation/index/sd_ntn_idx.h"

namespace kvt {

void TStaffDrawInfo::FitBoundaries(bool& collapsed, int& upper, int& lower) {
  collapsed = true;
  if (!staff) return;
  int first = -1;
  int last = -1;
  for (int n = 1; n < GetDrawPosCount(); ++n) {
    if (!IsCaretStop(positions[static_cast<size_t>(n)])) continue;
    if (first < 0) first = positions[static_cast<size_t>(n)].GetItemIndex();
    last = positions[static_cast<size_t>(n)].GetItemIndex();
  }
  if (first < 0) return;
  TSDNtnIdx idx = BoundaryCursor(first);
  bool seen = false;
  for (;;) {
    const TNotatedItem* item = idx.GetItem();
    if (item && (item->IsSongNoteClass() || item->GetType() == kItemBarLine || item->GetType() == kItemMultiBarRest)) {
      if (!seen) {
        upper = idx.GetUpperSize();
        lower = idx.GetLowerSize();
        seen = true;
      } else {
        upper = std::max(upper, idx.GetUpperSize());
        lower = std::max(lower, idx.GetLowerSize());
      }
      if (!idx.IsCollapsed()) collapsed = false;
    }
    if (idx.GetIndex() >= last || !idx.Next()) break;
  }
  AddBoundaryPlace(idx);
}

}  // namespace kvt
