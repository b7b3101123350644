#pragma once
// Connection records: one straight line per beam group or tuplet bracket of a laid-out staff,
// and the bounded list that holds them (one list for beams, one for brackets).
//
// Record fields: flags (bits 0-3 grace class, bit 4 stem down / bracket below, bit 6 hidden),
// first and last item index of the group, the line's start x and y, its end x and its slope.
// A list grows by 16 records up to 512; an append beyond that fails and the staff draws
// without the rest.

#include <cstdint>
#include <cstddef>
#include <vector>

namespace kvt {

struct TStaffConnect {
  uint8_t flags = 0;
  uint16_t first = 0;
  uint16_t last = 0;
  int32_t startX = 0;
  int32_t startY = 0;
  int32_t endX = 0;
  float slope = 0;

  int GraceClass() const { return flags & 0x0F; }
  bool IsDown() const { return (flags & 0x10) != 0; }
  bool IsHidden() const { return (flags & 0x40) != 0; }
  void SetFlags(int graceClass, bool down, bool hidden) {
    flags = static_cast<uint8_t>((graceClass & 0x0F) | (down ? 0x10 : 0) | (hidden ? 0x40 : 0));
  }
  // start y + (x - start x) x slope, truncated towards zero and kept within int.
  int LineYAt(int x) const;
};

inline constexpr int kMaxStaffConnects = 512;

class TKVStaffConnects {
public:
  explicit TKVStaffConnects(int capacity);

  // False when the list holds kMaxStaffConnects records already.
  bool Append(const TStaffConnect& record);
  // The record whose first item is itemIndex; null when none.
  const TStaffConnect* FindByFirst(int itemIndex) const;
  // The first record of the grace class whose first..last range holds the item.
  const TStaffConnect* FindCovering(int graceClass, int itemIndex) const;
  void Clear() { records.clear(); }
  int Count() const { return static_cast<int>(records.size()); }
  const TStaffConnect& At(int i) const { return records[static_cast<size_t>(i)]; }
  int Capacity() const { return static_cast<int>(records.capacity()); }

private:
  std::vector<TStaffConnect> records;
};

}  // namespace kvt
