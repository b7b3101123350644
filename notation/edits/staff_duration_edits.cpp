// Tied runs and durations over a staff: continuing ties, collapsing and re-expressing runs,
// splitting at beats and bars, whole-bar rests and truncation.

#include <algorithm>
#include <climits>
#include <memory>
#include <vector>

#include "notation/items/bar_line_data.h"
#include "notation/items/item_cast.h"
#include "notation/items/music_note.h"
#include "notation/staff/music_staff.h"
#include "notation/items/rest_note.h"
#include "notation/audit/staff_audit.h"
#include "notation/edits/staff_edits.h"
#include "notation/staff/staff_range.h"
#include "notation/staff/staff_utils.h"
#include "notation/items/time_signature_data.h"
#include "utils/precondition.h"

namespace kvt {

namespace {

bool IsPlainRest(const TNotatedItem* item) { return item && item->GetType() == kItemRest; }

// The piece that continues `item` for a remainder: its tied copy; a rest chord continues as a
// plain rest (its notes belong to the first piece only).
std::unique_ptr<TNotatedItem> MakeContinuation(TNotatedItem& item) {
  if (item.GetType() == kItemRestChord) {
    auto rest = std::make_unique<TRestNote>(kDurQuarter, 0);
    rest->SetStemDir(ItemRef<TRestNote>(item).GetStemSetting());
    return rest;
  }
  return MakeTiedCopy(&item);
}

int ClampTicks(int64_t ticks) { return static_cast<int>(std::clamp<int64_t>(ticks, 0, kMaxTiedTicks)); }

// Gives the song note at i the first of the tied pieces for `ticks` (TiedPieceLengths: exact
// in the fewest pieces where note values allow, triplet values only with `triplets`) and
// appends the others; insertion stops when the staff is full. Returns the index of the last
// piece.
int FillWithTies(TMusicStaff& staff, int i, int64_t ticks, bool triplets = false) {
  const std::vector<int> lengths = TiedPieceLengths(ClampTicks(ticks), triplets);
  int at = i;
  // Too short for any value: the item takes the shortest, as it always has.
  if (lengths.empty()) SetItemDurationToFit(staff.GetItem(at), ClampTicks(ticks), false);
  for (size_t k = 0; k < lengths.size(); ++k) {
    if (k > 0) {
      if (staff.IsFull()) break;
      at = staff.InsertItem(MakeContinuation(*staff.GetItem(at)), at + 1);
    }
    SetItemDurationToFit(staff.GetItem(at), lengths[k], IsTripletLength(lengths[k]));
  }
  return at;
}

// The pieces of the song note at i for `total` ticks starting at `start`: up to `boundary`
// first, then the remainder, all tied, each side in the fewest exact pieces. When note values
// cannot end exactly at the boundary, the split falls at the nearest tick where both sides
// still add up to the whole. Triplet values serve only with `triplets`. Returns the index of
// the last piece; *splitAt (when given) becomes the tick where the pieces meet, or the boundary
// when the item was not split.
int FillSplitAt(TMusicStaff& staff, int i, int64_t start, int64_t boundary, int64_t total,
                bool triplets, int64_t* splitAt = nullptr) {
  if (splitAt) *splitAt = boundary;
  int64_t head = boundary - start;
  if (head <= 0 || head >= total) return FillWithTies(staff, i, total, triplets);
  head = NearestExactSplit(ClampTicks(head), ClampTicks(total), triplets);
  if (head <= 0 || head >= total) return FillWithTies(staff, i, total, triplets);
  if (splitAt) *splitAt = start + head;
  int at = FillWithTies(staff, i, head, triplets);
  if (staff.IsFull()) return at;
  std::unique_ptr<TNotatedItem> piece = MakeContinuation(*staff.GetItem(at));
  at = staff.InsertItem(std::move(piece), at + 1);
  return FillWithTies(staff, at, total - head, triplets);
}

// Sum of the durations of items from..to.
int64_t DurationOf(const TMusicStaff& staff, int from, int to) {
  int64_t sum = 0;
  for (int i = from; i <= to; ++i) sum += staff.GetItem(i)->GetDuration();
  return sum;
}

// Takes up to `ticks` from the run of plain rests that starts at i (shrinking or deleting
// them); returns the ticks taken.
int64_t TakeFromRests(TMusicStaff& staff, int i, int64_t ticks) {
  int end = i;
  while (end <= staff.GetLastIndex() - 1 && IsPlainRest(staff.GetItem(end))) ++end;
  if (end == i) return 0;
  const int64_t available = DurationOf(staff, i, end - 1);
  const int64_t taken = std::min(ticks, available);
  staff.DeleteItems(i + 1, end - 1);
  const int64_t kept = available - taken;
  if (kept >= kShortestFitTicks)
    FillWithTies(staff, i, kept);
  else
    staff.DeleteItem(i);
  return taken;
}

}  // namespace

bool CanContinueTied(const TMusicStaff& staff, int a, int b) {
  const TNotatedItem* x = staff.GetItem(a);
  const TNotatedItem* y = staff.GetItem(b);
  if (!x || !y || !x->IsSongNoteClass() || !y->IsSongNoteClass() || x->GetType() != y->GetType())
    return false;
  // A run of rests continues; a rest chord's notes never merge into another's.
  if (x->GetType() == kItemRest) return true;
  if (!IsTied(x)) return false;
  if (x->GetType() == kItemNote) return x->GetStaffPos() == y->GetStaffPos();
  if (x->GetType() != kItemChord || x->GetMemberCount() != y->GetMemberCount()) return false;
  for (int m = 0, n = y->GetMemberCount(); m < n; ++m) {
    const int pos = y->GetMember(m)->GetStaffPos();
    bool found = false;
    for (int k = 0; k < n && !found; ++k) {
      const TMusicNote* held = x->GetMember(k);
      found = held->GetStaffPos() == pos && held->IsTieOut();
    }
    if (!found) return false;
  }
  return true;
}

int32_t GetTiedRunDuration(const TMusicStaff& staff, int i) {
  const TNotatedItem* item = staff.GetItem(i);
  if (!item) return 0;
  int64_t sum = item->GetDuration();
  for (int j = i; CanContinueTied(staff, j, j + 1); ++j) sum += staff.GetItem(j + 1)->GetDuration();
  return static_cast<int32_t>(std::min<int64_t>(sum, INT32_MAX));
}

void CollapseTiedRun(TMusicStaff& staff, int i) {
  int end = i;
  while (CanContinueTied(staff, end, end + 1)) ++end;
  if (end > i) staff.DeleteItems(i, end - 1);
}

void SetDurationWithTies(TMusicStaff& staff, int i, int32_t ticks) {
  TNotatedItem* p = staff.GetItem(i);
  KVT_PRECONDITION(p);
  if (!p->IsSongNoteClass())
    ThrowPrecondition("((TNotatedItem*) p)->IsSongNoteClass()", __FILE__, __LINE__);
  FillWithTies(staff, i, ticks);
}

int32_t SplitItemAtTime(TMusicStaff& staff, int i, int32_t start, int32_t boundary) {
  TNotatedItem* item = staff.GetItem(i);
  if (!item || !item->IsSongNoteClass() || item->GetType() == kItemRestChord || staff.IsFull())
    return boundary;
  const int64_t duration = item->GetDuration();
  if (start >= boundary || start + duration <= boundary) return boundary;
  // A split for an insertion must land on its tick: triplet values may serve where plain
  // and dotted ones cannot.
  int64_t splitAt = boundary;
  FillSplitAt(staff, i, start, boundary, duration, true, &splitAt);
  return static_cast<int32_t>(splitAt);
}

void NormalizeDurations(TMusicStaff& staff, bool dottedBeats, int32_t restLimit) {
  int64_t beat = GetBeatDuration(4, 2, dottedBeats);
  int64_t beatBase = 0;  // the time of the last bar line or time signature
  int64_t sum = 0;
  for (int i = 1; i <= staff.GetLastIndex() - 1;) {
    const TNotatedItem* item = staff.GetItem(i);
    const int type = item->GetType();
    if (type == kItemBarLine || type == kItemTimeSig) {
      if (type == kItemTimeSig)
        beat = GetTimeSigBeatDuration(*ItemAs<TTimeSignatureData>(item), dottedBeats);
      beatBase = sum;
      ++i;
      continue;
    }
    const auto* song = ItemAs<TSongNote>(item);
    if (!song || song->IsGrace() || type == kItemRestChord || item->GetDuration() <= 0) {
      sum += item->GetDuration();
      ++i;
      continue;
    }
    int64_t total = GetTiedRunDuration(staff, i);
    if (total > item->GetDuration()) CollapseTiedRun(staff, i);
    const int64_t offset = (sum - beatBase) % beat;
    const int64_t nextBeat = sum - offset + beat;
    if (staff.GetItem(i)->HasNotes() && IsPlainRest(staff.GetItem(i + 1))) {
      const int64_t end = sum + total;
      const int64_t gap = (end - beatBase) % beat == 0 ? 0 : beat - (end - beatBase) % beat;
      if (gap > 0 && gap < restLimit) total += TakeFromRests(staff, i + 1, gap);
    }
    const int last = offset != 0 ? FillSplitAt(staff, i, sum, nextBeat, total, false)
                                 : FillWithTies(staff, i, total);
    sum += DurationOf(staff, i, last);
    i = last + 1;
  }
}

void ConsolidateBarRests(TMusicStaff& staff) {
  int beats = 4;
  int exponent = 2;
  bool endingSinceTimeSig = false;
  for (int bar = 0; bar < staff.GetLastIndex();) {
    int next = bar + 1;
    int firstSong = -1;
    for (; next < staff.GetLastIndex() && staff.GetItem(next)->GetType() != kItemBarLine; ++next) {
      const TNotatedItem* item = staff.GetItem(next);
      if (item->GetType() == kItemTimeSig) {
        const auto* sig = ItemAs<TTimeSignatureData>(item);
        if (firstSong < 0) {
          beats = sig->GetBeats();
          exponent = sig->GetBeatExponent();
          endingSinceTimeSig = false;
        }
      } else if (item->GetType() == kItemEnding) {
        if (firstSong < 0) endingSinceTimeSig = true;
      } else if (item->IsSongNoteClass() && firstSong < 0) {
        firstSong = next;
      }
    }
    TStaffRange range(&staff, bar + 1, next - 1);
    if (firstSong >= 0 && range.IsRestOnlyRun()) {
      int b = beats;
      int e = exponent;
      // Past an ending the signature in force is the one of play order.
      if (endingSinceTimeSig) staff.GetTimeSigAt(firstSong, b, e);
      const int barTicks = GetBarDuration(b, e);
      if (range.GetDuration() == barTicks) {
        const int before = staff.GetItemCount();
        range.MergeRestsToWholeBar(barTicks);
        next -= before - staff.GetItemCount();
      }
    }
    // Signatures after the first song note of the bar hold from the next bar on.
    for (int j = firstSong < 0 ? next : firstSong; j < next; ++j) {
      const TNotatedItem* item = staff.GetItem(j);
      if (item->GetType() == kItemTimeSig) {
        beats = ItemAs<TTimeSignatureData>(item)->GetBeats();
        exponent = ItemAs<TTimeSignatureData>(item)->GetBeatExponent();
        endingSinceTimeSig = false;
      } else if (item->GetType() == kItemEnding) {
        endingSinceTimeSig = true;
      }
    }
    bar = next;
  }
  AuditStaffRange(staff);
}

void TruncateAtTime(TMusicStaff& staff, int32_t ticks) {
  if (ticks < 192) return;
  int64_t sum = 0;
  for (int i = 1; i <= staff.GetLastIndex() - 1; ++i) {
    if (sum >= ticks) {
      staff.DeleteItems(i, staff.GetLastIndex() - 1);
      AuditStaffAround(staff, i - 1);
      return;
    }
    sum += staff.GetItem(i)->GetDuration();
  }
}

}  // namespace kvt
