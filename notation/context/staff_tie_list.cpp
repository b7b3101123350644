#include "notation/context/staff_tie_list.h"

#include <algorithm>

namespace kvt {

TStaffTieEntry::TStaffTieEntry(int position, int accidental, bool mark) {
  const auto pos = static_cast<uint8_t>(static_cast<int8_t>(std::clamp(position, -128, 127)));
  const auto acc = static_cast<unsigned>(std::clamp(accidental, 0, 15));
  bits = static_cast<uint16_t>(pos | (acc << 8) | (mark ? 1u << 12 : 0u));
}

bool TStaffTieList::Add(int position, int accidental, bool mark) {
  if (count >= kMaxStaffTies) return false;
  entries[count++] = TStaffTieEntry(position, accidental, mark);
  return true;
}

bool TStaffTieList::GetEntry(int i, TStaffTieEntry& entry) const {
  if (i < 0 || i >= count) return false;
  entry = entries[i];
  return true;
}

bool TStaffTieList::Find(int position, int accidental, TStaffTieEntry& entry, bool remove) {
  // Entries hold positions as signed bytes: compare in the same range.
  const int pos = std::clamp(position, -128, 127);
  for (int i = count - 1; i >= 0; --i) {
    if (entries[i].GetPosition() != pos) continue;
    if (accidental != 5 && entries[i].GetAccidental() != accidental) continue;
    entry = entries[i];
    if (remove) {
      std::copy(entries + i + 1, entries + count, entries + i);
      --count;
    }
    return true;
  }
  return false;
}

}  // namespace kvt
