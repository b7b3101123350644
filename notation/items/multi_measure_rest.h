#pragma once
// TMultiMeasureRest (type code 21, "RestMultiBar"): several whole bars of rest shown as one
// item. It lasts NumBars x BarTicks; the staff audit stores the bar length of the time
// signature in force into it.
//
// BarTicks is kept in 32 bits: a bar of 128 whole notes (128/1) lasts 98,304 ticks, which a
// 16-bit field would wrap. The bar length is not stored in score files (the audit recomputes
// it), so the wider field changes no file. The duration saturates at the largest 32-bit tick.

#include "notation/items/notated_item.h"

namespace kvt {

inline constexpr int kMaxMultiRestBars = 65535;

class TMultiMeasureRest : public TNotatedItem {
public:
  // NumBars as given (at least 1), BarTicks 768, PrintOnce clear, ShowBars and ShowRests set.
  explicit TMultiMeasureRest(int numBars = 1);

  static constexpr TNotatedItemType kType = kItemMultiBarRest;

  TNotatedItemType GetType() const override { return kType; }
  int GetTopPos() const override { return -2; }
  int GetBottomPos() const override { return 2; }
  // NumBars x BarTicks, at most 2,147,483,647.
  int GetDuration() const override;
  // Advances the song position by the duration.
  void ApplyToContext(TStaffContextState& state) const override;

  int GetNumBars() const { return numBars; }
  // Below 1 stores 1; above 65535 stores 65535.
  void SetNumBars(int n);
  int GetBarTicks() const { return barTicks; }
  // count x the tick unit of the unit code (0 768, 1 384, 2 192, 3 96, 4 48, 5 24, 6 12, any
  // other 192), limited to 0..2,147,483,647 (a negative count gives 0).
  void SetBarTicks(int count, int unitCode);

  bool IsPrintOnce() const { return printOnce != 0; }
  void SetPrintOnce(bool on) { printOnce = on ? 1 : 0; }
  bool IsShowBarsWhenHidden() const { return showBars != 0; }
  void SetShowBarsWhenHidden(bool on) { showBars = on ? 1 : 0; }
  bool IsShowRestsWhenHidden() const { return showRests != 0; }
  void SetShowRestsWhenHidden(bool on) { showRests = on ? 1 : 0; }

private:
  uint16_t numBars;
  int32_t barTicks;
  uint8_t printOnce : 1;
  uint8_t showBars : 1;
  uint8_t showRests : 1;
};

}  // namespace kvt
