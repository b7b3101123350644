#pragma once
// TAuditNtnIdx: walks a staff forward in item order and keeps the musical context as it would
// stand when the music is played. Every item passed is applied to a running
// TStaffContextState (in the audit walk mode); pending ties are tracked; the context is saved
// at a first ending and at a To Coda mark and brought back at the later endings and at the
// Coda, so that the context at each item is the one a player would have there. It also counts
// bars and syllables, follows open beam and triplet groups and the voice of a split-stem item
// whose longer part still sounds.
//
// The walk never follows a jump: it is one pass over the items, so its length is bounded by
// the staff's. Moving back restarts from item 0 (SetIndex forward only).
//
// Counters are held in 32 bits (bars with long multi-bar rests pass 16 bits).

#include <cstdint>

#include "notation/index/neighborhood_ntn_idx.h"
#include "notation/context/staff_context_state.h"
#include "notation/context/staff_tie_list.h"

namespace kvt {

class TMusicScore;
class TSongNote;

class TAuditNtnIdx : public TNeighborhoodNtnIdx {
public:
  TAuditNtnIdx() = default;
  // At item 0, reset.
  explicit TAuditNtnIdx(TMusicStaff* staff);
  // At item 0, reset, then SetIndex(i).
  TAuditNtnIdx(TMusicStaff* staff, int i);
  TAuditNtnIdx(const TAuditNtnIdx&) = default;
  TAuditNtnIdx& operator=(const TAuditNtnIdx&) = default;

  // The neighbourhood reset; the running state loaded from the staff (InitContextState) in
  // the audit walk mode, both saved states copies of it; ties, groups, counters, split voice
  // and last multi-bar rest cleared.
  void Reset() override;
  // Clamped to the last index; a target below 2 or behind the index restarts from item 0;
  // then steps forward. False when clamped or negative.
  bool SetIndex(int i) override;
  // Handles the item being left (see the .cpp), applies it to the running state, then moves.
  bool Next() override;
  // SetIndex(index - 1): a restart and a walk.
  bool Prev() override;

  const TStaffContextState& GetRunningState() const { return running; }
  const TStaffTieList& GetTieList() const { return ties; }
  void GetTimeSig(int& beats, int& exponent) const;

  // Ticks from the start of the current bar to the current item: 0 at item 0 and right after
  // a bar line; a multi-bar rest counts as its last bar (one bar length), so the count after
  // it goes on from there.
  int32_t GetTicksSinceBar() const;
  // GetTicksSinceBar in beats of the time signature in force; 0 when either is 0.
  double GetBeatPosition() const;

  int32_t GetBarCount(bool all) const { return all ? bars : bars - leftOutBars; }
  int32_t GetLeftOutBars() const { return leftOutBars; }
  // Bars + the score's StartingBar - left-out bars - 1 (StartingBar 1 without score).
  int32_t GetBarNumber(const TMusicScore* score) const;
  int32_t GetSyllableCount() const { return syllables; }
  int32_t GetLastMultiBarRestIndex() const { return lastMultiRest; }
  // Open-group bits of a grace flag: bit 0 a beam is open, bit 1 a triplet is open.
  uint32_t GetOpenGroups(bool grace) const { return openGroups[grace ? 1 : 0]; }

  // Ticks the longer part of the last split-stem item still sounds; 0 when none.
  int GetSplitVoiceTicks() const { return splitVoiceTicks; }
  // Stem direction of that item: 1 up, -1 down.
  int GetSplitVoiceDirection() const { return splitVoiceUp ? 1 : -1; }

protected:
  // Switches the running state and both saved states to the linear walk mode, so a state
  // brought back at an ending or the Coda keeps the walk mode of the running one.
  void UseLinearWalkMode();

private:
  void StepSongNote(const TSongNote& note);

  TStaffContextState running;
  TStaffContextState firstEndingState;
  TStaffContextState toCodaState;
  TStaffTieList ties;
  TStaffTieList firstEndingTies;
  TStaffTieList toCodaTies;
  uint32_t openGroups[2] = {0, 0};
  int32_t bars = 0;
  int32_t leftOutBars = 0;
  bool splitVoiceUp = false;
  int32_t splitVoiceTicks = 0;
  int32_t syllables = 0;
  int32_t lastMultiRest = 0;
};

}  // namespace kvt
