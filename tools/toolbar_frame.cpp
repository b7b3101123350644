#include "tools/toolbar_frame.h"

#include "tools/system_colors.h"
#include "tools/toolbar.h"
#include "tools/toolbar_list.h"
#include "tools/ui_border.h"

#include <QCloseEvent>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include <cstdlib>

namespace kvt {

TToolbarFrame::TToolbarFrame(TToolbar& toolbar)
    : QWidget(&toolbar.List().Frame(), Qt::Tool | Qt::FramelessWindowHint), toolbar(toolbar) {
  setAttribute(Qt::WA_ShowWithoutActivating);
  setAttribute(Qt::WA_DeleteOnClose, false);
  setWindowTitle(toolbar.Title());
  setMouseTracking(true);
  toolbar.setParent(this);
  toolbar.move(kBorder, kBorder + kCaption);
  toolbar.show();
  FitToolbar();
}

QSize TToolbarFrame::FrameSizeFor(const QSize& inner) {
  return inner + QSize(2 * kBorder, 2 * kBorder + kCaption);
}

void TToolbarFrame::FitToolbar() {
  toolbar.adjustSize();
  setFixedSize(FrameSizeFor(toolbar.size()));
}

QRect TToolbarFrame::CloseBox() const {
  return QRect(width() - kBorder - kCaption + 2, kBorder + 2, kCaption - 4, kCaption - 4);
}

int TToolbarFrame::SnapLayout(int extent, bool byWidth) const {
  const auto& layouts = toolbar.FloatLayouts();
  int best = toolbar.FloatLayoutIndex();
  int bestDistance = -1;
  for (size_t i = 0; i < layouts.size(); ++i) {
    const QSize size = FrameSizeFor(layouts[i].size + QSize(2 * kBorderUnit, 2 * kBorderUnit));
    const int distance = std::abs((byWidth ? size.width() : size.height()) - extent);
    // Nearest: the frame passes to the next layout beyond half of the difference.
    if (bestDistance < 0 || distance < bestDistance) {
      best = static_cast<int>(i);
      bestDistance = distance;
    }
  }
  return best;
}

TToolbarFrame::TGrab TToolbarFrame::HitTest(const QPoint& p) const {
  if (CloseBox().contains(p)) return Close;
  if (p.x() < kBorder) return SizeLeft;
  if (p.x() >= width() - kBorder) return SizeRight;
  if (p.y() < kBorder) return SizeTop;
  if (p.y() >= height() - kBorder) return SizeBottom;
  if (p.y() < kBorder + kCaption) return Move;
  return None;
}

void TToolbarFrame::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const TSystemColors colors = TSystemColors::FromPalette(palette());
  painter.fillRect(rect(), colors.btnFace);
  TUIBorder::FromStyle(rect(), TUIBorder::WndRaised, 0).Paint(painter, colors);
  const QRect caption(kBorder, kBorder, width() - 2 * kBorder, kCaption);
  painter.fillRect(caption, palette().color(QPalette::Highlight));
  painter.setPen(palette().color(QPalette::HighlightedText));
  QFont font = painter.font();
  font.setPixelSize(kCaption - 5);
  painter.setFont(font);
  painter.drawText(caption.adjusted(3, 0, -kCaption, 0), Qt::AlignVCenter | Qt::AlignLeft,
                   toolbar.Title());
  const QRect box = CloseBox();
  painter.fillRect(box, colors.btnFace);
  painter.setPen(colors.btnText);
  painter.drawLine(box.topLeft() + QPoint(2, 2), box.bottomRight() - QPoint(2, 2));
  painter.drawLine(box.topRight() + QPoint(-2, 2), box.bottomLeft() + QPoint(2, -2));
}

void TToolbarFrame::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  grab = HitTest(event->position().toPoint());
  grabOffset = event->globalPosition().toPoint() - pos();
  startGeometry = geometry();
}

void TToolbarFrame::mouseMoveEvent(QMouseEvent* event) {
  const QPoint global = event->globalPosition().toPoint();
  switch (grab) {
    case Move: move(global - grabOffset); return;
    case SizeLeft: SetLayoutFrom(startGeometry.right() + 1 - global.x(), true); return;
    case SizeRight: SetLayoutFrom(global.x() - startGeometry.left(), true); return;
    case SizeTop: SetLayoutFrom(startGeometry.bottom() + 1 - global.y(), false); return;
    case SizeBottom: SetLayoutFrom(global.y() - startGeometry.top(), false); return;
    default: break;
  }
  switch (HitTest(event->position().toPoint())) {
    case SizeLeft:
    case SizeRight: setCursor(Qt::SizeHorCursor); break;
    case SizeTop:
    case SizeBottom: setCursor(Qt::SizeVerCursor); break;
    default: unsetCursor();
  }
}

void TToolbarFrame::SetLayoutFrom(int extent, bool byWidth) {
  const int index = SnapLayout(extent, byWidth);
  if (index == toolbar.FloatLayoutIndex()) return;
  toolbar.SetFloatLayout(index);
  // Sizing from the left or top keeps the opposite edge where it was.
  if (grab == SizeLeft) move(startGeometry.right() + 1 - width(), y());
  if (grab == SizeTop) move(x(), startGeometry.bottom() + 1 - height());
}

void TToolbarFrame::mouseReleaseEvent(QMouseEvent* event) {
  const TGrab released = grab;
  grab = None;
  if (released == Close && CloseBox().contains(event->position().toPoint())) close();
}

void TToolbarFrame::closeEvent(QCloseEvent* event) {
  // The frame goes with the toolbar's new style; the toolbar stays, hidden.
  event->ignore();
  TToolbar* bar = &toolbar;
  QTimer::singleShot(0, bar, [bar] {
    if (!bar->IsHidden()) bar->SetStyle(static_cast<uint16_t>(bar->Style() | TBRS_HIDDEN), true);
  });
}

}  // namespace kvt
