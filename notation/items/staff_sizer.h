#pragma once
// TStaffSizer (type code 22, "Boundary"): a change of the staff's vertical boundaries, a
// collapse, a horizontal gap or a system break.
//
// Data1 and Data2 mean: NewSize: upper and lower sizes; Gap: one 16-bit word whose low 15 bits
// are the gap width in hundredths of a staff unit and whose top bit is "SystemConnections";
// NewSystem: Data1 bit 0 "NewPage". The getters of a style answer 0 or false for the others.

#include "notation/items/notated_item.h"

namespace kvt {

enum TStaffSizerStyle : int {
  kSizerReset = 0,
  kSizerNewSize = 1,
  kSizerCollapse = 2,
  kSizerEndCollapse = 3,
  kSizerGap = 4,
  kSizerNewSystem = 5,
};

inline constexpr int kMaxGapWidth = 0x7FFF;

class TStaffSizer : public TNotatedItem {
public:
  // Style Reset.
  TStaffSizer();

  static constexpr TNotatedItemType kType = kItemBoundary;

  TNotatedItemType GetType() const override { return kType; }

  int GetStyle() const { return style; }
  // NewSize sets Upper 8 and Lower 0; Gap sets width 200 without connections; NewSystem
  // clears NewPage; other styles change only the style.
  void SetStyle(int style);

  // 0 unless the style is NewSize.
  int GetUpper() const;
  int GetLower() const;
  // A negative value becomes 0, one above 100 becomes 99; when both are 0 Upper becomes 8.
  void SetNewSize(int upper, int lower);

  // 0 unless the style is Gap.
  int GetGapWidth() const;
  // Limited to 0..32767 (15 bits).
  void SetGapWidth(int width);
  double GetGapWidthReal() const { return GetGapWidth() * 0.01; }
  // The integer part of (x + 0.006) x 100, limited to 0..32767.
  void SetGapWidthReal(double x);
  // False unless the style is Gap.
  bool HasSystemConnections() const;
  // Ignored unless the style is Gap.
  void SetSystemConnections(bool on);

  // False unless the style is NewSystem.
  bool IsNewPage() const;
  void SetNewPage(bool on);

private:
  int GapWord() const { return data1 | (data2 << 8); }
  void SetGapWord(int word);

  int32_t style;
  uint8_t data1;
  uint8_t data2;
};

}  // namespace kvt
