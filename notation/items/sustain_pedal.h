#pragma once
// TSustainPedal (type code 11, "SustainPedal"): the sustain pedal pressed ("Down") or
// released.

#include "notation/items/general_expression.h"

namespace kvt {

inline constexpr int kGlyphPedalDown = 31;
inline constexpr int kGlyphPedalReleased = 32;

class TSustainPedal : public TNtnGeneralExpression {
public:
  // Pos 8, Wide on.
  explicit TSustainPedal(bool down = true);

  static constexpr TNotatedItemType kType = kItemSustainPedal;

  TNotatedItemType GetType() const override { return kType; }
  // Control change 64 with 127 (down) or 0 (released) at the song position.
  void Perform(TStaffContextState& state, TMidiFileBuf* buffer) const override;

  // Any non-zero status is "Down".
  int GetStatus() const { return status; }
  void SetStatus(int value) { status = static_cast<uint8_t>(value); }
  bool IsDown() const { return status != 0; }
  void SetDown(bool down) { status = down ? 1 : 0; }
  // Glyph 31 down, 32 released.
  int GetSymbol() const { return IsDown() ? kGlyphPedalDown : kGlyphPedalReleased; }

private:
  uint8_t status;
};

}  // namespace kvt
