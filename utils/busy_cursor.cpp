#include "utils/busy_cursor.h"

#include "utils/cursor_service.h"

namespace kvt {

TKVBusyCursor::TKVBusyCursor(ICursorService& service, bool show) : service(service) {
  if (show) Show(true);
}

TKVBusyCursor::~TKVBusyCursor() { Show(false); }

void TKVBusyCursor::Show(bool turnOn) {
  if (turnOn == on) return;
  on = turnOn;
  if (turnOn) {
    shown = service.ShowWaitCursor();
  } else if (shown) {
    shown = false;
    service.RestoreCursor();
  }
}

}  // namespace kvt
