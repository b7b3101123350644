#pragma once
// Where a clef and its octave "8" stand, by clef type (staff positions in steps, negative
// upwards). At cue size both move a third of the way towards the pull position, so the small
// clef sits closer to the middle of the staff.

namespace kvt {

inline constexpr int kGlyphOctaveEight = 52;

struct TClefPlacement {
  int glyph;
  int position;
  int octaveUpPosition;
  int octaveDownPosition;
  int pullPosition;
};

// The row of a clef type; a type outside 0..4 reads as Treble.
const TClefPlacement& GetClefPlacement(int clefType);
// The y of a clef part at size index 0 (as is) or 1 (a third of the way towards pullY).
int PulledClefY(int y, int pullY, int sizeIndex);

}  // namespace kvt
