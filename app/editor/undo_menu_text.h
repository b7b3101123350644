#pragma once
// The texts of the Undo and Redo menu items (commands 40 and 41) and the names of undo entries.
//
// An entry's name: for kind 7 the sub-code's name ("Delete" for 1 and 2, "Remove Chord Note",
// "Change Selection", "MIDI Input", "Spacer Change", "Notehead Change", "Property Change");
// for kinds 1 to 6 the main menu's text of the command without "&", cut at a tab or at "..",
// at most 79 characters, or "Selector Insert" for commands 256 to 271 without a menu text;
// otherwise "Action".

#include <functional>
#include <string>

namespace kvt {

class TUndoActionMgr;

inline constexpr int kCmdUndo = 40;
inline constexpr int kCmdRedo = 41;

// The main menu's text of a command id, empty when the menu has none.
using TMenuTextLookup = std::function<std::u16string(int command)>;

std::u16string UndoEntryName(int kind, int command, const TMenuTextLookup& menuText);

struct TUndoMenuItem {
  std::u16string text;
  bool enabled = false;
};

// "&Undo <name>\tCtrl+Z" when an undo entry is available and the editor may edit, else
// "&Undo\tCtrl+Z" disabled; Redo likewise with "Redo <name>\tCtrl+Y" and "Re&do\tCtrl+Y".
TUndoMenuItem UndoMenuItem(const TUndoActionMgr& undo, bool canEdit,
                           const TMenuTextLookup& menuText);
TUndoMenuItem RedoMenuItem(const TUndoActionMgr& undo, bool canEdit,
                           const TMenuTextLookup& menuText);

}  // namespace kvt
