// Beam and triplet group tests and moves of the simple index, and the stem direction that a
// split-stem item passes on to the notes under its longer part.

#include <algorithm>

#include "notation/items/chord_data.h"
#include "notation/items/item_cast.h"
#include "notation/items/rest_chord.h"
#include "notation/index/simple_ntn_idx.h"

namespace kvt {

namespace {

int GroupState(const TSongNote& note, int kind) {
  return kind == kGroupTriplet ? note.GetTripletState() : note.GetBeamState();
}

const TSongNote* AsSongNote(const TNotatedItem* item) {
  return ItemAs<TSongNote>(item);
}

// Items that end any beam or triplet group.
bool BreaksGroup(int type) {
  return type == kItemKey || type == kItemBarLine || type == kItemEnding ||
         type == kItemTimeSig || type == kItemFlow;
}

}  // namespace

bool TSimpleNtnIdx::IsInGroupOf(int kind) const {
  const TSongNote* note = GetSongNote();
  return note && GroupState(*note, kind) != kGroupNone;
}

bool TSimpleNtnIdx::IsInGroupWithGrace(bool graceBit, int kind) const {
  const TSongNote* note = GetSongNote();
  return note && note->IsGrace() == graceBit && GroupState(*note, kind) != kGroupNone;
}

bool TSimpleNtnIdx::IsGroupState(bool graceBit, int kind, int state) const {
  const TSongNote* note = GetSongNote();
  return note && note->IsGrace() == graceBit && GroupState(*note, kind) == state;
}

bool TSimpleNtnIdx::HasGroupState() const {
  const TSongNote* note = GetSongNote();
  return note && (note->IsBeamed() || note->IsTriplet());
}

bool TSimpleNtnIdx::IsGroupOpening(int kind) const {
  const TSongNote* note = GetSongNote();
  if (!note) return false;
  const int state = GroupState(*note, kind);
  return state == kGroupFirst || state == kGroupMiddle;
}

bool TSimpleNtnIdx::IsGroupClosing(int kind) const {
  const TSongNote* note = GetSongNote();
  if (!note) return false;
  const int state = GroupState(*note, kind);
  return state == kGroupMiddle || state == kGroupEnd;
}

bool TSimpleNtnIdx::IsInsideTriplet() const {
  const TSongNote* note = GetSongNote();
  if (!note || note->IsGrace()) {
    note = nullptr;
    for (int i = GetIndex() - 1; i >= 0 && !note; --i) {
      const TSongNote* before = AsSongNote(ItemAt(i));
      if (before && !before->IsGrace()) note = before;
    }
  }
  if (!note) return false;
  const int state = note->GetTripletState();
  return state == kGroupFirst || state == kGroupMiddle;
}

bool TSimpleNtnIdx::IsGroupable(int kind) const {
  const TNotatedItem* at = GetItem();
  if (!at || !at->IsSongNoteClass()) return false;
  return kind != kGroupBeam || !at->IsRestClass();
}

bool TSimpleNtnIdx::IsBeamable(bool graceBit, bool allowAll) const {
  return IsItemBeamable(GetItem(), graceBit, allowAll);
}

// Key, bar, ending, time signature and flow items break a group; other items that are not
// song notes are transparent. A song note of the group's grace flag joins when allowAll, when
// it is a rest, or when it has a flag; a grace note inside a normal group is transparent; a
// normal note never joins a grace group.
bool TSimpleNtnIdx::IsItemBeamable(const TNotatedItem* item, bool graceBit, bool allowAll) {
  if (!item || BreaksGroup(item->GetType())) return false;
  const TSongNote* note = AsSongNote(item);
  if (!note) return true;
  if (note->IsGrace() != graceBit) return note->IsGrace();
  if (allowAll || item->IsRestClass()) return true;
  return item->IsMusicNoteClass() && ItemAs<TMusicNote>(item)->GetFlagCount() > 0;
}

bool TSimpleNtnIdx::GoToGroupEnd(bool graceBit, int kind, int dir) {
  const int endState = dir < 0 ? kGroupFirst : kGroupEnd;
  while (!IsGroupState(graceBit, kind, endState)) {
    if (!CanMove(dir) || !IsItemBeamable(ItemAt(GetIndex() + (dir < 0 ? -1 : 1)), graceBit, true))
      return false;
    if (!Step(dir)) return false;
  }
  return true;
}

bool TSimpleNtnIdx::FindGroupedNote(int dir) {
  while (CanMove(dir)) {
    if (!Step(dir)) return false;
    if (HasGroupState()) return true;
  }
  return false;
}

bool TSimpleNtnIdx::FindGroupMember(bool graceBit, int kind, int dir) {
  while (CanMove(dir)) {
    if (!Step(dir)) return false;
    if (IsInGroupWithGrace(graceBit, kind)) return true;
  }
  return false;
}

bool TSimpleNtnIdx::FindGroupState(bool graceBit, int kind, int state, int dir) {
  while (CanMove(dir)) {
    if (!Step(dir)) return false;
    if (IsGroupState(graceBit, kind, state)) return true;
  }
  return false;
}

bool TSimpleNtnIdx::FindNoteWithGroupState(int stateBits, int dir) {
  return FindIf(dir, [stateBits](const TNotatedItem& at) {
    const TSongNote* note = AsSongNote(&at);
    return note && (note->GetGroupStateMask() & stateBits) != 0 ? TFindStep::kFound
                                                                : TFindStep::kContinue;
  });
}

int TSimpleNtnIdx::GetOtherPartDuration(const TNotatedItem& item) {
  if (item.GetType() == kItemRestChord) {
    const TMusicNote* part = ItemRef<TRestChord>(item).GetPart();
    return part ? part->GetDuration() : 0;
  }
  if (item.GetType() == kItemChord) {
    const TMusicNote* voice = ItemRef<TChordData>(item).GetSecondDurationNote();
    return voice ? voice->GetDuration() : 0;
  }
  return 0;
}

// Within the current beam group the first split-stem item decides. Otherwise the walk goes
// back item by item (to the bar line) for a split-stem item of the same grace flag whose
// longer part still sounds when the current note starts.
int TSimpleNtnIdx::GetInheritedStemDirection() const {
  const TSongNote* note = GetSongNote();
  if (!note) return 0;
  const bool grace = note->IsGrace();
  if (note->IsBeamed()) {
    int first = GetIndex();
    while (first > 0) {
      const TSongNote* at = AsSongNote(ItemAt(first));
      if (at && at->IsGrace() == grace && at->GetBeamState() == kGroupFirst) break;
      if (!IsItemBeamable(ItemAt(first - 1), grace, true)) break;
      --first;
    }
    for (int i = first, last = LastIndex(); i <= last; ++i) {
      const TNotatedItem* at = ItemAt(i);
      if (i > GetIndex() && !IsItemBeamable(at, grace, true)) break;
      const TSongNote* member = AsSongNote(at);
      if (!member || member->IsGrace() != grace) continue;
      if (member->HasSplitStem()) return member->GetStemDir();
      if (i >= GetIndex() && member->GetBeamState() == kGroupEnd) break;
    }
  }
  int64_t elapsed = 0;
  for (int i = GetIndex() - 1; i >= 0; --i) {
    const TNotatedItem* at = ItemAt(i);
    if (!at || at->GetType() == kItemBarLine) break;
    elapsed += at->GetDuration();
    const TSongNote* before = AsSongNote(at);
    if (!before || before->IsGrace() != grace || !before->HasSplitStem()) continue;
    const int longer = std::max(before->GetDuration(), GetOtherPartDuration(*before));
    if (longer > elapsed) return before->GetStemDir();
  }
  return 0;
}

}  // namespace kvt
