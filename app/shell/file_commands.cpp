#include "app/shell/file_commands.h"

#include <QFileDialog>
#include <QStringList>
#include <filesystem>

#include "app/shell/app_folders.h"
#include "app/shell/main_frame.h"
#include "app/shell/open_file.h"
#include "app/shell/tarlowmede_app.h"
#include "utils/path_utils.h"

namespace kvt {

namespace {

struct TDialogRequest {
  QString folder;
  QStringList filters;
  int filterIndex = 0;  // 0-based
  QString defaultSuffix;
};

// The chosen file and the filter it was chosen with; an empty path when cancelled.
struct TDialogChoice {
  std::string path;
  int filterIndex = 0;
};

TDialogChoice AskForFile(TTarlowmedeFrame& frame, const TDialogRequest& request) {
  QFileDialog dialog(&frame, QString(), request.folder);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilters(request.filters);
  if (request.filterIndex >= 0 && request.filterIndex < request.filters.size())
    dialog.selectNameFilter(request.filters[request.filterIndex]);
  dialog.setDefaultSuffix(request.defaultSuffix);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return {GetTrueFileName(dialog.selectedFiles().front().toStdString()),
          static_cast<int>(request.filters.indexOf(dialog.selectedNameFilter()))};
}

std::string FolderOf(const std::string& path) {
  std::string folder = path;
  NormalizeDirPath(folder, true);
  return folder;
}

bool IsFolder(const std::string& path) {
  std::error_code error;
  return !path.empty() && std::filesystem::is_directory(path, error);
}

}  // namespace

void CmFileOpen(TTarlowmedeFrame& frame) {
  TTarlowmedeApp& app = frame.App();
  TDialogRequest request;
  request.folder = QString::fromStdString(app.RememberedFolder(0));
  request.filters = {QStringLiteral("KVT Files (*.kvt *.kvttxt)"),
                     QStringLiteral("Midi Files (*.mid *.rmi *.kar)"),
                     QStringLiteral("Song Files (*.kvt *.krv *.kvttxt *.mid *.rmi *.kar)")};
  request.filterIndex = app.Options().Get(kOptOpenFilterIndex) - 1;
  request.defaultSuffix = QStringLiteral("kvt");
  const TDialogChoice choice = AskForFile(frame, request);
  if (choice.path.empty()) return;
  app.RememberedFolder(0) = FolderOf(choice.path);
  if (choice.filterIndex >= 0) app.Options().Set(kOptOpenFilterIndex, choice.filterIndex + 1);
  OpenFileByPath(frame, choice.path, kOpenDialog);
}

void CmFileOpenBackup(TTarlowmedeFrame& frame) {
  TTarlowmedeApp& app = frame.App();
  const std::string backups = app.GetFolder(kFolderBackups, true);
  TDialogRequest request;
  request.folder = QString::fromStdString(IsFolder(backups) ? backups : app.RememberedFolder(0));
  request.filters = {QStringLiteral("KVT Backup Files (*.kvt.bak *.kvttxt.bak)")};
  request.defaultSuffix = QStringLiteral("kvt.bak");
  const TDialogChoice choice = AskForFile(frame, request);
  if (!choice.path.empty()) OpenFileByPath(frame, choice.path, kOpenBackup);
}

void CmFileOpenSample(TTarlowmedeFrame& frame) {
  TDialogRequest request;
  request.folder = QString::fromStdString(GetSamplesFolder());
  request.filters = {QStringLiteral("KVT Files (*.kvt)")};
  request.defaultSuffix = QStringLiteral("kvt");
  const TDialogChoice choice = AskForFile(frame, request);
  if (!choice.path.empty()) OpenFileByPath(frame, choice.path, kOpenReadOnly);
}

void CmFileImport(TTarlowmedeFrame& frame) {
  TTarlowmedeApp& app = frame.App();
  TDialogRequest request;
  request.folder = QString::fromStdString(app.RememberedFolder(1));
  request.filters = {QStringLiteral("Midi Files (*.mid *.midi *.smf *.rmi *.kar)"),
                     QStringLiteral("KVT Text Files (*.kvttxt)"),
                     QStringLiteral("All Import Types (*.mid *.midi *.smf *.rmi *.kar *.kvttxt)")};
  request.defaultSuffix = QStringLiteral("mid");
  const TDialogChoice choice = AskForFile(frame, request);
  if (choice.path.empty()) return;
  app.RememberedFolder(1) = FolderOf(choice.path);
  OpenFileByPath(frame, choice.path, kOpenImport);
}

}  // namespace kvt
