#include "notation/items/general_expression.h"

#include "notation/items/item_position.h"

namespace kvt {

TNtnGeneralExpression::TNtnGeneralExpression()
    : pos(8.0f), wide(1), justify(kJustifyLeft), placement(kPlaceBestFit) {}

int TNtnGeneralExpression::GetStaffPos() const { return ItemPosToInt(pos); }

void TNtnGeneralExpression::SetPos(double x) { pos = RoundItemPos(x); }

}  // namespace kvt
