// Inserting items at the caret and deleting the selection: the two edits every entry path
// (keys, dialogs, selectors, MIDI input, paste) is built on.

#include <algorithm>
#include <memory>

#include "app/editor/score_edit.h"
#include "app/editor/score_edit_host.h"
#include "notation/edits/staff_edits.h"
#include "notation/files/text/clip_exchange.h"
#include "notation/items/notated_item.h"
#include "notation/staff/music_staff.h"
#include "notation/staff/staff_range.h"
#include "tools/message_box_service.h"

namespace kvt {

void TScoreEdit::ReportStaffFull() {
  host.MessageBox(MB_OK | MB_ICONEXCLAMATION, "Staff Capacity Test",
                  "The active staff does not have enough free space to perform the requested "
                  "operation");
}

bool TScoreEdit::HasRoomFor(int count) const {
  const TMusicStaff* staff = ActiveStaff();
  if (staff == nullptr) return false;
  const int freed = HasSelection() ? caret.SelectionEnd() - caret.SelectionStart() + 1 : 0;
  return HasRoomForClip(*staff, count, freed);
}

int TScoreEdit::InsertItemsAtCaret(std::vector<std::unique_ptr<TNotatedItem>> items, int kind,
                                   int command) {
  TMusicStaff* staff = ActiveStaff();
  const int count = static_cast<int>(items.size());
  if (staff == nullptr || count == 0) return -1;
  if (!HasRoomFor(count)) {
    ReportStaffFull();
    return -1;
  }
  if (!SaveUndoState(kind, command, count)) return -1;
  const int at = HasSelection() ? DeleteSelectionForEdit() : caret.caret;
  InsertItemsAndAudit(*staff, std::move(items), at);
  caret.caret = caret.anchor = at;
  StaffChanged(caret.staff, at);
  return at;
}

int TScoreEdit::DeleteSelectionForEdit() {
  TMusicStaff* staff = ActiveStaff();
  if (staff == nullptr || !HasSelection()) return caret.caret;
  const int start = caret.SelectionStart();
  TStaffRange(staff, start, caret.SelectionEnd()).DeleteAndAudit();
  caret.caret = caret.anchor = start;
  return start;
}

bool TScoreEdit::InsertItem(std::unique_ptr<TNotatedItem> item, int command) {
  TMusicStaff* staff = ActiveStaff();
  if (item == nullptr || staff == nullptr) return false;
  if (!HasRoomFor(1)) {
    ReportStaffFull();
    return false;
  }
  if (!SaveUndoState(kUndoItems, command, 1)) return false;
  if (HasSelection())
    DeleteSelectionForEdit();
  else
    ScrollCaretIntoView();
  const int at = caret.caret;
  staff->InsertItemAndAudit(std::move(item), at);
  caret.caret = caret.anchor = at + 1;
  EndUndoState();
  StaffChanged(caret.staff, at);
  EnsureItemVisible(caret.caret);
  return true;
}

}  // namespace kvt
