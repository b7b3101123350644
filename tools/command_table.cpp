#include "tools/command_table.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QMenu>
#include <QThread>

#include <utility>

namespace kvt {

namespace {

// Applies what an enable handler says to a menu action.
class TActionEnabler final : public TCommandEnabler {
public:
  TActionEnabler(int32_t id, QAction& action) : TCommandEnabler(id), action(action) {}

  void Enable(bool on) override {
    TCommandEnabler::Enable(on);
    action.setEnabled(on);
  }
  void SetCheck(int state) override {
    TCommandEnabler::SetCheck(state);
    action.setCheckable(true);
    // An action has no third state: indeterminate shows as checked.
    action.setChecked(*check != kUnchecked);
  }
  void SetText(const QString& text) override {
    TCommandEnabler::SetText(text);
    action.setText(text);
  }

private:
  QAction& action;
};

}  // namespace

TCommandTable::TCommandTable(QObject* parent) : QObject(parent) {}

TCommandTable::~TCommandTable() = default;

void TCommandTable::Register(int32_t id, THandler handler, TEnableHandler enabler) {
  entries[id] = {std::move(handler), std::move(enabler)};
}

void TCommandTable::RegisterRange(int32_t first, int32_t last, THandler handler,
                                  TEnableHandler enabler) {
  if (first > last) return;
  ranges[first] = {last, {std::move(handler), std::move(enabler)}};
}

void TCommandTable::Unregister(int32_t id) {
  entries.erase(id);
  ranges.erase(id);
}

const TCommandTable::TEntry* TCommandTable::Find(int32_t id) const {
  if (auto it = entries.find(id); it != entries.end()) return &it->second;
  auto it = ranges.upper_bound(id);
  if (it == ranges.begin()) return nullptr;
  --it;
  return id <= it->second.last ? &it->second.entry : nullptr;
}

bool TCommandTable::HasHandler(int32_t id) const {
  const TEntry* entry = Find(id);
  return entry != nullptr && entry->handler;
}

void TCommandTable::Enable(TCommandEnabler& enabler) const {
  const TEntry* entry = Find(enabler.Id());
  if (entry != nullptr && entry->enabler) {
    // Copied: the handler may change the table while it runs.
    const TEnableHandler handler = entry->enabler;
    handler(enabler);
    if (!enabler.enabled) enabler.Enable(HasHandler(enabler.Id()));
    return;
  }
  enabler.Enable(entry != nullptr && entry->handler);
}

bool TCommandTable::IsEnabled(int32_t id) const {
  TCommandEnabler enabler(id);
  Enable(enabler);
  return enabler.enabled.value_or(false);
}

bool TCommandTable::Execute(int32_t id) {
  if (!HasHandler(id) || !IsEnabled(id)) return false;
  const THandler handler = Find(id)->handler;  // copied: it may unregister itself
  handler(id);
  return true;
}

void TCommandTable::Post(int32_t id) {
  QMetaObject::invokeMethod(
      this, [this, id] { Execute(id); }, Qt::QueuedConnection);
}

QAction* TCommandTable::Action(int32_t id) {
  QAction*& action = actions[id];
  if (action == nullptr) {
    action = new QAction(this);
    connect(action, &QAction::triggered, this, [this, id] { Execute(id); });
    TActionEnabler enabler(id, *action);
    Enable(enabler);
  }
  return action;
}

void TCommandTable::Refresh() {
  for (const auto& [id, action] : actions) {
    TActionEnabler enabler(id, *action);
    Enable(enabler);
  }
  eventsSinceRefresh = false;
  std::erase_if(refreshHooks, [](const auto& hook) { return hook.first.isNull(); });
  // Copied: a hook may add hooks.
  const auto hooks = refreshHooks;
  for (const auto& [context, hook] : hooks)
    if (!context.isNull()) hook();
}

void TCommandTable::AddRefreshHook(QObject* context, std::function<void()> hook) {
  refreshHooks.emplace_back(context, std::move(hook));
}

void TCommandTable::WatchMenu(QMenu* menu) {
  connect(menu, &QMenu::aboutToShow, this, &TCommandTable::Refresh);
}

void TCommandTable::StartIdleRefresh() {
  if (idleRefreshStarted) return;
  QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance(thread());
  if (dispatcher == nullptr) return;
  idleRefreshStarted = true;
  // The loop wakes for events and then blocks when it has none left: refresh once per such
  // round, so a refresh that changes nothing does not start another round.
  connect(dispatcher, &QAbstractEventDispatcher::awake, this,
          [this] { eventsSinceRefresh = true; });
  connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, [this] {
    if (eventsSinceRefresh) Refresh();
  });
}

}  // namespace kvt
