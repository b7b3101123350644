#include "print/print_services.h"

#include "tools/message_box_service.h"
#include "utils/alert_log.h"

namespace kvt {

TAlertLog& AlertLogOf(const TPrintServices& services) {
  static TNullAlertLog none;  // stateless
  return services.alerts ? *services.alerts : none;
}

TMessageBoxService& MessageBoxOf(const TPrintServices& services) {
  return services.messages ? *services.messages : MessageBoxServiceOf();
}

TPrintShell& PrintShellOf(const TPrintServices& services) {
  static TNullPrintShell none;  // stateless
  return services.shell ? *services.shell : none;
}

}  // namespace kvt
