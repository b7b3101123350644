#include "tools/shell_utilities.h"

#include "tools/format_message_box.h"
#include "tools/window_placement.h"
#include "utils/path_utils.h"
#include "utils/text_encoding.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include <filesystem>

namespace kvt {

bool ShellOpenUrl(std::string_view pathOrAddress) {
  const QString text =
      QString::fromUtf8(pathOrAddress.data(), static_cast<qsizetype>(pathOrAddress.size()));
  if (QDesktopServices::openUrl(QUrl::fromUserInput(text, QDir::currentPath()))) return true;
  AppInformationBox("%s", kShellOpenRetryText);
  // The opener program, given the text as one argument: no shell reads it.
  return QProcess::startDetached(QStringLiteral("xdg-open"), {text});
}

bool ShellOpenUrlW(std::u16string_view pathOrAddress) {
  return ShellOpenUrl(Utf16ToUtf8(pathOrAddress));
}

bool BrowseForFolder(QWidget* window, std::string& path) {
  NormalizeDirPath(path, false);
  std::error_code ignored;
  const QString start =
      std::filesystem::is_directory(path, ignored) ? QString::fromStdString(path) : QString();
  const QString chosen = QFileDialog::getExistingDirectory(
      window != nullptr ? GetCaptionedAncestor(window) : nullptr, QString(), start);
  if (chosen.isEmpty()) return false;
  path = chosen.toStdString();
  return true;
}

bool GetSpecialFolder(int folderId, std::string& path) {
  QStandardPaths::StandardLocation location;
  switch (folderId) {
    case CSIDL_DESKTOPDIRECTORY: location = QStandardPaths::DesktopLocation; break;
    case CSIDL_PERSONAL: location = QStandardPaths::DocumentsLocation; break;
    case CSIDL_MYMUSIC: location = QStandardPaths::MusicLocation; break;
    case CSIDL_APPDATA: location = QStandardPaths::GenericConfigLocation; break;
    case CSIDL_LOCAL_APPDATA: location = QStandardPaths::GenericDataLocation; break;
    default: return false;
  }
  const QString found = QStandardPaths::writableLocation(location);
  if (found.isEmpty()) return false;
  path = found.toStdString();
  return true;
}

}  // namespace kvt
