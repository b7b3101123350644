#include "tools/toolbar_gadgets.h"

#include "tools/toolbar_button_gadget.h"

#include <QEvent>

namespace kvt {

TToolbarGadgets::TToolbarGadgets(QWidget* parent) : QWidget(parent) {}

void TToolbarGadgets::Add(QWidget* gadget) {
  gadget->setParent(this);
  gadget->installEventFilter(this);
  gadgets.push_back(gadget);
  gadget->show();
  Place(style, rowsWanted);
}

void TToolbarGadgets::SetShowDisabled(bool on) {
  if (on == showDisabled) return;
  showDisabled = on;
  Place(style, rowsWanted);
}

std::vector<TFlowGadget> TToolbarGadgets::FlowInput() const {
  std::vector<TFlowGadget> input;
  for (QWidget* gadget : gadgets) {
    const bool separator = dynamic_cast<TKVToolbarSeparatorGadget*>(gadget) != nullptr;
    const bool takesPart = separator || gadget->isEnabled() || showDisabled;
    input.push_back({gadget->sizeHint(), separator, takesPart});
  }
  return input;
}

void TToolbarGadgets::Place(uint16_t newStyle, int newRows) {
  style = newStyle;
  rowsWanted = newRows;
  placing = true;
  const TFlowResult flow =
      FlowGadgets(FlowInput(), style, rowsWanted, TKVToolbarSeparatorGadget::kSize);
  const bool vertical = (style & 0x0010) == 0 && (style & (0x1000 | 0x4000)) != 0;
  for (size_t i = 0; i < gadgets.size(); ++i) {
    QWidget* gadget = gadgets[i];
    if (flow.rects[i].isNull()) {
      gadget->hide();
      continue;
    }
    if (auto* separator = dynamic_cast<TKVToolbarSeparatorGadget*>(gadget))
      separator->SetHorizontalLine(vertical || flow.barSeparator[i]);
    gadget->setGeometry(flow.rects[i]);
    gadget->show();
  }
  placing = false;
  if (flow.size != placedSize) {
    placedSize = flow.size;
    setFixedSize(placedSize);
    updateGeometry();
  }
}

bool TToolbarGadgets::event(QEvent* event) {
  // A gadget that changes its size or enabled state moves its neighbours.
  if (!placing && (event->type() == QEvent::LayoutRequest || event->type() == QEvent::ChildAdded))
    Place(style, rowsWanted);
  return QWidget::event(event);
}

}  // namespace kvt

namespace kvt {

bool TToolbarGadgets::eventFilter(QObject* watched, QEvent* event) {
  // Without the disabled gadgets shown, enabling one makes room for it.
  if (event->type() == QEvent::EnabledChange && !showDisabled && !placing) Place(style, rowsWanted);
  return QWidget::eventFilter(watched, event);
}

}  // namespace kvt
