// Re-barring a staff by its time signatures.

#include <algorithm>
#include <cstdint>
#include <memory>

#include "notation/items/bar_line_data.h"
#include "notation/items/item_cast.h"
#include "notation/items/general_expression.h"
#include "notation/staff/music_staff.h"
#include "notation/items/rest_note.h"
#include "notation/items/song_note.h"
#include "notation/audit/staff_audit.h"
#include "notation/edits/staff_edits.h"
#include "notation/staff/staff_utils.h"
#include "notation/items/time_signature_data.h"

namespace kvt {

namespace {

// Items a new bar line may stand before: an ending, a song note, an item that lasts, or an
// expression not placed as a staff signature.
bool CanFollowBarLine(const TNotatedItem& item) {
  if (item.GetType() == kItemEnding || item.IsSongNoteClass() || item.GetDuration() > 0)
    return true;
  return item.IsExpressionClass() &&
         ItemRef<TNtnGeneralExpression>(item).GetPlacement() != kPlaceAsStaffSignature;
}

bool HasSongNoteAfter(const TMusicStaff& staff, int i) {
  for (int j = i + 1; j <= staff.GetLastIndex() - 1; ++j)
    if (staff.GetItem(j)->IsSongNoteClass()) return true;
  return false;
}

// Rests before the closing bar line until `ticks` are filled (each the longest that fits).
void PadWithRests(TMusicStaff& staff, int64_t ticks) {
  while (ticks >= kShortestFitTicks && !staff.IsFull()) {
    auto rest = std::make_unique<TRestNote>(kDurQuarter, 0);
    ticks -= SetItemDurationToFit(rest.get(), static_cast<int>(std::min<int64_t>(ticks, 1 << 20)),
                                  false);
    staff.InsertItem(std::move(rest), staff.GetLastIndex());
  }
}

}  // namespace

void AutoInsertBarLines(TMusicStaff& staff, bool padLastBar) {
  MakeAccidentalsExplicit(staff);
  int64_t barLength = GetBarDuration(4, 2);
  int64_t barStart = 0;
  int64_t barEnd = barLength;
  int64_t sum = 0;
  bool tripletOpen = false;
  int i = 1;
  for (; i <= staff.GetLastIndex() - 1; ++i) {
    TNotatedItem* item = staff.GetItem(i);
    const int type = item->GetType();
    if (sum >= barEnd && type != kItemBarLine && CanFollowBarLine(*item)) {
      // A bar line inside an open triplet would cut the group: the pass ends here.
      if (tripletOpen || staff.IsFull()) break;
      staff.InsertItem(std::make_unique<TBarLineData>(kBarSingle), i);
      item = staff.GetItem(i);  // the new bar line, handled below
    }
    if (item->GetType() == kItemBarLine) {
      const auto* bar = ItemAs<TBarLineData>(item);
      if (!padLastBar && !HasSongNoteAfter(staff, i)) break;
      if (sum >= barEnd || bar->GetStyle() != kBarSingle) {
        barStart = sum;
        barEnd = sum + barLength;
      } else if (staff.DeleteItem(i)) {
        --i;  // a Single bar line inside a bar goes
      }
      continue;
    }
    if (type == kItemTimeSig) {
      barLength = ItemAs<TTimeSignatureData>(item)->GetBarTicks();
      barEnd = sum == barStart ? sum + barLength : sum;  // elsewhere a bar line is due at once
      continue;
    }
    if (item->IsSongNoteClass()) {
      const auto* note = ItemAs<TSongNote>(item);
      if (!note->IsGrace()) {
        const int triplet = note->GetTripletState();
        tripletOpen = triplet != kGroupNone && triplet != kGroupEnd;
      }
      const int64_t duration = item->GetDuration();
      if (sum < barEnd && sum + duration > barEnd) {
        if (note->IsTriplet() || type == kItemRestChord || note->HasSplitStem() ||
            barEnd - sum < kShortestFitTicks || barEnd > INT32_MAX)
          break;
        SplitItemAtTime(staff, i, static_cast<int32_t>(sum), static_cast<int32_t>(barEnd));
      }
    }
    sum += staff.GetItem(i)->GetDuration();
  }
  // The closing bar line: with padLastBar the last bar is filled with rests.
  if (padLastBar && i >= staff.GetLastIndex() && sum > barStart && sum < barEnd)
    PadWithRests(staff, barEnd - sum);
  AuditStaffRange(staff);
  AuditAccidentals(staff);
}

}  // namespace kvt
