#pragma once
// What printing and the print preview ask of the application, over its own stores: the
// preview's place in the "Placement" settings (the same records as the frame's, through
// window_placement_setting.h), and the shell printing sees (the main frame; the page-picture
// folder remembered for the program's run). UI thread only.

#include <QWidget>
#include <string>

#include "print/preview_services.h"

namespace kvt {

class TSysInfo;

// The preview's placement as a "Placement" record: the normal rectangle, and maximised as
// the show command. A record that does not parse is no placement.
class TSettingsPlacementStore final : public TPlacementStore {
public:
  explicit TSettingsPlacementStore(TSysInfo& settings) : settings(settings) {}
  bool Load(const QString& name, TWindowPlacement& placement) override;
  void Save(const QString& name, const TWindowPlacement& placement) override;

private:
  TSysInfo& settings;
};

// The main window given (it may be null) and the folders of page pictures remembered for the
// program's run.
class TShellPrintShell final : public TPrintShell {
public:
  explicit TShellPrintShell(QWidget* mainWindow) : mainWindow(mainWindow) {}
  QWidget* MainWindow() override { return mainWindow; }
  std::string FileDialogFolder(int kind) override;
  void RememberFileDialogFolder(int kind, const std::string& path) override;

private:
  QWidget* mainWindow;
  std::string pictureFolder;  // kind 0, the only kind printing uses
};

}  // namespace kvt
