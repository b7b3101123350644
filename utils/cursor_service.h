#pragma once
// The window system's mouse cursor as the core code needs it: show the wait cursor over the
// one in use, and later restore the one it replaced. The null service does nothing, so
// headless runs (the converter, tests) need no window system; the window-system layer installs
// the real one at start-up. Called on the UI thread only.

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

// The service in use (never null). SetCursorService(nullptr) restores the null service; the
// caller keeps ownership and keeps the service alive while it is installed.
ICursorService& CursorService();
void SetCursorService(ICursorService* service);

}  // namespace kvt
