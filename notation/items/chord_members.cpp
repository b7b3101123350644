#include "notation/items/chord_members.h"

#include <algorithm>
#include <utility>

#include "notation/items/music_note.h"

namespace kvt {

TChordMembers::~TChordMembers() {
  for (int i = 0; i < count; ++i) delete items[i];
  delete[] items;
}

bool TChordMembers::Insert(int index, TMusicNote* note) {
  if (count >= kMaxCount || index < 0 || index > count) return false;
  if (count == capacity) {
    const int grown = std::min(kMaxCount, capacity < 2 ? 2 : capacity + capacity / 2);
    auto* bigger = new TMusicNote*[static_cast<size_t>(grown)];
    std::copy(items, items + count, bigger);
    delete[] items;
    items = bigger;
    capacity = static_cast<uint16_t>(grown);
  }
  std::copy_backward(items + index, items + count, items + count + 1);
  items[index] = note;
  ++count;
  return true;
}

TMusicNote* TChordMembers::Take(int index) {
  TMusicNote* note = items[index];
  std::copy(items + index + 1, items + count, items + index);
  --count;
  return note;
}

void TChordMembers::Delete(int index) { delete Take(index); }

void TChordMembers::Swap(int i, int j) { std::swap(items[i], items[j]); }

}  // namespace kvt
