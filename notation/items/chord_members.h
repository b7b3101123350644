#pragma once
// TChordMembers: the owned, ordered member notes of a chord, kept small: a pointer and two
// 16-bit counts (16 bytes) instead of a general vector, and an array that grows by half its size
// from two slots, so the common three-note chord holds exactly three. Members are deleted with
// the array; Take hands one back to the caller without deleting it.

#include <cstddef>
#include <cstdint>

namespace kvt {

class TMusicNote;

class TChordMembers {
public:
  // The most members a chord holds: more than every position of a staff with a unison on each.
  static constexpr int kMaxCount = 1024;

  TChordMembers() = default;
  TChordMembers(const TChordMembers&) = delete;
  TChordMembers& operator=(const TChordMembers&) = delete;
  ~TChordMembers();

  int size() const { return count; }
  bool empty() const { return count == 0; }
  // i in 0..size()-1.
  TMusicNote* operator[](int i) const { return items[i]; }
  TMusicNote* front() const { return items[0]; }
  TMusicNote* back() const { return items[count - 1]; }
  TMusicNote* const* begin() const { return items; }
  TMusicNote* const* end() const { return items + count; }

  // Takes ownership of note at position index (0..size()); false when the chord is full.
  bool Insert(int index, TMusicNote* note);
  // Removes member index and hands it to the caller.
  TMusicNote* Take(int index);
  // Removes and deletes member index.
  void Delete(int index);
  void Swap(int i, int j);
  // Bytes of the member array (for memory measurements).
  size_t GetArrayBytes() const { return capacity * sizeof(TMusicNote*); }

private:
  TMusicNote** items = nullptr;
  uint16_t count = 0;
  uint16_t capacity = 0;
};

}  // namespace kvt
