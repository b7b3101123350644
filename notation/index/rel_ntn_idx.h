#pragma once
// TRelNtnIdx: a notation index that keeps, in step with every move, the tick time of the
// current item from the staff start, the bars passed (and those left out of numbering), the
// syllable notes passed, and the bar inside a multi-bar rest when it walks bar by bar.
//
// Counting (the counters describe the items before the index; the item at the index is not
// yet counted): a bar line counts unless the audit marked it NotABar, and a counted bar line
// with XBarCnt is also left out of numbering; a multi-bar rest adds NumBars - 1 bars; a song
// note that takes a lyric adds a syllable; every item adds its duration.
//
// Walking bar-wise, a multi-bar rest is visited once per bar: bar b of the rest stands
// b bars and b bar lengths after the rest's start. Counters are held in 32 bits, so a staff of
// long multi-bar rests never wraps them.
//
// Packed positions: item index and bar inside a multi-bar rest in one 64-bit value,
// index x 2^32 + bar, so rests of any length (up to 65535 bars) keep their bar.

#include <cstdint>

#include "notation/index/simple_ntn_idx.h"

namespace kvt {

class TMusicScore;

using TPackedNtnPos = int64_t;
inline constexpr int kPackedBarShift = 32;

// A position a relative index can seek: an item index and the bar inside a multi-bar rest.
struct TNtnIdxPosition {
  int32_t index = 0;
  int32_t restBar = 0;
};

class TRelNtnIdx : public TSimpleNtnIdx {
public:
  TRelNtnIdx() = default;
  explicit TRelNtnIdx(TMusicStaff* staff);
  TRelNtnIdx(TMusicStaff* staff, int i);
  // At the draw position's item and, for a later bar of a multi-bar rest, that bar.
  TRelNtnIdx(TMusicStaff* staff, const TStaffDrawPos& drawPos);
  // The same on the layout's staff.
  TRelNtnIdx(TStaffLayoutView& layout, const TStaffDrawPos& drawPos);

  // Counters to 0 at item 0.
  void Reset() override;
  // Clamped to the last index (false when clamped or negative); steps item by item so the
  // counters stay right, resetting first for a target below 5. At the target already it
  // only leaves a multi-bar-rest bar.
  bool SetIndex(int i) override;
  // Leaves any multi-bar-rest bar, counts the item left, moves.
  bool Next() override;
  // Leaves any multi-bar-rest bar, moves, uncounts the item reached.
  bool Prev() override;

  // Ticks from the staff start; 64-bit, since long multi-bar rests can pass the 32-bit range.
  int64_t GetTicks() const { return ticks; }
  // Bars passed; without all, minus those left out of numbering.
  int32_t GetBarCount(bool all) const { return all ? bars : bars - leftOutBars; }
  int32_t GetLeftOutBars() const { return leftOutBars; }
  int32_t GetSyllableCount() const { return syllables; }
  // Bars passed + the score's StartingBar - left-out bars - 1 (StartingBar 1 without score).
  int32_t GetBarNumber(const TMusicScore* score) const;

  // Bar inside the current multi-bar rest (0 its first bar).
  int32_t GetMultiBarRestBar() const { return restBar; }
  // Back to the rest's first bar, taking off the bars and bar lengths of the later ones.
  void LeaveMultiBarRestBar();

  // Whether a (bar-wise) step is possible, counting the further bars of a multi-bar rest.
  bool CanStepBar(int dir) const;
  // With barwise, a multi-bar rest is walked one bar at a time (each bar adds its bar length
  // and one bar), and entering one backwards lands on its last bar; otherwise Next / Prev.
  bool NextBarwise(bool barwise);
  bool PrevBarwise(bool barwise);
  bool StepBar(int dir) { return dir < 0 ? PrevBarwise(true) : NextBarwise(true); }
  // Steps bar-wise until the tick time changes; false when the staff ends first.
  bool StepUntilTimeChanges(int dir);
  // StepUntilTimeChanges, then on until the bar count differs from the starting one.
  bool StepToOtherBar(int dir);

  TPackedNtnPos GetPackedPosition() const;
  // False when the index cannot be reached or the bar lies beyond the rest's bars (a bar
  // other than 0 needs a multi-bar rest at the index).
  bool SeekPackedPosition(TPackedNtnPos position);
  bool SeekPosition(const TNtnIdxPosition& position);
  // The first item that starts at or after the tick time (zero-length items starting exactly
  // there included); a target of 0 or less resets. False when the staff ends first.
  bool SeekTime(int64_t targetTicks, bool barwise);
  // The same by bar count (GetBarCount(all)).
  bool SeekBarCount(int32_t count, bool all, bool barwise);
  // To the draw position's item (item 0 for the staff start) and, inside a multi-bar rest, to
  // its bar.
  bool SeekDrawPos(const TStaffDrawPos& drawPos);
  // Moves this index (usually on another staff) to the place matching other: the same tick
  // time; then, when other stands on a bar line, clef, key, flow mark, ending or time
  // signature that this one lacks, on to the next item of that type or the next song note;
  // then forward while its bar count is behind. When that moves it to another tick time, the
  // place found at equal time is restored. True when the tick times agree.
  bool SyncWith(const TRelNtnIdx& other, bool barwise);

protected:
  // Adds (sign +1) or takes off (sign -1) the counts of an item.
  void CountItem(const TNotatedItem& item, int sign);

private:
  // The multi-bar rest at the index; null when the item is another kind.
  const TMultiMeasureRest* CurrentRest() const;
  bool StepToBar(int bar);

  int64_t ticks = 0;
  int32_t bars = 0;
  int32_t leftOutBars = 0;
  int32_t syllables = 0;
  int32_t restBar = 0;
};

}  // namespace kvt
