// The timed autosave of a score window.

#include <string>

#include "app/editor/score_document.h"
#include "app/editor/score_window_host.h"
#include "notation/files/binary/binary_score_file.h"
#include "notation/staff/music_score.h"
#include "platform/autosave_store.h"
#include "tools/message_box_service.h"
#include "utils/path_utils.h"

namespace kvt {

bool TScoreDocument::AutoSave() {
  TAutosaveStore& store = host.AutosaveStore();
  if (!IsModified() || !autosavePending || store.IsReportingFailure()) return true;

  bool ok = autosave.IsHeld() || store.ClaimNewFile(autosave) == TAutosaveResult::kOk;
  // The safe save would follow a link put in the file's place: write only to our own file.
  if (ok && !autosave.IsPlainFile()) ok = false;
  if (ok) {
    ShowStatus("Auto saving " + ShortName() + "...");
    ok = WriteScoreToFile(autosave.Path().c_str(), false, *score, {}, host.Services());
    ShowStatus("");
  }
  if (ok) {
    autosavePending = false;
    return true;
  }
  // autosavePending stays set: the next timer tick tries again.
  store.SetReportingFailure(true);
  host.MessageBox(MB_OK | MB_ICONEXCLAMATION, "File Save",
                  "File: " + ShortName() + "\n\nThe AutoSave feature failed on this file.");
  store.SetReportingFailure(false);
  return false;
}

}  // namespace kvt
