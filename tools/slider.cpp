#include "tools/slider.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace kvt {

namespace {

// Thumb and slot sizes of the two orientations (horizontal: 9 wide, 20 high).
constexpr int kThumbLong = 20;
constexpr int kThumbShort = 9;
constexpr int kSlotH = 17;
constexpr int kSlotV = 14;
constexpr int kDefaultThickness = 32;

}  // namespace

TKVSlider::TKVSlider(Qt::Orientation orientation, QWidget* parent, const QPixmap& images)
    : QSlider(orientation, parent), thumbImages(images) {
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

QSize TKVSlider::sizeHint() const {
  return Horizontal() ? QSize(100, kDefaultThickness) : QSize(kDefaultThickness, 100);
}

void TKVSlider::SetRange(int minimum, int maximum) {
  range = TSliderRange{minimum, maximum};
  position = range.Snap(position, false, 0);
  update();
}

void TKVSlider::SetPosition(int newPosition) {
  newPosition = range.Snap(newPosition, snap, tickGap);
  if (newPosition == position) return;
  position = newPosition;
  update();
}

int TKVSlider::UsableLength() const {
  return Horizontal() ? width() - kThumbShort : height() - kThumbShort;
}

QRect TKVSlider::ThumbRect() const {
  int offset = range.PosToOffset(position, UsableLength());
  if (Horizontal()) return QRect(offset, 0, kThumbShort, kThumbLong);
  return QRect((width() - kThumbLong) / 2, offset, kThumbLong, kThumbShort);
}

int TKVSlider::PointToPos(QPoint point) const {
  return range.Snap(range.OffsetToPos(Horizontal() ? point.x() : point.y(), UsableLength()), snap,
                    tickGap);
}

int TKVSlider::HitTest(QPoint p) const {
  QRect t = ThumbRect();
  if (t.contains(p)) return kSbThumbTrack;
  if (Horizontal()) {
    if (!ruler || p.y() > t.bottom()) return kSbThumbPosition;
    if (p.x() < t.left()) return kSbPageUp;
    if (p.x() > t.right()) return kSbPageDown;
    return kSbNone;
  }
  if (p.x() < t.left() || p.x() > t.right()) return kSbThumbPosition;
  if (p.y() < t.top()) return kSbPageUp;
  if (p.y() > t.bottom()) return kSbPageDown;
  return kSbNone;
}

void TKVSlider::Send(int code, int pos) {
  if (notify) notify(code, pos);
}

void TKVSlider::paintEvent(QPaintEvent*) {
  QPainter p(this);
  QPalette pal = palette();
  QColor background = parentWidget() ? parentWidget()->palette().color(QPalette::Window)
                                     : pal.color(QPalette::Window);
  p.fillRect(rect(), background);
  // The slot: a recessed groove centred across the control.
  int thickness = Horizontal() ? kSlotH : kSlotV;
  QRect slot = Horizontal() ? QRect(0, (kThumbLong - thickness) / 2, width(), thickness)
                            : QRect((width() - thickness) / 2, 0, thickness, height());
  p.setPen(pal.color(QPalette::Dark));
  p.drawLine(slot.topLeft(), Horizontal() ? slot.topRight() : slot.bottomLeft());
  p.setPen(pal.color(QPalette::Light));
  p.drawLine(Horizontal() ? slot.bottomLeft() : slot.topRight(), slot.bottomRight());
  if (ruler) {
    int usable = UsableLength();
    int lo = std::min(range.minimum, range.maximum);
    int hi = std::max(range.minimum, range.maximum);
    int64_t span = std::max<int64_t>(1, int64_t{hi} - lo);
    int64_t step = tickGap > 0 ? tickGap : span;
    p.setPen(pal.color(QPalette::ButtonText));
    // More marks than pixels would only blacken the ruler and cost a long loop.
    if (span / step > std::max(1, usable)) step = span;
    for (int64_t v = lo; v <= hi; v += step) {
      int at = range.PosToOffset(static_cast<int>(v), usable) + kThumbShort / 2;
      if (Horizontal())
        p.drawLine(at, kThumbLong + 2, at, kThumbLong + 6);
      else {
        int c = width() / 2;
        p.drawLine(c - kThumbLong / 2 - 6, at, c - kThumbLong / 2 - 2, at);
        p.drawLine(c + kThumbLong / 2 + 2, at, c + kThumbLong / 2 + 6, at);
      }
    }
  }
  QRect t = ThumbRect();
  bool second = sliding || !isEnabled();
  if (!thumbImages.isNull()) {
    int w = thumbImages.width() / 2;
    p.drawPixmap(t, thumbImages, QRect(second ? w : 0, 0, w, thumbImages.height()));
  } else {
    p.fillRect(t, pal.color(second ? QPalette::Mid : QPalette::Button));
    p.setPen(pal.color(QPalette::Shadow));
    p.drawRect(t.adjusted(0, 0, -1, -1));
  }
  if (hasFocus()) p.fillRect(t.adjusted(3, 3, -3, -3), pal.color(QPalette::Mid));
}

void TKVSlider::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  if (focusOnClick && !hasFocus()) setFocus(Qt::MouseFocusReason);
  QPoint point = event->position().toPoint();
  int code = HitTest(point);
  if (code >= kSbLineUp && code <= kSbPageDown) {
    Send(code, 0);
  } else if (code == kSbThumbPosition) {
    Send(code, PointToPos(point));
  } else if (code == kSbThumbTrack) {
    sliding = true;
    grabOffset = point - ThumbRect().topLeft();
    update();
    int pos = PointToPos(point - grabOffset);
    Send(kSbStartDrag, pos);
    Send(kSbThumbTrack, pos);
  }
}

void TKVSlider::mouseMoveEvent(QMouseEvent* event) {
  if (!sliding) return;
  QPoint point = event->position().toPoint();
  if (!(event->buttons() & Qt::LeftButton)) {
    EndDrag(point);
    return;
  }
  Send(kSbThumbTrack, PointToPos(point - grabOffset));
}

void TKVSlider::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && sliding) EndDrag(event->position().toPoint());
}

void TKVSlider::EndDrag(QPoint point) {
  int pos = PointToPos(point - grabOffset);
  sliding = false;
  Send(kSbThumbPosition, pos);
  update();
  Send(kSbEndScroll, pos);
}

void TKVSlider::mouseDoubleClickEvent(QMouseEvent* event) { event->accept(); }

void TKVSlider::keyPressEvent(QKeyEvent* event) {
  int code;
  switch (event->key()) {
    case Qt::Key_PageUp: code = kSbPageUp; break;
    case Qt::Key_PageDown: code = kSbPageDown; break;
    case Qt::Key_End: code = kSbBottom; break;
    case Qt::Key_Home: code = kSbTop; break;
    case Qt::Key_Left:
    case Qt::Key_Up: code = kSbLineUp; break;
    case Qt::Key_Right:
    case Qt::Key_Down: code = kSbLineDown; break;
    default: event->ignore(); return;
  }
  for (int i = 0; i < std::max(1, event->count()); ++i) Send(code, position);
  Send(kSbEndScroll, position);
}

void TKVSlider::wheelEvent(QWheelEvent* event) { event->ignore(); }

void TKVSlider::focusInEvent(QFocusEvent* event) {
  QSlider::focusInEvent(event);
  update();
}

void TKVSlider::focusOutEvent(QFocusEvent* event) {
  QSlider::focusOutEvent(event);
  update();
}

}  // namespace kvt
