#pragma once
// What the main frame asks of a score window beyond what every MDI child answers (its file
// through windowFilePath(), unsaved changes through isWindowModified(), closing through
// close()). A score window implements it on its QMdiSubWindow; the frame finds it with
// dynamic_cast and leaves children without it alone.

#include "app/shell/tarlowmede_app.h"

namespace kvt {

// The frame's broadcast actions.
enum TBroadcastAction : int {
  kBroadcastDeactivate = 0,
  kBroadcastSaveModified = 1,
  kBroadcastRedraw = 2,
  kBroadcastUndoDepth = 3,
  kBroadcastAutoSave = 4,
  kBroadcastDeleteAutoSave = 5,
  kBroadcastReformat = 6,
  kBroadcastReformatRedraw = 7,
};

class TScoreWindowLink {
public:
  virtual ~TScoreWindowLink() = default;
  virtual void FrameBroadcast(int action) = 0;
  // Reloads the file (asking first when there are unsaved changes).
  virtual void Revert() = 0;
  // Refreshes the status bar when the window's snapshot differs from the application's, and
  // makes the application's snapshot its own.
  virtual void RefreshStatus(TEditStatusInfo& last) = 0;
};

}  // namespace kvt
