#pragma once
// The editing view's command popups of "DynamicMenus": position 1 (insert, no selection), 2 (a
// selection), 3 (outside the staves: staff commands) and 16 (one user object selected). The
// popups list command ids; each item takes its text from EditCommandText, its enabled, checked
// and text state from the view's command table, and runs its command through the view.
//
// Every command item carries its id as the action's data (an int); submenus and separators
// carry none. UI thread only; the menu must not outlive the view.

#include <QString>
#include <memory>
#include <string_view>

class QMenu;

namespace kvt {

class TNotatedItem;
class TScoreEdit;

// The popup of the position; null for a position that has none.
std::unique_ptr<QMenu> BuildEditPopup(TScoreEdit& view, int position);

// Adds the command's item to the menu (text, state and action as above).
void AddCommandItem(QMenu& menu, TScoreEdit& view, int id);

// The item a popup was built for still stands at the index of the active staff. The event
// loop runs while a popup is open (MIDI input, timers): a choice made after the staff changed
// must not land on another item.
bool ItemStillAt(TScoreEdit& view, int itemIndex, const TNotatedItem* item);

// A menu text without the key shown after its tab ("&Sharp\t9" -> "&Sharp"), for items that
// act on something other than what the key does.
QString TextWithoutKey(std::string_view text);
// Text from outside (a plug-in's names) as a menu shows it: "&" doubled, so no character
// becomes a mnemonic.
QString LiteralMenuText(std::string_view utf8);

}  // namespace kvt
