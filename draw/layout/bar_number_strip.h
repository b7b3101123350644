#pragma once
// The editor's bar-number strip above a staff: a tall tick at each numbered bar line with the
// number of the bar that ends there centred in the room since the previous one, short ticks
// at the other bar lines, and, with ranges shown, one "first - last" number over a multi-bar
// rest. Ticks are drawn in the hidden colour, numbers in the staff colour.
//
// Contract: the score layout's fonts are in a drawing phase; the staff is laid out.

namespace kvt {

class TScoreDrawInfo;

struct TBarNumberStrip {
  int leftX = 0;
  int rightX = 0;
  int baselineY = 0;
  int tallTick = 0;  // heights; 0 draws no tick
  int shortTick = 0;
  bool showRanges = false;
};

void DrawBarNumberStrip(TScoreDrawInfo& score, int slot, const TBarNumberStrip& strip);

}  // namespace kvt
