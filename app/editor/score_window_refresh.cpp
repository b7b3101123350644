// The score window's Refresh Score command.

// The audit's headers come before any Qt header: Qt's keyword macros (slots) would change them.
#include "notation/audit/staff_audit.h"

#include "app/editor/score_window.h"
#include "app/editor/score_window_host.h"
#include "notation/services/services.h"
#include "utils/busy_cursor.h"

namespace kvt {

void TScoreWindow::RefreshScore() {
  TKVBusyCursor busy(CursorServiceOf(host.Services()));
  AuditScore(document->Score(), true, host.Services());
  Broadcast(TWindowBroadcast::kReformatAndRedraw);
}

}  // namespace kvt
