#pragma once
// The preview's pictures: the "PageTurnLeft" and "PageTurnRight" cursors over the margins
// beside a page, and the glyphs of its bar's buttons (bitmaps 233 previous page, 232 options
// menu, 234 next page).

#include <QCursor>
#include <QImage>

#include "tools/command_enabler.h"

namespace kvt {

QCursor PageTurnCursor(bool forward);
// The glyph of a preview button; a null image for other ids.
QImage PreviewButtonGlyph(const TGlyphResource& glyph);

}  // namespace kvt
