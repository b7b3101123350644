#include "print/print_output.h"

#include <QFile>

#include "platform/qpainter_context.h"
#include "print/printer_device.h"
#include "utils/atomic_file_write.h"

namespace kvt {
namespace {

// A PDF ends with its end-of-file marker; a file cut short by a full disk or a size limit
// does not.
constexpr char kPdfEndMarker[] = "%%EOF";
constexpr qint64 kTailBytes = 64;

}  // namespace

TPrintOutput::TPrintOutput(TPrinterDevice& device) : device(device) {}

TPrintOutput::~TPrintOutput() {
  if (context) Abort();
}

bool TPrintOutput::Fail(std::string what) {
  if (failure.empty()) failure = std::move(what);
  return false;
}

bool TPrintOutput::Begin(const QString& documentName) {
  QPrinter& printer = device.Printer();
  printer.setDocName(documentName);
  if (device.IsPdf()) {
    target = printer.outputFileName();
    if (target.isEmpty()) return Fail("no output file was chosen");
    file = std::make_unique<TFileReplacement>(target.toStdString(), kNewFileMode);
    if (!file->IsValid())
      return Fail("the file \"" + target.toStdString() + "\" cannot be written");
    printer.setOutputFileName(QString::fromStdString(file->TempPath()));
  }
  context = std::make_unique<TQPainterContext>(printer);
  if (!context->Painter().isActive()) {
    context.reset();
    if (file) printer.setOutputFileName(target);
    file.reset();
    return Fail(target.isEmpty() ? "the printer did not accept the document"
                                 : "the file \"" + target.toStdString() + "\" cannot be written");
  }
  return true;
}

bool TPrintOutput::NewPage() {
  if (!context || !device.Printer().newPage()) return Fail("the printer did not accept a page");
  return true;
}

bool TPrintOutput::FileIsComplete() const {
  QFile written(QString::fromStdString(file->TempPath()));
  if (!written.open(QIODevice::ReadOnly) || written.size() < kTailBytes) return false;
  if (!written.seek(written.size() - kTailBytes)) return false;
  return written.read(kTailBytes).contains(kPdfEndMarker);
}

bool TPrintOutput::Finish() {
  if (!context) return Fail("the document was not started");
  const bool ended = context->Finish();
  context.reset();
  if (!file) return ended || Fail("the printer did not accept the document");
  device.Printer().setOutputFileName(target);
  const std::string what = "the file \"" + target.toStdString() + "\" cannot be written";
  const bool placed =
      ended && FileIsComplete() && FlushPathToDisk(file->TempPath()) && file->Commit();
  file.reset();
  return placed || Fail(what);
}

void TPrintOutput::Abort() {
  if (context) {
    if (!file) device.Printer().abort();
    context->Finish();
    context.reset();
  }
  if (file) device.Printer().setOutputFileName(target);
  file.reset();  // removes the temporary file
}

}  // namespace kvt
