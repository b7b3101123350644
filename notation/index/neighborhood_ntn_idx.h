#pragma once
// TNeighborhoodNtnIdx: a notation index that remembers, in step with every move, the index of
// the last item of each context kind before it: bar line, clef, key, time signature,
// instrument change, dynamic, dynamic variance, tempo, gradual tempo variance (style above 2)
// and rest, and the last two song notes. Index 0 means none (item 0 is the opening bar line,
// so it never names a remembered item).

#include <cstdint>

#include "notation/index/simple_ntn_idx.h"

namespace kvt {

class TInstrumentDef;

class TNeighborhoodNtnIdx : public TSimpleNtnIdx {
public:
  TNeighborhoodNtnIdx() = default;
  explicit TNeighborhoodNtnIdx(TMusicStaff* staff);
  TNeighborhoodNtnIdx(TMusicStaff* staff, int i);

  // Base reset; every remembered index 0.
  void Reset() override;
  // A target below 2 resets first (0 or less is then done); otherwise clamped to the last
  // index; then steps back or forward item by item.
  bool SetIndex(int i) override;
  // Records the item left, then moves.
  bool Next() override;
  // Moves back, then re-derives the slot of the item reached by searching back from it.
  bool Prev() override;

  int32_t GetLastBarLineIndex() const { return slots[kSlotBarLine]; }
  int32_t GetLastClefIndex() const { return slots[kSlotClef]; }
  int32_t GetLastKeyIndex() const { return slots[kSlotKey]; }
  int32_t GetLastTimeSigIndex() const { return slots[kSlotTimeSig]; }
  int32_t GetLastInstrumentIndex() const { return slots[kSlotInstrument]; }
  int32_t GetLastDynamicIndex() const { return slots[kSlotDynamic]; }
  int32_t GetLastDynamicVarianceIndex() const { return slots[kSlotDynamicVariance]; }
  int32_t GetLastTempoIndex() const { return slots[kSlotTempo]; }
  int32_t GetLastTempoVarianceIndex() const { return slots[kSlotTempoVariance]; }
  int32_t GetLastRestIndex() const { return slots[kSlotRest]; }
  int32_t GetCurrentSongNoteIndex() const { return slots[kSlotSongNote]; }
  int32_t GetPreviousSongNoteIndex() const { return slots[kSlotPrevSongNote]; }

  // The instrument of the last instrument change, else the staff's; null without staff.
  const TInstrumentDef* GetInstrumentDef() const;
  // Of the last time signature, else 4 and 2 (4/4).
  void GetTimeSignature(int& beats, int& exponent) const;

private:
  enum TSlot : int {
    kSlotBarLine,
    kSlotClef,
    kSlotKey,
    kSlotTimeSig,
    kSlotInstrument,
    kSlotDynamic,
    kSlotDynamicVariance,
    kSlotTempo,
    kSlotTempoVariance,
    kSlotRest,
    kSlotSongNote,
    kSlotPrevSongNote,
    kSlotCount,
  };

  // The slot that remembers items of this kind; -1 for kinds not remembered (song notes are
  // handled apart).
  static int SlotOf(const TNotatedItem& item);
  // The last item before `before` that SlotOf maps to `slot`; 0 when none.
  int32_t FindBack(int slot, int before) const;
  int32_t FindSongNoteBack(int before) const;

  int32_t slots[kSlotCount] = {};
};

}  // namespace kvt
