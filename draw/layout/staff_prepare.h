#pragma once
// Before a laid-out staff is drawn: its beam lines, slurs and tuplet brackets computed over
// the positions, with the positions' x counted from leftX.

namespace kvt {

class TScoreDrawInfo;

void PrepareForDrawing(TScoreDrawInfo& score, int slot, int leftX);

}  // namespace kvt
