#pragma once
// TToolbarFrame: the small frame of a floating toolbar, drawn by us: a tool-window caption
// with the toolbar's title and a close box, and a border whose edges size the frame. Sizing
// steps through the toolbar's candidate floating layouts: the frame snaps to the next layout
// once the mouse passes half of the size difference, and takes the chosen layout's size on
// release. Closing hides the toolbar (its hidden bit), never destroys it. The frame does not
// take the activation from the main window.

#include <QWidget>

namespace kvt {

class TToolbar;

class TToolbarFrame : public QWidget {
public:
  static constexpr int kBorder = 3;
  static constexpr int kCaption = 16;

  explicit TToolbarFrame(TToolbar& toolbar);

  TToolbar& Toolbar() const { return toolbar; }
  // The frame's size around a toolbar of inner size.
  static QSize FrameSizeFor(const QSize& inner);
  // Takes the size of the toolbar's chosen layout.
  void FitToolbar();
  // The close box in frame coordinates.
  QRect CloseBox() const;
  // Picks the layout that a frame of the given width (or height, for the top and bottom
  // edges) snaps to.
  int SnapLayout(int extent, bool byWidth) const;

protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

private:
  enum TGrab { None, Move, SizeLeft, SizeRight, SizeTop, SizeBottom, Close };
  TGrab HitTest(const QPoint& p) const;
  void SetLayoutFrom(int extent, bool byWidth);

  TToolbar& toolbar;
  TGrab grab = None;
  QPoint grabOffset;
  QRect startGeometry;
};

}  // namespace kvt
