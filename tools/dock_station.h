#pragma once
// TDockStation: one edge of the frame where toolbars dock, kept as the ordered list of its
// toolbars with their row starts. The toolbars stand in the main window's toolbar area of that
// edge, a row start as a toolbar break; every change lays the area out again in list order.

#include <QPoint>

#include <cstdint>
#include <vector>

class QMainWindow;

namespace kvt {

class TToolbar;

class TDockStation {
public:
  TDockStation(QMainWindow& frame, uint16_t edge);

  uint16_t Edge() const { return edge; }
  bool IsHorizontal() const;
  const std::vector<TToolbar*>& Toolbars() const { return toolbars; }
  bool Holds(const TToolbar* toolbar) const;

  // Puts the toolbar in by its saved index: before the first toolbar with a larger index.
  void Insert(TToolbar& toolbar);
  // Puts the toolbar where the screen point falls: into the row the point lies in, after the
  // last toolbar before it, or in a new row before the first or after the last.
  void DropAt(TToolbar& toolbar, const QPoint& globalPoint);
  // Takes the toolbar out; the first toolbar of a row passes the row start to the next one.
  void Remove(TToolbar& toolbar, bool relayout = true);
  // Forgets a toolbar that is being destroyed (the main window drops it by itself).
  void Forget(TToolbar& toolbar);
  // Lays the toolbars out in the main window in list order and renumbers their indexes.
  void LayoutToolbars();

private:
  QMainWindow& frame;
  uint16_t edge;
  std::vector<TToolbar*> toolbars;
};

}  // namespace kvt
