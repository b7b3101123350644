// The relative index: counting items as it moves, and bar-wise walking of multi-bar rests.

#include "notation/index/rel_ntn_idx.h"

#include "notation/items/item_cast.h"
#include "notation/items/bar_line_data.h"
#include "notation/items/multi_measure_rest.h"
#include "notation/staff/music_score.h"
#include "notation/items/song_note.h"
#include "notation/index/staff_draw_pos.h"
#include "notation/index/staff_layout_view.h"

namespace kvt {

TRelNtnIdx::TRelNtnIdx(TMusicStaff* staff) : TSimpleNtnIdx(staff) {}

TRelNtnIdx::TRelNtnIdx(TMusicStaff* staff, int i) : TSimpleNtnIdx(staff) {
  TRelNtnIdx::SetIndex(i);
}

TRelNtnIdx::TRelNtnIdx(TMusicStaff* staff, const TStaffDrawPos& drawPos) : TSimpleNtnIdx(staff) {
  SeekDrawPos(drawPos);
}

TRelNtnIdx::TRelNtnIdx(TStaffLayoutView& layout, const TStaffDrawPos& drawPos)
    : TSimpleNtnIdx(layout.GetStaff()) {
  SeekDrawPos(drawPos);
}

void TRelNtnIdx::Reset() {
  TSimpleNtnIdx::Reset();
  ticks = 0;
  bars = 0;
  leftOutBars = 0;
  syllables = 0;
  restBar = 0;
}

bool TRelNtnIdx::SetIndex(int i) {
  if (!GetStaff()) return false;
  const int last = LastIndex();
  const bool inRange = i >= 0 && i <= last;
  const int target = i < last ? i : last;
  if (target < 5) {
    Reset();
    if (target <= 0) return inRange;
  }
  if (target == GetIndex()) {
    LeaveMultiBarRestBar();
    return inRange;
  }
  while (GetIndex() < target)
    if (!Next()) break;
  while (GetIndex() > target)
    if (!Prev()) break;
  return inRange && GetIndex() == target;
}

bool TRelNtnIdx::Next() {
  if (!CanMove(1)) return false;
  LeaveMultiBarRestBar();
  if (GetItem()) CountItem(*GetItem(), 1);
  return TSimpleNtnIdx::Next();
}

bool TRelNtnIdx::Prev() {
  if (!CanMove(-1)) return false;
  LeaveMultiBarRestBar();
  if (!TSimpleNtnIdx::Prev()) return false;
  if (GetItem()) CountItem(*GetItem(), -1);
  return true;
}

void TRelNtnIdx::CountItem(const TNotatedItem& item, int sign) {
  switch (item.GetType()) {
    case kItemBarLine: {
      const auto& bar = ItemRef<TBarLineData>(item);
      if (!bar.IsNotABar()) {
        bars += sign;
        if (bar.IsXBarCnt()) leftOutBars += sign;
      }
      break;
    }
    case kItemMultiBarRest:
      bars += sign * (ItemRef<TMultiMeasureRest>(item).GetNumBars() - 1);
      break;
    default:
      if (item.IsSongNoteClass() && ItemRef<TSongNote>(item).TakesLyric())
        syllables += sign;
      break;
  }
  ticks += static_cast<int64_t>(sign) * item.GetDuration();
}

int32_t TRelNtnIdx::GetBarNumber(const TMusicScore* score) const {
  const int64_t startingBar = score ? score->GetStartingBar() : 1;
  const int64_t number = bars + startingBar - leftOutBars - 1;
  if (number > INT32_MAX) return INT32_MAX;
  if (number < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(number);
}

const TMultiMeasureRest* TRelNtnIdx::CurrentRest() const {
  const TNotatedItem* at = GetItem();
  return ItemAs<TMultiMeasureRest>(at);
}

void TRelNtnIdx::LeaveMultiBarRestBar() {
  if (restBar == 0) return;
  const TMultiMeasureRest* rest = CurrentRest();
  bars -= restBar;
  ticks -= static_cast<int64_t>(restBar) * (rest ? rest->GetBarTicks() : 0);
  restBar = 0;
}

bool TRelNtnIdx::CanStepBar(int dir) const {
  if (dir < 0) return restBar > 0 || CanMove(-1);
  const TMultiMeasureRest* rest = CurrentRest();
  return (rest && restBar < rest->GetNumBars() - 1) || CanMove(1);
}

bool TRelNtnIdx::NextBarwise(bool barwise) {
  if (barwise) {
    const TMultiMeasureRest* rest = CurrentRest();
    if (rest && restBar < rest->GetNumBars() - 1) {
      ++restBar;
      ++bars;
      ticks += rest->GetBarTicks();
      return true;
    }
  }
  return Next();
}

bool TRelNtnIdx::PrevBarwise(bool barwise) {
  if (barwise && restBar > 0) {
    const TMultiMeasureRest* rest = CurrentRest();
    --restBar;
    --bars;
    ticks -= rest ? rest->GetBarTicks() : 0;
    return true;
  }
  if (!Prev()) return false;
  if (barwise) {
    const TMultiMeasureRest* rest = CurrentRest();
    if (rest && rest->GetNumBars() > 1) {
      restBar = rest->GetNumBars() - 1;
      bars += restBar;
      ticks += static_cast<int64_t>(restBar) * rest->GetBarTicks();
    }
  }
  return true;
}

bool TRelNtnIdx::StepUntilTimeChanges(int dir) {
  const int64_t start = ticks;
  while (CanStepBar(dir)) {
    if (!StepBar(dir)) return false;
    if (ticks != start) return true;
  }
  return false;
}

bool TRelNtnIdx::StepToOtherBar(int dir) {
  const int32_t startBars = bars;
  if (!StepUntilTimeChanges(dir)) return false;
  while (bars == startBars)
    if (!CanStepBar(dir) || !StepBar(dir)) return false;
  return true;
}

TPackedNtnPos TRelNtnIdx::GetPackedPosition() const {
  return (static_cast<TPackedNtnPos>(GetIndex()) << kPackedBarShift) |
         static_cast<uint32_t>(restBar);
}

bool TRelNtnIdx::StepToBar(int bar) {
  if (bar == 0) return true;
  const TMultiMeasureRest* rest = CurrentRest();
  if (!rest || bar >= rest->GetNumBars()) return false;
  while (restBar < bar)
    if (!NextBarwise(true)) return false;
  return true;
}

bool TRelNtnIdx::SeekPosition(const TNtnIdxPosition& position) {
  if (position.index < 0 || position.restBar < 0) return false;
  if (!SetIndex(position.index)) return false;
  return StepToBar(position.restBar);
}

bool TRelNtnIdx::SeekPackedPosition(TPackedNtnPos position) {
  if (position < 0) return false;
  const int64_t at = position >> kPackedBarShift;
  const int64_t bar = position & 0xFFFFFFFFll;
  if (at > INT32_MAX || bar > INT32_MAX) return false;
  return SeekPosition({static_cast<int32_t>(at), static_cast<int32_t>(bar)});
}

bool TRelNtnIdx::SeekTime(int64_t targetTicks, bool barwise) {
  if (targetTicks <= 0) {
    Reset();
    return true;
  }
  // Back off to a place before the target, so items of no length that start exactly at the
  // target are found from their first one.
  while (ticks >= targetTicks && CanStepBar(-1))
    if (!PrevBarwise(barwise)) break;
  while (ticks < targetTicks)
    if (!CanStepBar(1) || !NextBarwise(barwise)) return false;
  return true;
}

bool TRelNtnIdx::SeekBarCount(int32_t count, bool all, bool barwise) {
  if (count <= 0) {
    Reset();
    return true;
  }
  while (GetBarCount(all) >= count && CanStepBar(-1))
    if (!PrevBarwise(barwise)) break;
  while (GetBarCount(all) < count)
    if (!CanStepBar(1) || !NextBarwise(barwise)) return false;
  return true;
}

bool TRelNtnIdx::SeekDrawPos(const TStaffDrawPos& drawPos) {
  const int at = drawPos.IsStaffStart() ? 0 : drawPos.GetItemIndex();
  return SeekPosition({at, drawPos.GetMultiBarRestBar()});
}

bool TRelNtnIdx::SyncWith(const TRelNtnIdx& other, bool barwise) {
  const int64_t time = other.GetTicks();
  SeekTime(time, barwise);
  const TPackedNtnPos atTime = GetPackedPosition();
  if (const TNotatedItem* target = other.GetItem()) {
    const int type = target->GetType();
    const bool aligns = type == kItemBarLine || type == kItemClef || type == kItemKey ||
                        type == kItemFlow || type == kItemEnding || type == kItemTimeSig;
    // Items of no length at this time come first; a song note or rest ends the look.
    while (aligns && GetItem() && GetItem()->GetType() != type && !IsOnDurationItem() &&
           CanStepBar(1))
      if (!NextBarwise(barwise)) break;
  }
  while (GetBarCount(true) < other.GetBarCount(true) && CanStepBar(1))
    if (!NextBarwise(barwise)) break;
  if (ticks != time) SeekPackedPosition(atTime);
  return ticks == time;
}

}  // namespace kvt
