#pragma once
// The keys of the editing view as data: the score window's accelerator table "EditMenu" and
// the application's own table, and the matching of a key press against them.
//
// Character entries ("<", "!", "1", letters) match the text the key press typed, so a character
// typed with Shift works and letters match in either case; they never match while Ctrl is held,
// and the entries written with Alt ("Alt+Z", "Alt++") need Alt. Other entries match by key and
// exact modifiers (the keypad flag ignored; Enter is either Return key). "EditMenu" is searched
// first, then the application's table.

#include <QString>
#include <Qt>
#include <optional>

namespace kvt {

enum class TKeyTable { kEditMenu, kApplication };

struct TKeyHit {
  int id = 0;
  TKeyTable table = TKeyTable::kEditMenu;
  bool operator==(const TKeyHit&) const = default;
};

// The command of a key press (Qt::Key, its modifiers and the text it typed); nullopt when no
// entry matches.
std::optional<TKeyHit> MatchEditKey(int key, Qt::KeyboardModifiers modifiers, const QString& text);

// Whether the application's table owns the command id's key (the frame's menus keep their
// shortcuts only for these).
bool IsApplicationKeyCommand(int id);

}  // namespace kvt
