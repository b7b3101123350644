#pragma once
// TChordMembers: the owned, ordered member notes of a chord, kept small: a pointer and two
// 16-bit counts (16 bytes) instead of a general vector, and an array that grows by half its size
// from two slots, so the common three-note chord holds exactly three. The array holds
// std::unique_ptr slots without an array-new cookie, so it costs what raw pointers cost.
// Members are deleted with the array; Take hands one back to the caller.

#include <cstddef>
#include <cstdint>
#include <memory>

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
  TMusicNote* operator[](int i) const { return items[i].get(); }
  TMusicNote* front() const { return items[0].get(); }
  TMusicNote* back() const { return items[count - 1].get(); }
  const std::unique_ptr<TMusicNote>* begin() const { return items; }
  const std::unique_ptr<TMusicNote>* end() const { return items + count; }

  // Takes note (which becomes null) at position index (0..size()) and answers true; false, with
  // the note left to the caller, when the chord is full, index is outside 0..size() or note is
  // null.
  bool Insert(int index, std::unique_ptr<TMusicNote>& note);
  // Removes member index (0..size()-1) and hands it to the caller.
  std::unique_ptr<TMusicNote> Take(int index);
  // Removes and deletes member index.
  void Delete(int index);
  void Swap(int i, int j);
  // Bytes of the member array (for memory measurements).
  size_t GetArrayBytes() const { return capacity * sizeof(std::unique_ptr<TMusicNote>); }

private:
  using TSlot = std::unique_ptr<TMusicNote>;
  // Destroys the slots and gives back the array.
  static void FreeSlots(TSlot* slots, int slotCount);

  TSlot* items = nullptr;  // capacity slots, every one constructed
  uint16_t count = 0;
  uint16_t capacity = 0;
};

}  // namespace kvt
