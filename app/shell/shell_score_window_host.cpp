#include "app/shell/shell_score_window_host.h"

#include <QFileDialog>
#include <QMdiSubWindow>
#include <cstdio>

#include "app/editor/score_window.h"
#include "app/shell/app_folders.h"
#include "app/shell/main_frame.h"
#include "app/shell/open_file.h"
#include "app/shell/tarlowmede_app.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "tools/message_box_service.h"
#include "tools/window_placement.h"
#include "utils/path_utils.h"
#include "utils/registry_key.h"
#include "utils/sys_info.h"

namespace kvt {

QStringList NameFiltersFromFilter(const std::string& filter) {
  QStringList filters;
  const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1];
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    filters << parts[i] + QStringLiteral(" (") + patterns + QStringLiteral(")");
  }
  return filters;
}

TShellScoreWindowHost::TShellScoreWindowHost(TTarlowmedeFrame& frame)
    : frame(frame),
      editHost(&frame, frame.App().Commands(), services),
      store(frame.App().GetFolder(kFolderAutoSave)),
      placements(frame.App().Settings()),
      printShell(&frame) {
  services.cursor = &cursor;
  services.fontCatalog = &fonts;
  exportShell = std::make_unique<TShellMidiExportShell>(frame.App().Options(), &frame, services);
  services.exportShell = exportShell.get();
  // Without a settings key the printer only forgets the chosen device between runs.
  const std::unique_ptr<TKey> key = frame.App().Settings().OpenProductKey();
  printer = std::make_unique<TKVPrinter>(key ? *key : TKey());
  printer->RestorePrinterDevice();
  if (HasAlsaSequencer()) {
    midiInput = std::make_unique<TShellMidiInputDevice>(frame.App().Settings(), AlertLog(),
                                                        frame.App().Options());
    editHost.midiKeyboard.SetDevice(*midiInput);
  }
  RefreshEditOptions();
}

void TShellScoreWindowHost::RefreshEditOptions() {
  const TAppOptions& options = frame.App().Options();
  editHost.options.showCrosshair = options.Get(kOptShowCrossHair) != 0;
  editHost.options.showActiveStaffEdges = options.Get(kOptEnableActiveStaffFrame) != 0;
  editHost.options.layeringInEditMode = options.Get(kOptAllowLayering) != 0;
  editHost.options.persistentNoteTools = options.Get(kOptPersistentNoteTools);
  editHost.options.smartInsertionPoint = options.Get(kOptSmartInsertionPt) != 0;
  editHost.options.smartPropertiesInsert = options.Get(kOptSmartPropertiesInsert) != 0;
  editHost.options.rightMouseSetsCaret = options.Get(kOptRtMouseSetsInsPt) != 0;
  editHost.options.playAddedNotes = options.Get(kOptPlayAddedNotes) != 0;
  editHost.options.midiInIgnoreTransposition = options.Get(kOptMidiInIgnoreTrans) != 0;
}

TPreviewServices TShellScoreWindowHost::PrintServices() {
  TPreviewServices result;
  result.print.core = services;
  result.print.alerts = &AlertLog();
  result.print.shell = &printShell;
  result.placement = &placements;
  result.options = &previewOptions;
  return result;
}

int TShellScoreWindowHost::MessageBox(uint32_t type, const std::string& caption,
                                      const std::string& text) {
  return MessageBoxServiceOf().Show(&frame, type, QString::fromStdString(caption),
                                    QString::fromStdString(text));
}

bool TShellScoreWindowHost::RunFileSaveDialog(TFileSaveRequest& request) {
  std::string start = request.initialFolder;
  AppendPathComponent(start, request.initialName);
  QFileDialog dialog(&frame, QString(), QString::fromStdString(start));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
  const QStringList filters = NameFiltersFromFilter(request.filter);
  dialog.setNameFilters(filters);
  if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
    dialog.selectNameFilter(filters[request.filterIndex - 1]);
  dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  request.path = dialog.selectedFiles().front().toStdString();
  request.filterIndex = static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1;
  return true;
}

TScoreWindowOptions TShellScoreWindowHost::Options() {
  TTarlowmedeApp& app = frame.App();
  const TAppOptions& options = app.Options();
  TScoreWindowOptions result;
  result.saveBackups = options.Get(kOptSaveBackups);
  result.backupFolder = app.GetFolder(kFolderBackups);
  result.undoLevels = options.Get(kOptUndoLevels);
  result.playFromCaret = options.Get(kOptPlayFromCaret) != 0;
  result.playStart = options.Get(kOptPlayLeadInMeasures);
  result.chasePlayingNotes = options.Get(kOptChasePlayingNotes) != 0;
  result.showLabels = options.Get(kOptEditorShowStaffNames) != 0;
  result.showLabelPanel = options.Get(kOptShowLabelPanel) != 0;
  result.showBarNumberPanel = options.Get(kOptShowBarNumPanel) != 0;
  result.exportToMidiFolder = options.Get(kOptExportToMidiFolder) != 0;
  return result;
}

std::string TShellScoreWindowHost::GetFolder(TRememberedFolder kind) {
  return frame.App().RememberedFolder(kind == TRememberedFolder::kSongs ? 0 : 1);
}

void TShellScoreWindowHost::SetFolder(TRememberedFolder kind, const std::string& folder) {
  frame.App().RememberedFolder(kind == TRememberedFolder::kSongs ? 0 : 1) = folder;
}

std::string TShellScoreWindowHost::SelectorFilePath(int number) {
  // The selectors live with the settings.
  std::string path = frame.App().GetFolder(kFolderConfig);
  char name[16];
  std::snprintf(name, sizeof name, "%03x.kvt", number);
  AppendPathComponent(path, name);
  return path;
}

std::unique_ptr<TMusicStaff> TShellScoreWindowHost::ConvertRecordedTake() { return nullptr; }

TAlertLog& TShellScoreWindowHost::AlertLog() { return frame.App().ErrorLog(); }

bool TShellScoreWindowHost::IsOpenInOtherWindow(const std::string& path,
                                                const TScoreDocument* except) {
  for (QMdiSubWindow* child : frame.ScoreWindows()) {
    auto* window = dynamic_cast<TScoreWindow*>(child);
    if (window != nullptr && &window->Document() != except && window->Document().IsFile(path))
      return true;
  }
  return false;
}

std::unique_ptr<TMusicScore> TShellScoreWindowHost::LoadScoreFile(const std::string& path,
                                                                  int mode) {
  return LoadScoreByKind(frame, path, mode).score;
}

}  // namespace kvt
