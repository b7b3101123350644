#include "tools/dialog_transfer.h"

namespace kvt {

bool ControlsCanClose(QWidget& container) {
  for (QObject* child : container.children()) {
    auto* widget = qobject_cast<QWidget*>(child);
    if (!widget) continue;
    if (auto* closable = dynamic_cast<TClosableControl*>(widget)) {
      if (!closable->CanClose()) return false;
    } else if (!ControlsCanClose(*widget)) {
      return false;
    }
  }
  return true;
}

}  // namespace kvt
