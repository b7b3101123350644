#include "draw/items/song_note_drawing.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <vector>

#include "draw/items/chord_accidentals.h"
#include "draw/items/song_note_metrics.h"
#include "draw/layout/staff_draw_info.h"
#include "draw/layout/tie_extents.h"
#include "notation/items/chord_data.h"
#include "notation/items/item_cast.h"
#include "notation/items/music_note.h"
#include "notation/items/notation_marker.h"
#include "notation/items/rest_chord.h"
#include "notation/items/rest_note.h"
#include "notation/staff/music_staff.h"

namespace kvt {

namespace {

constexpr int kHiddenActiveColor = 6;
constexpr int kHiddenOtherColor = 7;
constexpr int kPlayHighlightColor = 8;
constexpr int kGlyphStaccatissimoDown = 48;
constexpr int kGlyphStaccatissimoUp = 47;
constexpr int kGlyphTenuto = 49;
constexpr int kGlyphAccent = 44;
constexpr int kGlyphMarcatoDown = 46;
constexpr int kGlyphMarcatoUp = 45;

class TNoteDrawer {
public:
  TNoteDrawer(TMusicFonts& fonts, TStaffDrawInfo& layout, const TStaffDrawPos& pos, const TSongNote& item)
      : f(fonts),
        layout(layout),
        pos(pos),
        m(layout.Metrics()),
        size(SizeIndexOf(item)),
        showHidden(layout.ShowsHiddenItems()),
        entryColor(fonts.GetColorIndex()),
        hiddenColor(layout.GetHost().GetActiveSlot() == layout.GetSlot() ? kHiddenActiveColor : kHiddenOtherColor),
        n(layout.FindDrawPosOfItem(pos.GetItemIndex())) {}

  void DrawItem(const TSongNote& item, int left) {
    if (pos.IsHidden() && !showHidden) return;
    if (const auto* chord = ItemAs<TChordData>(&item); chord && item.GetType() == kItemChord) {
      DrawChord(*chord, left);
    } else if (const auto* note = ItemAs<TMusicNote>(&item)) {
      const int a = pos.GetAccidentalColumns();
      DrawNote(*note, *note, left, a, a - SongNoteAccidentalSpace(*note), false);
    } else if (item.GetType() == kItemRestChord) {
      DrawRestChord(static_cast<const TRestChord&>(item), left);
    } else if (item.GetType() == kItemRest) {
      DrawRest(static_cast<const TRestNote&>(item), left, 0);
    }
    f.SetColorIndex(entryColor);
  }

private:
  int AccidentalWidth() const { return m.AccidentalColumnWidth(size); }
  int Unit() const { return m.GlyphWidth(size, kGlyphFilledHead); }
  int Dot() const { return m.GlyphWidth(size, kGlyphDot); }

  void ApplyColor(const TSongNote& owner, const TMusicNote* note) {
    if (pos.IsHidden()) {
      f.SetColorIndex(hiddenColor);
      return;
    }
    if (entryColor == kPlayHighlightColor) return;
    const int own = note ? note->GetNoteColor() : owner.GetNoteColor();
    f.SetColorIndex(own >= 1 && own <= 7 ? 8 + own : entryColor);
  }

  // Ledger lines for one head at x (after the note spacing), its shift and glyph.
  void Ledgers(const TMusicNote& note, int x, int shift, int glyph) {
    if (note.GetNoLegerLines() && !showHidden) return;
    const int p = note.GetStaffPos();
    const int side = p < 0 ? -1 : 1;
    const int first = layout.GetFirstOuterPosition(side);
    if (side < 0 ? p >= first : p <= first) return;
    const int w = m.GlyphWidth(size, glyph);
    const int keep = f.GetColorIndex();
    f.SetColorIndex(pos.IsHidden() || note.GetNoLegerLines() ? hiddenColor : entryColor);
    f.DrawLedgerLines(x + w * shift - w / 4 - 1, first, p, w + 2 * (w / 4) + 2);
    f.SetColorIndex(keep);
  }

  void ChordLedgers(const TChordData& chord, int x) {
    // Per side of the middle line and per head column, the member farthest out draws them.
    for (int side : {-1, 1}) {
      for (int shift = 0; shift <= 3; ++shift) {
        const TMusicNote* farthest = nullptr;
        for (int i = 0; i < chord.GetMemberCount(); ++i) {
          const TMusicNote* member = chord.GetMember(i);
          const int p = member->GetStaffPos();
          if (member->GetHeadShift() != shift || (p < 0 ? -1 : 1) != side) continue;
          if (!farthest || std::abs(p) > std::abs(farthest->GetStaffPos())) farthest = member;
        }
        if (farthest) Ledgers(*farthest, x, shift, chord.GetNoteHeadSymbol());
      }
    }
  }

  // One note or chord member. accColumn < 0: no accidental glyph.
  void DrawNote(const TMusicNote& note, const TMusicNote& owner, int left, int a, int accColumn, bool member) {
    ApplyColor(owner, &note);
    const int colorAfterNote = f.GetColorIndex();
    const int p = note.GetStaffPos();
    const int glyph = owner.GetNoteHeadSymbol();
    const int w = m.GlyphWidth(size, glyph);
    int x = left;
    if (a > 0) {
      const int acc = TMusicNote::GetAccidentalSymbol(note.GetRawAccidental());
      if (acc >= 0 && accColumn >= 0) f.DrawGlyphAtStep(size, acc, x + accColumn * AccidentalWidth(), p);
      x += a * AccidentalWidth();
    }
    x += owner.GetXNoteSpace() * Unit();
    if (!member) Ledgers(note, x, note.GetHeadShift(), glyph);
    f.SetColorIndex(colorAfterNote);
    const int accidental = note.GetRawAccidental();
    if (note.IsTieIn()) {
      int d = 0;
      if (!TieBackExtent(layout, n, p, accidental, d)) {
        const int end = x - Dot() / 5 - 1;
        int start = x - d + 1;
        if (start >= end) start = end - Dot();
        f.DrawTie(p, TieBelow(note), start, end);
      }
    }
    x += note.GetHeadShift() * w;
    // The head columns of a second stand a head width apart and are never nudged into each
    // other: heads of a chord do not overlap.
    f.DrawGlyphAtStep(size, glyph, x, p);
    if (!member && note.HasOwnStem() && (note.IsStemShown() || showHidden)) {
      f.SetColorIndex(!note.IsStemShown() ? hiddenColor : entryColor);
      if (note.IsStemShown() && pos.IsHidden()) f.SetColorIndex(hiddenColor);
      DrawStem(note.GetStemDir(), x, p, 0, glyph, note.GetFlagCount(), note.GetStemLength());
      f.SetColorIndex(colorAfterNote);
    }
    if (!member) {
      Articulations(note, note, x, left + SongNoteStemX(note, a, 0, m));
      const int first = DrawDots(note, note, x + w, DotPosition(note, INT_MIN, false, false));
      TieOut(note, left, first);
    }
  }

  void DrawStem(int dir, int x, int position, int span, int glyph, int flags, int length) {
    if (dir > 0) f.DrawStemUp(x, position, size, glyph, span, flags, length);
    else f.DrawStemDown(x, position, size, glyph, span, flags, length);
  }

  static bool TieBelow(const TMusicNote& note) { return note.IsTieDown(); }

  // Draws the dots after headEnd; returns the x after the last dot (headEnd without dots).
  int DrawDots(const TSongNote& item, const TMusicNote& note, int headEnd, int dotPos) {
    if (!item.IsDotted() && !item.IsDblDotted()) return headEnd;
    const double dw = Dot();
    int x = NeedsDotPastFlag(note) ? headEnd + m.GlyphWidth(size, kGlyphFlag)
                                   : headEnd + static_cast<int>(0.4 * dw) + 1;
    const int y = f.PositionToYInt(dotPos) + (f.GetSpace() / 2) * 5 / 12 + 1;
    f.DrawGlyph(size, kGlyphDot, x, y);
    int end = x + Dot();
    if (item.IsDblDotted()) {
      x += static_cast<int>(dw + 0.2 * dw) + 1;
      f.DrawGlyph(size, kGlyphDot, x, y);
      end = x + Dot();
    }
    return end;
  }

  void TieOut(const TMusicNote& note, int left, int afterDots) {
    if (!note.IsTieOut()) return;
    int d = 0;
    TieForwardExtent(layout, n, note.GetStaffPos(), note.GetRawAccidental(), d);
    const int start = afterDots + Dot() / 6 + 1;
    const int itemRight = left + SongNoteWidth(note, pos.GetAccidentalColumns(), m);
    int end = itemRight + d - (Dot() / 5 + 1);
    if (end <= start) end = start + Dot();
    f.DrawTie(note.GetStaffPos(), TieBelow(note), start, end);
  }

  // The staff position of the beam line at the stem of a beamed note, when the beam is laid out.
  bool BeamPositionAt(const TSongNote& item, int stemX, float& position) const {
    const TStaffConnect* beam =
        layout.Beams().FindCovering(item.IsGrace() ? 1 : 0, pos.GetItemIndex());
    if (!beam) return false;
    const double step = std::max(1, layout.Metrics().Space() / 2);
    position = static_cast<float>((beam->LineYAt(stemX) - layout.PositionToY(0)) / step);
    return true;
  }

  // The articulation column of a note, or of a chord from its member at the side away from
  // its stem (stemEnd). A marker before the item places the column; otherwise it stands
  // opposite the stem, or beyond the stem's end with ArticulationsOnStem.
  void Articulations(const TSongNote& item, const TMusicNote& stemEnd, int headX, int stemX) {
    const uint16_t flags = item.GetFlags();
    if ((flags & kArticulationMask) == 0) return;
    const int stemDir = stemEnd.GetStemDir() > 0 ? 1 : -1;
    int c = stemDir;  // +1 downwards: the side away from an up stem
    float p = static_cast<float>(stemEnd.GetStaffPos() + 2 * c);
    bool onStem = false;
    const int keep = f.GetColorIndex();
    const int markerPos = layout.FindMarkerBefore(n, 0);
    const auto* marker = markerPos > 0 ? ItemAs<TNotationMarker>(layout.GetStaff()->GetItem(
                                             layout.PositionAt(markerPos)->GetItemIndex()))
                                       : nullptr;
    if (marker) {
      if (!layout.IsItemVisible(*marker)) {
        if (!showHidden) return;
        f.SetColorIndex(hiddenColor);
      } else if (marker->GetColor() >= 1 && marker->GetColor() <= 7) {
        f.SetColorIndex(8 + marker->GetColor());
      }
      p = marker->GetPos();
      // Towards the marker: below the item's lowest head downwards, else upwards.
      const TMusicNote* notes = NotesOf(item);
      const TMusicNote* lowest = notes && notes->GetFirstNote() ? notes->GetFirstNote() : &stemEnd;
      c = p > static_cast<float>(lowest->GetStaffPos()) ? 1 : -1;
      onStem = c == -stemDir;
    } else if (stemEnd.GetArticulationsOnStem()) {
      c = -stemDir;
      onStem = true;
      float beamPos = 0;
      if (item.IsBeamed() && !stemEnd.HasStemLength() && BeamPositionAt(item, stemX, beamPos)) {
        p = beamPos;
      } else {
        int length = CalcStemLength(stemEnd);
        if (size == 0 && length > 0) --length;
        p = static_cast<float>(stemEnd.GetStaffPos() + c * length);
      }
      p += static_cast<float>(size == 1 ? c : 2 * c);
    }
    if (c > 0) p += 1;
    int x = headX + Unit() / 2;
    if (onStem && !(flags & (kMaskAccent | kMaskMarcato | kMaskTenuto))) x += c * Unit() / 2;
    const float e = static_cast<float>(size == 1 ? c : 2 * c);
    auto draw = [&](int glyph) { f.DrawGlyphAtPos(size, glyph, x - m.GlyphWidth(size, glyph) / 2, p); };
    if (flags & kMaskStaccatissimo) {
      draw(c > 0 ? kGlyphStaccatissimoDown : kGlyphStaccatissimoUp);
      p += e;
    } else if (flags & kMaskStaccato) {
      draw(kGlyphDot);
      p += e;
    }
    if (flags & kMaskTenuto) {
      draw(kGlyphTenuto);
      p += e;
    }
    if (flags & kMaskMarcato) draw(c > 0 ? kGlyphMarcatoDown : kGlyphMarcatoUp);
    else if (flags & kMaskAccent) draw(kGlyphAccent);
    f.SetColorIndex(keep);
  }

  void DrawChord(const TChordData& chord, int left) {
    const int count = chord.GetMemberCount();
    if (count == 0) return;
    const int a = pos.GetAccidentalColumns();
    const int glyph = chord.GetNoteHeadSymbol();
    const int w = m.GlyphWidth(size, glyph);
    const int hx = left + SongNoteHeadX(chord, a, m);
    const TChordAccidentalLayout columns = LayoutChordAccidentals(chord);
    ApplyColor(chord, nullptr);
    ChordLedgers(chord, hx);
    // From the highest member (last) to the lowest.
    for (int i = count - 1; i >= 0; --i) {
      const int col = columns.column[static_cast<size_t>(i)];
      DrawNote(*chord.GetMember(i), chord, left, a, col > 0 ? a - chord.GetXAccSpace() - col : -1, true);
    }
    ApplyColor(chord, nullptr);
    const bool showStem = chord.IsStemShown() || showHidden;
    if (!chord.IsBeamed() && chord.GetDurationCode() > kDurWhole && showStem) {
      // With split stems the down group ends at the first member, from the second on, whose
      // stem is not set down.
      int boundary = -1;
      if (chord.HasSplitStem()) {
        boundary = 1;
        while (boundary < count && chord.GetMember(boundary)->GetStemSetting() == kStemDown) ++boundary;
      }
      const TMusicNote* downTop = nullptr;
      const TMusicNote* upBottom = nullptr;
      if (boundary < 0) {
        if (chord.GetStemDir() < 0) downTop = chord.GetMember(count - 1);
        else upBottom = chord.GetMember(0);
      } else {
        if (boundary > count) boundary = count;
        downTop = chord.GetMember(boundary - 1);
        upBottom = boundary < count ? chord.GetMember(boundary) : nullptr;
      }
      if (!chord.IsStemShown()) f.SetColorIndex(hiddenColor);
      const int lowest = chord.GetMember(0)->GetStaffPos();
      const int highest = chord.GetMember(count - 1)->GetStaffPos();
      if (downTop) {
        const int x = hx + ((chord.HasShiftedHeads(-1) ? 1 : 0) + chord.GetStemSideHeadShift(-1)) * w;
        DrawStem(-1, x, downTop->GetStaffPos(), lowest - downTop->GetStaffPos(), glyph, chord.GetFlagCount(),
                 chord.GetStemLength());
      }
      if (upBottom) {
        const int x = hx + chord.GetStemSideHeadShift(1) * w;
        DrawStem(1, x, upBottom->GetStaffPos(), upBottom->GetStaffPos() - highest, glyph, chord.GetFlagCount(),
                 chord.GetStemLength());
      }
      ApplyColor(chord, nullptr);
    }
    // Articulations once, from the member at the side away from the stem.
    const TMusicNote* outer = chord.GetStemDir() > 0 ? chord.GetMember(0) : chord.GetMember(count - 1);
    Articulations(chord, *outer, hx, left + SongNoteStemX(chord, a, 0, m));
    // Dots: one per member, no two on the same position.
    const int headEnd = hx + w * chord.GetHeadColumns();
    std::vector<int> taken;
    int afterDots = headEnd;
    for (int i = count - 1; i >= 0; --i) {
      const TMusicNote& member = *chord.GetMember(i);
      int dotPos = DotPosition(member, INT_MIN, !chord.HasSplitStem(), chord.HasSplitStem());
      // In a second the space beside a head on a line holds the other head: the dot goes to
      // the line's other side.
      for (int k = 0; k < count; ++k)
        if (k != i && chord.GetMember(k)->GetStaffPos() == dotPos &&
            dotPos != member.GetStaffPos()) {
          dotPos = DotPosition(member, dotPos, !chord.HasSplitStem(), chord.HasSplitStem());
          break;
        }
      const int push = member.GetStemDir() < 0 || chord.GetStemDir() < 0 ? 2 : -2;
      for (int guard = 0; guard < 64 && std::find(taken.begin(), taken.end(), dotPos) != taken.end(); ++guard)
        dotPos += push;
      taken.push_back(dotPos);
      afterDots = std::max(afterDots, DrawDots(chord, chord, headEnd, dotPos));
    }
    for (int i = 0; i < count; ++i) {
      const TMusicNote& member = *chord.GetMember(i);
      if (!member.IsTieOut() && !chord.IsTieOut()) continue;
      int d = 0;
      TieForwardExtent(layout, n, member.GetStaffPos(), member.GetRawAccidental(), d);
      const int start = afterDots + Dot() / 6 + 1;
      int end = left + SongNoteWidth(chord, a, m) + d - (Dot() / 5 + 1);
      if (end <= start) end = start + Dot();
      f.DrawTie(member.GetStaffPos(), member.IsTieDown(), start, end);
    }
  }

  void DrawRest(const TRestNote& rest, int left, int offset) {
    ApplyColor(rest, nullptr);
    int x = left + SongNoteHeadX(rest, pos.GetAccidentalColumns(), m);
    if (rest.GetType() == kItemRest && rest.HasTickLength() && !showHidden) {
      // A rest that fills its bar stands in the middle of the bar's room.
      const int64_t from = static_cast<int64_t>(left) - layout.DistanceToPaddedNeighbour(n, -1);
      const int64_t to = static_cast<int64_t>(left) + layout.DistanceToPaddedNeighbour(n, 1);
      const int64_t middle = from + (to - from) / 2 - m.GlyphWidth(0, kGlyphFirstRest) / 2;
      x = static_cast<int>(std::clamp<int64_t>(middle, INT_MIN, INT_MAX));
    }
    const int p = rest.GetStaffPos() + offset;
    const int width = f.DrawGlyphAtStep(size, kGlyphFirstRest + rest.GetDurationCode(), x, p);
    if (!rest.IsDotted() && !rest.IsDblDotted()) return;
    const int dotPos = p - (rest.GetDurationCode() >= kDur32nd ? 2 : 0);
    const int y = f.PositionToYInt(dotPos) - (f.GetSpace() / 2) * 5 / 12;
    const double dw = Dot();
    f.DrawGlyph(size, kGlyphDot, x + width + static_cast<int>(0.35 * dw) + 1, y);
    if (rest.IsDblDotted()) f.DrawGlyph(size, kGlyphDot, x + width + static_cast<int>(dw + 0.25 * dw) + 2, y);
  }

  void DrawRestChord(const TRestChord& restChord, int left) {
    const TMusicNote* part = restChord.GetPart();
    const int extra = part && part->GetHeadColumns() >= 2 && part->GetStemDir() < 0 ? m.GlyphWidth(size, part->GetNoteHeadSymbol()) : 0;
    if (!restChord.IsRestHidden() || showHidden) {
      if (restChord.IsRestHidden()) f.SetColorIndex(hiddenColor);
      DrawRest(restChord, left + extra, RestChordRestOffset(restChord));
    }
    if (!part) return;
    if (part->GetType() == kItemChord) DrawChord(static_cast<const TChordData&>(*part), left);
    else DrawNote(*part, *part, left, pos.GetAccidentalColumns(), pos.GetAccidentalColumns() - SongNoteAccidentalSpace(*part), false);
  }

  TMusicFonts& f;
  TStaffDrawInfo& layout;
  const TStaffDrawPos& pos;
  const TLayoutMetrics& m;
  int size;
  bool showHidden;
  int entryColor;
  int hiddenColor;
  int n;  // the position's index in the layout
};

}  // namespace

void DrawSongNote(TMusicFonts& fonts, TStaffDrawInfo& layout, const TStaffDrawPos& pos, const TSongNote& item,
                  int left) {
  TNoteDrawer(fonts, layout, pos, item).DrawItem(item, left);
}

int RestChordRestOffset(const TRestChord& restChord) {
  const TMusicNote* part = restChord.GetPart();
  if (!part || part->GetMemberCount() == 0) return 0;
  int v = 0;
  if (part->GetStemDir() < 0) {
    const int c = part->GetMember(0)->GetStaffPos();
    const int code = restChord.GetDurationCode();
    v = code == kDurQuarter ? c + 1 : (code >= kDur32nd ? c + 2 : c);
    v = v < -4 ? 0 : v + 5;
  } else {
    const int d = part->GetMember(part->GetMemberCount() - 1)->GetStaffPos() - restChord.GetStaffPos();
    v = d <= 4 ? d - 5 : 0;
  }
  // Rests move by whole spaces: round away from zero to even.
  if (v % 2 != 0) v += v > 0 ? 1 : -1;
  return v;
}

int DotPosition(const TMusicNote& note, int partnerPosition, bool stemsGrouped, bool split) {
  const int p = note.GetStaffPos();
  if (p % 2 != 0) return p;
  const int dir = note.GetStemDir();
  int dot = 0;
  if (split) dot = p - dir;  // the stem's side: up (-) for an up stem
  else dot = dir < 0 && stemsGrouped ? p + 1 : p - 1;
  if (dot == partnerPosition) dot = 2 * p - dot;
  return dot;
}

bool NeedsDotPastFlag(const TMusicNote& note) {
  const TMusicNote* last = note.GetLastNote();
  if (!last || !note.HasOwnStem() || note.GetStemDir() <= 0 || note.GetFlagCount() <= 0) return false;
  if (note.IsGrace()) return true;
  static constexpr int kFlagTable[4] = {0, 1, 3, 4};
  const int flags = std::clamp(note.GetFlagCount(), 1, 4);
  return CalcStemLength(*last) < (last->GetStaffPos() % 2 == 0 ? 1 : 0) + 7 + kFlagTable[flags - 1];
}

}  // namespace kvt
