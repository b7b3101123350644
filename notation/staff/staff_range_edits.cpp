// Edits of a staff range: note heads, colours, durations, accidentals, stems, moving, hiding,
// muting, merging rests and deletion.

#include <algorithm>

#include "notation/items/bar_line_data.h"
#include "notation/items/item_cast.h"
#include "notation/items/clef_data.h"
#include "notation/items/general_expression.h"
#include "notation/items/music_note.h"
#include "notation/staff/music_staff.h"
#include "notation/items/notation_marker.h"
#include "notation/items/packed_field.h"
#include "notation/items/rest_chord.h"
#include "notation/items/rest_note.h"
#include "notation/index/simple_ntn_idx.h"
#include "notation/audit/staff_audit.h"
#include "notation/edits/staff_edits.h"
#include "notation/staff/staff_range.h"
#include "notation/items/staff_spacer.h"
#include "notation/items/text_expression.h"
#include "notation/items/user_object.h"
#include "notation/services/user_object_host.h"

namespace kvt {

namespace {

constexpr int kHeadShapeCount = 14;
// Shapes 9 and 10 are one step of the cycle: 10 is the shifted form of 9.
constexpr int kHeadShapePaired = 9;
constexpr int kHeadShapeShifted = 10;
constexpr int kMinTextScale = 5;
constexpr int kMaxTextScale = 400;
constexpr int kSpacerStep = 50;

// a mod m in 0..m-1 for any a (m > 0): cycling by several steps, either way, lands in range.
int Wrap(int a, int m) {
  const int r = a % m;
  return r < 0 ? r + m : r;
}

TSongNote* AsSongNote(TNotatedItem* item) {
  return ItemAs<TSongNote>(item);
}

// The next head shape after `shape` that the mask allows; `shifted` says whether the member
// takes 10 instead of 9. -1 when the mask allows no shape.
int NextHeadShape(int shape, int mask, bool shifted) {
  if ((mask & ((1 << kHeadShapeCount) - 1)) == 0) return -1;
  const bool pairAllowed = (mask & ((1 << kHeadShapePaired) | (1 << kHeadShapeShifted))) != 0;
  int s = shape == kHeadShapeShifted ? kHeadShapePaired : Wrap(shape, kHeadShapeCount);
  for (int step = 0; step < kHeadShapeCount; ++step) {
    s = (s + 1) % kHeadShapeCount;
    if (s == kHeadShapeShifted) continue;
    if (s == kHeadShapePaired) {
      if (pairAllowed) return shifted ? kHeadShapeShifted : kHeadShapePaired;
      continue;
    }
    if (mask & (1 << s)) return s;
  }
  return -1;
}

}  // namespace

void TStaffRange::SetNoteHead(int shape) {
  if (!IsValid() || shape < 0 || shape >= kHeadShapeCount) return;
  for (int i = first; i <= last; ++i) {
    TNotatedItem* item = staff->GetItem(i);
    for (int m = 0, n = item->GetMemberCount(); m < n; ++m) item->GetMember(m)->SetNoteHead(shape);
  }
  AuditRange();
}

void TStaffRange::CycleNoteHeads(int mask) {
  if (!IsValid()) return;
  for (int i = first; i <= last; ++i) {
    TSimpleNtnIdx idx(staff, i);
    const TMusicNote* part = idx.GetChordPart();
    if (!part) continue;
    TNotatedItem* item = staff->GetItem(i);
    for (int m = 0, n = item->GetMemberCount(); m < n; ++m) {
      TMusicNote* member = item->GetMember(m);
      const int next = NextHeadShape(member->GetHeadShape(), mask,
                                     part->HasShiftedHeads(member->GetStemDir()));
      if (next >= 0) member->SetNoteHead(next);
    }
  }
  AuditRange();
}

bool TStaffRange::SetColor(int color) {
  if (!IsValid() || color < 0 || color >= kItemColorCount) return false;
  for (int i = first; i <= last; ++i) {
    TNotatedItem* item = staff->GetItem(i);
    item->SetColor(color);
    for (int m = 0, n = item->GetMemberCount(); m < n; ++m) item->GetMember(m)->SetNoteColor(0);
  }
  AuditRange();
  return true;
}

void TStaffRange::SetDurationCode(int code) {
  if (!IsValid()) return;
  for (int i = first; i <= last; ++i) {
    TNotatedItem* item = staff->GetItem(i);
    TSongNote* note = AsSongNote(item);
    if (!note) continue;
    for (int m = 0, n = item->GetMemberCount(); m < n; ++m) item->GetMember(m)->SetDuration(code);
    note->SetDuration(code);
    note->Update();
  }
  AuditRange();
}

void TStaffRange::ShiftDurations(int steps, const TServices& services) {
  if (!IsValid()) return;
  if (GetCount() == 1) {
    TNotatedItem* item = staff->GetItem(first);
    if (item->GetType() == kItemUserObject) {
      TSimpleNtnIdx idx(staff, first);
      UserObjectHostOf(services).SpinUserObject(idx, steps);
      AuditRange();
      return;
    }
    if (item->GetType() == kItemText) {
      auto* text = ItemAs<TTextExpression>(item);
      const int64_t scale = (static_cast<int64_t>(steps) + text->GetScale() / 10) * 10;
      text->SetScale(static_cast<int>(std::clamp<int64_t>(scale, kMinTextScale, kMaxTextScale)));
      AuditRange();
      return;
    }
  }
  for (int i = first; i <= last; ++i) {
    TNotatedItem* item = staff->GetItem(i);
    TSongNote* note = AsSongNote(item);
    if (!note) continue;
    auto shifted = [steps](int code) {
      return static_cast<int>(
          std::clamp<int64_t>(static_cast<int64_t>(code) - steps, kDurWhole, kDur64th));
    };
    const int n = item->GetMemberCount();
    if (n > 1 || item->IsRestClass())
      for (int m = 0; m < n; ++m) {
        TMusicNote* member = item->GetMember(m);
        if (member != item) member->SetDuration(shifted(member->GetDurationCode()));
      }
    note->SetDuration(shifted(note->GetDurationCode()));
    note->Update();
  }
  AuditRange();
}

void TStaffRange::SetAccidental(int code) {
  if (!IsValid()) return;
  for (int i = first; i <= last; ++i) {
    TNotatedItem* item = staff->GetItem(i);
    for (int m = 0, n = item->GetMemberCount(); m < n; ++m) item->GetMember(m)->SetAccidental(code);
    if (TSongNote* note = AsSongNote(item)) note->Update();
  }
  AuditRange();
}

void TStaffRange::SetStem(int dir) {
  if (!IsValid()) return;
  for (int i = first; i <= last; ++i) {
    TSongNote* note = AsSongNote(staff->GetItem(i));
    if (!note) continue;
    if (dir == kStemAuto && note->IsGroupBound()) continue;
    note->SetStemDir(dir);
    note->Update();
  }
  AuditRange();
}

void TStaffRange::AutoStemGroups() {
  if (!IsValid()) return;
  for (int i = first; i <= last; ++i) {
    const TSongNote* note = AsSongNote(staff->GetItem(i));
    if (!note || note->GetBeamState() == kGroupMiddle || note->GetBeamState() == kGroupEnd)
      continue;
    SetGroupStemDirection(*staff, 0, i);
  }
  AuditRange();
}

void TStaffRange::ShiftUpDown(int steps) {
  if (!IsValid()) return;
  if (GetCount() == 1) {
    TNotatedItem* item = staff->GetItem(first);
    bool done = true;
    switch (item->GetType()) {
      case kItemSpacer:
        ItemAs<TStaffSpacer>(item)->AdjustWidth(-kSpacerStep * ClampInt(steps, -1000, 1000));
        break;
      case kItemMarker: {
        auto* marker = ItemAs<TNotationMarker>(item);
        marker->SetPos(marker->GetPos() + steps * 0.5);
        break;
      }
      case kItemUserObject: {
        auto* object = ItemAs<TKVTUserObject>(item);
        object->SetPos(object->GetPos() + steps * 0.5);
        break;
      }
      case kItemClef: {
        auto* clef = ItemAs<TClefData>(item);
        clef->SetClefType(Wrap(Wrap(clef->GetClefType(), kClefTypeCount) + Wrap(steps, kClefTypeCount),
                               kClefTypeCount));
        break;
      }
      case kItemBarLine: {
        auto* bar = ItemAs<TBarLineData>(item);
        bar->SetStyle(Wrap(Wrap(bar->GetStyle(), kBarStyleCount) + Wrap(steps, kBarStyleCount),
                           kBarStyleCount),
                      bar->GetRepeat());
        break;
      }
      default: done = false;
    }
    if (done) {
      AuditRange();
      return;
    }
  }
  bool notesOrMarkers = false;
  bool expressions = false;
  for (int i = first; i <= last; ++i) {
    const TNotatedItem* item = staff->GetItem(i);
    notesOrMarkers = notesOrMarkers || item->HasNotes() || item->GetType() == kItemMarker;
    expressions = expressions || item->IsExpressionClass();
  }
  for (int i = first; i <= last; ++i) {
    TNotatedItem* item = staff->GetItem(i);
    if (notesOrMarkers) {
      if (item->GetType() == kItemMarker) {
        auto* marker = ItemAs<TNotationMarker>(item);
        marker->SetPos(marker->GetPos() + steps);
      }
      for (int m = 0, n = item->GetMemberCount(); m < n; ++m) item->GetMember(m)->MoveStaffPos(steps);
      if (item->GetMemberCount() > 0) ItemAs<TSongNote>(item)->Update();
    } else if (expressions) {
      if (item->IsExpressionClass()) {
        auto* expression = ItemAs<TNtnGeneralExpression>(item);
        expression->SetPos(expression->GetPos() + steps * 0.5);
      }
    } else if (item->GetType() == kItemRest) {
      auto* rest = ItemAs<TRestNote>(item);
      rest->SetVertOffset(static_cast<int>(
          std::clamp<int64_t>(static_cast<int64_t>(rest->GetVertOffset()) + steps, -kMaxRestVertOffset - 1,
                              kMaxRestVertOffset + 1)));
    }
  }
  AuditRange();
}

void TStaffRange::HideItems() {
  if (!IsValid()) return;
  // The boundary bar lines are never hidden.
  const int from = std::max(first, 1);
  const int to = std::min(last, LastIndex() - 1);
  for (int i = from; i <= to; ++i) staff->GetItem(i)->SetVisibility(kVisNever);
  AuditRange();
}

void TStaffRange::MuteNotes() {
  if (!IsValid()) return;
  for (int i = first; i <= last; ++i) {
    TNotatedItem* item = staff->GetItem(i);
    if (!item->IsMusicNoteClass()) continue;
    auto* note = ItemAs<TMusicNote>(item);
    note->SetMuted(true);
    note->Update();
  }
  AuditRange();
}

void TStaffRange::MergeRestsToWholeBar(int ticks) {
  if (!IsValid()) return;
  int kept = -1;
  for (int i = first; i <= last; ++i) {
    if (staff->GetItem(i)->GetType() == kItemRest) {
      kept = i;
      break;
    }
  }
  if (kept < 0) return;
  // The other rests go (only rests without notes: a rest chord's notes are never dropped).
  for (int i = last; i >= first; --i) {
    const TNotatedItem* item = staff->GetItem(i);
    if (i == kept || !item->IsRestClass() || item->HasNotes()) continue;
    if (staff->DeleteItem(i)) --last;
  }
  auto* rest = ItemAs<TRestNote>(staff->GetItem(kept));
  rest->SetDuration(kDurWhole);
  rest->ClearNoteFlag(kFlagDotted);
  rest->ClearNoteFlag(kFlagDblDotted);
  rest->SetTripletState(kGroupNone);
  // Bar lengths of time signatures are whole multiples of the 12-tick unit.
  rest->SetTickLength(std::max(ticks, 0) / 12, kDur64th);
}

void TStaffRange::Delete() {
  if (!IsValid()) return;
  // DeleteItems keeps both boundary bar lines whatever the range holds.
  staff->DeleteItems(std::max(first, 1), last);
  Clear();
}

void TStaffRange::DeleteAndAudit() {
  if (!IsValid()) return;
  const int oldFirst = first;
  Delete();
  AuditStaffAround(*staff, oldFirst);
}

}  // namespace kvt
