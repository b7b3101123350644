#pragma once
// The picture Copy Special puts on the clipboard: the selected items of the active staff as
// the view shows them, as an SVG with music glyphs as outlines, and its PNG beside it.
//
// Horizontally the picture spans the selection's items that are laid out in the window;
// vertically the active staff's band, or with allStaves the whole height of the shown staves.
// The SVG is sized in millimetres from the screen's pixel size (ScreenPictureDpi).
//
// Needs a QGuiApplication; UI thread only.

#include <QByteArray>
#include <optional>

class QWidget;

namespace kvt {

class TScoreEdit;

struct TSelectionPicture {
  QByteArray svg;
  QByteArray png;
  int widthPx = 0;  // the picture's size in the view's pixels
  int heightPx = 0;
  int dpi = 0;  // pixels per inch the SVG's millimetre size is taken from
};

// The screen's pixels per inch from its size in pixels and millimetres (96 when the screen
// does not report a physical size).
int ScreenPictureDpi(const QWidget& widget);

// The picture of the view's selection; nothing without a selection, when none of it is laid
// out in the window, or when the picture could not be drawn.
std::optional<TSelectionPicture> MakeSelectionPicture(TScoreEdit& view, bool allStaves);

}  // namespace kvt
