#include "midi/import/import_finish.h"

#include <algorithm>
#include <climits>
#include <memory>

#include "midi/import/import_converter.h"
#include "notation/audit/staff_audit.h"
#include "notation/context/staff_context_state.h"
#include "notation/edits/staff_edits.h"
#include "notation/items/clef_data.h"
#include "notation/items/key_data.h"
#include "notation/items/rest_note.h"
#include "notation/items/tempo_data.h"
#include "notation/items/time_signature_data.h"
#include "notation/services/long_task_cancel.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "notation/staff/staff_lyrics.h"
#include "notation/staff/staff_range.h"
#include "notation/staff/staff_utils.h"

namespace kvt {

namespace {

struct TTimedItem {
  int32_t time;
  const TNotatedItem* item;
};

// The items of a type with the tick times at which they stand.
std::vector<TTimedItem> ItemsOfType(const TMusicStaff& staff, TNotatedItemType type) {
  std::vector<TTimedItem> found;
  int32_t time = 0;
  for (int i = 1; i < staff.GetLastIndex(); ++i) {
    const TNotatedItem* item = staff.GetItem(i);
    if (item->GetType() == type) found.push_back({time, item});
    time = static_cast<int32_t>(std::min<int64_t>(int64_t{time} + item->GetDuration(), INT32_MAX));
  }
  return found;
}

bool HasRoom(const TMusicStaff& staff) { return staff.GetFreeItemCount() >= kImportFreeSlots; }

// Inserts at the tick time: before the first duration-bearing item when an item starts exactly
// there (never before index 1), else where InsertItemAtTime splits.
void InsertAtExactTime(TMusicStaff& staff, std::unique_ptr<TNotatedItem> item, int32_t time) {
  if (!HasRoom(staff)) return;
  const int at = staff.FindIndexAtTime(time, 0, 0);
  if (at < staff.GetLastIndex() && staff.GetDurationBetween(at, 0, 0) == time) {
    int i = std::max(at, 1);
    while (i < staff.GetLastIndex() && staff.GetItem(i)->GetDuration() == 0) ++i;
    staff.InsertItem(std::move(item), i);
    return;
  }
  staff.InsertItemAtTime(std::move(item), time);
}

bool Cancelled(const TServices& services) { return LongTaskCancelOf(services).CheckCancel(); }

int32_t StaffDuration(const TMusicStaff& staff) {
  return staff.GetDurationBetween(staff.GetLastIndex(), 0, 0);
}

}  // namespace

bool FinishImportStaff(TMusicStaff& staff, const TMusicStaff& conductor,
                       const TSMFImportInstructions& instruction, const TServices& services) {
  RemoveRedundantItems(staff);
  if (Cancelled(services)) return false;
  const bool self = &staff == &conductor;
  if (!self) {
    const std::vector<TTimedItem> signatures = ItemsOfType(conductor, kItemTimeSig);
    for (const TTimedItem& sig : signatures) {
      if (!HasRoom(staff)) break;
      const auto& source = static_cast<const TTimeSignatureData&>(*sig.item);
      auto copy = std::make_unique<TTimeSignatureData>(source.GetBeats(), source.GetBeatExponent());
      copy->SetStyle(0);
      InsertAtExactTime(staff, std::move(copy), sig.time);
    }
    if (signatures.empty() && HasRoom(staff)) {
      auto common = std::make_unique<TTimeSignatureData>(4, 2);
      common->SetStyle(0);
      InsertAtExactTime(staff, std::move(common), 0);
    }
    if (staff.CountItemsOfType(kItemKey) == 0) {
      const std::vector<TTimedItem> keys = ItemsOfType(conductor, kItemKey);
      for (const TTimedItem& key : keys) {
        if (!HasRoom(staff)) break;
        const auto& source = static_cast<const TKeyData&>(*key.item);
        auto copy = std::make_unique<TKeyData>(source.GetSharpsMask(), source.GetFlatsMask(),
                                               source.GetTonic());
        staff.InsertItemAtTime(std::move(copy), key.time);
      }
      if (keys.empty() && HasRoom(staff)) staff.InsertItemAtTime(std::make_unique<TKeyData>(), 0);
    }
  }
  if (Cancelled(services)) return false;
  const int clef = staff.SuggestClef();
  if (HasRoom(staff)) staff.InsertItem(std::make_unique<TClefData>(clef), 1);
  if (clef != kClefTreble) {
    TStaffRange notes(&staff, 2, staff.GetLastIndex() - 1);
    notes.ShiftUpDown(-12);
    if (clef == kClefDrum) notes.SetNoteHead(4);
  }
  if (Cancelled(services)) return false;
  AutoInsertBarLines(staff, true);
  MakeAccidentalsExplicit(staff);
  AuditStaffRange(staff);
  if (Cancelled(services)) return false;
  const bool compound = instruction.Has(kImportCompoundTime);
  NormalizeDurations(staff, compound, ImportGridTicks(instruction.restResolution));
  ConsolidateBarRests(staff);
  RemoveRedundantItems(staff);
  AuditStaffRange(staff);
  if (Cancelled(services)) return false;
  const bool hasLyrics = staff.GetLyrics() && staff.GetLyrics()->GetCount() > 0;
  if (instruction.Has(kImportAutoBeam) && !hasLyrics) AutoBeamAuditedStaff(staff, compound);
  NormalizeChords(staff);
  AuditAccidentals(staff);
  return !Cancelled(services);
}

bool FinishImportScore(TMusicScore& score, const std::vector<TSMFImportInstructions>& instructions,
                       const TServices& services) {
  if (score.GetStaffCount() == 0) return true;
  RemoveRedundantItems(*score.GetStaff(0));
  std::unique_ptr<TMusicStaff> conductor = score.DetachStaff(0);

  // Every staff ends where the longest one does.
  int32_t longest = 0;
  for (int i = 0; i < score.GetStaffCount(); ++i)
    longest = std::max(longest, StaffDuration(*score.GetStaff(i)));
  for (int i = 0; i < score.GetStaffCount(); ++i) {
    TMusicStaff& staff = *score.GetStaff(i);
    int64_t gap = int64_t{longest} - StaffDuration(staff);
    while (gap > 0 && HasRoom(staff)) {
      auto rest = std::make_unique<TRestNote>(kDurQuarter, 0);
      gap -= SetItemDurationToFit(rest.get(), static_cast<int>(std::min<int64_t>(gap, 1 << 20)),
                                  false);
      staff.InsertItem(std::move(rest), staff.GetLastIndex());
    }
  }
  TruncateAtTime(*conductor, longest);

  const TSMFImportInstructions lyricInstruction;
  for (int i = 0; i < score.GetStaffCount(); ++i) {
    TMusicStaff& staff = *score.GetStaff(i);
    const bool hasLyrics = staff.GetLyrics() && staff.GetLyrics()->GetCount() > 0;
    if (hasLyrics) {
      if (!FinishImportStaff(staff, *conductor, lyricInstruction, services)) return false;
      TStaffRange all(&staff, 1, staff.GetLastIndex() - 1);
      all.HideItems();
      all.MuteNotes();
      const TMusicStaff* before = score.GetStaff(i - 1);
      const int bottom = before && before->GetLayerWithNext() ? before->GetBoundaryBottom() + 5 : 5;
      staff.SetBoundaries(-1, bottom);
      continue;
    }
    const size_t at = static_cast<size_t>(i);
    const TSMFImportInstructions instruction =
        at < instructions.size() ? instructions[at] : TSMFImportInstructions();
    if (!FinishImportStaff(staff, *conductor, instruction, services)) return false;
    int high = INT_MAX;
    int low = INT_MIN;
    TStaffRange(&staff, 1, staff.GetLastIndex() - 1).GetNoteExtent(high, low);
    int top = std::min(high, -10);
    if (i == 0) top -= 4;
    staff.SetBoundaries(top, std::max(low, 10));
  }

  // A tempo at the very start moves to the first staff.
  const std::vector<TTimedItem> tempos = ItemsOfType(*conductor, kItemTempo);
  if (!tempos.empty() && tempos.front().time == 0 && score.GetStaffCount() > 0) {
    const int index = conductor->FindNextOfType(kItemTempo, 0, 1);
    std::unique_ptr<TNotatedItem> tempo = conductor->DetachItem(index);
    if (tempo) {
      tempo->SetStaffPos(-10);
      InsertAtExactTime(*score.GetStaff(0), std::move(tempo), 0);
    }
  }
  if (conductor->CountItemsOfType(kItemTempo) > 0) {
    if (!FinishImportStaff(*conductor, *conductor, TSMFImportInstructions(), services))
      return false;
    conductor->SetLines(0);
    conductor->SetBoundaries(-3, 3);
    TStaffRange(conductor.get(), 1, conductor->GetLastIndex() - 1).HideItems();
    score.TryAddStaff(conductor);
  }
  return true;
}

}  // namespace kvt
