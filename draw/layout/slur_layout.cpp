#include "draw/layout/slur_layout.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "draw/items/song_note_metrics.h"
#include "draw/layout/staff_draw_info.h"
#include "draw/music_fonts.h"
#include "notation/index/simple_ntn_idx.h"
#include "notation/items/item_cast.h"
#include "notation/items/music_note.h"
#include "notation/items/notation_marker.h"
#include "notation/items/rest_note.h"
#include "notation/staff/music_staff.h"

namespace kvt {

namespace {

int ClampToInt(double v) {
  if (!std::isfinite(v)) return 0;
  return static_cast<int>(std::clamp(std::trunc(v), static_cast<double>(INT_MIN), static_cast<double>(INT_MAX)));
}

bool IsSystemStartKind(int kind) {
  return kind == kDrawStaffStart || kind == kDrawClef || kind == kDrawKey || kind == kDrawTimeSig ||
         kind == kDrawBarLine || kind == kDrawSizer || kind == kDrawGap || kind == kDrawGapEnd || kind == kDrawEnding;
}

}  // namespace

TKVStaffSlurs::TKVStaffSlurs(int capacity) { slurs.reserve(static_cast<size_t>(std::clamp(capacity, 0, kMaxStaffSlurs))); }

bool TKVStaffSlurs::Append(const TStaffSlur& slur) {
  if (Count() >= kMaxStaffSlurs) return false;
  if (slurs.size() == slurs.capacity()) slurs.reserve(std::min<size_t>(slurs.capacity() + 16, kMaxStaffSlurs));
  slurs.push_back(slur);
  return true;
}

const TStaffSlur* TKVStaffSlurs::FindByFirst(int itemIndex) const {
  for (const TStaffSlur& s : slurs)
    if (s.first == itemIndex) return &s;
  return nullptr;
}

void TSlurPoints::Add(int x, int y) {
  if (Count() >= kMaxSlurPoints) {
    points.back() = {x, y};
    return;
  }
  points.push_back({x, y});
}

int SlurNotePoints(TStaffDrawInfo& layout, int n, int x, int direction, bool grace, int role, TSlurPoints& points) {
  const TStaffDrawPos* pos = layout.PositionAt(n);
  TMusicStaff* staff = layout.GetStaff();
  const auto* song = pos && staff ? ItemAs<TSongNote>(staff->GetItem(pos->GetItemIndex())) : nullptr;
  if (!song) return 0;
  const int d = direction > 0 ? 1 : -1;
  const double scale = grace ? 2.0 / 3.0 : 1.0;
  const double step = layout.Metrics().Space() / 2.0;
  const int size = SizeIndexOf(*song);
  const TLayoutMetrics& m = layout.Metrics();
  const int a = pos->GetAccidentalColumns();
  const TMusicNote* notes = NotesOf(*song);
  // A grace slur ending on a normal note ends low and close.
  const bool graceOntoNormal = grace && !song->IsGrace() && role == 2;
  if (!notes) {
    const int w = m.GlyphWidth(size, kGlyphFirstRest + song->GetDurationCode());
    const int outer = d > 0 ? song->GetTopPos() : song->GetBottomPos();
    const double y = layout.PositionToY(static_cast<float>(outer)) - (graceOntoNormal ? 0 : d * 2 * step);
    points.Add(x + SongNoteHeadX(*song, a, m) + w / 2, ClampToInt(y));
    return 1;
  }
  const int stemDir = notes->GetStemDir() > 0 ? 1 : -1;
  const TMusicNote* member = d > 0 ? notes->GetLastNote() : notes->GetFirstNote();
  if (!member) return 0;
  const int w = m.GlyphWidth(size, notes->GetNoteHeadSymbol());
  const bool stemSide = d == stemDir || notes->HasSplitStem();
  const bool attach = stemSide && ((role == 1 && notes->IsBeamed() && notes->GetBeamState() != kGroupEnd) ||
                                   (role == 2 && notes->IsBeamed() && notes->GetBeamState() != kGroupFirst));
  const int stemX = x + SongNoteStemX(*song, a, 0, m);
  int px = 0;
  if (graceOntoNormal) {
    px = x + std::max(1, SongNoteHeadX(*song, a, m) - 1);
  } else if (!stemSide) {
    px = stemDir > 0 ? stemX - w / 2 : stemX + w / 2;
  } else if (role == 1) {
    const bool flagged = !notes->IsBeamed() && notes->GetFlagCount() > 0;
    px = stemX + (d > 0 ? w / 5 + 1 : flagged ? 2 * w / 3 + 1 : w / 2);
  } else if (role == 2) {
    px = stemX - (d < 0 ? w / 5 + 1 : w / 2);
  } else {
    px = stemX;
  }
  int added = 0;
  // Accidental clearance at the end note of a normal slur.
  const int acc = member->GetRawAccidental();
  if (role == 2 && !grace && !member->IsTieIn() && acc != kAccNone) {
    const int steps = (acc == kAccFlat || acc == kAccDoubleFlat) ? (d > 0 ? 5 : 3) : 3;
    points.Add(px - w, ClampToInt(layout.PositionToY(static_cast<float>(member->GetStaffPos())) - d * steps * step));
    ++added;
  }
  double headY = layout.PositionToY(static_cast<float>(member->GetStaffPos()));
  double y = headY;
  if (stemSide && notes->IsStemShown() && notes->GetDurationCode() > kDurWhole) {
    double stemEnd = headY - stemDir * CalcStemLength(*notes) * step * (song->IsGrace() ? 2.0 / 3.0 : 1.0);
    if (notes->IsBeamed())
      if (const TStaffConnect* beam = layout.Beams().FindCovering(song->IsGrace() ? 1 : 0, pos->GetItemIndex()))
        stemEnd = beam->LineYAt(stemX);
    y = attach ? (headY + stemEnd) / 2 : stemEnd;
  }
  double offset = 0;
  if (!attach) {
    if (graceOntoNormal) {
      offset = 1;
    } else if (role != 0) {
      offset = 1.75;
    } else {
      offset = 2.25;
      const bool articulationsUp = notes->GetArticulationsOnStem() ? stemDir > 0 : stemDir < 0;
      if (song->HasArticulation() && articulationsUp == (d > 0)) offset += 2 * song->GetArticulationCount() + 1;
    }
  }
  points.Add(px, ClampToInt(y - d * offset * step * scale));
  return added + 1;
}

int SlurExpressionPoint(TStaffDrawInfo& layout, int n, int x, int direction, TSlurPoints& points) {
  const TStaffDrawPos* pos = layout.PositionAt(n);
  TMusicStaff* staff = layout.GetStaff();
  const TNotatedItem* item = pos && staff ? staff->GetItem(pos->GetItemIndex()) : nullptr;
  if (!item || !item->IsExpressionClass() || pos->IsHidden()) return 0;
  const int d = direction > 0 ? 1 : -1;
  const int outer = d > 0 ? item->GetTopPos() - 1 : item->GetBottomPos() + 1;
  points.Add(x + layout.GetFullWidth(n) / 2, layout.PositionToY(static_cast<float>(outer)));
  return 1;
}

bool ComputeSlur(TStaffDrawInfo& layout, TStaffSlur& out, int n, int x) {
  const TStaffDrawPos* fpos = layout.PositionAt(n);
  TMusicStaff* staff = layout.GetStaff();
  const auto* first = fpos && staff ? ItemAs<TSongNote>(staff->GetItem(fpos->GetItemIndex())) : nullptr;
  if (!first) return false;
  const bool grace = first->IsGrace();
  TSimpleNtnIdx start(staff, fpos->GetItemIndex());
  if (first->IsSlurIn()) start.FindSlurEnd(-1);
  const TSongNote* starter = start.GetSongNote() ? start.GetSongNote() : first;
  const int d = starter->IsSlurDown() ? -1 : 1;
  int color = 0;
  bool markerHidden = false;
  {
    TSimpleNtnIdx marker = start;
    if (marker.FindMarkerFor(kMarkerSlur))
      if (const TNotatedItem* m = marker.GetItem()) {
        color = m->GetColor();
        markerHidden = m->GetVisibility() != kVisDefault && !layout.IsItemVisible(*m);
      }
  }
  TSimpleNtnIdx end = start;
  const int endItem = end.FindSlurEnd(1) ? end.GetIndex() : INT_MAX;
  const TLayoutMetrics& m = layout.Metrics();
  const int unit = m.UnitWidth();
  const int64_t x0 = layout.XOfPosition(n);
  auto xOf = [&](int i) { return ClampToInt(static_cast<double>(x + (layout.XOfPosition(i) - x0))); };

  TSlurPoints points;
  int i = n;
  bool reachedEnd = false;
  for (; i < layout.GetDrawPosCount(); ++i) {
    const TStaffDrawPos& pos = *layout.PositionAt(i);
    if (pos.GetItemIndex() > endItem) break;
    const int kind = pos.GetKind();
    if (kind == kDrawNote || kind == kDrawGraceNote) {
      const int role = i == n ? 1 : (pos.GetItemIndex() == endItem ? 2 : 0);
      const int markerAt = layout.FindMarkerBefore(i, 1);
      const auto* marker =
          markerAt > 0
              ? ItemAs<TNotationMarker>(staff->GetItem(layout.PositionAt(markerAt)->GetItemIndex()))
              : nullptr;
      if (marker) {
        // A slur marker just before the note places the curve's point there: one point at
        // the marker's height, at the x of the note's last point.
        TSlurPoints own;
        if (SlurNotePoints(layout, i, xOf(i), d, grace, role, own) > 0)
          points.Add(own.Points().back().x, layout.PositionToY(marker->GetPos()));
      } else {
        SlurNotePoints(layout, i, xOf(i), d, grace, role, points);
      }
      if (role == 2) {
        reachedEnd = true;
        break;
      }
    } else if (points.Count() > 0) {
      SlurExpressionPoint(layout, i, xOf(i), d, points);
    }
  }
  if (points.Count() == 0) return false;
  if (starter != first) {
    // Entering the system: a lead-in from just after the system-start items.
    int k = n - 1;
    while (k > 0 && !IsSystemStartKind(layout.PositionAt(k)->GetKind())) --k;
    const int64_t span = layout.XOfPosition(n) - layout.XOfPosition(k) - layout.GetFullWidth(k) - unit / 2;
    const int lead = static_cast<int>(std::max<int64_t>(span, unit));
    std::vector<TDcPoint> withLead;
    withLead.push_back({points.Points().front().x - lead, points.Points().front().y});
    TSlurPoints again;
    again.Add(withLead[0].x, withLead[0].y);
    for (const TDcPoint& p : points.Points()) again.Add(p.x, p.y);
    points = again;
  }
  if (!reachedEnd) points.Add(xOf(layout.GetDrawPosCount()), points.Points().back().y);
  const bool hidden = fpos->IsHidden() || markerHidden;
  if (points.Count() < 2 || (hidden && !layout.ShowsHiddenItems())) return false;

  out = {};
  out.flags = static_cast<uint16_t>((grace ? 1 : 0) | (d < 0 ? 0x10 : 0) | (hidden ? 0x40 : 0) | ((color & 0xFF) << 7));
  out.first = static_cast<uint16_t>(fpos->GetItemIndex());
  out.last = static_cast<uint16_t>(std::min(endItem, 0xFFFF));
  const int space = m.Space();
  const std::vector<TDcPoint>& pts = points.Points();
  const double w = static_cast<double>(pts.back().x) - pts.front().x;
  const double ratio = w / std::max(1, unit);
  int height = space;
  if (ratio >= 26) height = space * 9 / 4;
  else if (ratio > 10) height = 2 * space;
  else if (ratio > 5) height = space * 3 / 2;
  out.curve.FitOver(pts, height, d);
  // A curve that bulges far beyond its points is fitted again with the apex side's end
  // raised to the outermost point.
  const TDcPoint apex = out.curve.PointAt(0.5);
  int outer = pts.front().y;
  for (const TDcPoint& p : pts) outer = d > 0 ? std::min(outer, p.y) : std::max(outer, p.y);
  if (static_cast<int64_t>(d) * (static_cast<int64_t>(outer) - apex.y) >= 3 * static_cast<int64_t>(space)) {
    std::vector<TDcPoint> refit = pts;
    const double middle = (static_cast<double>(pts.front().x) + pts.back().x) / 2;
    (apex.x > middle ? refit.back() : refit.front()).y = outer;
    out.curve = {};
    out.curve.FitOver(refit, height, d);
  }
  return true;
}

void DrawSlurs(TMusicFonts& fonts, TStaffDrawInfo& layout, int leftX, int rightX) {
  const int staffColor = fonts.GetColorIndex();
  const int hiddenColor = layout.GetHost().GetActiveSlot() == layout.GetSlot() ? 6 : 7;
  const int64_t dy = static_cast<int64_t>(fonts.GetStaffOrigin()) - layout.GetStaffY();
  for (int i = 0; i < layout.Slurs().Count(); ++i) {
    const TStaffSlur& slur = layout.Slurs().At(i);
    if (std::max(slur.curve.sx, slur.curve.ex) < leftX || std::min(slur.curve.sx, slur.curve.ex) > rightX) continue;
    if (slur.IsHidden()) {
      if (!layout.ShowsHiddenItems()) continue;
      fonts.SetColorIndex(hiddenColor);
    } else {
      fonts.SetItemColorIndex(slur.ColorIndex(), staffColor);
    }
    // The record holds the layout's y (within the system); the fonts draw on the page.
    TQuadCurve curve = slur.curve;
    curve.sy = ClampToInt(static_cast<double>(curve.sy) + dy);
    curve.cy = ClampToInt(static_cast<double>(curve.cy) + dy);
    curve.ey = ClampToInt(static_cast<double>(curve.ey) + dy);
    fonts.DrawSlurCurve(curve, slur.IsBelow(), slur.IsGrace());
  }
  fonts.SetColorIndex(staffColor);
}

}  // namespace kvt
