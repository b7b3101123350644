#include "app/shell/admin_confirm.h"

#include <unistd.h>

#include "tools/format_message_box.h"
#include "tools/message_box_service.h"

namespace kvt {

bool TAdminConfirm::Confirm(QWidget* owner, const std::string& action, bool isAdministrator) {
  if (isAdministrator) return true;
  const std::string text = action.empty() ? std::string(kDefaultAdminAction) : action;
  if (asked && text == lastAction) return lastAnswer;
  const int answer = FormatMessageBox(
      owner, MB_YESNO | MB_ICONQUESTION, "Admin Required",
      "Action: %s\nThis might require Administrator access in order to be successful. You are "
      "not currently running as an Admin.\n\nDo you want to continue anyway?",
      text.c_str());
  asked = true;
  lastAction = text;
  lastAnswer = answer == IDYES;
  return lastAnswer;
}

bool IsRunningAsAdministrator() { return ::geteuid() == 0; }

}  // namespace kvt
