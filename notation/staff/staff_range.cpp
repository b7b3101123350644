// The shape of a staff range and its queries.

#include "notation/staff/staff_range.h"

#include <algorithm>
#include <climits>

#include "notation/items/item_cast.h"
#include "notation/items/music_note.h"
#include "notation/staff/music_staff.h"
#include "notation/items/notated_item.h"
#include "notation/items/rest_chord.h"
#include "notation/index/simple_ntn_idx.h"
#include "notation/items/song_note.h"
#include "notation/audit/staff_audit.h"
#include "notation/staff/staff_utils.h"

namespace kvt {

namespace {

// A stem of default length reaches this many staff steps past its root note.
constexpr int kDefaultStemSteps = 7;

int GroupState(const TSongNote& note, int kind) {
  return kind == kGroupTriplet ? note.GetTripletState() : note.GetBeamState();
}

const TSongNote* AsSongNote(const TNotatedItem* item) {
  return ItemAs<TSongNote>(item);
}

bool IsBarLine(const TNotatedItem* item) { return item && item->GetType() == kItemBarLine; }

// The staff position a note or chord (or a rest chord's part) reaches on the stem side dir
// (+1 up, -1 down): the member where such a stem ends, moved outward past the stem, or past
// the articulations that stand on that side.
int NoteStemSideExtent(const TMusicNote& note, int dir) {
  const TMusicNote* end = note.GetStemEndNote(dir);
  const int pos = end ? end->GetStaffPos() : note.GetStaffPos();
  const bool stemThatWay = note.GetStemDir() == dir;
  int stem = 0;
  if (stemThatWay && note.IsStemShown())
    stem = note.HasStemLength() ? note.GetStemLength() : kDefaultStemSteps;
  int clearance = stemThatWay ? 1 : 2;
  const int articulationSide = note.GetArticulationsOnStem() ? note.GetStemDir()
                                                              : -note.GetStemDir();
  if (note.HasArticulation() && articulationSide == dir)
    clearance = 2 * note.GetArticulationCount() + 2;
  int reach = clearance + stem;
  if (note.IsGrace()) reach /= 2;
  return pos - dir * reach;  // staff positions grow downward
}

}  // namespace

TStaffRange::TStaffRange(TMusicStaff* s, int a, int b) {
  SetStaff(s);
  SetRange(a, b);
}

TStaffRange::TStaffRange(const TSimpleNtnIdx& idx) {
  SetStaff(idx.GetStaff());
  SetRange(idx.GetIndex(), idx.GetIndex());
}

TStaffRange::TStaffRange(const TSimpleNtnIdx& a, const TSimpleNtnIdx& b) {
  SetStaff(a.GetStaff());
  SetRange(a.GetIndex(), b.GetIndex());
}

void TStaffRange::SetStaff(TMusicStaff* newStaff) {
  staff = newStaff;
  first = 0;
  last = LastIndex();
}

void TStaffRange::SetRange(int a, int b) {
  int lo = std::min(a, b);
  int hi = std::max(a, b);
  if (lo < 0) std::swap(lo, hi);  // empty: first above last
  first = lo;
  last = hi;
  if (!staff) {
    last = -1;
    return;
  }
  const int lastIndex = LastIndex();
  last = std::min<int32_t>(last, lastIndex);
  first = std::min<int32_t>(first, lastIndex);
}

bool TStaffRange::IsValid() const {
  return staff && first >= 0 && last >= first && last <= LastIndex();
}

int TStaffRange::GetCount() const { return IsValid() ? last - first + 1 : 0; }

void TStaffRange::DropLast(int n) {
  const int64_t dropped = static_cast<int64_t>(last) - n;
  last = static_cast<int32_t>(std::clamp<int64_t>(dropped, -1, INT32_MAX));
}

int TStaffRange::LastIndex() const { return staff ? staff->GetLastIndex() : -1; }

TNotatedItem* TStaffRange::ItemAt(int i) const {
  if (!IsValid() || i < first || i > last) return nullptr;
  return staff->GetItem(i);
}

void TStaffRange::AuditRange() {
  if (IsValid()) AuditStaffRange(*staff, first, last);
}

void TStaffRange::InitRunAtIndex(const TSimpleNtnIdx& idx, int kind) {
  staff = idx.GetStaff();
  SetRange(idx.GetIndex(), idx.GetIndex());
  const TSongNote* note = AsSongNote(idx.GetItem());
  if (!staff || !note) return;
  const int state = GroupState(*note, kind);
  if (state == kGroupNone) return;
  const bool grace = note->IsGrace();
  if (state == kGroupMiddle || state == kGroupEnd) {
    TSimpleNtnIdx back(staff, idx.GetIndex());
    if (back.GoToGroupEnd(grace, kind, -1)) first = back.GetIndex();
  }
  if (state == kGroupFirst || state == kGroupMiddle) {
    TSimpleNtnIdx ahead(staff, idx.GetIndex());
    if (ahead.GoToGroupEnd(grace, kind, 1)) last = ahead.GetIndex();
  }
}

void TStaffRange::SetToBarAt(int i) {
  if (!staff) {
    Clear();
    return;
  }
  const int lastIndex = LastIndex();
  int bar = ClampToInterval(i, 0, lastIndex);
  while (bar > 0 && !IsBarLine(staff->GetItem(bar))) --bar;
  int end = bar + 1;
  while (end <= lastIndex && !IsBarLine(staff->GetItem(end))) ++end;
  first = bar;
  last = std::min(end - 1, lastIndex);
  if (last < first) last = first;  // the closing bar line itself
}

void TStaffRange::ExtendToBars() {
  if (!staff) return;
  const int lastIndex = LastIndex();
  if (last < first) last = first;
  // Items between the boundary bar lines: 1 .. lastIndex - 1 (none on an empty staff).
  if (lastIndex < 2) {
    Clear();
    return;
  }
  first = ClampToInterval(first, 1, lastIndex - 1);
  last = ClampToInterval(last, first, lastIndex);
  if (!IsBarLine(staff->GetItem(first)))
    while (first > 1 && !IsBarLine(staff->GetItem(first - 1))) --first;
  if (!IsBarLine(staff->GetItem(last)))
    while (last < lastIndex && !IsBarLine(staff->GetItem(last + 1))) ++last;
  last = std::min<int32_t>(last, lastIndex - 1);
  if (last < first) Clear();
}

void TStaffRange::SetToHairpinRunAt(int i) {
  if (!staff) {
    Clear();
    return;
  }
  const int lastIndex = LastIndex();
  const int at = ClampToInterval(i, 0, lastIndex);
  first = last = at;
  TSimpleNtnIdx idx(staff, at);
  const int kind = AsSongNote(idx.GetItem()) ? idx.GetHairpin() : 0;
  // Outward in each direction while the run holds, inside the boundary bar lines.
  for (int dir : {-1, 1}) {
    TSimpleNtnIdx walk(staff, at);
    while (walk.CanMove(dir) && walk.Step(dir)) {
      const int j = walk.GetIndex();
      if (j < 1 || j > lastIndex - 1 || !walk.IsInHairpinRun(kind)) break;
      if (walk.GetSongNote()) (dir < 0 ? first : last) = j;
    }
  }
}

int32_t TStaffRange::GetDuration() const {
  if (!IsValid()) return 0;
  int64_t sum = 0;
  for (int i = first; i <= last; ++i) sum += staff->GetItem(i)->GetDuration();
  return static_cast<int32_t>(std::clamp<int64_t>(sum, INT32_MIN, INT32_MAX));
}

void TStaffRange::GetPositionExtent(int& high, int& low) const {
  high = INT_MAX;
  low = INT_MIN;
  if (!IsValid()) return;
  for (int i = first; i <= last; ++i) {
    const TNotatedItem* item = staff->GetItem(i);
    high = std::min(high, item->GetTopPos());
    low = std::max(low, item->GetBottomPos());
  }
}

void TStaffRange::GetNoteExtent(int& high, int& low) const {
  high = INT_MAX;
  low = INT_MIN;
  if (!IsValid()) return;
  for (int i = first; i <= last; ++i) {
    const TNotatedItem* item = staff->GetItem(i);
    if (!item->IsMusicNoteClass()) continue;
    high = std::min(high, item->GetTopPos());
    low = std::max(low, item->GetBottomPos());
  }
}

void TStaffRange::GetGroupExtent(int kind, int& high, int& low) const {
  high = 0;
  low = 0;
  const TSongNote* head = AsSongNote(ItemAt(first));
  if (!head) return;
  const bool grace = head->IsGrace();
  const bool allowAll = kind == kGroupTriplet;
  bool any = false;
  for (int i = first; i <= last; ++i) {
    const TNotatedItem* item = staff->GetItem(i);
    if (!TSimpleNtnIdx::IsItemBeamable(item, grace, allowAll)) break;
    const TSongNote* note = AsSongNote(item);
    if (!note || note->IsGrace() != grace) continue;
    if (kind != kGroupTriplet && item->IsRestClass()) continue;
    if (!any) {
      high = item->GetTopPos();
      low = item->GetBottomPos();
      any = true;
    } else {
      high = std::min(high, item->GetTopPos());
      low = std::max(low, item->GetBottomPos());
    }
  }
}

bool TStaffRange::GetCommonInheritedStem(int& dir) const {
  dir = 0;
  if (!IsValid()) return true;
  TSimpleNtnIdx idx(staff, first);
  for (int i = first; i <= last; ++i) {
    if (i > first && !idx.Next()) break;
    if (!idx.GetSongNote()) continue;
    const int inherited = idx.GetInheritedStemDirection();
    if (inherited == 0) continue;
    if (dir != 0 && inherited != dir) return false;
    dir = inherited;
  }
  return true;
}

bool TStaffRange::ContainsGroup(int kind) const {
  if (!IsValid()) return false;
  for (int i = first; i <= last; ++i) {
    const TSongNote* note = AsSongNote(staff->GetItem(i));
    if (note && GroupState(*note, kind) != kGroupNone) return true;
  }
  return false;
}

namespace {

// Whether the song note's states (of one kind, or of both when kind is -1) are any of the
// two given states.
bool StateIs(const TSongNote& note, int kind, int a, int b) {
  auto test = [&](int k) {
    const int s = GroupState(note, k);
    return s == a || s == b;
  };
  return kind < 0 ? (test(kGroupBeam) || test(kGroupTriplet)) : test(kind);
}

// Scans from `from` towards `to` (step +1 or -1): for the first song note of each grace flag,
// true when its state is one of a and b. Ends once both grace flags have been seen.
bool EdgeNoteIn(const TMusicStaff& staff, int from, int to, int kind, int a, int b) {
  const int step = from <= to ? 1 : -1;
  bool seen[2] = {false, false};
  for (int i = from;; i += step) {
    const TSongNote* note = AsSongNote(staff.GetItem(i));
    if (note && !seen[note->IsGrace() ? 1 : 0]) {
      seen[note->IsGrace() ? 1 : 0] = true;
      if (StateIs(*note, kind, a, b)) return true;
      if (seen[0] && seen[1]) return false;
    }
    if (i == to) return false;
  }
}

}  // namespace

bool TStaffRange::HasPartialGroupOf(int kind) const {
  if (!IsValid()) return false;
  if (kind != kGroupTriplet) kind = kGroupBeam;
  return EdgeNoteIn(*staff, first, last, kind, kGroupMiddle, kGroupEnd) ||
         EdgeNoteIn(*staff, last, first, kind, kGroupFirst, kGroupMiddle);
}

bool TStaffRange::HasPartialGroup() const {
  if (!IsValid()) return false;
  return EdgeNoteIn(*staff, first, last, -1, kGroupMiddle, kGroupEnd) ||
         EdgeNoteIn(*staff, last, first, -1, kGroupFirst, kGroupMiddle);
}

bool TStaffRange::IsRestOnlyRun() const {
  if (!IsValid()) return false;
  int firstRest = -1;
  int lastRest = -1;
  bool plainRest = false;
  for (int i = first; i <= last; ++i) {
    const TNotatedItem* item = staff->GetItem(i);
    if (item->HasNotes()) return false;
    if (!item->IsRestClass()) continue;
    if (item->GetType() == kItemRest) plainRest = true;
    if (firstRest < 0) firstRest = i;
    lastRest = i;
  }
  if (!plainRest) return false;
  for (int i = firstRest; i <= lastRest; ++i)
    if (!staff->GetItem(i)->IsRestClass()) return false;
  return true;
}

int TStaffRange::FindMemberAt(int position) const {
  if (!IsValid()) return 0;
  for (int i = first; i <= last; ++i)
    if (staff->GetItem(i)->FindMemberAtPos(position)) return i;
  return 0;
}

int TStaffRange::GetStemExtent(int dir) const {
  dir = dir < 0 ? -1 : 1;
  int extent = dir * 1000;
  if (!IsValid()) return extent;
  auto keep = [&](int candidate) {
    extent = dir > 0 ? std::min(extent, candidate) : std::max(extent, candidate);
  };
  for (int i = first; i <= last; ++i) {
    const TNotatedItem* item = staff->GetItem(i);
    if (!item->IsSongNoteClass()) continue;
    const TMusicNote* notes = nullptr;
    if (item->IsMusicNoteClass()) {
      notes = ItemAs<TMusicNote>(item);
    } else {
      const TRestNote* rest = item->AsRest();
      const TMusicNote* part =
          item->GetType() == kItemRestChord ? ItemAs<TRestChord>(item)->GetPart()
                                            : nullptr;
      if (part && rest->GetStemDir() != dir) {
        notes = part;
      } else {
        if (rest->IsSlurIn() && rest->IsSlurOut()) continue;
        const int side = dir > 0 ? rest->GetTopPos() : rest->GetBottomPos();
        const int reach = rest->IsGrace() ? 1 : 2;
        keep(side - dir * reach);
        continue;
      }
    }
    keep(NoteStemSideExtent(*notes, dir));
  }
  return extent;
}

bool TStaffRange::GetCommonNoteHead(int& shape) const {
  bool any = false;
  if (!IsValid()) return false;
  for (int i = first; i <= last; ++i) {
    const TNotatedItem* item = staff->GetItem(i);
    for (int m = 0, n = item->GetMemberCount(); m < n; ++m) {
      const int s = item->GetMember(m)->GetHeadShape();
      if (!any) {
        shape = s;
        any = true;
      } else if (s != shape) {
        shape = 14;
        return true;
      }
    }
  }
  return any;
}

bool TStaffRange::GetCommonColor(int& color) const {
  if (!IsValid()) return false;
  bool any = false;
  auto note = [&](int c) {
    if (!any) {
      color = c;
      any = true;
    } else if (c != color) {
      color = 8;
    }
  };
  for (int i = first; i <= last && !(any && color == 8); ++i) {
    const TNotatedItem* item = staff->GetItem(i);
    note(item->GetColor());
    for (int m = 0, n = item->GetMemberCount(); m < n; ++m) {
      const int own = item->GetMember(m)->GetNoteColor();
      note(own != 0 ? own : item->GetColor());
    }
  }
  return any;
}

bool TStaffRange::GetCommonDurationCode(int& code) const {
  if (!IsValid()) return false;
  bool any = false;
  for (int i = first; i <= last; ++i) {
    const TSongNote* note = AsSongNote(staff->GetItem(i));
    if (!note) continue;
    if (any && note->GetDurationCode() != code) return false;
    code = note->GetDurationCode();
    any = true;
  }
  return any;
}

bool TStaffRange::GetCommonAccidental(int& code) const {
  if (!IsValid()) return false;
  bool any = false;
  for (int i = first; i <= last; ++i) {
    const TNotatedItem* item = staff->GetItem(i);
    for (int m = 0, n = item->GetMemberCount(); m < n; ++m) {
      const int acc = item->GetMember(m)->GetAccidental();
      if (any && acc != code) return false;
      code = acc;
      any = true;
    }
  }
  return any;
}

bool TStaffRange::GetCommonStem(int& dir) const {
  if (!IsValid() || HasPartialGroupOf(kGroupBeam)) return false;
  bool any = false;
  for (int i = first; i <= last; ++i) {
    const TSongNote* note = AsSongNote(staff->GetItem(i));
    if (!note) continue;
    if (note->HasTwoDurations() && !note->IsRestClass()) return false;
    if (!any) {
      dir = note->GetStemSetting();
      any = true;
    } else if (note->GetStemSetting() != dir) {
      dir = 0;
    }
  }
  return any;
}

bool TStaffRange::GetDurationCodeRange(int& shortest, int& longest) const {
  if (!IsValid()) return false;
  bool any = false;
  auto take = [&](int code) {
    if (!any) {
      shortest = longest = code;
      any = true;
    } else {
      shortest = std::max(shortest, code);
      longest = std::min(longest, code);
    }
  };
  for (int i = first; i <= last; ++i) {
    const TNotatedItem* item = staff->GetItem(i);
    const TSongNote* note = AsSongNote(item);
    if (!note) continue;
    if (item->IsRestClass()) take(note->GetDurationCode());
    const int n = item->GetMemberCount();
    if (n > 0) {
      take(item->GetMember(0)->GetDurationCode());
      take(item->GetMember(n - 1)->GetDurationCode());
    }
  }
  return any;
}

}  // namespace kvt
