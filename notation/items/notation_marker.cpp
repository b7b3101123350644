#include "notation/items/notation_marker.h"

#include "notation/items/item_position.h"

namespace kvt {

TNotationMarker::TNotationMarker() : pos(0.0f), target(kMarkerSlur) {}

int TNotationMarker::GetStaffPos() const { return ItemPosToInt(pos); }

void TNotationMarker::SetPos(double x) { pos = RoundItemPos(x); }

}  // namespace kvt
