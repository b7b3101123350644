#include "notation/items/chord_members.h"

#include <algorithm>
#include <utility>

#include "notation/items/music_note.h"

namespace kvt {

void TChordMembers::FreeSlots(TSlot* slots, int slotCount) {
  if (!slots) return;
  // Members go first to last, as they always have.
  std::destroy(slots, slots + slotCount);
  std::allocator<TSlot>().deallocate(slots, static_cast<size_t>(slotCount));
}

TChordMembers::~TChordMembers() { FreeSlots(items, capacity); }

bool TChordMembers::Insert(int index, std::unique_ptr<TMusicNote>& note) {
  if (!note || count >= kMaxCount || index < 0 || index > count) return false;
  if (count == capacity) {
    const int grown = std::min(kMaxCount, capacity < 2 ? 2 : capacity + capacity / 2);
    // The allocator, not new[]: an array of slots from new[] carries a cookie that a member
    // array of three would pay for with a bigger heap block.
    TSlot* bigger = std::allocator<TSlot>().allocate(static_cast<size_t>(grown));
    std::uninitialized_move(items, items + count, bigger);
    std::uninitialized_value_construct(bigger + count, bigger + grown);
    FreeSlots(items, capacity);
    items = bigger;
    capacity = static_cast<uint16_t>(grown);
  }
  std::move_backward(items + index, items + count, items + count + 1);
  items[index] = std::move(note);
  ++count;
  return true;
}

std::unique_ptr<TMusicNote> TChordMembers::Take(int index) {
  TSlot note = std::move(items[index]);
  std::move(items + index + 1, items + count, items + index);
  --count;
  return note;
}

void TChordMembers::Delete(int index) { Take(index); }

void TChordMembers::Swap(int i, int j) { std::swap(items[i], items[j]); }

}  // namespace kvt
