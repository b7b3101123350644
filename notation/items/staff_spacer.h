#pragma once
// TStaffSpacer (type code 20, "Spacer"): extra horizontal space, in hundredths of the
// note-head width unit, always within 0..9999.

#include "notation/items/notated_item.h"

namespace kvt {

inline constexpr int kMaxSpacerWidth = 9999;

class TStaffSpacer : public TNotatedItem {
public:
  explicit TStaffSpacer(int width = 0);

  static constexpr TNotatedItemType kType = kItemSpacer;

  TNotatedItemType GetType() const override { return kType; }

  int GetWidthValue() const { return width; }
  // Limited to 0..9999.
  void SetWidthValue(int w);
  // Adds delta and limits again.
  void AdjustWidth(int delta);
  // Width x 0.01.
  double GetWidthReal() const { return width * 0.01; }
  // The integer part of (x + 0.006) x 100, limited to 0..9999.
  void SetWidthReal(double x);

private:
  uint16_t width;
};

}  // namespace kvt
