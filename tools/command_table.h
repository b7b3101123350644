#pragma once
// TCommandTable: the program's one command table. Each command id maps to a handler (what the
// command does) and an enable handler (how its menu items and buttons look now). Menus and
// buttons never decide that themselves: they ask the table.
//
// The table owns one QAction per command id asked for through Action(); those actions are
// refreshed from the enable handlers before a menu opens (WatchMenu) and when the event loop
// falls idle after handling events (StartIdleRefresh), so no timer polls. A command without
// an enable handler is enabled exactly when it has a handler. Toolbar buttons refresh
// themselves through Enable() with their own enabler, from a refresh hook.
//
// UI thread only. Handlers may register or remove commands while they run.

#include "tools/command_enabler.h"

#include <QObject>
#include <QPointer>

#include <cstdint>
#include <functional>
#include <map>
#include <utility>
#include <vector>

class QAction;
class QMenu;

namespace kvt {

class TCommandTable final : public QObject {
public:
  using THandler = std::function<void(int32_t id)>;
  using TEnableHandler = std::function<void(TCommandEnabler& enabler)>;

  explicit TCommandTable(QObject* parent = nullptr);
  ~TCommandTable() override;

  // Registers id (replacing what it had); an empty enable handler: enabled when handled.
  void Register(int32_t id, THandler handler, TEnableHandler enabler = {});
  // The same for every id of first..last (inclusive); a single id registered later wins.
  void RegisterRange(int32_t first, int32_t last, THandler handler, TEnableHandler enabler = {});
  void Unregister(int32_t id);

  bool HasHandler(int32_t id) const;
  // Asks id's enable handler to fill the enabler; ids without an entry are disabled.
  void Enable(TCommandEnabler& enabler) const;
  bool IsEnabled(int32_t id) const;
  // Runs id's handler when it has one and is enabled now; true when it ran.
  bool Execute(int32_t id);
  // Runs Execute(id) from the event loop, after the current event (a posted command).
  void Post(int32_t id);

  // The action of id, made on first use; triggering it executes the command. Owned by the
  // table; its text is the caller's to set.
  QAction* Action(int32_t id);
  // Refreshes every action from its enable handler, then runs the refresh hooks.
  void Refresh();
  // Runs hook at each Refresh while context lives (command sources with their own enablers,
  // such as toolbar buttons, refresh themselves there).
  void AddRefreshHook(QObject* context, std::function<void()> hook);
  // Refreshes the actions each time menu is about to open.
  void WatchMenu(QMenu* menu);
  // Refreshes the actions whenever the event loop falls idle after events.
  void StartIdleRefresh();

private:
  struct TEntry {
    THandler handler;
    TEnableHandler enabler;
  };
  struct TRange {
    int32_t last;
    TEntry entry;
  };

  const TEntry* Find(int32_t id) const;

  std::map<int32_t, TEntry> entries;
  std::map<int32_t, TRange> ranges;  // by first id
  std::map<int32_t, QAction*> actions;
  std::vector<std::pair<QPointer<QObject>, std::function<void()>>> refreshHooks;
  bool idleRefreshStarted = false;
  bool eventsSinceRefresh = true;
};

}  // namespace kvt
