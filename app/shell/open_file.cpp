#include "app/shell/open_file.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <string_view>

#include "app/dialogs/midi_import/qt_midi_import_shell.h"
#include "app/editor/score_window.h"
#include "app/open_file_kind.h"
#include "app/shell/main_frame.h"
#include "app/shell/mbl_message.h"
#include "app/shell/score_window_factory.h"
#include "app/shell/tarlowmede_app.h"
#include "app/string_table.h"
#include "midi/import/import_midi_file.h"
#include "notation/files/binary/binary_score_file.h"
#include "notation/files/binary/score_file_header.h"
#include "notation/files/text/score_text_file.h"
#include "notation/staff/music_score.h"
#include "platform/qt_cursor_service.h"
#include "tools/format_message_box.h"
#include "tools/message_box_service.h"
#include "utils/path_utils.h"
#include "utils/text_encoding.h"

namespace kvt {

namespace {

constexpr char kFileOpenCaption[] = "File Open";

// The text score reader with the shell's messages: nothing opened gives the open failure, a
// score cut short its load error; the part that was read still opens.
std::unique_ptr<TMusicScore> LoadTextScore(QWidget* owner, const std::string& path) {
  TScoreLoadResult result = LoadTextScoreFile(path, TServices());
  if (!result.fileOpened) {
    FormatMessageBox(owner, MB_OK | MB_ICONEXCLAMATION, kFileOpenCaption,
                     "File: %s\nThis file failed to open. It either does not exist, is in use by "
                     "another program, or is protected by the operating system.",
                     path.c_str());
    return nullptr;
  }
  if (result.score == nullptr) {
    MBLMessage(owner, MB_OK | MB_ICONEXCLAMATION, kStrFileOpen, kStrFileFailedToOpen, path.c_str());
    return nullptr;
  }
  if (result.status == TLoadStatus::kCorrupt)
    MBLMessage(owner, MB_OK | MB_ICONEXCLAMATION, kStrFileOpen, kStrFileLoadError, path.c_str());
  return std::move(result.score);
}

// Backups open silently: a backup that does not load is no news worth a box.
std::unique_ptr<TMusicScore> LoadBackup(const std::string& path, TOpenFileKind kind) {
  if (kind == TOpenFileKind::kBinaryBackup) {
    TScoreFileHeader header;
    TScoreLoadResult result = ReadScoreFromFile(path.c_str(), header, TServices());
    if (static_cast<int>(result.status) > static_cast<int>(TLoadStatus::kOlder)) return nullptr;
    return std::move(result.score);
  }
  TScoreLoadResult result = LoadTextScoreFile(path, TServices());
  return std::move(result.score);
}

std::unique_ptr<TMusicScore> ImportMidi(TTarlowmedeFrame& frame, const std::string& path,
                                        int mode) {
  TQtCursorService cursor;
  TQtMidiImportShell shell(&frame, cursor);
  shell.SetFilePath(path);
  shell.SetUseImportWizard(frame.App().Options().Get(kOptUseImportWizOnOpen) != 0);
  shell.SetAlertLog(&frame.App().ErrorLog());
  std::unique_ptr<TMusicScore> score = ImportMidiFile(&shell, path, mode, &frame.App().Settings());
  shell.EndProgress();
  if (score != nullptr) {
    const std::string name = ExtractPathParts(path, kPathPartName);
    // The title field holds 64 units; Set cuts on a character boundary.
    score->SetSongInfoText(kSongTitle, Utf8ToUtf16(name));
  }
  return score;
}

}  // namespace

std::unique_ptr<TMusicScore> LoadNativeScoreFile(QWidget* owner, const std::string& path, int mode,
                                                 TScoreFileHeader& header) {
  if (mode == kOpenImport) return nullptr;
  if (!IsBinaryScoreFile(path.c_str())) return LoadTextScore(owner, path);

  TScoreLoadResult result = ReadScoreFromFile(path.c_str(), header, TServices());
  if (IsTextModeCopyDamage(path.c_str(), result.status)) {
    const int answer = FormatMessageBox(
        owner, MB_YESNO | MB_ICONQUESTION, "Improper File Translation",
        "File: %s\n\nThis binary file appears to have been improperly treated as an ASCII file. "
        "Would you like this program to attempt an automatic recovery of this file?",
        path.c_str());
    // The repair works on a copy in memory: the file itself is never touched. A repair that
    // gives no score leaves the first load (and its header) as they were, so a score that
    // loaded in part still opens after its message.
    if (answer == IDYES) {
      TScoreFileHeader repairedHeader;
      TScoreLoadResult repaired = ReadRepairedScoreFile(path.c_str(), repairedHeader, TServices());
      if (repaired.score != nullptr) {
        result = std::move(repaired);
        header = repairedHeader;
      }
    }
  }
  switch (result.status) {
    case TLoadStatus::kNew:
    case TLoadStatus::kLoaded:
    case TLoadStatus::kOlder:
      if (result.score != nullptr) return std::move(result.score);
      break;
    case TLoadStatus::kTooNew:
      MBLMessage(owner, MB_OK | MB_ICONEXCLAMATION, kStrFileOpen, kStrFileVersionTooNew,
                 path.c_str(), header.GetWriterVersionText().c_str());
      return nullptr;
    case TLoadStatus::kNewerApp:
      MBLMessage(owner, MB_OK | MB_ICONEXCLAMATION, kStrFileOpen, kStrFileFromNewerApp,
                 path.c_str());
      return nullptr;
    case TLoadStatus::kRefused:
      MBLMessage(owner, MB_OK | MB_ICONEXCLAMATION, kStrFileOpen, kStrFileNotLoadable,
                 path.c_str());
      return nullptr;
    case TLoadStatus::kCorrupt:
      MBLMessage(owner, MB_OK | MB_ICONEXCLAMATION, kStrFileOpen, kStrFileLoadError, path.c_str());
      return std::move(result.score);
    default: break;
  }
  MBLMessage(owner, MB_OK | MB_ICONEXCLAMATION, kStrFileOpen, kStrFileFailedToOpen, path.c_str());
  return nullptr;
}

TLoadedScore LoadScoreByKind(TTarlowmedeFrame& frame, const std::string& path, int mode) {
  const TOpenFileKind kind = GetOpenFileKind(path);
  TLoadedScore loaded;
  switch (kind) {
    case TOpenFileKind::kScript:
      // Scripts are not installed by this program yet: the question is asked, nothing added.
      MBLMessage(&frame, MB_YESNOCANCEL | MB_ICONQUESTION, kStrPleaseConfirm, kStrAddScript,
                 path.c_str());
      break;
    case TOpenFileKind::kBinaryBackup:
    case TOpenFileKind::kTextBackup: loaded.score = LoadBackup(path, kind); break;
    case TOpenFileKind::kTextScore:
      loaded.score = LoadTextScore(&frame, path);
      loaded.bound = true;
      break;
    case TOpenFileKind::kMidi: loaded.score = ImportMidi(frame, path, mode); break;
    case TOpenFileKind::kBinaryScore: {
      TScoreFileHeader header;
      loaded.score = LoadNativeScoreFile(&frame, path, mode, header);
      loaded.bound = mode != kOpenReadOnly;
      break;
    }
    case TOpenFileKind::kUnknown: {
      std::string_view extension = GetExtensionPart(path);
      if (!extension.empty()) extension.remove_prefix(1);
      MBLMessage(&frame, MB_OK | MB_ICONEXCLAMATION, kStrFileOpen, kStrUnknownFileType,
                 path.c_str(), std::string(extension).c_str());
      break;
    }
  }
  return loaded;
}

void OpenFileByPath(TTarlowmedeFrame& frame, const std::string& path, int mode) {
  if (TScoreWindow* open = frame.FindScoreWindow(path)) {
    if (frame.Client().activeSubWindow() != open) frame.Client().setActiveSubWindow(open);
    open->Document().Revert();
    return;
  }
  TLoadedScore loaded = LoadScoreByKind(frame, path, mode);
  if (loaded.score == nullptr) return;
  CreateScoreWindow(frame, std::move(loaded.score), {path, mode, loaded.bound});
}

}  // namespace kvt
