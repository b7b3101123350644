#include "app/editor/entry_commands.h"

#include "app/editor/clear_select_commands.h"
#include "app/editor/note_entry_commands.h"
#include "app/editor/note_tool_commands.h"

namespace kvt {

void RegisterEntryCommands(TScoreEdit& view, TCommandTable& table) {
  RegisterNoteEntryCommands(view, table);
  RegisterNoteToolCommands(view, table);
  RegisterClearSelectCommands(view, table);
}

}  // namespace kvt
