#pragma once
// The system colours the self-drawn controls paint with, taken from a palette so that they
// follow the desktop's theme; tests build fixed ones to check pixels.

#include <QColor>
#include <QPalette>

namespace kvt {

struct TSystemColors {
  QColor btnFace;        // the face of buttons and bars
  QColor btnShadow;      // the shaded side of a 3D edge
  QColor btnHighlight;   // the lit side of a 3D edge
  QColor btnText;        // text and arrows on buttons
  QColor windowFrame;    // the dark outer line of a 3D edge
  QColor highlightText;  // the lightest line of a 3D edge
  QColor window;         // the background of a window's contents

  static TSystemColors FromPalette(const QPalette& palette) {
    return {palette.color(QPalette::Button), palette.color(QPalette::Dark),
            palette.color(QPalette::Light),  palette.color(QPalette::ButtonText),
            palette.color(QPalette::Shadow), palette.color(QPalette::HighlightedText),
            palette.color(QPalette::Base)};
  }
};

}  // namespace kvt
