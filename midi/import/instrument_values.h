#pragma once
// The instrument values that the instrument page shows and edits for one or more instrument
// definitions at once (a staff's, or those of several selected instrument changes), and how
// they are gathered from and applied back to the definitions. A numeric field that differs
// between the gathered definitions holds kInstrumentMixed; a state is 0 off, 1 on, 2 mixed.

#include <cstdint>
#include <string>

namespace kvt {

class TInstrumentDef;
class TNotatedItem;
struct TInstrumentTreeItem;

inline constexpr int32_t kInstrumentMixed = static_cast<int32_t>(0x80000002u);

struct TInstrumentValues {
  std::u16string name;  // at most 47 units
  int32_t sendPatch = 0;
  int32_t patch = 0;
  int32_t sendBank = 0;
  int32_t bankMSB = 0;
  int32_t bankLSB = 0;
  int32_t velocities[8] = {};
  int32_t transposition = 0;
  int32_t bendState = 0;
  int32_t bendRange = 0;
  bool nameMixed = false;
  int32_t count = 0;
};

// The first definition is copied; each later one marks what differs as mixed.
void GatherInstrumentValues(TInstrumentValues& values, const TInstrumentDef& definition);
// Writes what is not mixed back into the definition (see the .cpp for the rules per field).
void ApplyInstrumentValues(const TInstrumentValues& values, TInstrumentDef& definition);
// The item forms act only on instrument-change items, with the item's definition; the gather
// form returns whether the item was one.
bool GatherInstrumentValues(TInstrumentValues& values, const TNotatedItem& item);
bool ApplyInstrumentValues(const TInstrumentValues& values, TNotatedItem& item);

// What picking a tree node gives: the node's name, then for each attribute the nearest
// definition from the node up to the root (send states turned on); attributes defined nowhere
// on the path leave the values as they were.
void FillValuesFromTreeNode(const TInstrumentTreeItem& node, TInstrumentValues& values);

}  // namespace kvt
