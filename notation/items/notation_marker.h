#pragma once
// TNotationMarker (type code 23, "Marker"): an editing mark at a real vertical position that
// steers the placement of articulations, slurs or triplet brackets near it.

#include "notation/items/notated_item.h"

namespace kvt {

enum TMarkerTarget : int {
  kMarkerArticulation = 1,
  kMarkerSlur = 2,
  kMarkerTriplet = 4,
};

class TNotationMarker : public TNotatedItem {
public:
  // Pos 0, Target Slur only.
  TNotationMarker();

  static constexpr TNotatedItemType kType = kItemMarker;

  TNotatedItemType GetType() const override { return kType; }
  // Pos as an integer (truncated).
  int GetStaffPos() const override;
  void SetStaffPos(int pos) override { SetPos(pos); }

  // Staff steps, positive downward, kept to hundredths (see notation/items/item_position.h).
  float GetPos() const { return pos; }
  void SetPos(double x);
  // Bits of TMarkerTarget; masked to 8 bits.
  int GetTarget() const { return target; }
  void SetTarget(int bits) { target = static_cast<uint8_t>(bits); }

private:
  float pos;
  uint8_t target;
};

}  // namespace kvt
