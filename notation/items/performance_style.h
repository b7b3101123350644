#pragma once
// TPerformanceStyle (type code 16, "PerformanceStyle"): a playing instruction such as "dolce"
// or "legato" (styles 0-22). The running state holds the style in force, 23 for none.

#include <string_view>

#include "notation/items/general_expression.h"

namespace kvt {

inline constexpr int kPerformanceStyleCount = 23;

class TPerformanceStyle : public TNtnGeneralExpression {
public:
  // Pos 8, Wide off.
  explicit TPerformanceStyle(int style = 0);

  static constexpr TNotatedItemType kType = kItemPerformanceStyle;

  TNotatedItemType GetType() const override { return kType; }
  // The state's performance style becomes this style (23, none, for a style outside 0-22).
  void ApplyToContext(TStaffContextState& state) const override;

  int GetStyle() const { return style; }
  void SetStyle(int value) { style = static_cast<uint8_t>(value); }
  // The text shown on the staff, UTF-8 ("ad lib.", "dolce", "più mosso" ...); "***" for a
  // style outside 0-22.
  std::string_view GetDisplayText() const { return DisplayText(style); }
  static std::string_view DisplayText(int style);

private:
  uint8_t style;
};

}  // namespace kvt
