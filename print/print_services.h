#pragma once
// The upward services that printing and the page pictures call: the core's
// services (status bar, long-task cancel, cursor, fonts, page-setup defaults), the alert log,
// the message boxes and the application shell. As with TServices, every member left null
// stands for that service's null version, so a default-constructed TPrintServices is the
// headless set the tests use.
//
// Nothing is owned: each pointer is the caller's, kept alive while any call given this object
// runs.

#include <string>

#include "notation/services/services.h"

class QWidget;

namespace kvt {

class TAlertLog;
class TMessageBoxService;

// The application shell as printing sees it. UI thread only.
class TPrintShell {
public:
  virtual ~TPrintShell() = default;
  // The application's main window, disabled while a job runs; null when there is none.
  virtual QWidget* MainWindow() = 0;
  // The remembered folder of a file-dialog kind (0: page pictures); empty when none.
  virtual std::string FileDialogFolder(int kind) = 0;
  // Remembers the folder of path (a file chosen in a dialog of that kind).
  virtual void RememberFileDialogFolder(int kind, const std::string& path) = 0;
};

// No main window, no remembered folders.
class TNullPrintShell final : public TPrintShell {
public:
  QWidget* MainWindow() override { return nullptr; }
  std::string FileDialogFolder(int) override { return {}; }
  void RememberFileDialogFolder(int, const std::string&) override {}
};

struct TPrintServices {
  TServices core;
  TAlertLog* alerts = nullptr;
  TMessageBoxService* messages = nullptr;  // null: the running application's service
  TPrintShell* shell = nullptr;
};

TAlertLog& AlertLogOf(const TPrintServices& services);
TMessageBoxService& MessageBoxOf(const TPrintServices& services);
TPrintShell& PrintShellOf(const TPrintServices& services);

}  // namespace kvt
