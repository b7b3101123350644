#pragma once
// TDynamicVariance (type code 15, "DynamicVariance"): a gradual or sudden change of loudness
// (crescendo, decrescendo, diminuendo, rinforzando, sforzando). The score player starts its
// velocity and volume ramps at the rising and falling kinds; the item itself performs nothing.

#include <string_view>

#include "notation/items/general_expression.h"

namespace kvt {

enum TDynamicVarianceStyle : int {
  kDynVarCrescendo = 0,
  kDynVarDecrescendo = 1,
  kDynVarDiminuendo = 2,
  kDynVarRinforzando = 3,
  kDynVarSforzando = 4,
};
inline constexpr int kDynamicVarianceStyleCount = 5;

class TDynamicVariance : public TNtnGeneralExpression {
public:
  // Pos 8, Wide off.
  explicit TDynamicVariance(int style = kDynVarCrescendo);

  static constexpr TNotatedItemType kType = kItemDynamicVariance;

  TNotatedItemType GetType() const override { return kType; }

  int GetStyle() const { return style; }
  void SetStyle(int value) { style = static_cast<uint8_t>(value); }
  // 1 rising (Crescendo), 2 falling (Decrescendo, Diminuendo), 0 otherwise.
  int GetRampDirection() const;
  // "cresc.", "decresc.", "dim.", "rfz", "sfz"; "***" for a style outside 0-4.
  std::string_view GetDisplayText() const { return DisplayText(style); }
  static std::string_view DisplayText(int style);

private:
  uint8_t style;
};

}  // namespace kvt
