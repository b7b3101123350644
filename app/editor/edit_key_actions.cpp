#include "app/editor/edit_key_actions.h"

#include <algorithm>
#include <memory>

#include "app/editor/score_edit.h"
#include "app/editor/score_edit_host.h"
#include "app/editor/selection_edit.h"
#include "notation/items/staff_spacer.h"
#include "notation/staff/music_staff.h"
#include "notation/staff/staff_range.h"

namespace kvt {

namespace {

constexpr int kCmdSpacer = 132;

bool IsSpacerAt(const TMusicStaff& staff, int i) {
  const TNotatedItem* item = staff.GetItem(i);
  return item != nullptr && item->GetType() == kItemSpacer;
}

// Deletes the selection under an entry of kind 7 with the sub-code.
bool DeleteSelection(TScoreEdit& view, int subCode) {
  const int count = view.Caret().SelectionEnd() - view.Caret().SelectionStart() + 1;
  if (!view.SaveUndoState(kUndoEditorAction, subCode, -count)) return false;
  const int at = view.DeleteSelectionForEdit();
  view.EndUndoState();
  view.StaffChanged(view.Caret().staff, at);
  view.SetCaretIndex(at, false);
  return true;
}

// Deletes the one item at `index` under an entry of kind 7 with the sub-code; the caret then
// stands at `caretAfter`.
bool DeleteItemAt(TScoreEdit& view, int index, int subCode, int caretAfter) {
  TMusicStaff* staff = view.ActiveStaff();
  if (!view.SaveUndoState(kUndoEditorAction, subCode)) return false;
  TStaffRange(staff, index, index).DeleteAndAudit();
  view.EndUndoState();
  view.StaffChanged(view.Caret().staff, index);
  view.SetCaretIndex(caretAfter, false);
  return true;
}

}  // namespace

bool DeleteForward(TScoreEdit& view) {
  TMusicStaff* staff = view.ActiveStaff();
  if (staff == nullptr || !view.CanEdit()) {
    view.Host().Beep();
    return false;
  }
  if (view.HasSelection()) return DeleteSelection(view, kUndoDeleteForward);
  const int at = view.Caret().caret;
  if (at >= staff->GetLastIndex()) {
    view.Host().Beep();
    return false;
  }
  return DeleteItemAt(view, at, kUndoDeleteForward, at);
}

bool DeleteBackward(TScoreEdit& view) {
  TMusicStaff* staff = view.ActiveStaff();
  if (staff == nullptr || !view.CanEdit()) {
    view.Host().Beep();
    return false;
  }
  if (view.HasSelection()) return DeleteSelection(view, kUndoDeleteBackward);
  const int at = view.Caret().caret;
  if (at <= 1) {
    view.Host().Beep();
    return false;
  }
  return DeleteItemAt(view, at - 1, kUndoDeleteBackward, at - 1);
}

bool InsertSpacer(TScoreEdit& view) {
  TMusicStaff* staff = view.ActiveStaff();
  if (staff == nullptr || !view.CanEdit() || view.HasSelection()) {
    view.Host().Beep();
    return false;
  }
  const int at = view.Caret().caret;
  if (!IsSpacerAt(*staff, at) && !IsSpacerAt(*staff, at - 1))
    return view.InsertItem(std::make_unique<TStaffSpacer>(kNewSpacerWidth), kCmdSpacer);
  // The entry holds the change actually made, so it is written after it.
  const int applied = staff->AdjustSpacer(kSpacerStep, at);
  if (applied == 0) {
    view.Host().Beep();  // the spacer is as wide as it can be
    return false;
  }
  if (view.SaveUndoState(kUndoEditorAction, kUndoSpacerChange, applied)) view.EndUndoState();
  view.StaffChanged(view.Caret().staff, std::max(1, at - 1));
  return true;
}

bool ShiftSelection(TScoreEdit& view, int steps) {
  return EditSelection(view, [steps](TStaffRange& range) {
    range.ShiftUpDown(steps);
    return true;
  });
}

void MoveCaretByBar(TScoreEdit& view, int dir, bool extend) {
  const TMusicStaff* staff = view.ActiveStaff();
  if (staff == nullptr) return;
  const int caret = view.Caret().caret;
  // The caret stands before item `caret`: forward, the first bar line at or after it; back, the
  // first one before the item just passed, so a caret right after a bar line goes a bar back.
  const int bar = dir > 0 ? staff->FindPrevBar(caret - 1, 1) : staff->FindPrevBar(caret - 1, -1);
  view.SetCaretIndex(std::clamp(bar + 1, 1, std::max(1, staff->GetLastIndex())), extend);
}

}  // namespace kvt
