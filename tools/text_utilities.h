#pragma once
// Small utilities on widgets, fonts and the clipboard that the whole program shares.

#include "utils/log_font.h"

#include <QColor>
#include <QFont>
#include <QString>

#include <string_view>

class QMimeData;
class QPaintDevice;
class QWidget;
class QAbstractScrollArea;

namespace kvt {

inline constexpr uint8_t OUT_TT_PRECIS = 4;

// Puts the UTF-8 text on the clipboard as plain text; nothing happens without a clipboard.
void CopyTextToClipboard(std::string_view text);
// Adds the text as plain text to clipboard contents being put together.
void PutTextOnClipboard(QMimeData& data, std::string_view text);

// points x the device's vertical resolution / 72, cut to an integer.
int PointsToPixels(const QPaintDevice& device, int points);
// True when the text in the font is narrower than width (strictly).
bool TextFits(const QPaintDevice& device, const QFont& font, const QString& text, int width);
// The font of a logical-font record: face, pixel height |height| (none for 0), weight, italic,
// underline and strike-out.
QFont FontFromLogFont(const TLogFont& lf);
// The logical font made smaller until the text fits width: each try that does not fit sets the
// height to three quarters of itself (cut toward zero); a font of height 4 or less is
// returned as it is. Precondition: the record asks for scalable output
// ("lf.lfOutPrecision == OUT_TT_PRECIS"). The height tried last is left in fittedHeight.
QFont CreateFontToFit(const QPaintDevice& device, TLogFont lf, const QString& text, int width,
                      int* fittedHeight = nullptr);

// Gives every descendant of the widget the application's variable-width font.
void SetChildrenVarFont(QWidget& widget);
// Whether the mouse is over the widget's client area, or over the area's horizontal scroll bar.
bool IsCursorInClient(const QWidget& widget);
bool IsCursorOnHScrollBar(const QAbstractScrollArea& area);
// Sets the widget's background colour only when it differs from the current one.
void SetClassBackground(QWidget& widget, const QColor& color);

}  // namespace kvt
