#pragma once
// The focus rules of property dialogs that the keyboard hook (tools/property_key_hook.h)
// applies: where Tab and Shift+Tab go, and what an Alt+letter mnemonic picks.

#include <QWidget>
#include <functional>

namespace kvt {

class TKVPropertyDialog;

// The widget that Tab (forward) or Shift+Tab moves the focus to from focus, which lies in the
// dialog (on the strip, a dialog control or a control of the shown page); null when the dialog
// has no tab stop to go to.
QWidget* TabFocusTarget(TKVPropertyDialog& dialog, QWidget* focus, bool forward);

// The action of the mnemonic key (an upper-case letter or digit as QKeyEvent::key gives it)
// with the focus at focus; empty when nothing in the dialog has that mnemonic.
std::function<void()> MnemonicAction(TKVPropertyDialog& dialog, QWidget* focus, int key);

}  // namespace kvt
