#pragma once
// TFlowDirection (type code 12, "Flow"): a navigation mark: Coda, Segno, Fine, To Coda and the
// Da Capo and Dal Segno family. The jump marks redirect play (GetNextPlayIndex, asked before
// the mark is applied) and record the jump in the running state (ApplyToContext).

#include <string_view>

#include "notation/items/general_expression.h"
#include "notation/staff/staff_items.h"

namespace kvt {

enum TFlowStyle : int {
  kFlowCoda = 0,
  kFlowSegno = 1,
  kFlowFine = 2,
  kFlowToCoda = 3,
  kFlowDaCapo = 4,
  kFlowDCalCoda = 5,
  kFlowDCalFine = 6,
  kFlowDalSegno = 7,
  kFlowDSalCoda = 8,
  kFlowDSalFine = 9,
};
inline constexpr int kFlowStyleCount = 10;

class TFlowDirection : public TNtnGeneralExpression {
public:
  // Pos -8, Wide on.
  explicit TFlowDirection(int style = kFlowCoda);

  static constexpr TNotatedItemType kType = kItemFlow;

  TNotatedItemType GetType() const override { return kType; }
  // ToCoda after a jump: enters the coda (repeats are taken again). The Da Capo and Dal Segno
  // family: marks the jump as taken. After either, the running accidentals return to the key.
  // Coda, Segno and Fine change nothing.
  void ApplyToContext(TStaffContextState& state) const override;
  // NextPlayIndexIn over the staff's items.
  int GetNextPlayIndex(TStaffContextState& state, const TMusicStaff* staff, int index) const override;

  // - Fine: after a jump, the staff's last index (play ends there); otherwise index + 1.
  // - ToCoda: after a jump while repeats are off, the first Coda of the staff; without one the
  //   item after the first Da Capo or Dal Segno mark; without either index + 1.
  // - DaCapo, DCalCoda, DCalFine: before any jump 0 (the staff start); after one index + 1.
  // - DalSegno, DSalCoda, DSalFine: before any jump the first Segno; after one, or without a
  //   Segno, index + 1.
  // - Coda, Segno: index + 1.
  int NextPlayIndexIn(TStaffContextState& state, TStaffItemSpan items, int index) const;

  int GetStyle() const { return style; }
  void SetStyle(int value) { style = value; }
  bool IsDaCapoFamily() const { return IsDaCapoFamily(style); }
  bool IsDalSegnoFamily() const { return IsDalSegnoFamily(style); }
  static bool IsDaCapoFamily(int style) { return style >= kFlowDaCapo && style <= kFlowDCalFine; }
  static bool IsDalSegnoFamily(int style) { return style >= kFlowDalSegno && style <= kFlowDSalFine; }

  // "Coda", "Segno", "Fine", "To Coda", "Da Capo", "D.C. al Coda", "D.C. al Fine",
  // "Dal Segno", "D.S. al Coda", "D.S. al Fine"; "***" for a style outside 0-9.
  std::string_view GetDisplayText() const { return DisplayText(style); }
  static std::string_view DisplayText(int style);

private:
  int32_t style;
};

}  // namespace kvt
