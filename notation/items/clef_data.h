#pragma once
// TClefData (type code 0, "Clef"): the clef that decides the pitches of the staff positions
// after it, with an optional octave shift.
//
// Fields: clef type (8 bits: TClefCode, 0 Treble ... 4 Percussion), octave shift (7 bits
// signed: 0 none, 1 octave up, 2 octave down) and AutoSysOff (the "AutoSys" option off).
// Setters mask to the field widths; a clef type or octave shift outside its named values reads
// as Treble / none wherever a table is indexed by it.

#include "notation/items/notated_item.h"
#include "notation/context/staff_context_state.h"

namespace kvt {

enum TOctaveShift : int {
  kOctaveShiftNone = 0,
  kOctaveShiftUp = 1,
  kOctaveShiftDown = 2,
};

inline constexpr int kClefTypeCount = 5;

class TClefData : public TNotatedItem {
public:
  // The clef type, no octave shift, AutoSys on.
  explicit TClefData(int clefType = kClefTreble);

  static constexpr TNotatedItemType kType = kItemClef;

  TNotatedItemType GetType() const override { return kType; }
  // Treble -6, Bass -4, Alto -5, Tenor -7, Percussion -4; 2 less with the octave up.
  int GetTopPos() const override;
  // Treble 7, Bass 3, Alto 5, Tenor 3, Percussion 4; 2 more with the octave down.
  int GetBottomPos() const override;
  // The state's clef and octave shift become this clef's.
  void ApplyToContext(TStaffContextState& state) const override;

  int GetClefType() const { return clefType; }
  void SetClefType(int type);
  int GetOctaveShift() const;
  void SetOctaveShift(int shift);
  bool IsAutoSys() const { return autoSysOff == 0; }
  void SetAutoSys(bool on) { autoSysOff = on ? 0 : 1; }

private:
  // The clef type as a table index (unknown types read as Treble).
  int ClefIndex() const;

  uint32_t clefType : 8;
  uint32_t octaveShift : 7;
  uint32_t autoSysOff : 1;
};

}  // namespace kvt
