#include "print/print_command.h"

// The audit's headers come before any Qt header: Qt's keyword macros (slots) would change them.
#include "notation/audit/staff_audit.h"

#include <QDir>
#include <climits>

#include "draw/print/print_data.h"
#include "notation/staff/music_score.h"
#include "print/kv_printer.h"
#include "print/print_job.h"
#include "utils/path_utils.h"

namespace kvt {

std::string DefaultPdfPath(const std::string& documentPath) {
  std::string path = documentPath;
  if (GetFileNamePart(path).empty()) {
    path = QDir::homePath().toStdString();
    AppendPathComponent(path, "Untitled");
  }
  ReplaceExtension(path, "pdf");
  return path;
}

int PrintScore(QWidget* owner, TMusicScore& score, const TKVBoolArray& selection,
               const std::string& documentPath, TKVPrinter& printer,
               const TStaffColorHandles& colors, const TPrintServices& services) {
  AuditScore(score, false, services.core);
  const int first = score.GetPageNumbers() > 0 ? score.GetPageNumbers() : 1;
  TPrintChoice choice = printer.RunPrintDialog(
      owner, first, INT_MAX, QString::fromStdString(DefaultPdfPath(documentPath)));
  if (!choice.device) return 0;
  TPrinterDevice& device = *choice.device;
  TKVTNTNPrintData data(device.Measurer(), device.Paper(), score, colors, selection,
                        AlertLogOf(services), services.core);
  TPrintRange range;
  if (choice.pageRange) {
    // Printed numbers start at `first`; page indexes at 1.
    range.first = choice.fromPage - first + 1;
    range.last = choice.toPage - first + 1;
  }
  return PrintPages(data, device, range, documentPath, services);
}

}  // namespace kvt
