#pragma once
// TStaffTieList: the notes of a staff walk that are tied into a following note and not yet
// resolved, at most 24. A plain value.

#include <cstdint>

namespace kvt {

// One pending tie, packed in 16 bits: byte 0 the signed staff position; byte 1 bits 0-3 the
// accidental code, bit 4 a mark handed from the tying member to the note that continues it.
class TStaffTieEntry {
public:
  TStaffTieEntry() = default;
  // Position saturated to -128..127, accidental to 0..15.
  TStaffTieEntry(int position, int accidental, bool mark);

  int GetPosition() const { return static_cast<int8_t>(bits & 0xFF); }
  int GetAccidental() const { return (bits >> 8) & 15; }
  bool GetMark() const { return (bits >> 12) & 1; }
  uint16_t GetBits() const { return bits; }

  friend bool operator==(TStaffTieEntry a, TStaffTieEntry b) { return a.bits == b.bits; }

private:
  uint16_t bits = 0;
};

inline constexpr int kMaxStaffTies = 24;

class TStaffTieList {
public:
  void Clear() { count = 0; }
  int GetCount() const { return count; }
  // False when 24 entries are held.
  bool Add(int position, int accidental, bool mark);
  // False past the count.
  bool GetEntry(int i, TStaffTieEntry& entry) const;
  // Searches from the newest entry for one at the position whose accidental equals
  // `accidental` (5 matches any); copies it out and, with remove, takes it out (later entries
  // move down). False when none.
  bool Find(int position, int accidental, TStaffTieEntry& entry, bool remove);

private:
  TStaffTieEntry entries[kMaxStaffTies];
  int32_t count = 0;
};

}  // namespace kvt
