#pragma once
// TKVBusyCursor: the wait cursor for the life of a scope (loading, saving, converting,
// clipboard work), through the cursor service it is given. Nested busy cursors restore in
// turn: when the inner one ends the wait cursor stays, when the outer one ends the cursor from
// before it returns. UI thread only.

namespace kvt {

class ICursorService;

class TKVBusyCursor {
public:
  // service: not owned; it must outlive the busy cursor (NullCursorService() when headless).
  // Starts off; with show set, Show(true).
  explicit TKVBusyCursor(ICursorService& service, bool show = true);
  ~TKVBusyCursor();
  TKVBusyCursor(const TKVBusyCursor&) = delete;
  TKVBusyCursor& operator=(const TKVBusyCursor&) = delete;

  // On when off: shows the wait cursor. Off when on: restores the cursor it replaced (only
  // when the service said it showed one). Calls in the direction it already has do nothing.
  void Show(bool on);
  bool IsOn() const { return on; }

private:
  ICursorService& service;
  bool on = false;
  // Whether the service showed the wait cursor, so that only a replaced cursor comes back.
  bool shown = false;
};

}  // namespace kvt
