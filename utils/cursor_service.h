#pragma once
// The window system's mouse cursor as the core code needs it: show the wait cursor over the
// one in use, and later restore the one it replaced. The null service does nothing, so
// headless runs (the converter, tests) need no window system; the window-system layer makes
// the real one and hands it to what shows a wait cursor (TKVBusyCursor, the settings store,
// the services object of the core's long operations). Called on the UI thread only.

namespace kvt {

class ICursorService {
public:
  virtual ~ICursorService() = default;
  // Shows the wait cursor, keeping the cursor it replaces. True when it did; only then does
  // the caller call RestoreCursor, exactly once.
  virtual bool ShowWaitCursor() = 0;
  // Restores the cursor that the latest still unrestored ShowWaitCursor replaced.
  virtual void RestoreCursor() = 0;
};

// The process's null service (stateless): shows nothing, restores nothing.
ICursorService& NullCursorService();

}  // namespace kvt
