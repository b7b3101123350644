// Groups and stems over a staff: ungrouping, one stem direction per beam group, and automatic
// beaming by beats.

#include <algorithm>
#include <cstdlib>

#include "notation/audit/staff_audit.h"
#include "notation/edits/staff_edits.h"
#include "notation/index/simple_ntn_idx.h"
#include "notation/items/item_cast.h"
#include "notation/items/music_note.h"
#include "notation/items/rest_chord.h"
#include "notation/items/time_signature_data.h"
#include "notation/staff/music_staff.h"
#include "notation/staff/staff_range.h"
#include "notation/staff/staff_utils.h"

namespace kvt {

namespace {

int GroupState(const TSongNote& note, int kind) {
  return kind == kGroupTriplet ? note.GetTripletState() : note.GetBeamState();
}

TSongNote* SongNoteAt(const TMusicStaff& staff, int i) {
  TNotatedItem* item = staff.GetItem(i);
  return ItemAs<TSongNote>(item);
}

// The beam group around the note at i: its first and last notes of the note's grace flag.
void FindBeamGroup(TMusicStaff& staff, int i, bool grace, int& from, int& to) {
  TSimpleNtnIdx back(&staff, i);
  back.GoToGroupEnd(grace, kGroupBeam, -1);
  TSimpleNtnIdx ahead(&staff, i);
  ahead.GoToGroupEnd(grace, kGroupBeam, 1);
  from = std::min(back.GetIndex(), i);
  to = std::max(ahead.GetIndex(), i);
}

// A note or chord that may start or join an automatic beam: not grace, not beamed yet, and
// with a flag.
bool IsAutoBeamNote(const TNotatedItem* item, bool grace) {
  if (!item || !item->IsMusicNoteClass()) return false;
  const auto* note = ItemAs<TMusicNote>(item);
  return note->IsGrace() == grace && !note->IsBeamed() &&
         TSimpleNtnIdx::IsItemBeamable(item, grace, false);
}

// Beams items first..last as TStaffRange::Beam does, with its audit kept running along the
// staff; without an audit, the group alone.
void BeamRun(TMusicStaff& staff, int first, int last, TRunningStaffAudit* audit) {
  if (TStaffRange(&staff, first, last).GroupUnaudited(kGroupBeam) && audit)
    audit->AuditRange(first, last);
}

// Beams the notes of one beat (items from..to), from the end backward.
void BeamBeat(TMusicStaff& staff, int from, int to, TRunningStaffAudit* audit) {
  for (int j = to; j >= from;) {
    if (!IsAutoBeamNote(staff.GetItem(j), false)) {
      --j;
      continue;
    }
    int earliest = j;
    for (int k = j - 1; k >= from; --k) {
      const TNotatedItem* item = staff.GetItem(k);
      if (!TSimpleNtnIdx::IsItemBeamable(item, false, false)) break;
      const auto* song = ItemAs<TSongNote>(item);
      if (song && !song->IsGrace() && song->IsBeamed()) break;  // another group stands there
      if (IsAutoBeamNote(item, false)) earliest = k;
    }
    if (earliest < j) BeamRun(staff, earliest, j, audit);
    j = earliest - 1;
  }
}

}  // namespace

bool Ungroup(TMusicStaff& staff, int kind, int i) {
  if (kind != kGroupTriplet) kind = kGroupBeam;
  const TSongNote* at = SongNoteAt(staff, i);
  if (!at || GroupState(*at, kind) == kGroupNone) return false;
  const bool grace = at->IsGrace();
  // Back to the group's First note (or the start of a damaged group).
  int start = i;
  for (int j = i; j >= 1; --j) {
    const TSongNote* note = SongNoteAt(staff, j);
    if (!note || note->IsGrace() != grace) continue;
    const int state = GroupState(*note, kind);
    if (state == kGroupNone) break;
    start = j;
    if (state == kGroupFirst) break;
  }
  // Forward, clearing, to the note whose state was End (or the end of a damaged group).
  for (int j = start; j <= staff.GetLastIndex() - 1; ++j) {
    TSongNote* note = SongNoteAt(staff, j);
    if (!note || note->IsGrace() != grace) continue;
    const int state = GroupState(*note, kind);
    if (state == kGroupNone || (state == kGroupFirst && j != start)) break;
    note->SetGroupState(kind, kGroupNone);
    note->Update();
    if (state == kGroupEnd) break;
  }
  AuditStaffAround(staff, i);
  return true;
}

bool SetGroupStemDirection(TMusicStaff& staff, int dir, int i) {
  TSongNote* at = SongNoteAt(staff, i);
  if (!at) return false;
  dir = dir < 0 ? -1 : (dir > 0 ? 1 : 0);
  const int inherited = TSimpleNtnIdx(&staff, i).GetInheritedStemDirection();
  if (inherited != 0) {
    if (dir == 0)
      dir = inherited;
    else if (dir != inherited)
      return false;
  }
  const bool grace = at->IsGrace();
  if (at->IsBeamed()) {
    int from = i;
    int to = i;
    FindBeamGroup(staff, i, grace, from, to);
    if (dir == 0) {
      if (grace) {
        dir = 1;
      } else {
        int m = 0;  // smallest position (highest on the staff)
        int bigM = 0;
        bool any = false;
        for (int j = from; j <= to; ++j) {
          const TSongNote* note = SongNoteAt(staff, j);
          if (!note || note->IsGrace() != grace) continue;
          m = any ? std::min(m, note->GetTopPos()) : note->GetTopPos();
          bigM = any ? std::max(bigM, note->GetBottomPos()) : note->GetBottomPos();
          any = true;
        }
        if (m == bigM)
          dir = m <= 0 ? -1 : 1;
        else
          dir = std::abs(bigM) < std::abs(m) ? -1 : 1;
      }
    }
    for (int j = from; j <= to; ++j) {
      TSongNote* note = SongNoteAt(staff, j);
      if (!note || note->IsGrace() != grace) continue;
      note->SetStemDirFromSign(dir);
      note->Update();
    }
    return true;
  }
  if (dir == 0 && at->GetType() == kItemRestChord) {
    const TMusicNote* part = ItemAs<TRestChord>(at)->GetPart();
    if (part && part->GetMemberCount() > 0) {
      const TMusicNote* low = part->GetMember(0);
      const TMusicNote* high = part->GetMember(part->GetMemberCount() - 1);
      const TMusicNote* far =
          std::abs(low->GetStaffPos()) > std::abs(high->GetStaffPos()) ? low : high;
      dir = far->GetStaffPos() <= 0 ? -1 : 1;
    }
  }
  at->SetStemDirFromSign(dir);
  at->Update();
  return true;
}

namespace {

// AutoBeam's beats and grace runs, each group audited through `audit` when there is one.
void BeamGroups(TMusicStaff& staff, bool dottedBeats, TRunningStaffAudit* audit) {
  int beat = GetBeatDuration(4, 2, dottedBeats);
  int64_t sum = 0;
  int64_t boundary = beat;
  int beatStart = 1;
  for (int i = 1; i <= staff.GetLastIndex() - 1; ++i) {
    const TNotatedItem* item = staff.GetItem(i);
    if (item->GetType() == kItemBarLine || item->GetType() == kItemTimeSig) {
      if (item->GetType() == kItemTimeSig)
        beat = GetTimeSigBeatDuration(*ItemAs<TTimeSignatureData>(item), dottedBeats);
      boundary = sum + beat;
      beatStart = i + 1;
      continue;
    }
    sum += item->GetDuration();
    if (sum < boundary) continue;
    // The beat's items end with the last one that ends within the beat.
    const int beatEnd = sum == boundary ? i : i - 1;
    if (beatEnd > beatStart) BeamBeat(staff, beatStart, beatEnd, audit);
    boundary += ((sum - boundary) / beat + 1) * beat;  // past the sum
    beatStart = i + 1;
  }
  // Runs of grace notes not beamed yet.
  for (int i = 1; i <= staff.GetLastIndex() - 1; ++i) {
    if (!IsAutoBeamNote(staff.GetItem(i), true)) continue;
    int end = i;
    while (end + 1 <= staff.GetLastIndex() - 1 && IsAutoBeamNote(staff.GetItem(end + 1), true))
      ++end;
    if (end > i) BeamRun(staff, i, end, audit);
    i = end;
  }
}

}  // namespace

void AutoBeam(TMusicStaff& staff, bool dottedBeats) {
  // Each beam's audit starts at or after the previous one's bar within a pass, so one running
  // walk serves them all: the staff costs its length, not its length for every beam.
  TRunningStaffAudit audit(staff);
  BeamGroups(staff, dottedBeats, &audit);
}

// On an audited staff the per-group audits repair nothing the groups' own beaming decisions
// read, so one walk over the whole staff at the end leaves the staff they leave, at the cost
// of one audit instead of eleven bars for every beam.
void AutoBeamAuditedStaff(TMusicStaff& staff, bool dottedBeats) {
  BeamGroups(staff, dottedBeats, nullptr);
  AuditStaffRange(staff);
}

}  // namespace kvt
