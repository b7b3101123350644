#pragma once
// The preview's picture of one printed page in a window: the page rendered at a scale (printer
// units per screen pixel horizontally; the vertical scale follows the device's resolutions)
// with its paper's top-left corner at a window point, clipped to the paper, the paper's
// outline with a dark-grey shadow band right of and below it, the window colour outside, and
// on request the printable area's outline hatched in light grey.
//
// The print data's resume state must be at page n (see preview_pager.h); drawing leaves it
// there. Answers RenderPage's result.

#include <QColor>
#include <QPoint>
#include <QSize>

namespace kvt {

class TKVTNTNPrintData;
class TQPainterContext;

inline constexpr int kPageShadowWidth = 4;

struct TPageImageView {
  double scale = 1;    // printer units per screen pixel
  QPoint paperOrigin;  // the paper's top-left corner in the window
  QSize window;        // the window's size
  bool showBoundary = false;
  QColor windowColor = Qt::white;
};

int DrawPageImage(TKVTNTNPrintData& print, TQPainterContext& screen, const TPageImageView& view,
                  int page);

}  // namespace kvt
