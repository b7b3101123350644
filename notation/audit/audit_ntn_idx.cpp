// The audit index: one forward pass over a staff with the context a player would have.

#include "notation/audit/audit_ntn_idx.h"

#include "notation/items/item_cast.h"
#include "notation/items/bar_line_data.h"
#include "notation/items/flow_direction.h"
#include "notation/items/multi_measure_rest.h"
#include "notation/items/music_note.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "notation/items/repeat_ending.h"

namespace kvt {

TAuditNtnIdx::TAuditNtnIdx(TMusicStaff* staff) : TNeighborhoodNtnIdx(staff) {
  TAuditNtnIdx::Reset();
}

TAuditNtnIdx::TAuditNtnIdx(TMusicStaff* staff, int i) : TNeighborhoodNtnIdx(staff) {
  TAuditNtnIdx::Reset();
  TAuditNtnIdx::SetIndex(i);
}

void TAuditNtnIdx::Reset() {
  TNeighborhoodNtnIdx::Reset();
  running.Reset();
  if (TMusicStaff* staff = GetStaff()) staff->InitContextState(running);
  running.SetAuditWalkMode();
  firstEndingState = running;
  toCodaState = running;
  ties.Clear();
  firstEndingTies.Clear();
  toCodaTies.Clear();
  openGroups[0] = openGroups[1] = 0;
  bars = 0;
  leftOutBars = 0;
  splitVoiceUp = false;
  splitVoiceTicks = 0;
  syllables = 0;
  lastMultiRest = 0;
}

void TAuditNtnIdx::UseLinearWalkMode() {
  running.SetLinearWalkMode();
  firstEndingState.SetLinearWalkMode();
  toCodaState.SetLinearWalkMode();
}

bool TAuditNtnIdx::SetIndex(int i) {
  if (!GetStaff()) return false;
  const int last = LastIndex();
  const bool inRange = i >= 0 && i <= last;
  const int target = i < 0 ? 0 : (i < last ? i : last);
  if (target < 2 || target < GetIndex()) Reset();
  while (GetIndex() < target)
    if (!Next()) break;
  return inRange && GetIndex() == target;
}

bool TAuditNtnIdx::Prev() {
  if (!CanMove(-1)) return false;
  return SetIndex(GetIndex() - 1);
}

void TAuditNtnIdx::StepSongNote(const TSongNote& note) {

  // A split-stem item whose parts differ in length starts a voice that sounds for the
  // length of its other part; later items use up its remaining ticks.
  if (note.HasSplitStem() && note.HasTwoDurations()) {
    splitVoiceUp = note.GetStemDir() > 0;
    splitVoiceTicks = GetOtherPartDuration(note);
  } else if (splitVoiceTicks > 0) {
    const int duration = note.GetDuration();
    splitVoiceTicks = duration < splitVoiceTicks ? splitVoiceTicks - duration : 0;
  }

  if (note.TakesLyric()) ++syllables;

  const int grace = note.IsGrace() ? 1 : 0;
  for (int kind = kGroupBeam; kind <= kGroupTriplet; ++kind) {
    if (kind == kGroupBeam && note.IsRestClass()) continue;
    const int state = kind == kGroupBeam ? note.GetBeamState() : note.GetTripletState();
    const uint32_t bit = 1u << kind;
    if (state == kGroupFirst || state == kGroupMiddle)
      openGroups[grace] |= bit;
    else
      openGroups[grace] &= ~bit;
  }

  for (int m = 0, count = note.GetMemberCount(); m < count; ++m) {
    const TMusicNote* member = note.GetMember(m);
    if (!member) continue;
    if (member->IsTieOut() && !member->IsTieIn()) {
      ties.Add(member->GetStaffPos(), member->GetSoundingAccidental(running),
               !member->IsTieDown());
    } else if (member->IsTieIn() && !member->IsTieOut()) {
      TStaffTieEntry entry;
      ties.Find(member->GetStaffPos(), member->GetAccidental(), entry, true);
    }
  }
}

bool TAuditNtnIdx::Next() {
  if (!CanMove(1)) return false;
  const TNotatedItem* at = GetItem();
  if (!at) return TNeighborhoodNtnIdx::Next();
  switch (at->GetType()) {
    case kItemBarLine: {
      const auto& bar = ItemRef<TBarLineData>(*at);
      splitVoiceTicks = 0;
      if (!bar.IsNotABar()) {
        ++bars;
        if (bar.IsXBarCnt()) ++leftOutBars;
      }
      if (bar.GetStyle() == kBarMasterRepeatOpen) running.SetFirstEndingSeen(false);
      break;
    }
    case kItemMultiBarRest:
      lastMultiRest = GetIndex();
      splitVoiceTicks = 0;
      bars += ItemRef<TMultiMeasureRest>(*at).GetNumBars() - 1;
      break;
    case kItemEnding: {
      const auto& ending = ItemRef<TSpecialEnding>(*at);
      if (!ending.HasAnyEnding()) break;
      if (ending.HasEnding(1)) {
        running.SetFirstEndingSeen(true);
        firstEndingState = running;
        firstEndingTies = ties;
      } else if (running.IsFirstEndingSeen()) {
        // Each later ending starts from the context at the first ending.
        running = firstEndingState;
        ties = firstEndingTies;
      }
      break;
    }
    case kItemFlow: {
      const auto& flow = ItemRef<TFlowDirection>(*at);
      if (flow.GetStyle() == kFlowToCoda) {
        // The copy takes the jump, which enters the coda in it.
        toCodaState = running;
        toCodaTies = ties;
        toCodaState.SetFlowJumped();
        flow.ApplyToContext(toCodaState);
      } else if (flow.GetStyle() == kFlowCoda && toCodaState.IsInCoda()) {
        running = toCodaState;
        ties = toCodaTies;
      }
      break;
    }
    default:
      if (const auto* note = ItemAs<TSongNote>(at)) StepSongNote(*note);
      break;
  }
  at->ApplyToContext(running);
  return TNeighborhoodNtnIdx::Next();
}

void TAuditNtnIdx::GetTimeSig(int& beats, int& exponent) const {
  beats = running.GetTimeSigBeats();
  exponent = running.GetTimeSigBeatExponent();
}

// Summed back to the bar line before the item. A multi-bar rest met on the way stands for
// whole bars: only its last bar belongs to the current one, so it adds one bar length and
// ends the sum (summing its full length would count several bars as one).
int32_t TAuditNtnIdx::GetTicksSinceBar() const {
  int64_t ticks = 0;
  for (int i = GetIndex() - 1; i >= 0; --i) {
    const TNotatedItem* item = ItemAt(i);
    if (!item || item->GetType() == kItemBarLine) break;
    if (item->GetType() == kItemMultiBarRest) {
      ticks += ItemAs<TMultiMeasureRest>(item)->GetBarTicks();
      break;
    }
    ticks += item->GetDuration();
  }
  return ticks > INT32_MAX ? INT32_MAX : static_cast<int32_t>(ticks);
}

double TAuditNtnIdx::GetBeatPosition() const {
  const int32_t ticks = GetTicksSinceBar();
  const int beat = kWholeNoteTicks >> running.GetTimeSigBeatExponent();
  if (ticks == 0 || beat == 0) return 0.0;
  return static_cast<double>(ticks) / beat;
}

int32_t TAuditNtnIdx::GetBarNumber(const TMusicScore* score) const {
  const int64_t startingBar = score ? score->GetStartingBar() : 1;
  const int64_t number = bars + startingBar - leftOutBars - 1;
  if (number > INT32_MAX) return INT32_MAX;
  if (number < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(number);
}

}  // namespace kvt
