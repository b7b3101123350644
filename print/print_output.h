#pragma once
// TPrintOutput: the document a print job writes, on a TPrinterDevice. A print-system device is
// spooled as usual. A PDF file is written into a temporary file beside the target, which
// replaces the target only when the document ended well (every page written, the file
// complete and flushed to disk); a cancelled or failed job removes it, so an existing file
// stays untouched and no half-written file is ever left.
//
// Use: Begin, then Context for the first page, NewPage before each further page, and Finish
// or Abort once. The printer's output file name is restored afterwards. UI thread only.

#include <QString>
#include <memory>
#include <string>

namespace kvt {

class TFileReplacement;
class TPrinterDevice;
class TQPainterContext;

class TPrintOutput {
public:
  explicit TPrintOutput(TPrinterDevice& device);
  ~TPrintOutput();
  TPrintOutput(const TPrintOutput&) = delete;
  TPrintOutput& operator=(const TPrintOutput&) = delete;

  // Starts the document named documentName; false when the device or the file cannot start.
  bool Begin(const QString& documentName);
  TQPainterContext& Context() { return *context; }
  bool NewPage();
  // Ends the document; true when it reached the device or the file is in place.
  bool Finish();
  // Drops the document: the spooled job is cancelled, the temporary file removed.
  void Abort();
  // What failed, for the report (UTF-8).
  const std::string& Failure() const { return failure; }

private:
  bool Fail(std::string what);
  bool FileIsComplete() const;

  TPrinterDevice& device;
  QString target;  // the PDF file; empty for a print-system device
  std::unique_ptr<TFileReplacement> file;
  std::unique_ptr<TQPainterContext> context;
  std::string failure;
};

}  // namespace kvt
