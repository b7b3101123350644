#include "midi/import/import_shell.h"

#include <cstdio>

#include "utils/alert_log.h"

namespace kvt {

void TNullMidiImportShell::ShowMessage(const std::string& text) {
  std::fprintf(stderr, "%s\n", text.c_str());
}

TAlertLog& TNullMidiImportShell::Alerts() {
  static TNullAlertLog log;
  return log;
}

TMidiImportShell& ImportShellOr(TMidiImportShell* shell) {
  static TNullMidiImportShell nullShell;
  return shell ? *shell : nullShell;
}

}  // namespace kvt
