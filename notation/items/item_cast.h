#pragma once
// The one checked downcast from TNotatedItem to an item class.
//
// Contract:
// - ItemAs<T>(item) answers the item as a T when the item's type code (GetType) is one of
//   T's codes (kItemClassTypes<T>), and null otherwise or for a null item. Constness carries
//   over.
// - ItemRef<T>(item) is the reference form for code that has tested the kind already (a switch
//   on GetType); a mismatch is a broken precondition, never an object of the wrong class.
// - TakeItemAs<T>(owned) moves an owned item into a std::unique_ptr<T> when it is a T; on a
//   mismatch it answers null and leaves the item with the caller.
//
// A concrete item class names its code as `static constexpr TNotatedItemType kType`. A class
// that other item classes derive from stands for its own code and theirs: the specializations
// below list them, so a new item class derived from one of those adds its code there.

#include <cstdint>
#include <memory>
#include <type_traits>

#include "notation/items/notated_item.h"
#include "utils/precondition.h"

namespace kvt {

class TSongNote;
class TMusicNote;
class TRestNote;
class TNtnGeneralExpression;

// A set of type codes: bit n stands for code n.
using TItemTypeSet = uint32_t;
static_assert(kItemTypeCount <= 32, "every type code needs a bit of TItemTypeSet");

constexpr TItemTypeSet ItemTypeBit(TNotatedItemType type) {
  return TItemTypeSet{1} << static_cast<unsigned>(type);
}

// The codes of the items that are a T.
template <class T>
inline constexpr TItemTypeSet kItemClassTypes = ItemTypeBit(T::kType);
// Notes and chords (a chord is a note).
template <>
inline constexpr TItemTypeSet kItemClassTypes<TMusicNote> =
    ItemTypeBit(kItemNote) | ItemTypeBit(kItemChord);
// Rests and rest chords.
template <>
inline constexpr TItemTypeSet kItemClassTypes<TRestNote> =
    ItemTypeBit(kItemRest) | ItemTypeBit(kItemRestChord);
// Every note and rest kind.
template <>
inline constexpr TItemTypeSet kItemClassTypes<TSongNote> =
    kItemClassTypes<TMusicNote> | kItemClassTypes<TRestNote>;
// The expressions.
template <>
inline constexpr TItemTypeSet kItemClassTypes<TNtnGeneralExpression> =
    ItemTypeBit(kItemPatch) | ItemTypeBit(kItemTempo) | ItemTypeBit(kItemDynamic) |
    ItemTypeBit(kItemSustainPedal) | ItemTypeBit(kItemFlow) | ItemTypeBit(kItemGenericControl) |
    ItemTypeBit(kItemTempoVariance) | ItemTypeBit(kItemDynamicVariance) |
    ItemTypeBit(kItemPerformanceStyle) | ItemTypeBit(kItemText);

// Whether the item (not null) is a T.
template <class T>
bool IsItemOf(const TNotatedItem* item) {
  return item && (kItemClassTypes<std::remove_const_t<T>> & ItemTypeBit(item->GetType())) != 0;
}

template <class T>
T* ItemAs(TNotatedItem* item) {
  return IsItemOf<T>(item) ? static_cast<T*>(item) : nullptr;
}

template <class T>
const T* ItemAs(const TNotatedItem* item) {
  return IsItemOf<T>(item) ? static_cast<const T*>(item) : nullptr;
}

template <class T>
T& ItemRef(TNotatedItem& item) {
  KVT_PRECONDITION(IsItemOf<T>(&item));
  return static_cast<T&>(item);
}

template <class T>
const T& ItemRef(const TNotatedItem& item) {
  KVT_PRECONDITION(IsItemOf<T>(&item));
  return static_cast<const T&>(item);
}

template <class T>
std::unique_ptr<T> TakeItemAs(std::unique_ptr<TNotatedItem>& owned) {
  if (!IsItemOf<T>(owned.get())) return nullptr;
  return std::unique_ptr<T>(static_cast<T*>(owned.release()));
}

}  // namespace kvt
