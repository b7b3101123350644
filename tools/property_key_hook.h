#pragma once
// The keyboard of property dialogs: an application event filter on key presses, installed
// while at least one property dialog with pages is set up (its tab control enlisted) and
// removed when the last one is withdrawn. For a key whose focus widget lies in such a dialog:
// - Ctrl+Tab and Ctrl+PageDown show the next page, Ctrl+Shift+Tab and Ctrl+PageUp the previous
//   one (through the dialog's NextPage and PrevPage, so a wizard keeps its Back and Next
//   rules), Alt+Home the first page that accepts the selection;
// - Tab and Shift+Tab visit the dialog's controls up to the tab strip, the strip, the controls
//   of the shown page, then the dialog's controls after the strip; a hidden strip (wizard) is
//   passed over;
// - Alt+letter (or digit) picks the control of the focus's own window (page or dialog) whose
//   text carries that mnemonic, else an enabled tab other than the selected one, else a
//   control of the other window. A label passes the focus to the next tab stop after it; a
//   button is also clicked.
//
// Lives as a child of the application object; UI thread only.

#include <QObject>
#include <QPointer>
#include <functional>
#include <vector>

class QKeyEvent;
class QWidget;

namespace kvt {

class TKVPropertyTab;

class TPropertyKeyHook : public QObject {
public:
  // Adds a tab control to the live list, installing the filter when it is the first.
  static void Enlist(TKVPropertyTab* tab);
  // Removes it (once); the filter goes with the last one.
  static void Withdraw(TKVPropertyTab* tab);
  static bool IsInstalled();
  static int LiveCount();

  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  explicit TPropertyKeyHook(QObject* application);
  static TPropertyKeyHook* Find();
  bool IsLive(const TKVPropertyTab* tab) const;
  // What the key does for the focus widget; empty when the hook leaves it alone.
  std::function<void()> Decide(QWidget* focus, const QKeyEvent& key) const;

  std::vector<QPointer<TKVPropertyTab>> live;
};

}  // namespace kvt
