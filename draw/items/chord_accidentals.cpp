#include "draw/items/chord_accidentals.h"

#include <climits>

#include "notation/items/chord_data.h"
#include "notation/items/music_note.h"

namespace kvt {

namespace {

constexpr int kFirstSeparation = 2;
constexpr int kLastSeparation = 15;

// Upper and lower extents of an accidental shape in steps.
void AccidentalExtents(int accidental, int& upper, int& lower) {
  switch (accidental) {
    case kAccFlat:
    case kAccDoubleFlat: upper = 4; lower = 2; return;
    case kAccDoubleSharp: upper = 2; lower = 2; return;
    default: upper = 3; lower = 3; return;  // sharp, natural
  }
}

bool ShowsAccidental(const TMusicNote& member) { return member.GetRawAccidental() != kAccNone; }

// Whether member i takes a column, given the member visited just before it (i + 1).
bool TakesPart(const TChordData& chord, int i) {
  const TMusicNote* m = chord.GetMember(i);
  if (!m || !ShowsAccidental(*m)) return false;
  const TMusicNote* prev = chord.GetMember(i + 1);
  return !(prev && prev->GetStaffPos() == m->GetStaffPos() &&
           prev->GetRawAccidental() == m->GetRawAccidental());
}

// One pass at a separation; false on a collision.
bool RunPass(const TChordData& chord, int separation, TChordAccidentalLayout& out) {
  const int n = chord.GetMemberCount();
  out.column.assign(static_cast<size_t>(n), 0);
  out.columnsUsed = 0;
  std::vector<int> holder;  // column -> member index holding it, -1 for none
  int limit = INT_MIN;
  int zoneCount = 0;
  bool runsToLowest = false;
  int zoneMember = 0;
  int nextColumn = 1;
  for (int i = n - 1; i >= 0; --i) {
    if (!TakesPart(chord, i)) continue;
    const TMusicNote& m = *chord.GetMember(i);
    const int pos = m.GetStaffPos();
    int column = 0;
    if (pos >= limit) {
      // A new zone: it holds the accidentals above its limit.
      limit = pos + separation + 1;
      zoneCount = 1;
      runsToLowest = (i == 0);
      for (int k = i - 1; k >= 0; --k) {
        if (chord.GetMember(k)->GetStaffPos() >= limit) break;
        if (k == 0) runsToLowest = true;
        if (TakesPart(chord, k)) ++zoneCount;
      }
      zoneMember = 0;
      column = 1;
    } else {
      ++zoneMember;
      column = nextColumn;
      if (zoneMember == 1 && runsToLowest) ++column;
      if (column > zoneCount) column = zoneCount >= 2 ? 2 : 1;
    }
    nextColumn = column + 1;
    if (static_cast<int>(holder.size()) <= column) holder.resize(static_cast<size_t>(column) + 1, -1);
    const int h = holder[static_cast<size_t>(column)];
    if (h >= 0) {
      const TMusicNote& above = *chord.GetMember(h);
      const bool same =
          above.GetStaffPos() == pos && above.GetRawAccidental() == m.GetRawAccidental();
      const int distance = pos - above.GetStaffPos();
      if (!same && distance < MinAccidentalSeparation(above.GetRawAccidental(),
                                                      m.GetRawAccidental(), above.IsGrace()))
        return false;
    }
    holder[static_cast<size_t>(column)] = i;
    out.column[static_cast<size_t>(i)] = column;
    if (zoneCount > out.columnsUsed) out.columnsUsed = zoneCount;
    if (column > out.columnsUsed) out.columnsUsed = column;
  }
  return true;
}

}  // namespace

int MinAccidentalSeparation(int above, int below, bool graceHolder) {
  int value = 0;
  if (above == kAccNatural && below == kAccFlat) {
    value = 6;
  } else if (above == kAccNatural && below == kAccNatural) {
    value = 5;
  } else if (above == kAccDoubleSharp && below == kAccDoubleSharp) {
    value = 3;
  } else {
    int upperA = 0, lowerA = 0, upperB = 0, lowerB = 0;
    AccidentalExtents(above, upperA, lowerA);
    AccidentalExtents(below, upperB, lowerB);
    value = lowerA + upperB;
  }
  return graceHolder ? (2 * value + 1) / 3 : value;
}

TChordAccidentalLayout LayoutChordAccidentals(const TChordData& chord) {
  TChordAccidentalLayout layout;
  for (int separation = kFirstSeparation;; ++separation) {
    layout.separation = separation;
    if (RunPass(chord, separation, layout) || separation >= kLastSeparation) break;
  }
  return layout;
}

}  // namespace kvt
