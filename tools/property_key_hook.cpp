#include "tools/property_key_hook.h"

#include <QApplication>
#include <QKeyEvent>
#include <algorithm>

#include "tools/property_dialog.h"
#include "tools/property_focus.h"
#include "tools/property_tab.h"
#include "tools/tab_stops.h"

namespace kvt {

namespace {

const char* const kHookName = "kvtPropertyKeyHook";

// The mnemonic key of an Alt+key press: letters and digits as Qt codes them, other characters
// by their upper case; 0 for none.
int MnemonicKey(const QKeyEvent& key) {
  const int code = key.key();
  if ((code >= Qt::Key_A && code <= Qt::Key_Z) || (code >= Qt::Key_0 && code <= Qt::Key_9))
    return code;
  const QString text = key.text();
  if (text.size() == 1 && text[0].isPrint()) return text[0].toUpper().unicode();
  return 0;
}

}  // namespace

TPropertyKeyHook::TPropertyKeyHook(QObject* application) : QObject(application) {
  setObjectName(kHookName);
}

TPropertyKeyHook* TPropertyKeyHook::Find() {
  QCoreApplication* application = QCoreApplication::instance();
  return application
             ? application->findChild<TPropertyKeyHook*>(kHookName, Qt::FindDirectChildrenOnly)
             : nullptr;
}

void TPropertyKeyHook::Enlist(TKVPropertyTab* tab) {
  QCoreApplication* application = QCoreApplication::instance();
  if (!application || !tab) return;
  TPropertyKeyHook* hook = Find();
  if (!hook) {
    hook = new TPropertyKeyHook(application);
    application->installEventFilter(hook);
  }
  if (!hook->IsLive(tab)) hook->live.emplace_back(tab);
}

void TPropertyKeyHook::Withdraw(TKVPropertyTab* tab) {
  TPropertyKeyHook* hook = Find();
  if (!hook) return;
  auto& live = hook->live;
  live.erase(std::remove_if(live.begin(), live.end(),
                            [tab](const QPointer<TKVPropertyTab>& p) { return !p || p == tab; }),
             live.end());
  if (live.empty()) delete hook;  // its destruction removes the filter
}

bool TPropertyKeyHook::IsInstalled() { return Find() != nullptr; }

int TPropertyKeyHook::LiveCount() {
  const TPropertyKeyHook* hook = Find();
  return hook ? static_cast<int>(hook->live.size()) : 0;
}

bool TPropertyKeyHook::IsLive(const TKVPropertyTab* tab) const {
  return tab && std::any_of(live.begin(), live.end(),
                            [tab](const QPointer<TKVPropertyTab>& p) { return p == tab; });
}

std::function<void()> TPropertyKeyHook::Decide(QWidget* focus, const QKeyEvent& key) const {
  TKVPropertyDialog* dialog = nullptr;
  for (QWidget* w = focus; w && !dialog; w = w->parentWidget()) {
    dialog = dynamic_cast<TKVPropertyDialog*>(w);
    if (w->isWindow()) break;
  }
  if (!dialog || !IsLive(dialog->Tab())) return {};
  QPointer<TKVPropertyDialog> guarded(dialog);

  const Qt::KeyboardModifiers mods = key.modifiers();
  const bool ctrl = mods & Qt::ControlModifier;
  const bool alt = mods & Qt::AltModifier;
  const bool isTab = key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab;
  const bool back = key.key() == Qt::Key_Backtab || (mods & Qt::ShiftModifier);

  if (!isTab || ctrl) {
    int direction = 0;
    if (ctrl && isTab)
      direction = back ? -1 : 1;
    else if (ctrl && key.key() == Qt::Key_PageDown)
      direction = 1;
    else if (ctrl && key.key() == Qt::Key_PageUp)
      direction = -1;
    if (direction != 0) {
      return [guarded, direction] {
        if (guarded) direction > 0 ? guarded->NextPage() : guarded->PrevPage();
      };
    }
    if (alt && !ctrl && key.key() == Qt::Key_Home) {
      return [guarded] {
        for (int i = 0; guarded && i < guarded->GetPageCount(); ++i)
          if (guarded->SelectPage(i)) break;
      };
    }
    if (alt && !ctrl) return MnemonicAction(*dialog, focus, MnemonicKey(key));
    return {};
  }
  if (alt) return {};
  QWidget* target = TabFocusTarget(*dialog, focus, !back);
  if (!target) return {};
  QPointer<QWidget> guardedTarget(target);
  const Qt::FocusReason reason = back ? Qt::BacktabFocusReason : Qt::TabFocusReason;
  return [guardedTarget, reason] {
    if (guardedTarget) guardedTarget->setFocus(reason);
  };
}

bool TPropertyKeyHook::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride) return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget) return false;
  // A key travels from the focus widget up its parents; it is judged once, at the focus.
  if (QWidget* focus = QApplication::focusWidget(); focus && focus != widget) return false;
  const std::function<void()> action = Decide(FocusOwner(widget), *static_cast<QKeyEvent*>(event));
  if (!action) return false;
  event->accept();
  // The override only claims the key from the shortcuts; the press carries it out.
  if (event->type() == QEvent::KeyPress) action();
  return true;
}

}  // namespace kvt
