// Searches over a staff's items by kind, bar number and tick time.

#include <algorithm>
#include <climits>
#include <cstdint>

#include "notation/items/music_note.h"
#include "notation/staff/music_staff.h"
#include "notation/items/notated_item.h"
#include "notation/context/staff_context_state.h"

namespace kvt {

namespace {

int Direction(int dir) { return dir < 0 ? -1 : 1; }

int32_t SaturateTicks(int64_t ticks) {
  return static_cast<int32_t>(std::clamp<int64_t>(ticks, INT32_MIN, INT32_MAX));
}

}  // namespace

int TMusicStaff::FindNextOfType(TNotatedItemType type, int from, int dir) const {
  const int step = Direction(dir);
  const int last = GetLastIndex();
  // Start inside the array so a far-off `from` cannot make the walk long.
  int i = std::clamp(from, -1, last + 1) + step;
  while (i >= 1 && i <= last - 1) {
    if (items[static_cast<size_t>(i)]->GetType() == type) return i;
    i += step;
  }
  return i;
}

int TMusicStaff::FindPrevBar(int from, int dir) const { return FindNextOfType(kItemBarLine, from, dir); }

int TMusicStaff::FindBarClamped(int from, int dir) const {
  return std::clamp(FindPrevBar(from, dir), 1, std::max(1, GetLastIndex()));
}

int TMusicStaff::FindNextSongNote(int from, int dir) const {
  const int step = Direction(dir);
  const int last = GetLastIndex();
  int i = std::clamp(from, -1, last + 1) + step;
  while (i >= 1 && i <= last - 1) {
    if (items[static_cast<size_t>(i)]->IsSongNoteClass()) return i;
    i += step;
  }
  return std::clamp(i, 0, last);
}

int TMusicStaff::FindNextMusicNote(int from, int dir) const {
  const int step = Direction(dir);
  const int last = GetLastIndex();
  int i = std::clamp(from, -1, last + 1) + step;
  while (i >= 1 && i <= last - 1) {
    if (items[static_cast<size_t>(i)]->IsMusicNoteClass()) return i;
    i += step;
  }
  return i;
}

TMusicNote* TMusicStaff::FindNoteWithMemberAt(int from, int pos, int dir) const {
  const int step = Direction(dir);
  const int last = GetLastIndex();
  for (int i = FindNextMusicNote(from, step); i >= 1 && i <= last - 1;
       i = FindNextMusicNote(i, step)) {
    if (TMusicNote* member = items[static_cast<size_t>(i)]->FindMemberAtPos(pos)) return member;
  }
  return nullptr;
}

int TMusicStaff::FindBarByNumber(int n) const {
  if (n <= 0) return 0;
  int count = 0;
  for (int i = 1; i <= GetLastIndex(); ++i) {
    if (items[static_cast<size_t>(i)]->GetType() == kItemBarLine && ++count == n) return i;
  }
  return GetLastIndex();
}

int TMusicStaff::FindIndexAtTime(int32_t target, int fromIndex, int32_t fromTicks) const {
  if (target <= 0) return 0;
  const int last = GetLastIndex();
  fromIndex = std::clamp(fromIndex, 0, last);
  if (fromTicks == target) return fromIndex;
  int64_t time = fromTicks;
  int i = fromIndex;
  if (fromTicks < target) {
    while (time < target && i < last) {
      time += items[static_cast<size_t>(i)]->GetDuration();
      ++i;
    }
    return i;
  }
  while (--i >= 1) {
    time -= items[static_cast<size_t>(i)]->GetDuration();
    if (time < target) return i + 1;
  }
  return 0;
}

int32_t TMusicStaff::GetDurationBetween(int to, int from, int32_t startTicks) const {
  if (to <= 0) return 0;
  const int last = GetLastIndex();
  to = std::min(to, last);
  from = std::clamp(from, 0, last);
  int64_t ticks = startTicks;
  if (to >= from) {
    for (int i = from; i < to; ++i) ticks += items[static_cast<size_t>(i)]->GetDuration();
  } else {
    for (int i = to; i < from; ++i) ticks -= items[static_cast<size_t>(i)]->GetDuration();
  }
  return SaturateTicks(ticks);
}

int TMusicStaff::CountItemsOfType(TNotatedItemType type) const {
  return static_cast<int>(std::count_if(items.begin(), items.end(),
                                        [type](const auto& item) { return item->GetType() == type; }));
}

bool TMusicStaff::HasMusicNotes() const {
  return std::any_of(items.begin(), items.end(),
                     [](const auto& item) { return item->IsMusicNoteClass(); });
}

int TMusicStaff::SuggestClef() const {
  int64_t sum = 0;
  for (const auto& item : items) {
    if (!item->IsMusicNoteClass()) continue;
    const int count = item->GetMemberCount();
    if (count <= 0) continue;
    // Positions grow downward: the largest is the lowest member on the staff.
    int lowest = INT_MIN;
    for (int m = 0; m < count; ++m) {
      if (const TMusicNote* member = item->GetMember(m)) lowest = std::max(lowest, member->GetStaffPos());
    }
    if (lowest != INT_MIN) sum += static_cast<int64_t>(lowest) - 8;
  }
  if (sum <= 0) return kClefTreble;
  return channel == 9 ? kClefDrum : kClefBass;
}

}  // namespace kvt
