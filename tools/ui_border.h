#pragma once
// TUIBorder: the three-dimensional frames of the self-drawn controls (toolbar buttons, column
// headers): up to two one-pixel rings (outer and inner) on any of the four sides, the inside
// optionally filled, in the system colours.
//
// Edge bits: 1 raised outer, 2 sunken outer, 4 raised inner, 8 sunken inner. Flag bits: 1 left,
// 2 top, 4 right, 8 bottom (none of them: all four), 0x800 fill, 0x1000 soft, 0x4000 flat,
// 0x8000 monochrome. Rectangles are (left, top, right, bottom) with right and bottom outside.

#include "tools/system_colors.h"

#include <QRect>

class QPainter;

namespace kvt {

class TUIBorder {
public:
  enum TStyle {
    None,
    Plain,
    Raised,
    Recessed,
    Embossed,
    Grooved,
    ButtonUp,
    ButtonDn,
    WndRaised,
    WndRecessed,
    WellSet
  };
  enum TEdge { RaisedOuter = 1, SunkenOuter = 2, RaisedInner = 4, SunkenInner = 8 };
  enum TFlag {
    Left = 1,
    Top = 2,
    Right = 4,
    Bottom = 8,
    Rect = 15,
    Fill = 0x800,
    Soft = 0x1000,
    Flat = 0x4000,
    Mono = 0x8000
  };

  // Precondition: 0 <= style <= WellSet ("style >= 0 && style <= WellSet").
  static TUIBorder FromStyle(const QRect& frame, int style, int flags);
  static TUIBorder FromEdges(const QRect& frame, int edges, int flags);

  void MoveBy(int dx, int dy) { frame.translate(dx, dy); }
  void MoveTo(int x, int y) { frame.moveTo(x, y); }
  const QRect& GetRect() const { return frame; }
  int Edges() const { return edges; }
  int Flags() const { return flags; }
  // The frame shrunk on every side by the number of rings present, whichever sides are drawn.
  QRect GetClientRect() const;

  void Paint(QPainter& painter, const TSystemColors& colors) const;
  static bool PaintFrame(QPainter& painter, const TSystemColors& colors, const QRect& frame,
                         int edges, int flags);

private:
  TUIBorder(const QRect& frame, int edges, int flags);

  QRect frame;
  int edges;
  int flags;
};

}  // namespace kvt
