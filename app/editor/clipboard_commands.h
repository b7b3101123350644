#pragma once
// The editing view's clipboard commands: Cut (32), Copy (33), Paste (34), Clear (35) and
// Copy Special (221), through the host's clipboard service (clipboard_service.h). Each edit
// writes its undo entry before it changes the staff; a paste that cannot be read or does not
// fit changes nothing and leaves no undo entry.

namespace kvt {

class TCommandTable;
class TScoreEdit;

inline constexpr int kCmdCut = 32;
inline constexpr int kCmdCopy = 33;
inline constexpr int kCmdPaste = 34;
inline constexpr int kCmdClear = 35;
inline constexpr int kCmdCopySpecial = 221;

void RegisterClipboardCommands(TScoreEdit& view, TCommandTable& table);

// The commands' steps, for the keys and menus that reach them without the table.
// Copy: the selection to the clipboard; false (after "Operation Error") when it failed.
bool CopySelection(TScoreEdit& view);
// Paste: the clipboard's clip at the caret, replacing the selection; false when nothing
// changed.
bool PasteClip(TScoreEdit& view);

}  // namespace kvt
