#pragma once
// TToolbarDrag: one drag of a toolbar by its background. While it lasts the toolbar has the
// mouse, the cursor shows the four-way arrow, the status bar says "Press the Ctrl key to
// prevent docking" and an outline shows where the toolbar would go (ChooseDragTarget). Drop
// applies the place; destroying the drag without Drop leaves the toolbar where it was.

#include "tools/toolbar_drag_target.h"

#include <QPoint>
#include <QRect>

#include <memory>

class QRubberBand;

namespace kvt {

class TToolbar;

class TToolbarDrag {
public:
  TToolbarDrag(TToolbar& toolbar, const QPoint& globalStart, bool ctrlHeld);
  ~TToolbarDrag();

  // The mouse is at globalPos (also called when Ctrl is pressed or released).
  void Move(const QPoint& globalPos, bool ctrlHeld);
  // Moves the toolbar to the target the outline shows.
  void Drop();

  const TDragTarget& Target() const { return target; }
  const TDragAreas& Areas() const { return areas; }

private:
  TToolbar& toolbar;
  TDragAreas areas;
  QPoint last;
  QRect moved;  // the outline as the mouse moved it, before the target reshapes it
  TDragTarget target;
  std::unique_ptr<QRubberBand> outline;
};

}  // namespace kvt
