#pragma once
// Where a dragged toolbar would go: the edge tests of a toolbar drag, as pure geometry.
//
// The outline has been moved with the mouse. An edge qualifies only when docking there is
// allowed, Ctrl is not held and the outline overlaps the outer area O (the frame's client area
// with its four dock stations); edges are tried in the order top, bottom, left, right against
// O and the inner area I (between the stations), with the toolbar's docked thickness (H for
// top and bottom, W for left and right) as the catch distance. A qualifying edge gives the
// outline the docked size there; with none the outline takes the floating size, re-centred on
// the cursor when the cursor has left it. Rectangles use right = left + width.

#include <QPoint>
#include <QRect>
#include <QSize>

#include <cstdint>

namespace kvt {

struct TDragAreas {
  QRect outer;           // O, screen coordinates
  QRect inner;           // I, screen coordinates
  QSize horizontalSize;  // the toolbar docked at the top (its height is H)
  QSize verticalSize;    // the toolbar docked at the left (its width is W)
  QSize floatingSize;    // the floating frame in its chosen layout
  uint16_t allowed = 0xF010;
};

struct TDragTarget {
  uint16_t edge = 0;  // TBRS_ALIGN_* of the edge, 0 for floating
  QRect outline;
};

TDragTarget ChooseDragTarget(const TDragAreas& areas, const QRect& outline, const QPoint& cursor,
                             bool ctrlHeld);

}  // namespace kvt
