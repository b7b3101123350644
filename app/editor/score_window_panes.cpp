#include "app/editor/score_window_panes.h"

#include <QPaintEvent>
#include <QPainter>

#include "draw/staff_color_handles.h"
#include "platform/qpainter_context.h"

namespace kvt {
namespace {

constexpr int kLabelPanelColor = 1;
constexpr int kActiveBackgroundColor = 3;

}  // namespace

TStaffLabelsWindow::TStaffLabelsWindow(const TStaffColorHandles& colors, QWidget* parent)
    : QWidget(parent), colors(colors) {
  setObjectName("TKVT2StaffLabelsWin");
}

void TStaffLabelsWindow::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.fillRect(event->rect(), QColorOf(colors.GetColor(kLabelPanelColor)));
}

TBarNumbersPanel::TBarNumbersPanel(const TStaffColorHandles& colors, QWidget* parent)
    : QWidget(parent), colors(colors) {
  setObjectName("TKVT2BarNumbersPanel");
  setCursor(Qt::PointingHandCursor);
}

void TBarNumbersPanel::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.fillRect(event->rect(), QColorOf(colors.GetColor(kActiveBackgroundColor)));
}

}  // namespace kvt
