#include "app/shell/shell_print_services.h"

#include <optional>

#include "app/shell/window_placement_setting.h"
#include "utils/path_utils.h"
#include "utils/sys_info.h"

namespace kvt {

bool TSettingsPlacementStore::Load(const QString& name, TWindowPlacement& placement) {
  const std::optional<TStoredPlacement> stored = ParseWindowPlacement(
      settings.GetProfileString(kPlacementSection, name.toUtf8().constData(), ""));
  if (!stored) return false;
  placement.normal = stored->normal;
  placement.maximized = stored->showCommand == kShowMaximized;
  return true;
}

void TSettingsPlacementStore::Save(const QString& name, const TWindowPlacement& placement) {
  TStoredPlacement stored;
  stored.showCommand = placement.maximized ? kShowMaximized : kShowNormal;
  stored.normal = placement.normal;
  // A place that cannot be stored is only not remembered.
  settings.WriteProfileString(kPlacementSection, name.toUtf8().constData(),
                              FormatWindowPlacement(stored).c_str());
}

std::string TShellPrintShell::FileDialogFolder(int kind) {
  return kind == 0 ? pictureFolder : std::string();
}

void TShellPrintShell::RememberFileDialogFolder(int kind, const std::string& path) {
  if (kind != 0) return;
  pictureFolder = path;
  NormalizeDirPath(pictureFolder, true);
}

}  // namespace kvt
