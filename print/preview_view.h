#pragma once
// TPreviewView: the geometry of the score preview: the zoom table for a window size, the page
// size and margins at the current zoom, the scroll ranges and positions, and the hit test
// that tells the page from the margins beside it. No widget: the preview control keeps its
// scroll bars in step with it, and tests check it alone.
//
// Scales are printer device units per screen pixel, horizontally; the page keeps the paper's
// aspect through the device's two resolutions. Scroll positions are multiples of 10 and stay
// within 0 .. range - visible.

#include <QPoint>
#include <QSize>

#include <algorithm>

#include <vector>

#include "draw/print/print_data.h"

namespace kvt {

inline constexpr int kMaxZoomLevels = 32;

// The zoom table for a paper in a client area: entry 0 fits the whole page, then (when the
// page is larger than the window) the page width fitted to the window, then halving steps
// down to 1.0. A single entry 1.0 when the whole page fits at full resolution. An empty
// paper or client gives the single entry 1.0.
std::vector<float> BuildZoomTable(const TPaperMeasures& paper, QSize client);

class TPreviewView {
public:
  // Which side of the page a window point lies on.
  enum THit { kPreviousSide = -1, kOnPage = 0, kNextSide = 1 };

  void SetPaper(const TPaperMeasures& paper) { this->paper = paper; }
  // Rebuilds the zoom table for the client size, then goes to zoom 0.
  void Resize(QSize client);
  // Clamps index to the table; answers whether the zoom changed. Scroll positions keep their
  // share of the old ranges.
  bool SetZoom(int index);
  // Zooms keeping the page point under `at` where it is.
  bool ZoomAt(int index, QPoint at);
  // The point that ZoomIn and ZoomOut keep: half the width, two fifths of the height.
  QPoint ZoomCentre() const { return {client.width() / 2, client.height() * 2 / 5}; }

  THit HitTest(QPoint at) const;
  // Scrolls to the positions (rounded down to multiples of 10, clamped).
  void ScrollTo(int x, int y);

  const std::vector<float>& ZoomTable() const { return table; }
  int Zoom() const { return zoom; }
  int ZoomCount() const { return static_cast<int>(table.size()); }
  float Scale() const { return table.empty() ? 1.0f : table[static_cast<size_t>(zoom)]; }
  bool IsZoomedIn() const { return zoom > 0; }
  QSize Client() const { return client; }
  QSize PageSize() const { return page; }
  QSize Visible() const { return visible; }
  QSize Margin() const { return margin; }
  // Total scroll ranges (page plus margins). The window shows a client's width of them, so a
  // range no larger than the client does not scroll: zoom 0 never scrolls.
  QSize Range() const { return range; }
  int ScrollX() const { return scrollX; }
  int ScrollY() const { return scrollY; }
  int MaxScrollX() const { return std::max(range.width() - client.width(), 0); }
  int MaxScrollY() const { return std::max(range.height() - client.height(), 0); }
  // The page's top-left corner in window coordinates.
  QPoint PageOrigin() const { return {margin.width() - scrollX, margin.height() - scrollY}; }

private:
  void Layout();

  TPaperMeasures paper;
  std::vector<float> table;
  int zoom = -1;
  QSize client{20, 20};
  QSize page;
  QSize visible;
  QSize margin;
  QSize range;
  int scrollX = 0;
  int scrollY = 0;
};

}  // namespace kvt
