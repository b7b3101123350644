// Save and Save As of a score window.

#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "app/editor/score_document.h"
#include "app/editor/score_window_host.h"
#include "app/editor/score_window_names.h"
#include "notation/audit/staff_audit.h"
#include "notation/files/binary/binary_score_file.h"
#include "notation/files/text/score_text_file.h"
#include "notation/services/services.h"
#include "notation/staff/music_score.h"
#include "tools/message_box_service.h"
#include "utils/busy_cursor.h"
#include "utils/path_utils.h"

namespace kvt {
namespace {

constexpr char kSaveAsFilter[] =
    "Standard KVT File|*.kvt|Uncompressed KVT File|*.kvt|KVT Text File|*.kvttxt|";
constexpr int kTypeCompressed = 1;
constexpr int kTypeText = 3;

// A file the user may not write: no write permission for us, or none at all (which the owner
// of everything, root, would otherwise never see).
bool IsReadOnlyFile(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  return ::access(path.c_str(), W_OK) != 0 || (st.st_mode & 0222) == 0;
}

// A backup needs a folder to go to: the backup folder when one is set, else the file's own.
bool CanMakeBackup(const std::string& path, const std::string& backupFolder) {
  if (::access(path.c_str(), F_OK) != 0) return true;  // nothing to back up
  std::string folder = backupFolder;
  if (folder.empty()) {
    folder = path;
    NormalizeDirPath(folder, true);
    if (folder == path) folder = ".";
  }
  struct stat st {};
  return ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) &&
         ::access(folder.c_str(), W_OK | X_OK) == 0;
}

TSaveResult FromAnswer(int answer) {
  return answer == IDYES ? TSaveResult::kSaved : TSaveResult::kDeclined;
}

}  // namespace

TSaveResult TScoreDocument::AskBeforeSave(bool formatQuestions) {
  const std::string name = ShortName();
  if (IsReadOnlyFile(fileName)) {
    const TSaveResult r = FromAnswer(
        host.MessageBox(MB_YESNOCANCEL | MB_ICONQUESTION, "File Save",
                        "File: " + name + "\n\nThis is a read-only file.\n\nTry anyway?"));
    if (r != TSaveResult::kSaved) return r;
  }
  // Save As writes a new file: the old file's version and experimental state do not matter.
  if (!formatQuestions) return TSaveResult::kSaved;
  if (score->IsOldFormatVersion()) {
    const TSaveResult r = FromAnswer(host.MessageBox(
        MB_YESNOCANCEL | MB_ICONQUESTION, "File Save",
        "Warning for File: " + name +
            "\n\nThis song was last saved using an older KVT file format. If you save this file "
            "now, the original version will no longer be able to open it.\n\nProceed?"));
    if (r != TSaveResult::kSaved) return r;
  }
  if (score->IsExperimental() && !score->UsesExperimentalFeatures()) {
    const TSaveResult r = FromAnswer(host.MessageBox(
        MB_YESNOCANCEL | MB_ICONQUESTION, "Experimental File",
        "File: " + name +
            "\n\nThis file originally used experimental program features, but your changes have "
            "removed the need for these features. If you save now, this file will no longer be "
            "considered experimental.\n\nProceed?"));
    if (r != TSaveResult::kSaved) return r;
  }
  return TSaveResult::kSaved;
}

TSaveResult TScoreDocument::Save() {
  if (IsSelector()) return SaveSelector();
  if (untitled) return SaveAs();
  const TSaveResult asked = AskBeforeSave(true);
  if (asked != TSaveResult::kSaved) return asked;
  return WriteFile();
}

TSaveResult TScoreDocument::WriteFile() {
  const std::string name = ShortName();
  const bool text = HasExtension(fileName, ".kvttxt");
  if (client != nullptr) client->CommitPendingEdit();

  {
    TKVBusyCursor busy(CursorServiceOf(host.Services()));
    ShowStatus("Auditing changes in " + name + "...");
    AuditScore(*score, false, host.Services());
  }

  const TScoreWindowOptions options = host.Options();
  TSaveBackups backups;
  if (options.saveBackups > 0) {
    ShowStatus("Creating backup for " + name + "...");
    backups.enabled = true;
    backups.folder = options.backupFolder;
    backups.extension = ".bak";
    backups.keep = options.saveBackups;
    if (!CanMakeBackup(fileName, options.backupFolder)) {
      const int answer = host.MessageBox(
          MB_YESNO | MB_ICONQUESTION, "Backup Failed",
          "File: " + name + "\n\nUnable to create a backup for this file.\n\nSave anyway?");
      if (answer != IDYES) {
        ShowStatus("");
        return TSaveResult::kDeclined;
      }
      backups.enabled = false;
    }
  }

  TKVBusyCursor busy(CursorServiceOf(host.Services()));
  ShowStatus("Saving " + name + "...");
  // The safe save writes a temporary file, rotates the backups and renames it over the old
  // file only when every layer succeeded, so a failure here leaves the old file as it was.
  const bool written = text ? SaveTextScoreFile(fileName, *score, backups)
                            : WriteScoreToFile(fileName.c_str(), score->GetCompressed(), *score,
                                               backups, host.Services());
  ShowStatus("");
  busy.Show(false);
  if (!written) {
    host.MessageBox(MB_OK | MB_ICONEXCLAMATION, "File Save",
                    "File: " + name + "\n\nThis file failed to be properly saved.");
    return TSaveResult::kFailed;
  }
  score->SetOldFormatVersion(false);
  score->SetExperimental(false);
  textFormat = text;
  MarkSaved();
  return TSaveResult::kSaved;
}

TSaveResult TScoreDocument::SaveSelector() {
  const int number = SelectorNumberOf(fileName);
  if (client != nullptr) client->CommitPendingEdit();
  TKVBusyCursor busy(CursorServiceOf(host.Services()));
  const bool written = number >= 0 && WriteScoreToFile(host.SelectorFilePath(number).c_str(), true,
                                                       *score, {}, host.Services());
  busy.Show(false);
  if (!written) {
    host.MessageBox(
        MB_OK | MB_ICONEXCLAMATION, "File Save",
        "File: " + DisplayNameOf(fileName) + "\n\nThis file failed to be properly saved.");
    return TSaveResult::kFailed;
  }
  MarkSaved();
  host.SelectorsChanged();
  return TSaveResult::kSaved;
}

TSaveResult TScoreDocument::SaveAs() {
  TFileSaveRequest request;
  request.filter = kSaveAsFilter;
  if (!IsSelector()) request.initialName = ExtractPathParts(fileName, kPathPartName);
  if (GetFileNameOffset(fileName) == 0) {
    request.initialFolder = host.GetFolder(TRememberedFolder::kSongs);
  } else {
    request.initialFolder = fileName;
    NormalizeDirPath(request.initialFolder, true);
  }
  request.filterIndex = textFormat ? kTypeText : score->GetCompressed() ? kTypeCompressed : 2;
  request.defaultExtension = textFormat ? "kvttxt" : "kvt";

  std::string path;
  for (;;) {
    if (!host.RunFileSaveDialog(request)) return TSaveResult::kDeclined;
    path = request.path;
    ReplaceExtension(path, request.filterIndex == kTypeText ? "kvttxt" : "kvt");
    if (!host.IsOpenInOtherWindow(path, this)) break;
    host.MessageBox(MB_OK | MB_ICONSTOP, "File Save",
                    "This file is currently open in another edit window.\n\nPlease close the "
                    "other edit window, or use a different file name.");
    request.initialName = std::string(GetFileNamePart(path));
  }
  std::string folder = path;
  NormalizeDirPath(folder, true);
  host.SetFolder(TRememberedFolder::kSongs, folder);

  // The window takes the new name for the write; a failed write gives the old one back, so a
  // failed save changes neither the name nor the stored options.
  std::string oldName = std::exchange(fileName, path);
  const bool oldUntitled = std::exchange(untitled, false);
  const bool oldCompressed = score->GetCompressed();
  score->SetCompressed(request.filterIndex == kTypeCompressed);
  if (client != nullptr) client->TitleChanged();

  TSaveResult result = AskBeforeSave(false);
  if (result == TSaveResult::kSaved) result = WriteFile();
  if (result == TSaveResult::kSaved) {
    host.AddRecentFile(path);
    return result;
  }
  fileName = std::move(oldName);
  untitled = oldUntitled;
  score->SetCompressed(oldCompressed);
  if (client != nullptr) client->TitleChanged();
  return result;
}

}  // namespace kvt
