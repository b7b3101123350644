#pragma once
// TPatchData (type code 4, "Instrument"): an instrument change carrying a whole instrument
// definition (name, bank, patch, transposition, dynamic velocities, pitch-bend range).
// The staff also performs one made from its own instrument to set a channel up at time 0.

#include <string>

#include "notation/items/general_expression.h"
#include "notation/context/instrument_def.h"

namespace kvt {

class TPatchData : public TNtnGeneralExpression {
public:
  // A copy of the source definition, or a reset one without; Pos -8, Wide on.
  explicit TPatchData(const TInstrumentDef* source = nullptr);

  static constexpr TNotatedItemType kType = kItemPatch;

  TNotatedItemType GetType() const override { return kType; }
  // The state's transposition becomes the definition's.
  void ApplyToContext(TStaffContextState& state) const override;
  // At the song position, on the state's port and channel: with a patch, control changes 0 and
  // 32 with the bank's high and low 7 bits when a bank is set, then a program change; with a
  // bend range, control changes 101 = 0, 100 = 0, 6 = range, 38 = 0, 101 = 127, 100 = 127.
  void Perform(TStaffContextState& state, TMidiFileBuf* buffer) const override;

  const TInstrumentDef& GetInstrument() const { return instrument; }
  TInstrumentDef& GetInstrument() { return instrument; }
  void SetInstrument(const TInstrumentDef& def) { instrument = def; }
  // The definition's name, or "[Instr]" when it is empty.
  std::u16string GetName() const;
  // The stored patch byte: patch number + 1, 0 for none (values above 128 give patch 127).
  void SetPatch(int patchPlus1);

private:
  TInstrumentDef instrument;
};

}  // namespace kvt
