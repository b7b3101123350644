#pragma once
// Drawing routines the controls share: shortening a text with an ellipsis, one-pixel edge
// lines and the 3D borders of the lists and combos, masks and corner colours of pictures, and
// changing a window's flags.
//
// The bits here differ from TUIBorder's: sides are 1 left, 2 right, 4 top, 8 bottom; edge kinds
// are 4 raised outer, 8 sunken outer, 1 raised inner, 2 sunken inner.

#include "tools/system_colors.h"

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>

#include <array>
#include <cstdint>

class QFontMetrics;
class QPainter;
class QWidget;

namespace kvt {

enum TEdgeSide { kEdgeLeft = 1, kEdgeRight = 2, kEdgeTop = 4, kEdgeBottom = 8 };
enum TBorderKind { kRaisedInner = 1, kSunkenInner = 2, kRaisedOuter = 4, kSunkenOuter = 8 };
enum TBorderOption { kBorderFill = 0x10, kBorderAdjust = 0x20, kBorderSoft = 0x80 };

// Shortens text so that it fits width and ends in "...": a text of fewer than 3 characters, or
// one that fits, is left alone; otherwise the characters that fit in width less three dots'
// width are kept (never any of the last 3) and "..." follows. Characters are whole code
// points, so a cut never splits one.
void FitTextWithEllipsis(const QFontMetrics& metrics, QString& text, int width);

// Draws the chosen sides one pixel wide along the whole rectangle as given (left and top in
// topLeft, right and bottom in bottomRight) and takes a pixel off rect on each side drawn.
void DrawEdgeLines(QPainter& painter, QRect& rect, int sides, const QColor& topLeft,
                   const QColor& bottomRight);
// Up to two rings on the chosen sides; 0x10 fills the interior in the window colour, 0x20
// writes the interior back into rect (otherwise rect is unchanged), 0x80 exchanges the
// top-left colours of the two rings.
void DrawBorder3D(QPainter& painter, QRect& rect, int kinds, int options,
                  const TSystemColors& colors);

// A monochrome picture of the image's size: white where the image has the colour, black
// elsewhere.
QImage CreateMaskBitmap(const QImage& image, const QColor& color);
// The colour of the bottom-left pixel (the first one a bottom-up bitmap stores), which the
// tree lists take as their pictures' transparent colour; invalid for an empty image.
QColor GetDibCornerColor(const QImage& image);
// A copy of the image with that colour replaced: for a picture with a colour table the table
// entry, otherwise every pixel of the corner's colour.
QImage SetDibCornerColor(const QImage& image, const QColor& color);

struct TPaletteEntry {
  uint8_t red = 0, green = 0, blue = 0, flags = 0;
};
// Palette displays do not exist here: the entries are left as they are and false answered.
bool GetIdentityPaletteEntries(std::array<TPaletteEntry, 256>& entries);
// Nothing to reset without palette displays.
void ClearSystemPalette();

// The window's flags without remove, plus add; false (nothing done) when they stay the same. A
// visible window is shown again after the change.
bool ModifyWindowStyle(QWidget& window, Qt::WindowFlags remove, Qt::WindowFlags add);

}  // namespace kvt
