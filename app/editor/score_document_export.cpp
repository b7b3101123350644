// The Export command of a score window: Standard MIDI Files of type 1 and 0, and the older
// 1.75 binary score file.

#include <string>

#include "app/editor/score_document.h"
#include "app/editor/score_window_host.h"
#include "midi/smf/midi_export.h"
#include "notation/audit/staff_audit.h"
#include "notation/files/older/older_score_export.h"
#include "notation/services/services.h"
#include "notation/staff/music_score.h"
#include "tools/message_box_service.h"
#include "utils/busy_cursor.h"
#include "utils/path_utils.h"

namespace kvt {
namespace {

constexpr char kExportFilter[] =
    "Type 1 Midi File|*.mid|Type 0 Midi File|*.mid|Tarlowmede Razadove 1.75 File|*.kvt|";
constexpr int kExportType1 = 1;
constexpr int kExportOlderScore = 3;

}  // namespace

bool TScoreDocument::Export() {
  if (client != nullptr) client->CommitPendingEdit();
  int type = host.LastExportType();
  if (type < kExportType1 || type > kExportOlderScore) type = kExportType1;

  TFileSaveRequest request;
  request.filter = kExportFilter;
  request.filterIndex = type;
  request.defaultExtension = "mid";
  if (!IsSelector()) request.initialName = ExtractPathParts(fileName, kPathPartName);
  request.initialName += type == kExportOlderScore ? ".kvt" : ".mid";
  if (GetFileNameOffset(fileName) == 0 || host.Options().exportToMidiFolder) {
    request.initialFolder = host.GetFolder(TRememberedFolder::kMidiFiles);
  } else {
    request.initialFolder = fileName;
    NormalizeDirPath(request.initialFolder, true);
  }
  if (!host.RunFileSaveDialog(request)) return false;
  // A type the dialog does not list is the first one.
  type = request.filterIndex >= kExportType1 && request.filterIndex <= kExportOlderScore
             ? request.filterIndex
             : kExportType1;
  host.SetLastExportType(type);
  std::string path = request.path;
  ReplaceExtension(path, type == kExportOlderScore ? "kvt" : "mid");
  std::string folder = path;
  NormalizeDirPath(folder, true);
  host.SetFolder(TRememberedFolder::kMidiFiles, folder);

  const std::string name(GetFileNamePart(path));
  TKVBusyCursor busy(CursorServiceOf(host.Services()));
  ShowStatus("Auditing changes in " + name + "...");
  AuditScore(*score, false, host.Services());
  ShowStatus("Exporting " + name + "...");
  const bool written =
      type == kExportOlderScore
          ? ExportScoreFile175(path, *score)
          : ExportMidiFile(*score, path, type == kExportType1 ? 1 : 0, host.Services());
  ShowStatus("");
  busy.Show(false);
  if (!written) host.MessageBox(MB_OK | MB_ICONEXCLAMATION, path, kMidiSaveProblemText);
  return written;
}

}  // namespace kvt
