#include "print/preview_show.h"

// The audit's headers name a member "slots", which Qt's headers take as a keyword: they
// come first.
#include "notation/audit/staff_audit.h"

#include <QString>

#include "draw/print/print_data.h"
#include "print/kv_printer.h"
#include "print/preview_services.h"
#include "print/preview_window.h"
#include "tools/message_box_service.h"

namespace kvt {

bool ShowPrintPreview(QWidget* mainWindow, TMusicScore& score, const TKVBoolArray& selection,
                      TKVPrinter& printer, const TStaffColorHandles& colors,
                      const TPreviewServices& services) {
  AuditScore(score, false, services.print.core);
  std::unique_ptr<TPrinterDevice> device = printer.CreatePrintDC();
  if (!device) {
    MessageBoxOf(services.print)
        .Show(mainWindow, MB_OK | MB_ICONINFORMATION, QStringLiteral("Error Detected"),
              QStringLiteral("There is no default printer.\n\nA printer must be installed before "
                             "this operation can be performed."));
    return false;
  }
  TKVTNTNPrintData print(device->Measurer(), device->Paper(), score, colors, selection,
                         AlertLogOf(services.print), services.print.core);
  {
    TKVTPrintPreview frame(mainWindow, print, services, CaretTimeOf(services).CaretTime());
    frame.RunModal();
  }
  return true;
}

}  // namespace kvt
