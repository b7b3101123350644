#include "draw/layout/tuplet_brackets.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

#include "draw/items/song_note_metrics.h"
#include "draw/layout/slur_layout.h"
#include "draw/layout/staff_draw_info.h"
#include "draw/music_fonts.h"
#include "notation/index/simple_ntn_idx.h"
#include "notation/items/item_cast.h"
#include "notation/items/music_note.h"
#include "notation/items/notation_marker.h"
#include "notation/staff/music_staff.h"

namespace kvt {

namespace {

constexpr double kMaxBracketSlope = 0.25;
constexpr int kBracketOutsidePosition = 6;

int ClampToInt(double v) {
  if (!std::isfinite(v)) return 0;
  return static_cast<int>(std::clamp(std::trunc(v), static_cast<double>(INT_MIN), static_cast<double>(INT_MAX)));
}

const TNotationMarker* MarkerAt(TStaffDrawInfo& layout, int n) {
  const int m = layout.FindMarkerBefore(n, 2);
  if (m < 0) return nullptr;
  return ItemAs<TNotationMarker>(layout.GetStaff()->GetItem(layout.PositionAt(m)->GetItemIndex()));
}

int GroupEnd(TMusicStaff* staff, int firstItem, bool grace, int kind) {
  TSimpleNtnIdx end(staff, firstItem);
  if (!end.GoToGroupEnd(grace, kind, 1)) return -1;
  return end.GetIndex();
}

}  // namespace

bool IsTripletOnBeam(TStaffDrawInfo& layout, int firstItem, bool grace) {
  TMusicStaff* staff = layout.GetStaff();
  const auto* song = staff ? ItemAs<TSongNote>(staff->GetItem(firstItem)) : nullptr;
  if (!song || song->GetBeamState() != kGroupFirst || song->GetTripletState() != kGroupFirst) return false;
  const int beamEnd = GroupEnd(staff, firstItem, grace, kGroupBeam);
  return beamEnd >= 0 && beamEnd == GroupEnd(staff, firstItem, grace, kGroupTriplet);
}

int TupletClearanceY(TStaffDrawInfo& layout, int n, int x, int direction) {
  const TStaffDrawPos* pos = layout.PositionAt(n);
  TMusicStaff* staff = layout.GetStaff();
  const auto* song = pos && staff ? ItemAs<TSongNote>(staff->GetItem(pos->GetItemIndex())) : nullptr;
  if (!song) return 0;
  if (const TNotationMarker* marker = MarkerAt(layout, n)) return layout.PositionToY(marker->GetPos());
  const int d = direction > 0 ? 1 : -1;
  const double step = layout.Metrics().Space() / 2.0 * (song->IsGrace() ? 2.0 / 3.0 : 1.0);
  // Outermost y so far in the direction (above: the smallest).
  double y = layout.PositionToY(static_cast<float>(d > 0 ? song->GetTopPos() : song->GetBottomPos()));
  auto keep = [&](double candidate) { y = d > 0 ? std::min(y, candidate) : std::max(y, candidate); };
  for (int i = 0; i < layout.Slurs().Count(); ++i) {
    const TStaffSlur& slur = layout.Slurs().At(i);
    if (slur.IsBelow() == (d < 0) && slur.curve.ContainsX(x)) keep(slur.curve.YAtX(x));
  }
  if (const TMusicNote* notes = NotesOf(*song)) {
    const int stemDir = notes->GetStemDir() > 0 ? 1 : -1;
    if (stemDir == d && notes->IsStemShown() && notes->GetDurationCode() > kDurWhole) {
      if (const TStaffConnect* beam = layout.Beams().FindCovering(song->IsGrace() ? 1 : 0, pos->GetItemIndex())) {
        keep(beam->LineYAt(x));
      } else if (const TMusicNote* end = notes->GetStemEndNote(stemDir)) {
        keep(layout.PositionToY(static_cast<float>(end->GetStaffPos())) - d * CalcStemLength(*notes) * step);
      }
    }
    const bool articulationsUp = notes->GetArticulationsOnStem() ? stemDir > 0 : stemDir < 0;
    if (song->HasArticulation() && articulationsUp == (d > 0)) keep(y - d * (2 * song->GetArticulationCount() + 1) * step);
  }
  return ClampToInt(y - d * 3 * step);
}

bool ComputeTupletBracket(TStaffDrawInfo& layout, TStaffConnect& out, int n, int x) {
  const TStaffDrawPos* first = layout.PositionAt(n);
  TMusicStaff* staff = layout.GetStaff();
  const auto* song = first && staff ? ItemAs<TSongNote>(staff->GetItem(first->GetItemIndex())) : nullptr;
  if (!song || !song->IsTriplet()) return false;
  const bool grace = song->IsGrace();
  const int lastItem = GroupEnd(staff, first->GetItemIndex(), grace, kGroupTriplet);
  if (lastItem < 0) return false;
  const int lastPos = layout.FindDrawPosOfItem(lastItem);
  const TNotationMarker* firstMarker = MarkerAt(layout, n);
  const TNotationMarker* lastMarker = lastPos > 0 ? MarkerAt(layout, lastPos) : nullptr;
  const bool bothMarkers = firstMarker && lastMarker;
  if (!bothMarkers && IsTripletOnBeam(layout, first->GetItemIndex(), grace)) return false;

  int d = 1;
  if (const TMusicNote* notes = NotesOf(*song)) d = notes->GetStemDir() > 0 ? 1 : -1;
  if (firstMarker) d = firstMarker->GetPos() < song->GetStaffPos() ? 1 : -1;
  const double step = layout.Metrics().Space() / 2.0 * (grace ? 2.0 / 3.0 : 1.0);

  const int64_t x0 = layout.XOfPosition(n);
  struct TPoint {
    int n;
    double x;
    bool note;
  };
  std::vector<TPoint> points;
  bool hidden = true;
  bool reached = false;
  for (int i = n; i < layout.GetDrawPosCount(); ++i) {
    const TStaffDrawPos& pos = *layout.PositionAt(i);
    if (pos.GetItemIndex() > lastItem) break;
    if (pos.GetKind() != kDrawNote && pos.GetKind() != kDrawGraceNote) continue;
    const auto* s = ItemAs<TSongNote>(staff->GetItem(pos.GetItemIndex()));
    if (!s || s->IsGrace() != grace) continue;
    if (pos.IsHidden() && !layout.ShowsHiddenItems()) continue;
    if (!pos.IsHidden()) hidden = false;
    points.push_back({i, static_cast<double>(x + (layout.XOfPosition(i) - x0)), NotesOf(*s) != nullptr});
    if (pos.GetItemIndex() == lastItem) reached = true;
  }
  if (points.size() < 2 || !reached || (hidden && !layout.ShowsHiddenItems())) return false;
  const double sx = points.front().x;
  double sy = TupletClearanceY(layout, points.front().n, ClampToInt(sx), d);
  const TPoint& lastPoint = points.back();
  const double ex = lastPoint.x + layout.GetFullWidth(lastPoint.n);
  double ey = TupletClearanceY(layout, lastPoint.n, ClampToInt(ex), d);
  if (ex <= sx) return false;

  if (!bothMarkers) {
    double allowed = kMaxBracketSlope;
    const bool notesAtEnds = points.front().note && lastPoint.note;
    if (notesAtEnds) {
      const auto* a = ItemAs<TSongNote>(staff->GetItem(first->GetItemIndex()));
      const auto* z = ItemAs<TSongNote>(staff->GetItem(layout.PositionAt(lastPoint.n)->GetItemIndex()));
      const int t = std::clamp(z->GetStaffPos() - a->GetStaffPos(), -2, 2);
      const int sign = ey > sy ? 1 : (ey < sy ? -1 : 0);
      if (sign != 0 && (t == 0 || sign != (t > 0 ? 1 : -1))) ey = sy + t * step;
    } else {
      int notes = 0;
      for (const TPoint& p : points) notes += p.note ? 1 : 0;
      if (notes < 2) allowed = 0;
    }
    // The movable end is the one nearer the notes (below for a bracket above).
    const bool endMoves = d > 0 ? ey >= sy : ey <= sy;
    double& movable = endMoves ? ey : sy;
    double& fixed = endMoves ? sy : ey;
    if (std::fabs(ey - sy) > allowed * (ex - sx)) movable = fixed + d * allowed * (ex - sx);
    // Keep every note clear.
    for (size_t i = 1; i < points.size(); ++i) {
      const double slope = (ey - sy) / (ex - sx);
      const double lineY = sy + (points[i].x - sx) * slope;
      const double need = TupletClearanceY(layout, points[i].n, ClampToInt(points[i].x), d);
      if (d > 0 ? lineY > need : lineY < need) {
        movable = need;
        if (d > 0 ? fixed > need : fixed < need) fixed = need;
      }
    }
  }
  // Outside the staff.
  const double limit = layout.PositionToY(static_cast<float>(d > 0 ? -kBracketOutsidePosition : kBracketOutsidePosition));
  const double nearer = d > 0 ? std::max(sy, ey) : std::min(sy, ey);
  if (d > 0 ? nearer > limit : nearer < limit) {
    sy += limit - nearer;
    ey += limit - nearer;
  }
  out = {};
  out.SetFlags(grace ? 1 : 0, d < 0, hidden);
  out.first = static_cast<uint16_t>(first->GetItemIndex());
  out.last = static_cast<uint16_t>(lastItem);
  out.startX = ClampToInt(sx);
  out.startY = ClampToInt(sy);
  out.endX = ClampToInt(ex);
  const double slope = (ey - sy) / (ex - sx);
  out.slope = std::isfinite(slope) ? static_cast<float>(slope) : 0.0f;
  return true;
}

void DrawTupletBracket(TMusicFonts& fonts, TStaffDrawInfo& layout, int n) {
  const TStaffDrawPos* first = layout.PositionAt(n);
  if (!first) return;
  const TStaffConnect* rec = layout.Brackets().FindByFirst(first->GetItemIndex());
  if (!rec || (rec->IsHidden() && !layout.ShowsHiddenItems())) return;
  const int staffColor = fonts.GetColorIndex();
  if (rec->IsHidden()) {
    fonts.SetColorIndex(layout.GetHost().GetActiveSlot() == layout.GetSlot() ? 6 : 7);
  } else if (const TNotationMarker* marker = MarkerAt(layout, n)) {
    fonts.SetItemColorIndex(marker->GetColor(), staffColor);
  }
  // The record holds the layout's y (within the system); the fonts draw on the page.
  const double dy = static_cast<double>(fonts.GetStaffOrigin()) - layout.GetStaffY();
  fonts.DrawTupletMark(rec->IsDown() ? -1 : 1, rec->GraceClass() == 1 ? 1 : 0, rec->startX,
                       ClampToInt(rec->startY + dy), rec->endX,
                       ClampToInt(rec->LineYAt(rec->endX) + dy), true);
  fonts.SetColorIndex(staffColor);
}

}  // namespace kvt
