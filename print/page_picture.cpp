#include "print/page_picture.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPainter>
#include <QSvgRenderer>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>

#include "draw/print/print_data.h"
#include "platform/page_contexts.h"
#include "utils/alert_log.h"
#include "utils/atomic_file_write.h"
#include "utils/stream.h"

namespace kvt {
namespace {

// A PNG larger than this many pixels is not made; the export then fails rather than put only
// half of the picture on the clipboard.
constexpr int64_t kMaxPngPixels = int64_t{64} << 20;

}  // namespace

QByteArray MakePagePicture(TKVTNTNPrintData& data, int dpiX, int dpiY, int n) {
  dpiX = std::max(dpiX, 1);
  dpiY = std::max(dpiY, 1);
  const TPageRect& page = data.GetPageRect();
  const int64_t width = int64_t{page.width} + dpiX / 2;
  const int64_t height = int64_t{page.height} + dpiY / 2;
  if (page.width <= 0 || page.height <= 0 || width > INT32_MAX || height > INT32_MAX) return {};
  QByteArray bytes;
  QBuffer out(&bytes);
  if (!out.open(QIODevice::WriteOnly)) return {};
  int result = kPageFailed;
  {
    TSvgPictureContext svg(out, static_cast<int>(width), static_cast<int>(height), dpiX);
    QPainter& painter = svg.Context().Painter();
    if (!painter.isActive()) return {};
    // The page's top left corner sits a quarter inch inside the picture.
    painter.translate(dpiX / 4, dpiY / 4);
    data.SetPictureMode(true);
    result = data.RenderPage(&svg.Context(), n, true);
    data.SetPictureMode(false);
    if (!svg.Finish()) return {};
  }
  if (result == kPageFailed) return {};
  return bytes;
}

QImage RasterizePagePicture(const QByteArray& svg, int dpiX) {
  QSvgRenderer renderer(svg);
  if (!renderer.isValid()) return {};
  // The view box is in the printer's device units.
  const QSizeF size = renderer.viewBoxF().size();
  const double scale = static_cast<double>(kPicturePngDpi) / std::max(dpiX, 1);
  const int w = std::max(1, static_cast<int>(std::lround(size.width() * scale)));
  const int h = std::max(1, static_cast<int>(std::lround(size.height() * scale)));
  if (int64_t{w} * h > kMaxPngPixels) return {};
  QImage image(w, h, QImage::Format_RGB32);
  if (image.isNull()) return {};
  image.fill(Qt::white);
  const int dotsPerMeter = static_cast<int>(std::lround(kPicturePngDpi / 0.0254));
  image.setDotsPerMeterX(dotsPerMeter);
  image.setDotsPerMeterY(dotsPerMeter);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing, true);
  renderer.render(&painter, QRectF(0, 0, w, h));
  return image;
}

QByteArray PicturePng(const QByteArray& svg, int dpiX) {
  const QImage image = RasterizePagePicture(svg, dpiX);
  QByteArray png;
  QBuffer out(&png);
  if (image.isNull() || !out.open(QIODevice::WriteOnly) || !image.save(&out, "PNG")) return {};
  return png;
}

bool PlacePictureOnClipboard(const QByteArray& svg, const QByteArray& png) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (clipboard == nullptr) return false;
  auto mime = std::make_unique<QMimeData>();
  mime->setData(QString::fromLatin1(kPictureSvgFormat), svg);
  mime->setData(QString::fromLatin1(kPicturePngFormat), png);
  clipboard->setMimeData(mime.release());
  const QMimeData* placed = clipboard->mimeData();
  return placed && placed->hasFormat(QString::fromLatin1(kPictureSvgFormat)) &&
         placed->hasFormat(QString::fromLatin1(kPicturePngFormat));
}

int ExportPagePicture(TKVTNTNPrintData& data, int dpiX, int dpiY, const std::string* fileName,
                      int n, TAlertLog& alerts) {
  const QByteArray svg = MakePagePicture(data, dpiX, dpiY, n);
  if (svg.isEmpty()) {
    alerts.AddLine("The page picture could not be made");
    return 0;
  }
  if (fileName) {
    const bool written = WriteFileAtomically(*fileName, TSaveBackups{}, [&svg](TKRVStream& file) {
      file.Write(svg.constData(), static_cast<int>(svg.size()));
      return !file.IsError();
    });
    if (!written) {
      alerts.AddLine("The page picture could not be written to \"" + *fileName + "\"");
      return 0;
    }
    return 1;
  }
  const QByteArray png = PicturePng(svg, dpiX);
  if (png.isEmpty()) {
    alerts.AddLine("The page picture could not be made");
    return 0;
  }
  if (!PlacePictureOnClipboard(svg, png)) {
    alerts.AddLine("The page picture could not be placed on the clipboard");
    return 0;
  }
  return 1;
}

}  // namespace kvt
