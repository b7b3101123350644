#include "print/printer_device.h"

#include <QLocale>
#include <algorithm>
#include <cmath>

#include "platform/qpainter_context.h"

namespace kvt {

QPageSize TPrinterDevice::DefaultPaper() {
  return QPageSize(QLocale::system().measurementSystem() == QLocale::ImperialUSSystem
                       ? QPageSize::Letter
                       : QPageSize::A4);
}

TPrinterDevice::TPrinterDevice(const QString& deviceName, const QString& pdfFile,
                               const QPageLayout* layout)
    : printer(QPrinter::HighResolution) {
  if (!deviceName.isEmpty()) printer.setPrinterName(deviceName);
  // A device the print system does not know prints to PDF, as no device at all does.
  if (deviceName.isEmpty() || !printer.isValid() ||
      printer.outputFormat() != QPrinter::NativeFormat) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setResolution(kPdfPrinterDpi);
    printer.setPageLayout(
        QPageLayout(DefaultPaper(), QPageLayout::Portrait, QMarginsF(), QPageLayout::Point));
  }
  if (layout && layout->isValid()) {
    printer.setPageSize(layout->pageSize());
    printer.setPageOrientation(layout->orientation());
  }
  printer.setFullPage(false);
  if (IsPdf()) printer.setOutputFileName(pdfFile);
}

TPrinterDevice::~TPrinterDevice() = default;

TPaperMeasures TPrinterDevice::Paper() const {
  const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
  const QRectF page = printer.pageRect(QPrinter::DevicePixel);
  TPaperMeasures m;
  m.physicalWidth = static_cast<int>(std::lround(paper.width()));
  m.physicalHeight = static_cast<int>(std::lround(paper.height()));
  m.offsetX = static_cast<int>(std::lround(page.left() - paper.left()));
  m.offsetY = static_cast<int>(std::lround(page.top() - paper.top()));
  m.dpiX = printer.resolution();
  m.dpiY = printer.resolution();
  return m;
}

TDeviceContext& TPrinterDevice::Measurer() {
  const int dpi = std::max(printer.resolution(), 1);
  if (!measurer || measurerDpi != dpi) {
    measurer.reset();
    probe = QImage(1, 1, QImage::Format_ARGB32_Premultiplied);
    const int dotsPerMeter = static_cast<int>(std::lround(dpi / 0.0254));
    probe.setDotsPerMeterX(dotsPerMeter);
    probe.setDotsPerMeterY(dotsPerMeter);
    measurer = std::make_unique<TQPainterContext>(probe);
    measurerDpi = dpi;
  }
  return *measurer;
}

}  // namespace kvt
