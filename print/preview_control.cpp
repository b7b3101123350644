#include "print/preview_control.h"

#include <QContextMenuEvent>
#include <QGestureEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPanGesture>
#include <QPinchGesture>
#include <QPointingDevice>
#include <QScrollBar>
#include <QTouchEvent>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

#include "draw/print/print_data.h"
#include "platform/qpainter_context.h"
#include "print/preview_page_image.h"
#include "print/preview_pictures.h"
#include "print/preview_services.h"

namespace kvt {

namespace {

const QColor kBackground(160, 160, 160);
// A touch point that moves farther than this is no tap.
constexpr double kTapSlop = 12;

bool IsPenOrTouch(const QMouseEvent& event) {
  const QPointingDevice* device = event.pointingDevice();
  if (!device) return false;
  const QInputDevice::DeviceType type = device->type();
  return type == QInputDevice::DeviceType::Stylus || type == QInputDevice::DeviceType::Airbrush ||
         type == QInputDevice::DeviceType::TouchScreen;
}

bool IsPen(const QMouseEvent& event) {
  const QPointingDevice* device = event.pointingDevice();
  return device && (device->type() == QInputDevice::DeviceType::Stylus ||
                    device->type() == QInputDevice::DeviceType::Airbrush);
}

}  // namespace

TScorePreviewControl::TScorePreviewControl(QWidget* parent, int controlId, TKVTNTNPrintData& print,
                                           TPreviewProgress& progress, TPreviewOptions& options,
                                           int64_t startTime)
    : QAbstractScrollArea(parent),
      controlId(controlId),
      print(print),
      options(options),
      pager(print, progress),
      startTime(startTime) {
  setObjectName(QStringLiteral("KVTScorePreviewCtl2"));
  setWindowTitle(QStringLiteral("kvtpreview"));
  setFocusPolicy(Qt::StrongFocus);
  setFrameShape(QFrame::NoFrame);
  // Bars that come and go would resize the window and so rebuild the zoom table.
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  viewport()->setAttribute(Qt::WA_AcceptTouchEvents);
  viewport()->setMouseTracking(true);
  viewport()->grabGesture(Qt::PinchGesture);
  viewport()->grabGesture(Qt::PanGesture);
  view.SetPaper(print.GetPaper());
  QMetaObject::invokeMethod(
      this, [this] { Init(); }, Qt::QueuedConnection);
}

TScorePreviewControl::~TScorePreviewControl() = default;

void TScorePreviewControl::Init() {
  RebuildZoomTable();
  SetZoom(0);
  GoToTime(startTime);
  initialized = true;
}

void TScorePreviewControl::RebuildZoomTable() {
  view.Resize(viewport()->size());
  SyncScrollBars();
  viewport()->update();
}

void TScorePreviewControl::SyncScrollBars() {
  syncing = true;
  QScrollBar* h = horizontalScrollBar();
  QScrollBar* v = verticalScrollBar();
  h->setRange(0, view.MaxScrollX());
  v->setRange(0, view.MaxScrollY());
  h->setPageStep(std::max(view.Visible().width(), 1));
  v->setPageStep(std::max(view.Visible().height(), 1));
  h->setSingleStep(view.Visible().width() / 10 + 1);
  v->setSingleStep(view.Visible().height() / 10 + 1);
  h->setValue(view.ScrollX());
  v->setValue(view.ScrollY());
  syncing = false;
}

void TScorePreviewControl::ScrollTo(int x, int y) {
  view.ScrollTo(x, y);
  SyncScrollBars();
  viewport()->update();
}

void TScorePreviewControl::scrollContentsBy(int, int) {
  if (syncing) return;
  // The bars moved by the user: positions are kept to multiples of 10.
  ScrollTo(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

void TScorePreviewControl::SetZoom(int index) {
  view.SetZoom(index);
  SyncScrollBars();
  viewport()->update();
}

void TScorePreviewControl::ZoomAt(int index, QPoint at) {
  view.ZoomAt(index, at);
  SyncScrollBars();
  viewport()->update();
}

void TScorePreviewControl::ZoomIn() { ZoomAt(view.Zoom() + 1, view.ZoomCentre()); }
void TScorePreviewControl::ZoomOut() { ZoomAt(view.Zoom() - 1, view.ZoomCentre()); }

void TScorePreviewControl::AfterJump() {
  if (view.Zoom() > 1) SetZoom(1);
  viewport()->update();
}

void TScorePreviewControl::GoToPage(int n) {
  pager.GoToPage(n);
  viewport()->update();
}

void TScorePreviewControl::GoToPrintedPage(int p) {
  pager.GoToPrintedPage(p);
  AfterJump();
}

void TScorePreviewControl::GoToTime(int64_t ticks) {
  pager.GoToTime(ticks);
  AfterJump();
}

void TScorePreviewControl::FirstPage() {
  pager.FirstPage();
  SetZoom(0);
}

void TScorePreviewControl::LastPage() {
  pager.LastPage();
  AfterJump();
}

void TScorePreviewControl::PreviousPage() {
  if (pager.Page() <= 1) return;
  pager.PreviousPage();
  viewport()->update();
}

void TScorePreviewControl::NextPage() {
  if (!pager.HasMorePages()) return;
  pager.NextPage();
  viewport()->update();
}

TPreviewStatus TScorePreviewControl::GetStatus() const {
  return {pager.PrintedPage(), view.Zoom(), view.ZoomCount(), !print.Layout().IsNoJustify()};
}

bool TScorePreviewControl::IsBoundaryShown() const { return options.showBoundary; }

void TScorePreviewControl::ToggleJustify() {
  print.Layout().ToggleNoJustify();
  pager.Refresh();
  viewport()->update();
}

void TScorePreviewControl::ToggleBoundary() {
  options.showBoundary = !options.showBoundary;
  viewport()->update();
}

void TScorePreviewControl::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  if (pager.IsPaginating() || view.ZoomTable().empty()) {
    painter.fillRect(viewport()->rect(), kBackground);
    return;
  }
  const TPaperMeasures& paper = print.GetPaper();
  TQPainterContext screen(painter, std::max(paper.dpiX, 1), std::max(paper.dpiY, 1));
  TPageImageView image;
  image.scale = view.Scale();
  image.paperOrigin = view.PageOrigin();
  image.window = viewport()->size();
  image.showBoundary = options.showBoundary;
  image.windowColor = palette().color(QPalette::Window);
  const int result = DrawPageImage(print, screen, image, pager.Page());
  pager.SetMorePages(result == kMorePages);
}

void TScorePreviewControl::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  RebuildZoomTable();
}

void TScorePreviewControl::TurnPage(TPreviewView::THit side) {
  if (side == TPreviewView::kPreviousSide) PreviousPage();
  if (side == TPreviewView::kNextSide) NextPage();
}

void TScorePreviewControl::keyPressEvent(QKeyEvent* event) {
  const bool ctrl = event->modifiers() & Qt::ControlModifier;
  const bool hScrolls = view.MaxScrollX() > 0;
  switch (event->key()) {
    case Qt::Key_PageUp: PreviousPage(); return;
    case Qt::Key_PageDown: NextPage(); return;
    case Qt::Key_Home:
      if (ctrl)
        ScrollTo(0, 0);
      else
        FirstPage();
      return;
    case Qt::Key_End:
      if (ctrl)
        ScrollTo(view.MaxScrollX(), view.MaxScrollY());
      else
        LastPage();
      return;
    case Qt::Key_Left:
      if (hScrolls)
        ScrollTo(view.ScrollX() - view.Visible().width(), view.ScrollY());
      else
        PreviousPage();
      return;
    case Qt::Key_Right:
      if (hScrolls)
        ScrollTo(view.ScrollX() + view.Visible().width(), view.ScrollY());
      else
        NextPage();
      return;
    case Qt::Key_Up:
      if (view.IsZoomedIn()) ScrollTo(view.ScrollX(), view.ScrollY() - view.Visible().height());
      return;
    case Qt::Key_Down:
      if (view.IsZoomedIn()) ScrollTo(view.ScrollX(), view.ScrollY() + view.Visible().height());
      return;
    default: break;
  }
  const QString text = event->text();
  if (text.size() == 1) {
    const QChar c = text.front();
    if (c == u'+') return ZoomIn();
    if (c == u'-') return ZoomOut();
    if (c >= u'1' && c <= u'8') return SetZoom(c.unicode() - u'1');
  }
  QAbstractScrollArea::keyPressEvent(event);
}

void TScorePreviewControl::mousePressEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (event->button() != Qt::LeftButton) return QAbstractScrollArea::mousePressEvent(event);
  const TPreviewView::THit hit = view.HitTest(at);
  if (hit != TPreviewView::kOnPage) return TurnPage(hit);
  const bool pen = IsPen(*event);
  if (!IsPenOrTouch(*event))
    setFocus(Qt::MouseFocusReason);
  else if (!pen)
    return;  // touch drags through the pan gesture
  if (view.IsZoomedIn() && !IsDragging()) {
    dragAnchor = at;
    dragScroll = {view.ScrollX(), view.ScrollY()};
    if (!pen) viewport()->setCursor(Qt::ClosedHandCursor);
  }
}

void TScorePreviewControl::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (!IsDragging()) return UpdateCursor(at);
  const QPoint moved = at - dragAnchor;
  ScrollTo(dragScroll.x() - moved.x(), dragScroll.y() - moved.y());
  viewport()->repaint();
}

void TScorePreviewControl::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && IsDragging()) EndDrag();
}

void TScorePreviewControl::EndDrag() {
  dragAnchor = {kNoDrag, kNoDrag};
  viewport()->unsetCursor();
  viewport()->update();
}

void TScorePreviewControl::UpdateCursor(QPoint at) {
  switch (view.HitTest(at)) {
    case TPreviewView::kPreviousSide: viewport()->setCursor(PageTurnCursor(false)); break;
    case TPreviewView::kNextSide: viewport()->setCursor(PageTurnCursor(true)); break;
    default: viewport()->setCursor(Qt::ArrowCursor); break;
  }
}

void TScorePreviewControl::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint at = event->position().toPoint();
  const TPreviewView::THit hit = view.HitTest(at);
  if (hit != TPreviewView::kOnPage) return TurnPage(hit);
  ZoomAt(view.Zoom() + 1, at);
}

QMenu* TScorePreviewControl::MakePageMenu(QPoint at) {
  auto* menu = new QMenu(this);
  menu->setObjectName(QStringLiteral("KVTPreviewRtClick"));
  QAction* zoomHere = menu->addAction(QStringLiteral("&Zoom to here"));
  zoomHere->setEnabled(view.Zoom() < view.ZoomCount() - 1);
  connect(zoomHere, &QAction::triggered, this, [this, at] { ZoomAt(view.ZoomCount() - 1, at); });
  QAction* full = menu->addAction(QStringLiteral("Show &full page"));
  full->setEnabled(view.Zoom() != 0);
  connect(full, &QAction::triggered, this, [this] { ShowFullPage(); });
  return menu;
}

void TScorePreviewControl::contextMenuEvent(QContextMenuEvent* event) {
  const QPoint at = event->pos();
  if (event->reason() != QContextMenuEvent::Mouse || view.HitTest(at) != TPreviewView::kOnPage) {
    // The key or a click beside the page: the owner's options menu.
    if (contextMenuSink) contextMenuSink(event->globalPos());
    return;
  }
  QMenu* menu = MakePageMenu(at);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->popup(event->globalPos());
}

void TScorePreviewControl::wheelEvent(QWheelEvent* event) {
  const int delta = event->angleDelta().y();
  if (delta == 0) return;
  if (event->modifiers() & Qt::ControlModifier) {
    ZoomAt(view.Zoom() + (delta > 0 ? 1 : -1), event->position().toPoint());
    return;
  }
  if (event->modifiers() & Qt::ShiftModifier) return;
  const bool horizontal = view.MaxScrollY() == 0 && view.MaxScrollX() > 0;
  QScrollBar* bar = horizontal ? horizontalScrollBar() : verticalScrollBar();
  const int step = delta > 0 ? -bar->singleStep() : bar->singleStep();
  if (horizontal)
    ScrollTo(view.ScrollX() + step, view.ScrollY());
  else
    ScrollTo(view.ScrollX(), view.ScrollY() + step);
}

bool TScorePreviewControl::event(QEvent* event) {
  if (event->type() == QEvent::Gesture) return GestureEvent(static_cast<QGestureEvent*>(event));
  return QAbstractScrollArea::event(event);
}

bool TScorePreviewControl::viewportEvent(QEvent* event) {
  switch (event->type()) {
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
      // Taken here, so no mouse events are made from touches: the gestures (made from the
      // touches before they arrive) pan and zoom, and TouchEvent finds the taps.
      TouchEvent(static_cast<QTouchEvent*>(event));
      event->accept();
      return true;
    default: return QAbstractScrollArea::viewportEvent(event);
  }
}

bool TScorePreviewControl::GestureEvent(QGestureEvent* event) {
  if (auto* pinch = static_cast<QPinchGesture*>(event->gesture(Qt::PinchGesture))) {
    if (pinch->state() == Qt::GestureStarted) gestureDistance = 1;
    const double total = pinch->totalScaleFactor();
    if (gestureDistance > 0 && std::abs(total / gestureDistance - 1) >= kPinchStep) {
      const QPoint at = viewport()->mapFromGlobal(pinch->centerPoint().toPoint());
      ZoomAt(view.Zoom() + (total > gestureDistance ? 1 : -1), at);
      gestureDistance = total;
    }
    event->accept(pinch);
  }
  if (auto* pan = static_cast<QPanGesture*>(event->gesture(Qt::PanGesture))) {
    if (view.IsZoomedIn()) {
      const QPointF delta = pan->delta();
      view.ScrollTo(view.ScrollX() - static_cast<int>(delta.x()),
                    view.ScrollY() - static_cast<int>(delta.y()));
      SyncScrollBars();
      if (pan->state() == Qt::GestureFinished) viewport()->update();
    }
    event->accept(pan);
  }
  return true;
}

void TScorePreviewControl::TouchEvent(QTouchEvent* event) {
  const auto& points = event->points();
  for (const QEventPoint& p : points)
    if (QLineF(p.pressPosition(), p.position()).length() > kTapSlop) touchMoved = true;
  switch (event->type()) {
    case QEvent::TouchBegin:
      touchPoints = static_cast<int>(points.size());
      touchMoved = false;
      break;
    case QEvent::TouchUpdate:
      touchPoints = std::max(touchPoints, static_cast<int>(points.size()));
      break;
    case QEvent::TouchEnd:
      if (!touchMoved && touchPoints == 2) {
        ShowFullPage();
      } else if (!touchMoved && touchPoints == 1 && !points.empty()) {
        // A tap beside the page turns it, as a click does.
        const TPreviewView::THit hit = view.HitTest(points.front().position().toPoint());
        if (hit != TPreviewView::kOnPage) TurnPage(hit);
      }
      touchPoints = 0;
      break;
    default: touchPoints = 0; break;
  }
}

}  // namespace kvt
