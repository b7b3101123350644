#pragma once
// Placement of a chord's accidentals in columns to the left of its heads. Column 1 stands
// next to the heads, higher columns further left. Members are visited from the highest to
// the lowest; accidentals that lie close together share a zone and take one column each, and
// a pass whose columns would bring two accidentals closer than their shapes allow is repeated
// with a wider zone (separation 2 up to 15, where zones are so wide that none collide).
//
// The result is what both the measuring (the chord's accidental space) and the drawing use,
// so the two always agree.

#include <vector>

namespace kvt {

class TChordData;

struct TChordAccidentalLayout {
  // Per member (member order: lowest first); 0 for a member that draws no accidental.
  std::vector<int> column;
  // Columns the accidentals take (the largest zone).
  int columnsUsed = 0;
  // The separation the final pass used.
  int separation = 2;
};

TChordAccidentalLayout LayoutChordAccidentals(const TChordData& chord);

// Minimum vertical distance in steps between an accidental `above` (the holder of a column)
// and one `below` it in the same column; graceHolder scales it to the grace size.
int MinAccidentalSeparation(int above, int below, bool graceHolder);

}  // namespace kvt
