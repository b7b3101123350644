#include "app/editor/score_window_panes.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>

#include "app/editor/score_edit.h"
#include "app/editor/staff_label_tooltip.h"
#include "draw/layout/bar_number_strip.h"
#include "draw/layout/score_draw_info.h"
#include "draw/layout/staff_draw_info.h"
#include "draw/music_fonts.h"
#include "draw/staff_color_handles.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
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
  setMouseTracking(true);
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

void TStaffLabelsWindow::mouseMoveEvent(QMouseEvent* event) {
  if (view == nullptr) return;
  const int staff =
      view->StaffFromY(event->position().toPoint().y() - view->viewport()->y(), false);
  const TStaffDrawInfo* draw = staff >= 0 ? view->Layout().GetStaffDrawInfo(staff) : nullptr;
  const TMusicStaff* scoreStaff =
      draw != nullptr ? view->Score().GetStaff(draw->GetStaffIndex()) : nullptr;
  if (staff == view->ActiveStaffIndex() && staff >= 0) {
    setCursor(Qt::PointingHandCursor);
  } else if (scoreStaff != nullptr && scoreStaff->GetLayerWithNext() &&
             view->Layout().IsLayeringActive()) {
    setCursor(Qt::SplitVCursor);
  } else {
    setCursor(Qt::ArrowCursor);
  }
  if (staff == tipStaff) return;
  tipStaff = staff;
  if (draw == nullptr) {
    QToolTip::hideText();
    return;
  }
  // What is in force where the view starts.
  const int item = draw->XToItemIndex(-view->OriginX());
  const QString text =
      QString::fromStdString(StaffLabelTooltip(view->Score(), draw->GetStaffIndex(), item));
  setToolTip(text);
  QToolTip::showText(event->globalPosition().toPoint(), text, this);
}

void TStaffLabelsWindow::leaveEvent(QEvent* event) {
  tipStaff = -1;
  QWidget::leaveEvent(event);
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
