#include "app/editor/selection_picture.h"

#include <QBuffer>
#include <QPainter>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <climits>
#include <cmath>

#include "app/editor/score_edit.h"
#include "draw/layout/score_draw_info.h"
#include "draw/music_fonts.h"
#include "platform/page_contexts.h"
#include "platform/qpainter_context.h"
#include "print/page_picture.h"

namespace kvt {

namespace {

constexpr int kFallbackDpi = 96;

// The x range [x0, x1) of the selected items as drawn in the window, limited to it; empty
// when none of them is laid out there.
bool SelectionSpan(TScoreEdit& view, int& x0, int& x1) {
  TStaffDrawInfo* draw = view.Layout().GetStaffDrawInfo(view.ActiveStaffIndex());
  if (draw == nullptr || !view.HasSelection()) return false;
  const int width = view.viewport()->width();
  const int64_t origin = view.OriginX();
  const int first = draw->ItemIndexToX(view.Caret().SelectionStart());
  if (first == INT_MAX) return false;
  int64_t left = first <= INT_MIN + 2 ? 0 : origin + first;
  int64_t right = width;
  const int last = draw->FindPosition(view.Caret().SelectionEnd());
  if (last >= 0) right = origin + draw->XOfPosition(last) + draw->GetDrawnWidth(last);
  left = std::clamp<int64_t>(left, 0, width);
  right = std::clamp<int64_t>(right, 0, width);
  if (right <= left) return false;
  x0 = static_cast<int>(left);
  x1 = static_cast<int>(right);
  return true;
}

}  // namespace

int ScreenPictureDpi(const QWidget& widget) {
  const QScreen* screen = widget.screen();
  if (screen == nullptr) return kFallbackDpi;
  const double mm = screen->physicalSize().width();
  const int px = screen->geometry().width();
  if (!(mm > 0) || px <= 0) return kFallbackDpi;
  return std::clamp(static_cast<int>(std::lround(px * 25.4 / mm)), 1, 2400);
}

std::optional<TSelectionPicture> MakeSelectionPicture(TScoreEdit& view, bool allStaves) {
  int x0 = 0;
  int x1 = 0;
  if (!SelectionSpan(view, x0, x1)) return std::nullopt;
  QRect band = view.StaffRect(view.ActiveStaffIndex());
  if (allStaves) {
    for (int i = 0; i < view.ShownStaffCount(); ++i) band = band.united(view.StaffRect(i));
  }
  if (band.height() <= 0) return std::nullopt;

  TSelectionPicture picture;
  picture.widthPx = x1 - x0;
  picture.heightPx = band.height();
  picture.dpi = ScreenPictureDpi(view);
  QBuffer out(&picture.svg);
  if (!out.open(QIODevice::WriteOnly)) return std::nullopt;
  {
    TSvgPictureContext svg(out, picture.widthPx, picture.heightPx, picture.dpi);
    QPainter& painter = svg.Context().Painter();
    if (!painter.isActive()) return std::nullopt;
    painter.translate(-x0, -band.top());
    view.Fonts().BeginDrawing(&svg.Context(), &svg.Context());
    // No active staff: the picture shows the music without the editor's marks.
    view.Layout().Draw(x1, view.OriginX(), view.ScrollY() + view.TopMargin(), -1);
    view.Fonts().EndDrawing();
    if (!svg.Finish()) return std::nullopt;
  }
  picture.png = PicturePng(picture.svg, picture.dpi);
  if (picture.png.isEmpty()) return std::nullopt;
  return picture;
}

}  // namespace kvt
