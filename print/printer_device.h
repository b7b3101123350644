#pragma once
// TPrinterDevice: one printer set up for a job or a preview, the stand-in of a printer device
// context. It holds the QPrinter (a named print-system device, or the PDF printer), tells the
// page renderer what the paper measures, and gives a measuring context at the printer's
// resolution that never produces output, so that pages can be laid out (counted, previewed)
// before and without a document being started. A job draws on the printer through
// TPrintOutput.
//
// With fullPage off the painter's origin is the printable origin, as the page renderer
// expects. Needs a QGuiApplication; UI thread only.

#include <QImage>
#include <QPageLayout>
#include <QPrinter>
#include <QString>
#include <memory>

#include "draw/print/print_data.h"

namespace kvt {

class TDeviceContext;
class TQPainterContext;

inline constexpr int kPdfPrinterDpi = 600;

class TPrinterDevice {
public:
  // The named device, or with an empty name the PDF printer: 600 dpi, the locale's default
  // paper, printable to the edges, writing to pdfFile. layout, when given, is the paper and
  // orientation kept from an earlier job.
  TPrinterDevice(const QString& deviceName, const QString& pdfFile,
                 const QPageLayout* layout = nullptr);
  ~TPrinterDevice();
  TPrinterDevice(const TPrinterDevice&) = delete;
  TPrinterDevice& operator=(const TPrinterDevice&) = delete;

  QPrinter& Printer() { return printer; }
  const QPrinter& Printer() const { return printer; }
  // Whether the printer can print at all (a named device the print system knows, or PDF).
  bool IsValid() const { return printer.isValid(); }
  // Whether output goes to a PDF file rather than to a print-system device.
  bool IsPdf() const { return printer.outputFormat() == QPrinter::PdfFormat; }
  // The paper as the printer reports it now, in device units.
  TPaperMeasures Paper() const;
  // A context at the printer's current resolution for measuring; drawing on it goes nowhere.
  TDeviceContext& Measurer();

  // The locale's default paper: Letter where US measures are used, else A4.
  static QPageSize DefaultPaper();

private:
  QPrinter printer;
  QImage probe;
  std::unique_ptr<TQPainterContext> measurer;
  int measurerDpi = 0;
};

}  // namespace kvt
