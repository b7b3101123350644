#pragma once
// TKVBusyCursor: the wait cursor for the life of a scope (loading, saving, converting,
// clipboard work), through the installed ICursorService. Nested busy cursors restore in
// turn: when the inner one ends the wait cursor stays, when the outer one ends the cursor from
// before it returns. UI thread only.

namespace kvt {

class ICursorService;

class TKVBusyCursor {
public:
  // Starts off; with show set, Show(true).
  explicit TKVBusyCursor(bool show = true);
  ~TKVBusyCursor();
  TKVBusyCursor(const TKVBusyCursor&) = delete;
  TKVBusyCursor& operator=(const TKVBusyCursor&) = delete;

  // On when off: shows the wait cursor. Off when on: restores the cursor it replaced. Calls in
  // the direction it already has do nothing.
  void Show(bool on);
  bool IsOn() const { return on; }

private:
  bool on = false;
  // The service that showed the wait cursor, so the same one restores it.
  ICursorService* shownBy = nullptr;
};

}  // namespace kvt
