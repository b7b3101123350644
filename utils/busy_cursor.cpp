#include "utils/busy_cursor.h"

#include "utils/cursor_service.h"

namespace kvt {

TKVBusyCursor::TKVBusyCursor(bool show) {
  if (show) Show(true);
}

TKVBusyCursor::~TKVBusyCursor() { Show(false); }

void TKVBusyCursor::Show(bool turnOn) {
  if (turnOn == on) return;
  on = turnOn;
  if (turnOn) {
    ICursorService& service = CursorService();
    shownBy = service.ShowWaitCursor() ? &service : nullptr;
  } else if (shownBy) {
    shownBy->RestoreCursor();
    shownBy = nullptr;
  }
}

}  // namespace kvt
