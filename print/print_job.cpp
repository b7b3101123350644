#include "print/print_job.h"

#include <QCoreApplication>
#include <QPointer>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <memory>

#include "draw/print/print_data.h"
#include "platform/qpainter_context.h"
#include "print/print_cancel_dialog.h"
#include "print/print_output.h"
#include "print/printer_device.h"
#include "tools/message_box_service.h"
#include "utils/alert_log.h"
#include "utils/path_utils.h"
#include "utils/sys_status_bar.h"
#include "utils/text_encoding.h"

namespace kvt {
namespace {

constexpr size_t kMaxDocumentNameBytes = 260;

// What a job holds while it runs: the disabled main window and the cancel dialog.
class TJobWindows {
public:
  TJobWindows(QWidget* mainWindow, const QString& documentName) : mainWindow(mainWindow) {
    dialog = new TPrintCancelDialog(mainWindow, documentName);
    dialog->show();
    if (mainWindow) mainWindow->setEnabled(false);
    // The dialog is a child window of the main window, so it stays enabled with it disabled.
    dialog->setEnabled(true);
  }
  ~TJobWindows() {
    if (mainWindow) {
      mainWindow->setEnabled(true);
      mainWindow->activateWindow();
      mainWindow->setFocus();
    }
    delete dialog.data();
  }
  // Handles waiting events (the Cancel button among them), then answers the cancel flag.
  bool Cancelled() {
    QCoreApplication::processEvents();
    return dialog && dialog->IsCancelled();
  }

private:
  QPointer<QWidget> mainWindow;
  QPointer<TPrintCancelDialog> dialog;
};

class TJob {
public:
  TJob(TKVTNTNPrintData& data, TPrinterDevice& device, const TPrintRange& range,
       const std::string& documentName, const TPrintServices& services)
      : data(data),
        device(device),
        range(range),
        name(documentName),
        services(services),
        output(device) {}

  int Run();

private:
  enum class TEnd { kPrinted, kCancelled, kFailed };
  // Renders the pages before the range without output; false when the score ends first.
  bool SkipToFirst(bool& failed);
  // The pages, under the job's windows.
  TEnd PrintRange(int copies);
  TEnd Failed(std::string what);
  void Report() const;

  TKVTNTNPrintData& data;
  TPrinterDevice& device;
  TPrintRange range;
  std::string name;
  const TPrintServices& services;
  TPrintOutput output;
  std::string failure;
};

bool TJob::SkipToFirst(bool& failed) {
  data.ResetPagination();
  for (int n = 1; n < range.first; ++n) {
    const int result = data.RenderPage(nullptr, n, false);
    if (result == kPageFailed) failed = true;
    if (result != kMorePages) return false;
    data.AdvancePage();
  }
  return true;
}

TJob::TEnd TJob::Failed(std::string what) {
  output.Abort();
  failure = std::move(what);
  return TEnd::kFailed;
}

void TJob::Report() const {
  const std::string text = "\"" + name + "\" could not be printed: " + failure + ".";
  AlertLogOf(services).AddLine(text);
  MessageBoxOf(services).Show(PrintShellOf(services).MainWindow(), MB_OK | MB_ICONEXCLAMATION,
                              QStringLiteral("Error Detected"), QString::fromStdString(text));
}

TJob::TEnd TJob::PrintRange(int copies) {
  TJobWindows windows(PrintShellOf(services).MainWindow(), QString::fromStdString(name));
  if (!output.Begin(QString::fromStdString(name))) return Failed(output.Failure());
  TSysStatusBar& status = SysStatusBarOf(services.core);
  bool failed = false;
  bool firstPage = true;
  for (int copy = 0; copy < copies; ++copy) {
    if (copy > 0 && !SkipToFirst(failed)) return Failed("a page could not be laid out");
    for (int64_t n = range.first; n <= range.last; ++n) {
      const int page = static_cast<int>(n);
      char text[48];
      std::snprintf(text, sizeof text, "Printing Page %d", page);
      status.ShowStatusText(text, true);
      if (!firstPage && !output.NewPage()) return Failed(output.Failure());
      firstPage = false;
      const int result = data.RenderPage(&output.Context(), page, true);
      if (result == kPageFailed) return Failed("a page could not be drawn");
      data.AdvancePage();
      // Where the spooler's abort procedure let the cancel button work: between pages.
      if (windows.Cancelled()) {
        output.Abort();
        return TEnd::kCancelled;
      }
      if (result != kMorePages) break;
    }
  }
  if (!output.Finish()) return Failed(output.Failure());
  return TEnd::kPrinted;
}

int TJob::Run() {
  data.SetPageRange(range.first, range.last);
  bool failed = false;
  // Pages before the range are laid out before the document starts: a range beyond the
  // score's end then starts no document at all.
  if (!SkipToFirst(failed)) {
    if (failed) {
      failure = "a page could not be laid out";
      Report();
    } else {
      AlertLogOf(services).AddLine("\"" + name +
                                   "\": no page of the score lies in the chosen range");
    }
    return 0;
  }
  QPrinter& printer = device.Printer();
  int copies = std::clamp(printer.copyCount(), 1, kMaxPrintCopies);
  if (!device.IsPdf() && printer.supportsMultipleCopies()) {
    copies = 1;  // the device makes them
  } else {
    printer.setCopyCount(1);
  }
  const TEnd end = PrintRange(copies);
  // Reported once the job's windows are gone and the main window is enabled again.
  if (end == TEnd::kFailed) Report();
  return end == TEnd::kPrinted ? 1 : 0;
}

}  // namespace

std::string PrintDocumentName(const std::string& documentPath) {
  const std::string_view file = GetFileNamePart(documentPath);
  if (file.empty()) return "Untitled";
  return std::string(file.substr(0, Utf8PrefixLength(file, kMaxDocumentNameBytes)));
}

int PrintPages(TKVTNTNPrintData& data, TPrinterDevice& device, const TPrintRange& range,
               const std::string& documentPath, const TPrintServices& services) {
  TPrintRange bounded = range;
  bounded.first = std::max(range.first, 1);
  bounded.last = std::max(range.last, bounded.first);
  TJob job(data, device, bounded, PrintDocumentName(documentPath), services);
  return job.Run();
}

}  // namespace kvt
