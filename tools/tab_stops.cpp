#include "tools/tab_stops.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLineEdit>

namespace kvt {

namespace {

void Collect(QWidget& container, QWidget& root, std::vector<QWidget*>& stops) {
  for (QObject* child : container.children()) {
    auto* widget = qobject_cast<QWidget*>(child);
    if (!widget || widget->isWindow() || !widget->isVisibleTo(&root)) continue;
    if ((widget->focusPolicy() & Qt::TabFocus) && widget->isEnabled()) {
      stops.push_back(widget);
      continue;
    }
    Collect(*widget, root, stops);
  }
}

}  // namespace

std::vector<QWidget*> TabStopsOf(QWidget& container) {
  std::vector<QWidget*> stops;
  Collect(container, container, stops);
  return stops;
}

QWidget* FocusOwner(QWidget* focus) {
  while (focus && focus->parentWidget() && focus->parentWidget()->focusProxy() == focus)
    focus = focus->parentWidget();
  // An editable combo box need not name its edit as proxy.
  if (focus && qobject_cast<QComboBox*>(focus->parentWidget())) focus = focus->parentWidget();
  return focus;
}

void SelectAllIfEdit(QWidget& widget) {
  if (auto* edit = qobject_cast<QLineEdit*>(&widget))
    edit->selectAll();
  else if (auto* spin = qobject_cast<QAbstractSpinBox*>(&widget))
    spin->selectAll();
}

}  // namespace kvt
