#include "app/editor/score_window_panes.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "app/editor/score_edit.h"
#include "draw/layout/bar_number_strip.h"
#include "draw/layout/score_draw_info.h"
#include "draw/music_fonts.h"
#include "draw/staff_color_handles.h"
#include "platform/qpainter_context.h"

namespace kvt {
namespace {

constexpr int kLabelPanelColor = 1;
constexpr int kActiveBackgroundColor = 3;
constexpr int kActiveStaffColor = 4;
constexpr int kScreenDpi = 96;
constexpr int kActiveMarkWidth = 3;

}  // namespace

TStaffLabelsWindow::TStaffLabelsWindow(const TStaffColorHandles& colors, QWidget* parent)
    : QWidget(parent), colors(colors) {
  setObjectName("TKVT2StaffLabelsWin");
}

void TStaffLabelsWindow::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.fillRect(event->rect(), QColorOf(colors.GetColor(kLabelPanelColor)));
  if (view == nullptr) return;
  painter.translate(0, view->viewport()->y());
  TScoreDrawInfo& layout = view->Layout();
  const int yOffset = view->ScrollY() + view->TopMargin();
  if (showLabels && layout.GetStaffCount() > 0) {
    TQPainterContext dc(painter, kScreenDpi, kScreenDpi);
    view->Fonts().BeginDrawing(&dc, &dc);
    layout.DrawStaffLabels(0, yOffset, width() - kActiveMarkWidth);
    view->Fonts().EndDrawing();
  }
  if (view->IsActive() && !view->IsViewerMode() && view->ActiveStaffIndex() >= 0) {
    const QRect band = view->StaffRect(view->ActiveStaffIndex());
    painter.fillRect(QRect(width() - kActiveMarkWidth, band.top(), kActiveMarkWidth, band.height()),
                     QColorOf(colors.GetColor(kActiveStaffColor)));
  }
}

TBarNumbersPanel::TBarNumbersPanel(const TStaffColorHandles& colors, QWidget* parent)
    : QWidget(parent), colors(colors) {
  setObjectName("TKVT2BarNumbersPanel");
  setCursor(Qt::PointingHandCursor);
}

void TBarNumbersPanel::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.fillRect(event->rect(), QColorOf(colors.GetColor(kActiveBackgroundColor)));
  if (view == nullptr || view->ActiveStaffIndex() < 0) return;
  // Numbers in the upper half, ticks below them, in the view's horizontal coordinates.
  painter.translate(view->viewport()->x(), 0);
  TBarNumberStrip strip;
  strip.leftX = view->OriginX();
  strip.rightX = width();
  strip.baselineY = height() / 2;
  strip.tallTick = height() / 4;
  strip.shortTick = height() / 8;
  {
    TQPainterContext dc(painter, kScreenDpi, kScreenDpi);
    view->Fonts().BeginDrawing(&dc, &dc);
    DrawBarNumberStrip(view->Layout(), view->ActiveStaffIndex(), strip);
    view->Fonts().EndDrawing();
  }
  if (view->IsActive()) {
    const QPoint caret = view->CaretPoint();
    painter.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
    painter.fillRect(QRect(caret.x(), 0, 2, height()),
                     QColorOf(colors.GetColor(kActiveStaffColor)));
  }
}

void TStaffLabelsWindow::mousePressEvent(QMouseEvent* event) {
  if (view == nullptr || event->button() != Qt::LeftButton) return;
  const int staff =
      view->StaffFromY(event->position().toPoint().y() - view->viewport()->y(), false);
  if (staff >= 0) view->SetActiveStaff(staff, true);
  update();
}

void TBarNumbersPanel::mousePressEvent(QMouseEvent* event) {
  if (view == nullptr || event->button() != Qt::LeftButton || view->ActiveStaffIndex() < 0) return;
  view->ScrollCaretIntoView();
  view->SetCaretIndex(view->ItemIndexFromX(event->position().toPoint().x() - view->viewport()->x()),
                      false);
  view->UpdateStatus();
  update();
}

}  // namespace kvt
