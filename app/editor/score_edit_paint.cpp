// Painting the score editing view: background, active band, the staves through the music fonts
// on the QPainter context, edges, play highlight, the inverted selection or the crosshair, and
// the caret.

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <climits>

#include "app/editor/score_edit.h"
#include "app/editor/score_edit_host.h"
#include "draw/layout/score_draw_info.h"
#include "draw/music_fonts.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "platform/qpainter_context.h"
#include "tools/focus_caret.h"

namespace kvt {

namespace {

constexpr int kEditorBackground = 2;
constexpr int kActiveBackground = 3;
constexpr int kActiveInk = 4;
// The screen contexts the fonts measure on are 96-dpi.
constexpr int kScreenDpi = 96;

QColor ToQColor(TColorRef c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }

// A laid-out x in the window, limited so that off-window items stay just outside it.
int WindowX(int layoutX, int originX, int width) {
  if (layoutX == INT_MAX) return width + 1;
  if (layoutX <= INT_MIN + 2) return -1;
  return static_cast<int>(
      std::clamp<int64_t>(static_cast<int64_t>(layoutX) + originX, -1, width + 1));
}

}  // namespace

void TScoreEdit::paintEvent(QPaintEvent* event) {
  QPainter p(viewport());
  const QRect clip = event->rect();
  const TStaffColorHandles& colors = host.Colors();
  p.fillRect(clip, ToQColor(colors.GetColor(kEditorBackground)));
  const bool marked = active && !viewerMode && activeStaffIndex >= 0;
  if (marked && colors.GetColor(kActiveBackground) != colors.GetColor(kEditorBackground))
    PaintActiveBand(p, clip);

  if (drawInfo->GetStaffCount() > 0) {
    TQPainterContext dc(p, kScreenDpi, kScreenDpi);
    fonts->BeginDrawing(&dc, &dc);
    drawInfo->Draw(clip.right() + 1, originX, YOffset(), viewerMode ? -1 : activeStaffIndex);
    // Labels stand before the staves' start, so they show while the start does.
    if (hScrollSlot == 0 && labelWidth > 0)
      drawInfo->DrawStaffLabels(originX - leftMargin, YOffset(), labelWidth);
    fonts->EndDrawing();
  }

  if (marked && host.Options().showActiveStaffEdges) {
    const QRect band = StaffRect(activeStaffIndex);
    const int top = band.top() - 1;
    const int bottom = band.bottom() + 2;
    p.setPen(palette().color(QPalette::Dark));
    p.drawLine(clip.left(), top, clip.right(), top);
    p.drawLine(clip.left(), bottom, clip.right(), bottom);
    p.setPen(palette().color(QPalette::Light));
    p.drawLine(clip.left(), top + 1, clip.right(), top + 1);
    p.drawLine(clip.left(), bottom + 1, clip.right(), bottom + 1);
  }
  if (host.IsPlaying(score) && host.FollowsPlayback()) PaintPlayHighlight(p);
  if (marked && HasSelection())
    PaintSelection(p);
  else if (marked && host.Options().showCrosshair)
    PaintCrosshair(p);
  if (active && caretObject) caretObject->Paint(p);
}

void TScoreEdit::PaintActiveBand(QPainter& p, const QRect& clip) {
  const QRect band = StaffRect(activeStaffIndex);
  p.fillRect(QRect(clip.left(), band.top(), clip.width(), band.height() + 1),
             ToQColor(host.Colors().GetColor(kActiveBackground)));
}

void TScoreEdit::PaintSelection(QPainter& p) {
  TStaffDrawInfo* draw = ActiveDraw();
  if (!draw) return;
  const int width = ClientWidth();
  const int x0 = WindowX(draw->ItemIndexToX(caret.SelectionStart()), originX, width);
  // To the right edge of the last selected item as drawn; past the window when it is not laid
  // out there.
  int x1 = width + 1;
  const int last = draw->FindPosition(caret.SelectionEnd());
  if (last >= 0)
    x1 = WindowX(draw->XOfPosition(last) + draw->GetDrawnWidth(last), originX, width);
  else if (draw->ItemIndexToX(caret.SelectionEnd()) <= INT_MIN + 2)
    x1 = -1;
  if (x1 <= 0 || x0 >= width || x1 <= x0) return;
  const QRect band = StaffRect(activeStaffIndex);
  const TStaffColorHandles& colors = host.Colors();
  // Inverting with ink XOR active background turns the active background into the ink colour
  // and back, so painting the selection twice leaves the band as it was.
  const TColorRef mix = colors.GetColor(kActiveInk) ^ colors.GetColor(kActiveBackground);
  p.save();
  p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  p.fillRect(QRect(QPoint(std::max(0, x0), band.top()),
                   QPoint(std::min(width, x1) - 1, band.bottom() + 1)),
             ToQColor(mix));
  p.restore();
}

void TScoreEdit::PaintCrosshair(QPainter& p) {
  const QPoint c = CaretPoint();
  p.save();
  p.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
  QPen pen(ToQColor(host.Colors().GetColor(kActiveInk)));
  pen.setStyle(Qt::DotLine);
  p.setPen(pen);
  p.drawLine(0, c.y(), ClientWidth(), c.y());
  if (c.x() >= 0 && c.x() < ClientWidth()) p.drawLine(c.x(), 0, c.x(), ClientHeight());
  p.restore();
}

void TScoreEdit::PaintPlayHighlight(QPainter& p) {
  const QColor color = ToQColor(host.Colors().GetColor(TStaffColorHandles::kPlayHighlightIndex));
  for (int i = drawInfo->GetStaffCount() - 1; i >= 0; --i) {
    const TStaffDrawInfo* draw = drawInfo->GetStaffDrawInfo(i);
    const int item = host.PlayedItem(score, draw->GetStaffIndex());
    if (item < 0) continue;
    const int n = draw->FindPosition(item);
    if (n < 0) continue;
    const QRect band = StaffRect(i);
    const int x0 = WindowX(draw->XOfPosition(n), originX, ClientWidth());
    const int x1 = WindowX(draw->XOfPosition(n + 1), originX, ClientWidth());
    p.save();
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.fillRect(QRect(x0, band.top(), std::max(1, x1 - x0), band.height()), color);
    p.restore();
  }
}

}  // namespace kvt
