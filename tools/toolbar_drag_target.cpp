#include "tools/toolbar_drag_target.h"

#include "tools/toolbar_record.h"

namespace kvt {

namespace {

// Far edges, exclusive, as the edge tests compare them.
int Right(const QRect& r) { return r.x() + r.width(); }
int Bottom(const QRect& r) { return r.y() + r.height(); }

QRect Docked(const QRect& outline, const QSize& size, const QPoint& c, bool horizontal) {
  QRect r(outline.topLeft(), size);
  if (horizontal) {
    if (c.x() >= Right(r)) r.moveLeft(c.x() - size.width() / 2);
    if (c.y() >= Bottom(r)) r.moveTop(c.y() - size.height() + 1);
    if (c.y() < r.y()) r.moveTop(c.y());
  } else {
    if (c.x() >= Right(r)) r.moveLeft(c.x() - size.width() + 1);
    if (c.x() < r.x()) r.moveLeft(c.x());
    if (c.y() >= Bottom(r)) r.moveTop(c.y() - size.height() / 2);
  }
  return r;
}

}  // namespace

TDragTarget ChooseDragTarget(const TDragAreas& a, const QRect& outline, const QPoint& c,
                             bool ctrlHeld) {
  const QRect& O = a.outer;
  const QRect& I = a.inner;
  const int H = a.horizontalSize.height();
  const int W = a.verticalSize.width();
  const bool overlaps = outline.intersects(O);
  auto allowed = [&](uint16_t edge) { return !ctrlHeld && overlaps && (a.allowed & edge) != 0; };

  if (allowed(TBRS_ALIGN_TOP) && outline.y() <= I.y() && Bottom(outline) >= O.y() &&
      c.y() >= O.y() - H && c.y() < I.y() + H)
    return {TBRS_ALIGN_TOP, Docked(outline, a.horizontalSize, c, true)};
  if (allowed(TBRS_ALIGN_BOTTOM) && outline.y() <= Bottom(O) && Bottom(outline) >= Bottom(I) &&
      c.y() > Bottom(I) - H && c.y() <= Bottom(O) + H)
    return {TBRS_ALIGN_BOTTOM, Docked(outline, a.horizontalSize, c, true)};
  if (allowed(TBRS_ALIGN_LEFT) && outline.x() <= I.x() && Right(outline) >= O.x() &&
      c.x() >= O.x() - W && c.x() <= I.x() + W)
    return {TBRS_ALIGN_LEFT, Docked(outline, a.verticalSize, c, false)};
  if (allowed(TBRS_ALIGN_RIGHT) && outline.x() <= Right(O) && Right(outline) >= Right(I) &&
      c.x() >= Right(I) - W && c.x() <= Right(O) + W)
    return {TBRS_ALIGN_RIGHT, Docked(outline, a.verticalSize, c, false)};

  QRect r(outline.topLeft(), a.floatingSize);
  if (!r.contains(c)) r.moveCenter(c);
  return {0, r};
}

}  // namespace kvt
