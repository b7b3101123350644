#include "tools/ui_border.h"

#include "utils/precondition.h"

#include <QPainter>

namespace kvt {

namespace {

struct TStyleEntry {
  int edges;
  int flags;
};

constexpr TStyleEntry kStyles[] = {
    {0, 0}, {0, 0},  {1, 0}, {2, 0}, {9, 0}, {6, 0}, {5, TUIBorder::Soft}, {10, TUIBorder::Soft},
    {5, 0}, {10, 0}, {6, 0},
};

int WithSides(int flags) {
  return (flags & TUIBorder::Rect) == 0 ? flags | TUIBorder::Rect : flags;
}

bool HasOuter(int edges) { return (edges & 3) != 0; }
bool HasInner(int edges) { return (edges & 12) != 0; }

// One ring inside r (left, top, right, bottom with right and bottom outside).
void DrawRing(QPainter& painter, const QRect& r, int flags, const QColor& topLeft,
              const QColor& bottomRight) {
  const int left = r.left(), top = r.top(), right = r.left() + r.width(),
            bottom = r.top() + r.height();
  if (flags & TUIBorder::Top) painter.fillRect(left, top, right - left - 1, 1, topLeft);
  if (flags & TUIBorder::Left) painter.fillRect(left, top + 1, 1, bottom - top - 2, topLeft);
  if (flags & TUIBorder::Bottom) painter.fillRect(left, bottom - 1, right - left, 1, bottomRight);
  if (flags & TUIBorder::Right) painter.fillRect(right - 1, top, 1, bottom - top - 1, bottomRight);
}

}  // namespace

TUIBorder::TUIBorder(const QRect& frame, int edges, int flags)
    : frame(frame), edges(edges), flags(WithSides(flags)) {}

TUIBorder TUIBorder::FromStyle(const QRect& frame, int style, int flags) {
  if (!(style >= 0 && style <= WellSet))
    ThrowPrecondition("style >= 0 && style <= WellSet", __FILE__, __LINE__);
  return TUIBorder(frame, kStyles[style].edges, flags | kStyles[style].flags);
}

TUIBorder TUIBorder::FromEdges(const QRect& frame, int edges, int flags) {
  return TUIBorder(frame, edges, flags);
}

QRect TUIBorder::GetClientRect() const {
  const int rings = (HasOuter(edges) ? 1 : 0) + (HasInner(edges) ? 1 : 0);
  return frame.adjusted(rings, rings, -rings, -rings);
}

void TUIBorder::Paint(QPainter& painter, const TSystemColors& colors) const {
  PaintFrame(painter, colors, frame, edges, flags);
}

bool TUIBorder::PaintFrame(QPainter& painter, const TSystemColors& colors, const QRect& frame,
                           int edges, int flags) {
  QRect r = frame;
  QColor fill = colors.btnFace;
  if (flags & Mono) {
    if (HasOuter(edges)) {
      DrawRing(painter, r, flags, colors.windowFrame, colors.windowFrame);
      r.adjust(1, 1, -1, -1);
    }
    fill = colors.window;
  } else if (flags & Flat) {
    if (HasOuter(edges)) {
      DrawRing(painter, r, flags, colors.btnShadow, colors.btnShadow);
      r.adjust(1, 1, -1, -1);
    }
  } else {
    const int k = ((edges & SunkenOuter) ? 2 : 0) + ((flags & Soft) ? 1 : 0);
    const QColor outer[4][2] = {{colors.btnFace, colors.windowFrame},
                                {colors.highlightText, colors.windowFrame},
                                {colors.btnShadow, colors.highlightText},
                                {colors.windowFrame, colors.highlightText}};
    // The inner ring's colours follow the outer ring's kind, not the inner bits.
    const QColor inner[4][2] = {{colors.btnHighlight, colors.btnShadow},
                                {colors.btnFace, colors.btnShadow},
                                {colors.windowFrame, colors.btnFace},
                                {colors.btnShadow, colors.btnFace}};
    if (HasOuter(edges)) {
      DrawRing(painter, r, flags, outer[k][0], outer[k][1]);
      r.adjust(1, 1, -1, -1);
    }
    if (HasInner(edges)) {
      DrawRing(painter, r, flags, inner[k][0], inner[k][1]);
      r.adjust(1, 1, -1, -1);
    }
  }
  if ((flags & Fill) && r.width() > 0 && r.height() > 0) painter.fillRect(r, fill);
  return true;
}

}  // namespace kvt
