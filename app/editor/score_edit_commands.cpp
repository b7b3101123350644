#include "app/editor/score_edit_commands.h"

#include "app/editor/clipboard_commands.h"
#include "app/editor/editor_zoom.h"
#include "app/editor/entry_commands.h"
#include "app/editor/midi_input_commands.h"
#include "app/editor/score_edit.h"
#include "app/editor/staff_commands.h"
#include "app/editor/undo_menu_text.h"
#include "tools/command_table.h"

namespace kvt {

namespace {

// Undo, redo and zoom: the frame names the undo entries in its menu; the view only runs them.
void RegisterViewStateCommands(TScoreEdit& view, TCommandTable& table) {
  const auto registerRun = [&view, &table](int id, bool (TScoreEdit::*run)()) {
    table.Register(id, [&view, run](int32_t) { (view.*run)(); });
  };
  registerRun(kCmdUndo, &TScoreEdit::Undo);
  registerRun(kCmdRedo, &TScoreEdit::Redo);
  registerRun(kCmdZoomIn, &TScoreEdit::ZoomIn);
  registerRun(kCmdZoomOut, &TScoreEdit::ZoomOut);
  registerRun(kCmdZoomDialog, &TScoreEdit::RunZoomDialog);
}

}  // namespace

void RegisterScoreEditCommands(TScoreEdit& view, TCommandTable& table) {
  RegisterViewStateCommands(view, table);
  RegisterEntryCommands(view, table);
  RegisterMidiInputCommands(view, table);
  RegisterStaffCommands(view, table);
  RegisterClipboardCommands(view, table);
}

}  // namespace kvt
