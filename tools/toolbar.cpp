#include "tools/toolbar.h"

#include "tools/dock_station.h"
#include "tools/status_bar95.h"
#include "tools/toolbar_button_gadget.h"
#include "tools/toolbar_drag.h"
#include "tools/toolbar_frame.h"
#include "tools/toolbar_gadgets.h"
#include "tools/toolbar_list.h"
#include "utils/precondition.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QLayout>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QStatusBar>
#include <QToolTip>

#include <algorithm>

namespace kvt {

TToolbar::TToolbar(TToolbarList& list, const QString& title, uint16_t style, bool rowStart)
    : QToolBar(title, &list.Frame()),
      list(list),
      title(title),
      style(style),
      rowStart(rowStart),
      gadgets(new TToolbarGadgets(this)) {
  setObjectName(title);
  // Moving and floating are ours: Qt cannot float a toolbar from code.
  setMovable(false);
  setFloatable(false);
  setContextMenuPolicy(Qt::DefaultContextMenu);
  layout()->setContentsMargins(0, 0, 0, 0);
  addWidget(gadgets);
}

TToolbar::~TToolbar() {
  SaveRecord();
  list.Forget(this);
}

TDockStation* TToolbar::CurrentStation() const {
  for (uint16_t edge : {TBRS_ALIGN_LEFT, TBRS_ALIGN_TOP, TBRS_ALIGN_RIGHT, TBRS_ALIGN_BOTTOM})
    if (list.Station(edge).Holds(this)) return &list.Station(edge);
  return nullptr;
}

TToolbarRecord TToolbar::Record() const {
  TToolbarRecord record;
  record.style = style;
  record.floatX = static_cast<int16_t>(std::clamp(floatPos.x(), -32768, 32767));
  record.floatY = static_cast<int16_t>(std::clamp(floatPos.y(), -32768, 32767));
  record.layoutIndex = static_cast<uint16_t>(layoutIndex);
  record.dockIndex = static_cast<uint8_t>(std::clamp(dockIndex, 0, 255));
  record.rowStart = rowStart;
  record.buttonSize = buttonSize;
  return record;
}

void TToolbar::ApplyRecord(const TToolbarRecord& record) {
  style = record.style;
  floatPos = QPoint(record.floatX, record.floatY);
  layoutIndex = record.layoutIndex;
  dockIndex = record.dockIndex;
  rowStart = record.rowStart;
  buttonSize = std::clamp(record.buttonSize, kMinButtonSize, kMaxButtonSize);
}

void TToolbar::SaveRecord() {
  TKey key = list.ToolbarsKey(TKey::kCreate);
  const std::vector<uint8_t> bytes = EncodeToolbarRecord(Record());
  key.SetBinary(title.toUtf8().constData(), bytes.data(), static_cast<int32_t>(bytes.size()));
}

void TToolbar::Place() {
  const bool floating = (style & TBRS_FLOATING) != 0;
  gadgets->Place(floating ? style : style & ~TBRS_FLOATING,
                 floating && !layouts.empty() ? layouts[layoutIndex].rows : 1);
  setOrientation(vertical ? Qt::Vertical : Qt::Horizontal);
  adjustSize();
  if (frame) frame->FitToolbar();
}

void TToolbar::Relayout() {
  const bool wasVisible = isVisible();
  if (wasVisible) hide();
  layouts = CandidateFloatLayouts(gadgets->FlowInput(), TKVToolbarSeparatorGadget::kSize);
  layoutIndex = std::clamp(layoutIndex, 0, static_cast<int>(layouts.size()) - 1);
  Place();
  if (wasVisible) show();
}

void TToolbar::SetButtonSize(int pixels) {
  pixels = std::clamp(pixels, kMinButtonSize, kMaxButtonSize);
  if (pixels == buttonSize) return;
  buttonSize = pixels;
  for (QWidget* gadget : gadgets->Gadgets())
    if (auto* button = dynamic_cast<TToolbarButtonGadget*>(gadget)) button->SetButtonSize(pixels);
  Relayout();
}

void TToolbar::SetFloatLayout(int index) {
  if (layouts.empty()) return;
  layoutIndex = std::clamp(index, 0, static_cast<int>(layouts.size()) - 1);
  Place();
}

void TToolbar::AddGadget(QWidget* gadget) {
  if (auto* button = dynamic_cast<TToolbarButtonGadget*>(gadget)) {
    button->SetButtonSize(buttonSize);
    button->SetTarget(&list.Commands());
    button->SetHintSink([this](int32_t id, bool show) {
      QStatusBar* bar = list.StatusBar();
      if (bar == nullptr) return;
      const QString hint = show ? list.HintOf(id) : QString();
      if (auto* bar95 = dynamic_cast<TStatusBar95*>(bar))
        bar95->SetText(hint);
      else if (hint.isEmpty())
        bar->clearMessage();
      else
        bar->showMessage(TStatusBar95::StatusPart(hint));
    });
    const QString tip = TStatusBar95::TooltipPart(list.HintOf(button->CommandId()));
    if (!tip.isEmpty()) button->setToolTip(tip);
  }
  gadgets->Add(gadget);
  Relayout();
}

TToolbarButtonGadget* TToolbar::FindButton(int32_t id) const {
  for (QWidget* gadget : gadgets->Gadgets())
    if (auto* button = dynamic_cast<TToolbarButtonGadget*>(gadget))
      if (button->CommandId() == id) return button;
  return nullptr;
}

QSize TToolbar::DockedSize(bool horizontal) const {
  const uint16_t docked = horizontal ? TBRS_ALIGN_TOP : TBRS_ALIGN_LEFT;
  return FlowGadgets(gadgets->FlowInput(), docked, 1, TKVToolbarSeparatorGadget::kSize).size +
         QSize(2 * kBorderUnit, 2 * kBorderUnit);
}

QSize TToolbar::FloatingSize() const {
  const QSize inner = layouts.empty()
                          ? gadgets->sizeHint()
                          : layouts[std::min<size_t>(layoutIndex, layouts.size() - 1)].size;
  return TToolbarFrame::FrameSizeFor(inner);
}

void TToolbar::SetStyle(uint16_t newStyle, bool capture) {
  if ((newStyle & TBRS_ALIGN_ANY) == 0)
    ThrowPrecondition("(newStyle & TBRS_ALIGN_ANY)!=0", __FILE__, __LINE__);
  newStyle = static_cast<uint16_t>((newStyle & ~TBRS_ALIGN_ANY) | SingleEdgeBit(newStyle));
  style = newStyle;
  const bool floating = (style & TBRS_FLOATING) != 0;
  const bool hidden = (style & TBRS_HIDDEN) != 0;
  vertical = !floating && (style & (TBRS_ALIGN_LEFT | TBRS_ALIGN_RIGHT)) != 0;

  if (capture && isVisible()) {
    if (frame)
      floatPos = frame->pos();
    else
      dockedPos = mapTo(&list.Frame(), QPoint(0, 0));
  }
  if (TDockStation* station = CurrentStation()) station->Remove(*this);
  if (frame && (!floating || hidden)) {
    hide();
    setParent(&list.Frame());
    frame->hide();
    frame->deleteLater();
    frame = nullptr;
  }
  if (hidden) {
    hide();
  } else if (floating) {
    if (floatPos == QPoint(-1, -1)) floatPos = mapToGlobal(QPoint(0, 0));
    Place();
    if (frame) {
      frame->move(floatPos);
    } else {
      frame = new TToolbarFrame(*this);
      frame->move(floatPos);
      frame->show();
    }
  } else {
    Place();
    TDockStation& station = list.Station(style & TBRS_ALIGN_ANY);
    if (dockedPos == QPoint(-1, -1))
      station.Insert(*this);
    else
      station.DropAt(*this, list.Frame().mapToGlobal(dockedPos));
  }
}

void TToolbar::mousePressEvent(QMouseEvent* event) {
  QToolTip::hideText();
  if (event->button() != Qt::LeftButton) {
    QToolBar::mousePressEvent(event);
    return;
  }
  drag = std::make_unique<TToolbarDrag>(*this, event->globalPosition().toPoint(),
                                        event->modifiers().testFlag(Qt::ControlModifier));
}

void TToolbar::mouseMoveEvent(QMouseEvent* event) {
  if (drag)
    drag->Move(event->globalPosition().toPoint(), event->modifiers().testFlag(Qt::ControlModifier));
}

void TToolbar::mouseReleaseEvent(QMouseEvent* event) {
  if (!drag || event->button() != Qt::LeftButton) return;
  std::unique_ptr<TToolbarDrag> finished = std::move(drag);
  finished->Move(event->globalPosition().toPoint(),
                 event->modifiers().testFlag(Qt::ControlModifier));
  finished->Drop();
}

void TToolbar::keyPressEvent(QKeyEvent* event) {
  QToolTip::hideText();
  if (drag && event->key() == Qt::Key_Control)
    drag->Move(QCursor::pos(), true);
  else
    QToolBar::keyPressEvent(event);
}

void TToolbar::keyReleaseEvent(QKeyEvent* event) {
  if (drag && event->key() == Qt::Key_Control)
    drag->Move(QCursor::pos(), false);
  else
    QToolBar::keyReleaseEvent(event);
}

void TToolbar::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  drag.reset();
  QWidget* under = childAt(event->position().toPoint());
  if (auto* button = dynamic_cast<TToolbarButtonGadget*>(under); button && button->isEnabled()) {
    QApplication::beep();
    return;
  }
  if (style & TBRS_FLOATING)
    SetStyle(static_cast<uint16_t>(style & ~TBRS_FLOATING), true);
  else if (allowed & TBRS_FLOATING)
    SetStyle(static_cast<uint16_t>(style | TBRS_FLOATING), true);
}

void TToolbar::contextMenuEvent(QContextMenuEvent* event) {
  if (QWidget::mouseGrabber() != nullptr || list.ContextMenu() == nullptr) return;
  list.ContextMenuChoice(list.RunContextMenu(event->globalPos()));
}

void TToolbar::paintEvent(QPaintEvent* event) {
  QToolBar::paintEvent(event);
  if (style & TBRS_FLOATING) return;
  // The gripper: two etched bars of 3 pixels at the start of a docked toolbar.
  QPainter painter(this);
  const QColor light = palette().color(QPalette::Light), dark = palette().color(QPalette::Dark);
  for (int bar = 0; bar < 2; ++bar) {
    const int at = 2 + bar * 4;
    if (vertical) {
      painter.fillRect(2, at, width() - 4, 1, light);
      painter.fillRect(2, at + 1, width() - 4, 2, dark);
    } else {
      painter.fillRect(at, 2, 1, height() - 4, light);
      painter.fillRect(at + 1, 2, 2, height() - 4, dark);
    }
  }
}

}  // namespace kvt
