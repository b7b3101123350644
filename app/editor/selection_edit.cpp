#include "app/editor/selection_edit.h"

#include "app/editor/score_edit.h"
#include "app/editor/score_edit_host.h"
#include "notation/index/simple_ntn_idx.h"
#include "notation/items/song_note.h"
#include "notation/staff/staff_range.h"

namespace kvt {

TStaffRange SelectedRange(const TScoreEdit& view) {
  TMusicStaff* staff = view.ActiveStaff();
  if (staff == nullptr || !view.HasSelection()) return TStaffRange();
  return TStaffRange(staff, view.Caret().SelectionStart(), view.Caret().SelectionEnd());
}

bool EditSelection(TScoreEdit& view, const std::function<bool(TStaffRange&)>& edit) {
  TStaffRange range = SelectedRange(view);
  if (!range.IsValid() || !view.CanEdit()) {
    view.Host().Beep();
    return false;
  }
  if (!view.SaveUndoState(kUndoEditorAction, kUndoChangeSelection)) return false;
  const int first = range.GetFirst();
  if (!edit(range)) {
    view.CancelUndoState();
    view.Host().Beep();
    return false;
  }
  view.EndUndoState();
  view.StaffChanged(view.Caret().staff, first);
  view.RefreshSelectionSummary();
  return true;
}

TSelectionSummary SummarizeSelection(const TStaffRange& range) {
  TSelectionSummary s;
  if (!range.IsValid()) return s;
  s.valid = true;
  for (int bit = 0; bit < 16; ++bit) {
    bool anySet = false;
    if (!range.GetFlagState(bit, anySet)) continue;
    s.offeredAttributes |= static_cast<uint16_t>(1u << bit);
    if (anySet) s.sharedAttributes |= static_cast<uint16_t>(1u << bit);
  }
  int shortest = 0;
  int longest = 0;
  s.offersDurations = range.GetDurationCodeRange(shortest, longest);
  int value = 0;
  if (s.offersDurations && range.GetCommonDurationCode(value)) s.commonDuration = value;
  s.offersNoteHeads = range.GetCommonNoteHead(value);
  if (s.offersNoteHeads && value < 14) s.commonNoteHead = value;
  // Accidentals and heads both belong to note members.
  s.offersAccidentals = s.offersNoteHeads;
  if (s.offersAccidentals && range.GetCommonAccidental(value)) s.commonAccidental = value;
  s.offersColors = range.GetCommonColor(value);
  if (s.offersColors && value < kItemColorCount) s.commonColor = value;
  s.offersStems = range.GetCommonStem(value);
  if (s.offersStems) s.commonStem = value;
  s.offersBeam = range.CanGroup(kGroupBeam) || range.ContainsGroup(kGroupBeam);
  s.offersTriplet = range.CanGroup(kGroupTriplet) || range.ContainsGroup(kGroupTriplet);
  return s;
}

}  // namespace kvt
