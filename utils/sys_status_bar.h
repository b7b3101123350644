#pragma once
// TSysStatusBar: where the settings store's status stack shows its top text. The application
// makes one that writes the main window's status bar and hands it to the store (and to the
// core's services object); the null one shows nothing, for the converter, tests and any run
// without windows.

#include <string>

namespace kvt {

class TSysStatusBar {
public:
  virtual ~TSysStatusBar() = default;
  // Shows text; with repaint set the bar is drawn at once rather than at the next paint.
  virtual void ShowStatusText(const std::string& text, bool repaint) = 0;
};

class TNullSysStatusBar final : public TSysStatusBar {
public:
  void ShowStatusText(const std::string&, bool) override {}
};

// The process's null status bar (stateless).
TSysStatusBar& NullSysStatusBar();

}  // namespace kvt
