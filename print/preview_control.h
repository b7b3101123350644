#pragma once
// TScorePreviewControl: a scrolling window that shows one printed page of a print data at a
// chosen zoom: the whole page, the page width, or finer steps down to one printer unit per
// screen pixel. It turns pages (clicks on the margins beside the page, keys, the wheel, touch
// gestures), zooms around a point, drags the zoomed page and offers a small context menu.
//
// The print data, the progress window and the options are not owned and must outlive the
// control. Set-up finishes in a queued call after construction (the zoom table, then the page
// at the start time), so the creator may show the control first. UI thread only.

#include <QAbstractScrollArea>
#include <QPoint>

#include <cstdint>
#include <functional>

#include "print/preview_pager.h"
#include "print/preview_view.h"

class QGestureEvent;
class QMenu;
class QTouchEvent;

namespace kvt {

class TKVTNTNPrintData;
class TPreviewProgress;
struct TPreviewOptions;

inline constexpr int kNoDrag = -29999;
// A pinch changes the zoom once the finger distance differs from the last by this share.
inline constexpr double kPinchStep = 0.41;

struct TPreviewStatus {
  int64_t printedPage = 0;
  int zoom = 0;  // index into the zoom table
  int zoomCount = 0;
  bool justify = true;
  bool operator==(const TPreviewStatus&) const = default;
};

class TScorePreviewControl : public QAbstractScrollArea {
public:
  TScorePreviewControl(QWidget* parent, int controlId, TKVTNTNPrintData& print,
                       TPreviewProgress& progress, TPreviewOptions& options, int64_t startTime);
  ~TScorePreviewControl() override;

  int ControlId() const { return controlId; }

  void SetZoom(int index);
  void ZoomIn();
  void ZoomOut();
  void ZoomAt(int index, QPoint at);
  void ShowFullPage() { SetZoom(0); }
  // Scroll positions, rounded down to multiples of 10 within the ranges.
  void ScrollTo(int x, int y);

  void GoToPage(int n);
  void GoToPrintedPage(int p);
  void GoToTime(int64_t ticks);
  void FirstPage();
  void LastPage();
  void PreviousPage();
  void NextPage();

  TPreviewStatus GetStatus() const;
  bool HasMorePages() const { return pager.HasMorePages(); }
  int Page() const { return pager.Page(); }
  bool IsBoundaryShown() const;
  // Justification on or off for the layout; the current page is laid out again from where it
  // begins (earlier pages keep their breaks).
  void ToggleJustify();
  // The printable-area outline, for every preview of the program.
  void ToggleBoundary();

  // Called with the global point when the user right-clicks beside the page.
  void SetContextMenuSink(std::function<void(QPoint)> sink) { contextMenuSink = std::move(sink); }

  // The zoom table, built from the window size (the control's own size at set-up).
  void RebuildZoomTable();
  const TPreviewView& View() const { return view; }
  TPreviewView::THit HitTest(QPoint at) const { return view.HitTest(at); }
  bool IsDragging() const { return dragAnchor.x() != kNoDrag; }
  bool IsInitialized() const { return initialized; }
  // The right-click menu on the page ("KVTPreviewRtClick"), built for the point; the caller
  // owns it.
  QMenu* MakePageMenu(QPoint at);

protected:
  bool event(QEvent* event) override;
  bool viewportEvent(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

private:
  void Init();
  void SyncScrollBars();
  void AfterJump();
  void TurnPage(TPreviewView::THit side);
  void UpdateCursor(QPoint at);
  void EndDrag();
  bool GestureEvent(QGestureEvent* event);
  void TouchEvent(QTouchEvent* event);

  int controlId;
  TKVTNTNPrintData& print;
  TPreviewOptions& options;
  TPreviewView view;
  TPreviewPager pager;
  int64_t startTime;
  bool initialized = false;
  bool syncing = false;
  QPoint dragAnchor{kNoDrag, kNoDrag};
  QPoint dragScroll;
  double gestureDistance = 1;
  // Two-finger tap: the touch began with two points and none moved far.
  int touchPoints = 0;
  bool touchMoved = false;
  std::function<void(QPoint)> contextMenuSink;
};

}  // namespace kvt
