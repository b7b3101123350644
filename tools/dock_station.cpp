#include "tools/dock_station.h"

#include "tools/toolbar.h"
#include "tools/toolbar_record.h"

#include <QMainWindow>

#include <algorithm>

namespace kvt {

namespace {

Qt::ToolBarArea AreaOf(uint16_t edge) {
  switch (edge) {
    case TBRS_ALIGN_LEFT: return Qt::LeftToolBarArea;
    case TBRS_ALIGN_RIGHT: return Qt::RightToolBarArea;
    case TBRS_ALIGN_BOTTOM: return Qt::BottomToolBarArea;
    default: return Qt::TopToolBarArea;
  }
}

// Margin around a toolbar within which a drop point still counts as inside its row.
constexpr int kDropMargin = 3;

}  // namespace

TDockStation::TDockStation(QMainWindow& frame, uint16_t edge) : frame(frame), edge(edge) {}

bool TDockStation::IsHorizontal() const {
  return edge == TBRS_ALIGN_TOP || edge == TBRS_ALIGN_BOTTOM;
}

bool TDockStation::Holds(const TToolbar* toolbar) const {
  return std::find(toolbars.begin(), toolbars.end(), toolbar) != toolbars.end();
}

void TDockStation::Insert(TToolbar& toolbar) {
  if (Holds(&toolbar)) return;
  auto at = std::find_if(toolbars.begin(), toolbars.end(), [&](const TToolbar* other) {
    return other->DockIndex() > toolbar.DockIndex();
  });
  toolbars.insert(at, &toolbar);
  LayoutToolbars();
}

void TDockStation::DropAt(TToolbar& toolbar, const QPoint& globalPoint) {
  Remove(toolbar, false);
  const bool horizontal = IsHorizontal();
  auto along = [&](const QPoint& p) { return horizontal ? p.x() : p.y(); };
  auto cross = [&](const QPoint& p) { return horizontal ? p.y() : p.x(); };
  const int pointCross = cross(globalPoint);

  // Rows as [first, last) ranges of the list with their cross extent on the screen.
  struct TRow {
    size_t first, last;
    int low, high;
  };
  std::vector<TRow> rows;
  for (size_t i = 0; i < toolbars.size(); ++i) {
    const QRect r(toolbars[i]->mapToGlobal(QPoint(0, 0)), toolbars[i]->size());
    const int low = cross(r.topLeft()) - kDropMargin;
    const int high = cross(r.bottomRight()) + kDropMargin;
    if (i == 0 || toolbars[i]->RowStart())
      rows.push_back({i, i + 1, low, high});
    else
      rows.back() = {rows.back().first, i + 1, std::min(rows.back().low, low),
                     std::max(rows.back().high, high)};
  }

  size_t insertAt = toolbars.size();  // no row at or after the point: a row after the last
  bool startsRow = true;
  for (const TRow& row : rows) {
    if (pointCross < row.low) {
      insertAt = row.first;  // a new row before this one
      toolbars[row.first]->SetRowStart(true);
      break;
    }
    if (pointCross > row.high) continue;
    // Joins this row after the last toolbar that starts before the point.
    insertAt = row.first;
    for (size_t i = row.first; i < row.last; ++i)
      if (along(toolbars[i]->mapToGlobal(QPoint(0, 0))) <= along(globalPoint)) insertAt = i + 1;
    startsRow = insertAt == row.first;
    // The toolbar that began the row now follows the dropped one in it.
    if (startsRow) toolbars[row.first]->SetRowStart(false);
    break;
  }
  toolbar.SetRowStart(startsRow);
  toolbars.insert(toolbars.begin() + static_cast<std::ptrdiff_t>(insertAt), &toolbar);
  LayoutToolbars();
}

void TDockStation::Forget(TToolbar& toolbar) {
  auto it = std::find(toolbars.begin(), toolbars.end(), &toolbar);
  if (it == toolbars.end()) return;
  const bool startedRow = it == toolbars.begin() || toolbar.RowStart();
  auto next = it + 1;
  if (startedRow && next != toolbars.end() && !(*next)->RowStart()) (*next)->SetRowStart(true);
  toolbars.erase(it);
}

void TDockStation::Remove(TToolbar& toolbar, bool relayout) {
  if (!Holds(&toolbar)) return;
  Forget(toolbar);
  frame.removeToolBar(&toolbar);
  if (relayout) LayoutToolbars();
}

void TDockStation::LayoutToolbars() {
  const Qt::ToolBarArea area = AreaOf(edge);
  for (TToolbar* toolbar : toolbars) frame.removeToolBar(toolbar);
  // Old breaks of this area go with the toolbars: remove them by re-adding from scratch.
  for (size_t i = 0; i < toolbars.size(); ++i) {
    TToolbar* toolbar = toolbars[i];
    if (i > 0 && toolbar->RowStart()) frame.addToolBarBreak(area);
    frame.addToolBar(area, toolbar);
    toolbar->SetDockIndex(static_cast<int>(i));
    toolbar->show();
  }
}

}  // namespace kvt
