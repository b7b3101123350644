#pragma once
// TNtnGeneralExpression: the placement record shared by the expression items (text, MIDI
// controls, pedal, styles, tempo marks, tempo and dynamic variations, dynamics, instrument
// changes and flow directions): a real vertical position, the "Wide" option, a justification
// and a placement rule. Like every item, an expression is measured and drawn outside itself
// (in draw/), by its type code.

#include "notation/items/notated_item.h"

namespace kvt {

enum TExpressionJustify : int {
  kJustifyLeft = 0,
  kJustifyCenter = 1,
  kJustifyRight = 2,
};

enum TExpressionPlacement : int {
  kPlaceBestFit = 0,
  kPlaceBestFitForward = 1,
  kPlaceAsStaffSignature = 2,
  kPlaceAtNextNote = 3,
};

class TNtnGeneralExpression : public TNotatedItem {
public:
  bool IsExpressionClass() const override { return true; }
  // Pos as an integer (truncated).
  int GetStaffPos() const override;
  void SetStaffPos(int pos) override { SetPos(pos); }

  // Staff steps, positive downward, kept to hundredths (see notation/items/item_position.h).
  float GetPos() const { return pos; }
  void SetPos(double x);
  bool IsWide() const { return wide != 0; }
  void SetWide(bool on) { wide = on ? 1 : 0; }
  // TExpressionJustify; masked to 2 bits (3 is kept and means nothing).
  int GetJustify() const { return justify; }
  void SetJustify(int value) { justify = static_cast<uint8_t>(value & 3); }
  // TExpressionPlacement; masked to 2 bits.
  int GetPlacement() const { return placement; }
  void SetPlacement(int value) { placement = static_cast<uint8_t>(value & 3); }

protected:
  // Pos 8 (below the staff), Wide on, Left, BestFit; kinds then set their own defaults.
  TNtnGeneralExpression();

private:
  float pos;
  uint8_t wide : 1;
  uint8_t justify : 2;
  uint8_t placement : 2;
};

}  // namespace kvt
