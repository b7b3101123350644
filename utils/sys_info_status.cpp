// TSysInfo: the wait cursor count and the status-bar stack.
#include "utils/sys_info.h"

#include "utils/debug_log.h"

namespace kvt {

void TSysInfo::BeginWait() {
  if (waitCount == 0 && !cursorSaved) cursorSaved = cursor.ShowWaitCursor();
  ++waitCount;
}

void TSysInfo::EndWait() {
  if (waitCount > 1) {
    --waitCount;
    return;
  }
  waitCount = 0;
  // Only a cursor that a wait replaced comes back: an unmatched EndWait must not put back a
  // stale one.
  if (cursorSaved) {
    cursorSaved = false;
    cursor.RestoreCursor();
  }
}

bool TSysInfo::PushStatus(const char* text, bool wait) {
  if (statusStack.size() >= static_cast<size_t>(kStatusStackLimit)) {
    DebugPrintf("status stack full (%d states): \"%s\" not shown\n", kStatusStackLimit,
                text == nullptr ? "" : text);
    return false;
  }
  statusStack.push_back(std::make_unique<TStatusState>(*this, text, wait));
  ShowStatus(true);
  return true;
}

void TSysInfo::PopStatus() {
  if (statusStack.size() > 1) statusStack.pop_back();
  ShowStatus(false);
}

void TSysInfo::PopAllStatus() {
  waitCount = 0;
  while (statusStack.size() > 1) statusStack.pop_back();
  ShowStatus(false);
}

void TSysInfo::ShowStatus(bool repaint) {
  if (!statusStack.empty()) statusBar.ShowStatusText(statusStack.back()->GetText(), repaint);
}

}  // namespace kvt
