#include "draw/layout/beam_layout.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "draw/items/song_note_metrics.h"
#include "draw/layout/staff_draw_info.h"
#include "draw/layout/tuplet_brackets.h"
#include "draw/music_fonts.h"
#include "notation/index/simple_ntn_idx.h"
#include "notation/items/item_cast.h"
#include "notation/items/music_note.h"
#include "notation/items/notation_marker.h"
#include "notation/items/rest_note.h"
#include "notation/staff/music_staff.h"

namespace kvt {

namespace {

constexpr double kMaxBeamSlope = 0.5;
constexpr int kNoStemLength = 31;

int ClampToInt(double v) {
  if (!std::isfinite(v)) return 0;
  return static_cast<int>(std::clamp(std::trunc(v), static_cast<double>(INT_MIN), static_cast<double>(INT_MAX)));
}

struct TBeamNote {
  int n = 0;
  const TSongNote* item = nullptr;
  int stemX = 0;
  bool hidden = false;
};

struct TBeamGroup {
  bool grace = false;
  int lastItem = 0;
  bool hidden = true;
  std::vector<TBeamNote> notes;
  std::vector<TBeamNote> rests;
};

bool CollectGroup(TStaffDrawInfo& layout, int n, int x, TBeamGroup& g) {
  const TStaffDrawPos* first = layout.PositionAt(n);
  TMusicStaff* staff = layout.GetStaff();
  if (!first || !staff) return false;
  const auto* song = ItemAs<TSongNote>(staff->GetItem(first->GetItemIndex()));
  if (!song || !NotesOf(*song)) return false;
  g.grace = song->IsGrace();
  TSimpleNtnIdx end(staff, first->GetItemIndex());
  end.GoToGroupEnd(g.grace, kGroupBeam, 1);
  g.lastItem = std::max(end.GetIndex(), first->GetItemIndex());
  const int64_t x0 = layout.XOfPosition(n);
  for (int i = n; i < layout.GetDrawPosCount(); ++i) {
    const TStaffDrawPos& pos = *layout.PositionAt(i);
    if (pos.GetItemIndex() > g.lastItem) break;
    if (pos.GetKind() != kDrawNote && pos.GetKind() != kDrawGraceNote) continue;
    const auto* s = ItemAs<TSongNote>(staff->GetItem(pos.GetItemIndex()));
    if (!s || s->IsGrace() != g.grace) continue;
    if (pos.IsHidden() && !layout.ShowsHiddenItems()) continue;
    TBeamNote b;
    b.n = i;
    b.item = s;
    b.hidden = pos.IsHidden();
    const int64_t left = x + (layout.XOfPosition(i) - x0);
    if (!NotesOf(*s)) {
      b.stemX = ClampToInt(static_cast<double>(left));
      g.rests.push_back(b);
      continue;
    }
    b.stemX = ClampToInt(static_cast<double>(left + SongNoteStemX(*s, pos.GetAccidentalColumns(), 0, layout.Metrics())));
    if (!b.hidden && NotesOf(*s)->IsStemShown()) g.hidden = false;
    g.notes.push_back(b);
  }
  return !g.notes.empty();
}

bool HasExplicitLength(const TMusicNote& m) {
  return m.GetRawStemLength() != 0 && m.GetRawStemLength() != kNoStemLength;
}

// A triplet that is exactly this beam group, without markers at both ends, carries its
// number along the beam, 1.5 spaces beyond it (a marker at the first note sets the height).
void DrawTupletNumberOnBeam(TMusicFonts& fonts, TStaffDrawInfo& layout, const TStaffConnect& rec, int n, bool grace,
                            int staffColor, int hiddenColor) {
  if (!IsTripletOnBeam(layout, rec.first, grace)) return;
  const int lastPos = layout.FindDrawPosOfItem(rec.last);
  const int firstMarker = layout.FindMarkerBefore(n, 2);
  const int lastMarker = lastPos > 0 ? layout.FindMarkerBefore(lastPos, 2) : -1;
  if (firstMarker >= 0 && lastMarker >= 0) return;
  const int dir = rec.IsDown() ? -1 : 1;
  const int offset = layout.Metrics().Space() * 3 / 2 * (grace ? 2 : 3) / 3;
  int y0 = rec.startY - dir * offset;
  int y1 = rec.LineYAt(rec.endX) - dir * offset;
  const TNotationMarker* marker =
      firstMarker >= 0 ? ItemAs<TNotationMarker>(layout.GetStaff()->GetItem(layout.PositionAt(firstMarker)->GetItemIndex()))
                       : nullptr;
  if (marker) y0 = y1 = layout.PositionToY(marker->GetPos());
  if (rec.IsHidden()) fonts.SetColorIndex(hiddenColor);
  else fonts.SetItemColorIndex(marker ? marker->GetColor() : 0, staffColor);
  const double dy = static_cast<double>(fonts.GetStaffOrigin()) - layout.GetStaffY();
  fonts.DrawTupletMark(dir, grace ? 1 : 0, rec.startX, ClampToInt(y0 + dy), rec.endX,
                       ClampToInt(y1 + dy), false);
  fonts.SetColorIndex(staffColor);
}

}  // namespace

int GetBeamStemLength(const TMusicNote& member, int flags, int dir, bool grace, bool inner, bool accidental) {
  if (HasExplicitLength(member)) return member.GetRawStemLength();
  const int p = member.GetStaffPos();
  const int n = std::clamp(flags, 0, 8);
  int length = 2 * n + 2;
  if ((dir > 0 && p >= -1) || (dir < 0 && p < 2)) length = 2 * n + 3;
  if (accidental && dir > 0) {
    const int acc = member.GetRawAccidental();
    if (acc == kAccFlat || acc == kAccDoubleFlat) length += 2;
    else if (acc != kAccNone) length += 1;
  }
  // A head beyond the middle line on the side away from the stem reaches it.
  if (!grace && ((dir > 0 && p > 0) || (dir < 0 && p < 0))) length = std::max(length, std::abs(p));
  if (!inner) {
    int minimum = 2 * std::max(n, 2) + 3;
    for (int k : {3, 7, 11})
      if ((dir < 0 && p > k) || (dir > 0 && p < -k)) --minimum;
    length = std::max(length, minimum);
  }
  return length;
}

bool ComputeBeam(TStaffDrawInfo& layout, TStaffConnect& out, int n, int x) {
  TBeamGroup g;
  if (!CollectGroup(layout, n, x, g)) return false;
  if (g.hidden && !layout.ShowsHiddenItems()) return false;
  const TMusicNote& firstNotes = *NotesOf(*g.notes.front().item);
  const int dir = firstNotes.GetStemDir() > 0 ? 1 : -1;
  const double step = layout.Metrics().Space() / 2.0 * (g.grace ? 2.0 / 3.0 : 1.0);
  bool limits = true;
  auto stemEnd = [&](const TBeamNote& b, bool inner, bool accidental) {
    const TMusicNote& notes = *NotesOf(*b.item);
    const TMusicNote* member = notes.GetStemEndNote(dir);
    if (!member) member = &notes;
    if (!inner && HasExplicitLength(*member)) limits = false;
    const int length = GetBeamStemLength(*member, notes.GetFlagCount(), dir, g.grace, inner, accidental);
    return static_cast<double>(layout.PositionToY(static_cast<float>(member->GetStaffPos()))) - dir * length * step;
  };
  const TBeamNote& a = g.notes.front();
  const TBeamNote& z = g.notes.back();
  double sx = a.stemX, ex = z.stemX;
  double sy = stemEnd(a, false, false);
  double ey = stemEnd(z, false, g.notes.size() > 1);
  if (sx == ex) {
    ex = sx + 1;
    limits = false;
  }
  // The movable end is the one nearer the notes.
  const bool endMoves = dir > 0 ? ey >= sy : ey <= sy;
  double& movable = endMoves ? ey : sy;
  double& fixed = endMoves ? sy : ey;
  auto sign = [](double v) { return v > 0 ? 1 : (v < 0 ? -1 : 0); };
  const TMusicNote* fm = firstNotes.GetStemEndNote(dir);
  const TMusicNote* lm = NotesOf(*z.item)->GetStemEndNote(dir);
  const int posDelta = fm && lm ? sign(lm->GetStaffPos() - fm->GetStaffPos()) : 0;
  const int stemDelta = sign(ey - sy);
  if (limits && stemDelta != 0 && (posDelta == 0 || stemDelta != posDelta)) movable = fixed;
  auto slopeOf = [&] { return (sy - ey) / (sx - ex); };
  double slope = slopeOf();
  if (limits && std::fabs(slope) > kMaxBeamSlope) {
    movable = fixed + dir * kMaxBeamSlope * std::fabs(ex - sx);
    slope = slopeOf();
  }
  // No note or rest of the group may cross the line.
  auto push = [&](double at, double need) {
    const double lineY = sy + (at - sx) * slope;
    const bool crosses = dir > 0 ? lineY > need : lineY < need;
    if (!crosses) return;
    movable = need;
    if (dir > 0 ? fixed > need : fixed < need) fixed = need;
    slope = slopeOf();
  };
  for (size_t i = 1; i < g.notes.size(); ++i) push(g.notes[i].stemX, stemEnd(g.notes[i], true, true));
  for (const TBeamNote& r : g.rests) {
    int nextFlags = 1;
    for (const TBeamNote& b : g.notes)
      if (b.n > r.n) {
        nextFlags = std::max(1, NotesOf(*b.item)->GetFlagCount());
        break;
      }
    const int outer = dir > 0 ? r.item->GetTopPos() - 1 : r.item->GetBottomPos() + 1;
    push(r.stemX, layout.PositionToY(static_cast<float>(outer)) - dir * nextFlags * step * 2);
  }
  out = {};
  out.SetFlags(g.grace ? 1 : 0, dir < 0, g.hidden);
  out.first = static_cast<uint16_t>(layout.PositionAt(a.n)->GetItemIndex());
  out.last = static_cast<uint16_t>(g.lastItem);
  out.startX = ClampToInt(sx);
  out.startY = ClampToInt(sy);
  out.endX = ClampToInt(ex);
  out.slope = std::isfinite(slope) ? static_cast<float>(slope) : 0.0f;
  return true;
}

void DrawBeamGroup(TMusicFonts& fonts, TStaffDrawInfo& layout, int n, int x) {
  const TStaffDrawPos* first = layout.PositionAt(n);
  if (!first) return;
  const TStaffConnect* rec = layout.Beams().FindByFirst(first->GetItemIndex());
  if (!rec || (rec->IsHidden() && !layout.ShowsHiddenItems())) return;
  TBeamGroup g;
  if (!CollectGroup(layout, n, x, g)) return;
  const int dir = rec->IsDown() ? -1 : 1;
  const int size = g.grace ? 1 : 0;
  const int staffColor = fonts.GetColorIndex();
  const int hiddenColor = layout.GetHost().GetActiveSlot() == layout.GetSlot() ? 6 : 7;
  const int unit = layout.Metrics().GlyphWidth(size, 7);
  // The records hold the layout's y (within the system); the fonts draw on the page.
  const double dy = static_cast<double>(fonts.GetStaffOrigin()) - layout.GetStaffY();
  DrawTupletNumberOnBeam(fonts, layout, *rec, n, g.grace, staffColor, hiddenColor);
  std::vector<int> drawn(g.notes.size(), 0);
  for (size_t i = 0; i < g.notes.size(); ++i) {
    const TBeamNote& b = g.notes[i];
    const TMusicNote& notes = *NotesOf(*b.item);
    if (b.hidden || rec->IsHidden()) fonts.SetColorIndex(hiddenColor);
    else fonts.SetItemColorIndex(b.item->GetColor(), staffColor);
    const TMusicNote* member = notes.GetStemEndNote(dir);
    if (!member) member = &notes;
    const int headY =
        ClampToInt(layout.PositionToY(static_cast<float>(member->GetStaffPos())) + dy);
    const int startY = headY - dir * fonts.GetStemAttachOffset(size, notes.GetNoteHeadSymbol(), dir);
    const int endY = ClampToInt(rec->LineYAt(b.stemX) + dy);
    if (notes.IsStemShown() || layout.ShowsHiddenItems())
      if (dir > 0 ? endY < startY : endY > startY) fonts.DrawStemStroke(b.stemX, startY, endY, dir);
    if (i == 0) continue;
    const TBeamNote& prev = g.notes[i - 1];
    const int l = NotesOf(*prev.item)->GetFlagCount();
    const int m = notes.GetFlagCount();
    const int next = i + 1 < g.notes.size() ? NotesOf(*g.notes[i + 1].item)->GetFlagCount() : -1;
    auto beams = [&](int x0, int x1, int levels) {
      if (levels > 0)
        fonts.DrawBeams(x0, ClampToInt(rec->LineYAt(x0) + dy), x1,
                        ClampToInt(rec->LineYAt(x1) + dy), dir, g.grace, levels);
    };
    if (l == m) {
      beams(prev.stemX, b.stemX, l);
      drawn[i] = m;
    } else if (l < m) {
      if (next < m || prev.item->IsDotted() || prev.item->IsDblDotted()) {
        beams(prev.stemX, b.stemX - unit, l);
        beams(b.stemX - unit, b.stemX, m);
        drawn[i] = m;
      } else {
        beams(prev.stemX, b.stemX, l);
        drawn[i] = l;
      }
    } else {
      if (drawn[i - 1] < l) beams(prev.stemX, prev.stemX + unit, l);
      beams(prev.stemX, b.stemX, m);
      drawn[i] = m;
    }
  }
  fonts.SetColorIndex(staffColor);
}

}  // namespace kvt
