#include "print/preview_view.h"

#include <algorithm>
#include <cmath>

namespace kvt {

namespace {

constexpr int kMinClient = 20;

int RoundDown10(int v) { return v - v % 10; }

// The paper's height in screen pixels per paper width pixel: square screen pixels.
double Aspect(const TPaperMeasures& paper) {
  const double dpiX = std::max(paper.dpiX, 1), dpiY = std::max(paper.dpiY, 1);
  return (paper.physicalHeight / dpiY) / (paper.physicalWidth / dpiX);
}

}  // namespace

std::vector<float> BuildZoomTable(const TPaperMeasures& paper, QSize client) {
  if (paper.physicalWidth <= 0 || paper.physicalHeight <= 0 || client.width() <= 0 ||
      client.height() <= 0)
    return {1.0f};
  const double width = paper.physicalWidth;
  const double fitted = std::min<double>(client.width(), client.height() / Aspect(paper));
  const double s0 = width / std::max(fitted, 1.0);
  if (s0 <= 1) return {1.0f};
  std::vector<float> table{static_cast<float>(s0)};
  double s = std::floor(width / client.width() + 0.09);
  if (0.95 * s0 > s && s >= 1) table.push_back(static_cast<float>(s));
  s = std::floor((s - 0.4) * 2) * 0.5;
  while (s > 1) {
    s -= 0.5;
    if (s < 1.5) s = 1.0;
    table.push_back(static_cast<float>(s));
    if (table.size() == kMaxZoomLevels) {
      table.back() = 1.0f;
      break;
    }
  }
  return table;
}

void TPreviewView::Resize(QSize size) {
  client = size.expandedTo({kMinClient, kMinClient});
  table = BuildZoomTable(paper, client);
  zoom = -1;
  SetZoom(0);
}

bool TPreviewView::SetZoom(int index) {
  if (table.empty()) table = {1.0f};
  index = std::clamp(index, 0, ZoomCount() - 1);
  if (index == zoom) return false;
  const QSize oldRange = range;
  const int oldX = scrollX, oldY = scrollY;
  zoom = index;
  Layout();
  // Keep each position's share of its range.
  auto rescale = [](int pos, int oldSpan, int newSpan) {
    return oldSpan > 0 ? static_cast<int>(static_cast<int64_t>(pos) * newSpan / oldSpan) : 0;
  };
  ScrollTo(rescale(oldX, oldRange.width(), range.width()),
           rescale(oldY, oldRange.height(), range.height()));
  return true;
}

void TPreviewView::Layout() {
  const double scale = Scale();
  const double dpiX = std::max(paper.dpiX, 1), dpiY = std::max(paper.dpiY, 1);
  page = QSize(static_cast<int>(paper.physicalWidth / scale),
               static_cast<int>(paper.physicalHeight * dpiX / dpiY / scale));
  visible = page.boundedTo(client);
  if (zoom == 0)
    margin = QSize(std::max((client.width() - page.width()) / 2, 0),
                   std::max((client.height() - page.height()) / 2, 0));
  else
    // Half the window on every side: any part of the page can come to the middle.
    margin = QSize(client.width() / 2, client.height() / 2);
  range = QSize(page.width() + 2 * margin.width(), page.height() + 2 * margin.height());
}

bool TPreviewView::ZoomAt(int index, QPoint at) {
  const double oldScale = Scale();
  const QPoint oldOrigin = PageOrigin();
  const double pageX = (at.x() - oldOrigin.x()) * oldScale;
  const double pageY = (at.y() - oldOrigin.y()) * oldScale;
  if (!SetZoom(index)) return false;
  const double scale = Scale();
  ScrollTo(static_cast<int>(std::lround(pageX / scale + margin.width() - at.x())),
           static_cast<int>(std::lround(pageY / scale + margin.height() - at.y())));
  return true;
}

void TPreviewView::ScrollTo(int x, int y) {
  scrollX = RoundDown10(std::clamp(x, 0, MaxScrollX()));
  scrollY = RoundDown10(std::clamp(y, 0, MaxScrollY()));
}

TPreviewView::THit TPreviewView::HitTest(QPoint at) const {
  const QPoint p = at - PageOrigin();
  if (p.x() < 0) return kPreviousSide;
  if (p.x() > page.width()) return kNextSide;
  if (p.y() >= 0 && p.y() <= page.height()) return kOnPage;
  return p.x() >= page.width() / 2 ? kNextSide : kPreviousSide;
}

}  // namespace kvt
