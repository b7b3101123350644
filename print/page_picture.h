#pragma once
// Page pictures: one printed page as an SVG picture of the page rectangle with a quarter-inch
// border all round (picture size: page width + dpiX / 2 by page height + dpiY / 2 device
// units, at the printer's resolution), music glyphs as outlines so that the picture needs no
// font.
//
// The picture renders page n from the print data's current resume state: the pages before n
// must have been rendered and advanced, as the preview keeps them for the page it shows, so
// the picture is exactly that page.
//
// Needs a QGuiApplication; UI thread only.

#include <QByteArray>
#include <QImage>
#include <string>

namespace kvt {

class TAlertLog;
class TKVTNTNPrintData;

// The resolution of the PNG that goes on the clipboard beside the SVG.
inline constexpr int kPicturePngDpi = 150;
// The clipboard formats of a picture.
inline constexpr char kPictureSvgFormat[] = "image/svg+xml";
inline constexpr char kPicturePngFormat[] = "image/png";

// The SVG bytes of page n; empty when the picture could not be made.
QByteArray MakePagePicture(TKVTNTNPrintData& data, int dpiX, int dpiY, int n);
// The picture drawn on white at kPicturePngDpi; a null image when svg cannot be drawn.
QImage RasterizePagePicture(const QByteArray& svg, int dpiX);

// The PNG file bytes of RasterizePagePicture(svg, dpiX); empty when it cannot be made.
QByteArray PicturePng(const QByteArray& svg, int dpiX);
// Puts the SVG and its PNG on the system clipboard; false when the clipboard did not take
// both.
bool PlacePictureOnClipboard(const QByteArray& svg, const QByteArray& png);

// Exports page n: with a file name the SVG replaces that file (atomically: an existing file
// stays as it was when the write fails); without one the clipboard gets the SVG as
// "image/svg+xml" and its PNG as "image/png". 1 when exported; 0 when the picture could not be
// made, written or placed on the clipboard (the alert log says which).
int ExportPagePicture(TKVTNTNPrintData& data, int dpiX, int dpiY, const std::string* fileName,
                      int n, TAlertLog& alerts);

}  // namespace kvt
