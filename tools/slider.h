#pragma once
// TKVSlider: a self-drawn slider (slot, optional tick ruler, thumb from a two-image picture)
// that reports to its owner the way a scroll bar does: notification code and position, with
// the codes of slider_geometry.h. It never moves itself on its own notifications; the owner
// answers with SetPosition. Horizontal and vertical geometry come from the orientation.
//
// Right clicks and double clicks do nothing. A held key sends its notification once per
// repeat, then kSbEndScroll.

#include <QPixmap>
#include <QSlider>

#include <functional>

#include "tools/slider_geometry.h"

namespace kvt {

class TKVSlider : public QSlider {
public:
  using Notify = std::function<void(int code, int position)>;

  // thumbImages holds two thumb images side by side: normal, and sliding or disabled; a null
  // picture draws a plain thumb.
  TKVSlider(Qt::Orientation orientation, QWidget* parent, const QPixmap& thumbImages = {});

  void SetNotify(Notify handler) { notify = std::move(handler); }
  void SetRange(int minimum, int maximum);
  void SetPosition(int position);
  int GetPosition() const { return position; }
  int GetMinimum() const { return range.minimum; }
  int GetMaximum() const { return range.maximum; }
  int GetRange() const { return range.Range(); }
  void SetTickGap(int gap) { tickGap = gap; }
  void SetSnap(bool on) { snap = on; }
  void SetRuler(bool on) {
    ruler = on;
    update();
  }
  void SetFocusOnClick(bool on) { focusOnClick = on; }
  bool IsSliding() const { return sliding; }

  QRect ThumbRect() const;
  int PointToPos(QPoint point) const;
  // kSbThumbTrack inside the thumb, kSbThumbPosition, kSbPageUp, kSbPageDown or kSbNone.
  int HitTest(QPoint point) const;

  QSize sizeHint() const override;

protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  // The caret (a grey mark on the thumb) shows only with the focus.
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

private:
  bool Horizontal() const { return orientation() == Qt::Horizontal; }
  int UsableLength() const;
  void Send(int code, int pos);
  void EndDrag(QPoint point);

  Notify notify;
  QPixmap thumbImages;
  TSliderRange range;
  int position = 0;
  int tickGap = 10;
  bool snap = false;
  bool sliding = false;
  bool ruler = true;
  bool focusOnClick = true;
  QPoint grabOffset;
};

}  // namespace kvt
