#include "print/preview_show.h"

// The audit's headers name a member "slots", which Qt's headers take as a keyword: they
// come first.
#include "notation/audit/staff_audit.h"

#include <QString>

#include "draw/print/print_data.h"
#include "draw/staff_color_handles.h"
#include "print/preview_services.h"
#include "print/preview_window.h"
#include "tools/message_box_service.h"

namespace kvt {

bool ShowPrintPreview(QWidget* mainWindow, TMusicScore& score, const TKVBoolArray& selection,
                      TAlertLog& alerts, const TPreviewServices& services) {
  AuditScore(score, false, services.core);
  std::unique_ptr<TPrintDevice> device = PreviewPrinterOf(services).CreatePrintDC();
  if (!device) {
    MessageBoxServiceOf().Show(mainWindow, MB_OK | MB_ICONINFORMATION,
                               QStringLiteral("Error Detected"),
                               QStringLiteral("There is no default printer.\n\nA printer must be "
                                              "installed before this operation can be "
                                              "performed."));
    return false;
  }
  const TStaffColorHandles defaultColors;
  TKVTNTNPrintData print(device->Context(), device->Paper(), score,
                         services.colors ? *services.colors : defaultColors, selection, alerts,
                         services.core);
  {
    TKVTPrintPreview frame(mainWindow, print, services, CaretTimeOf(services).CaretTime());
    frame.RunModal();
  }
  return true;
}

}  // namespace kvt
