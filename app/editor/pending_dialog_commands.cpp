// The editing commands whose dialogs belong to later work (properties, staff properties,
// lyrics, find, user tools, user-object editing): registered here so that menus and keys find
// them, and disabled until the dialog service offers their dialog. The work that builds a
// dialog registers the command's real handler in place of this one.

#include "app/editor/edit_dialogs.h"
#include "app/editor/score_edit.h"
#include "app/editor/score_edit_host.h"
#include "app/editor/staff_commands.h"
#include "tools/command_table.h"

namespace kvt {

namespace {

struct TPendingCommand {
  int command;
  TEditDialog dialog;
  bool needsSelection;
};

const TPendingCommand kPendingCommands[] = {
    {17, TEditDialog::kUserTool, false},          // "&User Tool..."
    {18, TEditDialog::kUserTool, false},          // "R&epeat Last User Tool"
    {26, TEditDialog::kFind, false},              // "&Find..."
    {27, TEditDialog::kFind, false},              // "Find &Next..."
    {28, TEditDialog::kFind, false},              // "Find Pre&vious..."
    {37, TEditDialog::kLyrics, false},            // "&Lyrics..."
    {51, TEditDialog::kItemProperties, false},    // "Pr&operties..."
    {160, TEditDialog::kItemProperties, true},    // "Fi&ltered Properties..."
    {168, TEditDialog::kUserObject, true},        // "Ob&ject..." (edit)
    {219, TEditDialog::kStaffProperties, false},  // "Staff &Properties..."
    {224, TEditDialog::kItemProperties, true},    // "Pr&operties..."
};

}  // namespace

void RegisterPendingDialogCommands(TScoreEdit& view, TCommandTable& table) {
  for (const TPendingCommand& pending : kPendingCommands) {
    table.Register(
        pending.command, [&view](int32_t) { view.Host().Beep(); },
        [&view, pending](TCommandEnabler& e) {
          e.Enable(view.CanEdit() && (!pending.needsSelection || view.HasSelection()) &&
                   view.Host().Dialogs().IsAvailable(pending.dialog));
        });
  }
}

}  // namespace kvt
