#include "midi/import/instrument_values.h"

#include "midi/import/instrument_tree.h"
#include "notation/context/instrument_def.h"
#include "notation/items/notated_item.h"
#include "notation/items/patch_data.h"
#include "utils/text_encoding.h"

namespace kvt {

namespace {

// A later definition's value: a state of 0 takes it, a different one becomes mixed.
void GatherSwitched(int32_t& state, int32_t& value, bool has, int32_t incoming) {
  if (has) {
    if (state == 0)
      value = incoming;
    else if (value != incoming)
      value = kInstrumentMixed;
  }
  if (state != 2 && (state == 1) != has) state = 2;
}

void GatherPlain(int32_t& value, int32_t incoming) {
  if (value != incoming) value = kInstrumentMixed;
}

}  // namespace

void GatherInstrumentValues(TInstrumentValues& values, const TInstrumentDef& def) {
  if (values.count == 0) {
    values = TInstrumentValues();
    values.name = def.GetName();
    values.sendPatch = def.HasPatch() ? 1 : 0;
    values.patch = def.HasPatch() ? def.GetPatch() : 0;
    values.sendBank = def.HasBank() ? 1 : 0;
    values.bankMSB = def.GetBankMSB();
    values.bankLSB = def.GetBankLSB();
    for (int i = 0; i < 8; ++i) values.velocities[i] = def.GetDynamicVelocity(i);
    values.transposition = def.GetTransposition();
    values.bendState = def.HasBendRange() ? 1 : 0;
    values.bendRange = def.HasBendRange() ? def.GetBendRange() : 0;
    values.count = 1;
    return;
  }
  if (values.name != def.GetName()) {
    values.name.clear();
    values.nameMixed = true;
  }
  GatherSwitched(values.sendPatch, values.patch, def.HasPatch(), def.GetPatch());
  int32_t bankState = values.sendBank;
  GatherSwitched(bankState, values.bankMSB, def.HasBank(), def.GetBankMSB());
  GatherSwitched(values.sendBank, values.bankLSB, def.HasBank(), def.GetBankLSB());
  GatherSwitched(values.bendState, values.bendRange, def.HasBendRange(), def.GetBendRange());
  GatherPlain(values.transposition, def.GetTransposition());
  for (int i = 0; i < 8; ++i) GatherPlain(values.velocities[i], def.GetDynamicVelocity(i));
  ++values.count;
}

void ApplyInstrumentValues(const TInstrumentValues& values, TInstrumentDef& def) {
  if (!(values.nameMixed && values.name.empty())) def.SetName(values.name);
  if (values.sendPatch == 0)
    def.ClearPatch();
  else if ((def.HasPatch() || values.sendPatch == 1) && values.patch != kInstrumentMixed)
    def.SetPatch(values.patch);
  if (values.sendBank == 0) {
    def.ClearBank();
  } else if (def.HasBank() || values.sendBank == 1) {
    const int msb = values.bankMSB != kInstrumentMixed ? values.bankMSB : def.GetBankMSB();
    const int lsb = values.bankLSB != kInstrumentMixed ? values.bankLSB : def.GetBankLSB();
    def.SetBank(msb, lsb);
  }
  if (values.transposition != kInstrumentMixed) def.SetTransposition(values.transposition);
  if (values.bendState == 0)
    def.ClearBendRange();
  else if ((def.HasBendRange() || values.bendState == 1) && values.bendRange != kInstrumentMixed)
    def.SetBendRange(values.bendRange);
  for (int i = 0; i < 8; ++i)
    if (values.velocities[i] != kInstrumentMixed) def.SetDynamicVelocity(i, values.velocities[i]);
}

bool GatherInstrumentValues(TInstrumentValues& values, const TNotatedItem& item) {
  if (item.GetType() != kItemPatch) return false;
  GatherInstrumentValues(values, static_cast<const TPatchData&>(item).GetInstrument());
  return true;
}

bool ApplyInstrumentValues(const TInstrumentValues& values, TNotatedItem& item) {
  if (item.GetType() != kItemPatch) return false;
  ApplyInstrumentValues(values, static_cast<TPatchData&>(item).GetInstrument());
  return true;
}

void FillValuesFromTreeNode(const TInstrumentTreeItem& node, TInstrumentValues& values) {
  values.name = Utf8ToUtf16(node.name);
  if (values.name.size() > 47) values.name.resize(Utf16PrefixLength(values.name, 47));
  values.nameMixed = false;
  if (const TInstrumentTreeItem* n = node.FindDefining(kTreePatch)) {
    values.sendPatch = 1;
    values.patch = n->patch;
  }
  if (const TInstrumentTreeItem* n = node.FindDefining(kTreeBank)) {
    values.sendBank = 1;
    values.bankMSB = n->bankMSB;
    values.bankLSB = n->bankLSB;
  }
  if (const TInstrumentTreeItem* n = node.FindDefining(kTreeVelocities))
    for (int i = 0; i < 8; ++i) values.velocities[i] = n->velocities[i];
  if (const TInstrumentTreeItem* n = node.FindDefining(kTreeTransposition))
    values.transposition = n->transposition;
  if (const TInstrumentTreeItem* n = node.FindDefining(kTreeBendRange)) {
    values.bendState = 1;
    values.bendRange = n->bendRange;
  }
}

}  // namespace kvt
