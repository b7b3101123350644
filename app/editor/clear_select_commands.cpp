#include "app/editor/clear_select_commands.h"

#include "app/editor/score_edit.h"
#include "notation/staff/music_staff.h"
#include "tools/command_table.h"

namespace kvt {

namespace {

constexpr int kCmdClear = 35;
constexpr int kCmdSelectAll = 39;

void Clear(TScoreEdit& view) {
  const int count = view.Caret().SelectionEnd() - view.Caret().SelectionStart() + 1;
  if (!view.SaveUndoState(kUndoItems, kCmdClear, -count)) return;
  const int at = view.DeleteSelectionForEdit();
  view.EndUndoState();
  view.StaffChanged(view.Caret().staff, at);
  view.SetCaretIndex(at, false);
}

void SelectAll(TScoreEdit& view) {
  const TMusicStaff* staff = view.ActiveStaff();
  if (staff == nullptr) return;
  view.SetCaretIndex(staff->GetLastIndex(), false);
  view.SetCaretIndex(1, true);
}

}  // namespace

void RegisterClearSelectCommands(TScoreEdit& view, TCommandTable& table) {
  table.Register(
      kCmdClear, [&view](int32_t) { Clear(view); },
      [&view](TCommandEnabler& enabler) { enabler.Enable(view.CanEdit() && view.HasSelection()); });
  table.Register(
      kCmdSelectAll, [&view](int32_t) { SelectAll(view); },
      [&view](TCommandEnabler& enabler) { enabler.Enable(view.CanEdit()); });
}

}  // namespace kvt
