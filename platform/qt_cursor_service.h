#pragma once
// The mouse cursor on Qt: the wait cursor is an application override cursor
// (QGuiApplication::setOverrideCursor), restored with restoreOverrideCursor. Qt keeps the
// overrides as a stack, so nested wait cursors unwind in turn. Without a QGuiApplication (the
// command-line modes) it shows nothing. Make it once the application object exists and hand it
// to what shows wait cursors (the settings store, TKVBusyCursor, TServices::cursor).

#include "utils/cursor_service.h"

namespace kvt {

class TQtCursorService : public ICursorService {
public:
  bool ShowWaitCursor() override;
  void RestoreCursor() override;
};

}  // namespace kvt
