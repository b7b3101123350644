#include "tools/toolbar_list.h"

#include "tools/command_table.h"
#include "tools/dock_station.h"
#include "tools/toolbar.h"
#include "tools/toolbar_button_gadget.h"
#include "tools/toolbar_gadgets.h"
#include "tools/window_placement.h"
#include "utils/profile_hex.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QMainWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QStatusBar>

#include <algorithm>

namespace kvt {

namespace {

size_t StationSlot(uint16_t edge) {
  switch (SingleEdgeBit(edge)) {
    case TBRS_ALIGN_LEFT: return 0;
    case TBRS_ALIGN_RIGHT: return 2;
    case TBRS_ALIGN_BOTTOM: return 3;
    default: return 1;
  }
}

}  // namespace

TToolbarList::TToolbarList(QMainWindow& frame, TKey settings, TCommandTable& commands)
    : frame(frame), settings(std::move(settings)), commands(commands) {
  for (uint16_t edge : {TBRS_ALIGN_LEFT, TBRS_ALIGN_TOP, TBRS_ALIGN_RIGHT, TBRS_ALIGN_BOTTOM})
    stations[StationSlot(edge)] = std::make_unique<TDockStation>(frame, edge);
  commands.RegisterRange(
      kFirstToolbarCommand, kLastToolbarCommand, [this](int32_t id) { ToggleByCommand(id); },
      [this](TCommandEnabler& ce) {
        const int index = ce.Id() - kFirstToolbarCommand;
        ce.Enable(index < static_cast<int>(toolbars.size()));
        if (index < static_cast<int>(toolbars.size()))
          ce.SetCheck(toolbars[index]->IsHidden() ? kUnchecked : kChecked);
      });
  commands.AddRefreshHook(this, [this] { RefreshButtons(); });
}

void TToolbarList::RefreshButtons() {
  for (TToolbar* toolbar : toolbars)
    for (QWidget* gadget : toolbar->Gadgets().Gadgets())
      if (auto* button = dynamic_cast<TToolbarButtonGadget*>(gadget)) button->Refresh();
}

TToolbarList::~TToolbarList() {
  commands.Unregister(kFirstToolbarCommand);
  // Each toolbar saves its place and leaves the list as it goes.
  while (!toolbars.empty()) delete toolbars.back();
}

TDockStation& TToolbarList::Station(uint16_t edge) { return *stations[StationSlot(edge)]; }

TKey TToolbarList::ToolbarsKey(TKey::TAccess access) const {
  return TKey(settings, kToolbarsSection, access);
}

TToolbar* TToolbarList::Add(const QString& title, uint16_t style, bool rowStart) {
  if (static_cast<int>(toolbars.size()) >= kMaxToolbars) return nullptr;
  if ((style & TBRS_ALIGN_ANY) == 0) style |= TBRS_ALIGN_TOP;
  auto* toolbar = new TToolbar(*this, title, style, rowStart);
  toolbars.push_back(toolbar);
  Renumber();

  const TKey key = ToolbarsKey(TKey::kRead);
  const std::string stored = key.QueryString(nullptr, title.toUtf8().constData());
  // The value is hex text; more than the read limit is not a record of ours.
  std::vector<uint8_t> bytes(std::min(stored.size() / 2, kToolbarRecordReadLimit));
  if (!bytes.empty() && stored.size() == bytes.size() * 2 &&
      DecodeProfileHex(stored, bytes.data(), bytes.size())) {
    const QRect screen = ScreenRect();
    if (auto record =
            DecodeToolbarRecord(bytes.data(), bytes.size(), screen.width(), screen.height()))
      toolbar->ApplyRecord(*record);
  }
  toolbar->SetStyle(toolbar->Style(), false);
  return toolbar;
}

void TToolbarList::Forget(TToolbar* toolbar) {
  for (auto& station : stations) station->Forget(*toolbar);
  toolbars.erase(std::remove(toolbars.begin(), toolbars.end(), toolbar), toolbars.end());
  Renumber();
}

void TToolbarList::Renumber() {
  for (size_t i = 0; i < toolbars.size(); ++i)
    toolbars[i]->SetCommandId(kFirstToolbarCommand + static_cast<int32_t>(i));
}

int TToolbarList::FindByTitle(const QString& title) const {
  for (size_t i = 0; i < toolbars.size(); ++i)
    if (toolbars[i]->Title() == title) return static_cast<int>(i);
  return -1;
}

bool TToolbarList::ToggleByCommand(int32_t id) {
  if (id < kFirstToolbarCommand || id > kLastToolbarCommand) return false;
  const size_t index = static_cast<size_t>(id - kFirstToolbarCommand);
  if (index < toolbars.size()) {
    TToolbar& toolbar = *toolbars[index];
    toolbar.SetStyle(static_cast<uint16_t>(toolbar.Style() ^ TBRS_HIDDEN), true);
  }
  return true;
}

bool TToolbarList::LocateButton(int32_t id, QRect& rect, QPoint& menuPoint, bool hot) {
  TToolbarButtonGadget* found = nullptr;
  TToolbar* holder = nullptr;
  const QPoint mouse = QCursor::pos();
  for (TToolbar* toolbar : toolbars) {
    if (toolbar->IsHidden() || !toolbar->isVisible()) continue;
    for (QWidget* gadget : toolbar->Gadgets().Gadgets()) {
      auto* button = dynamic_cast<TToolbarButtonGadget*>(gadget);
      if (button == nullptr || button->CommandId() != id || !button->isVisible()) continue;
      const QRect r(button->mapToGlobal(QPoint(0, 0)), button->size());
      if (found == nullptr || r.contains(mouse)) {
        found = button;
        holder = toolbar;
      }
    }
  }
  if (found == nullptr) return false;
  rect = QRect(found->mapToGlobal(QPoint(0, 0)), found->size());
  const bool below =
      holder->IsFloating() || (holder->Style() & (TBRS_ALIGN_TOP | TBRS_ALIGN_BOTTOM)) != 0;
  menuPoint = below ? QPoint(rect.left(), rect.top() + rect.height())
                    : QPoint(rect.left() + rect.width(), rect.top());
  if (hot) {
    QEnterEvent enter(QPointF(1, 1), QPointF(rect.topLeft() + QPoint(1, 1)),
                      QPointF(rect.topLeft() + QPoint(1, 1)));
    QApplication::sendEvent(found, &enter);
  }
  return true;
}

bool TToolbarList::IsCommandPair(int32_t id1, int32_t id2) const {
  for (const TToolbar* toolbar : toolbars) {
    const auto& gadgets = toolbar->Gadgets().Gadgets();
    for (size_t i = 0; i + 1 < gadgets.size(); ++i) {
      auto* first = dynamic_cast<TToolbarButtonGadget*>(gadgets[i]);
      auto* second = dynamic_cast<TToolbarButtonGadget*>(gadgets[i + 1]);
      if (first && second && first->CommandId() == id1 && second->CommandId() == id2) return true;
    }
  }
  return false;
}

bool TToolbarList::DeleteSavedLayout() { return settings.DeleteSubKey(kToolbarsSection); }

bool TToolbarList::IsFrameEnabled() const { return frame.isEnabled(); }

QRect TToolbarList::FrameScreenRect() const {
  // The area inside the frame that the stations and the central widget share: the frame's
  // client area without its menu and status bars.
  QRect r(frame.mapToGlobal(QPoint(0, 0)), frame.size());
  if (QWidget* menu = frame.menuWidget(); menu && menu->isVisible())
    r.setTop(menu->mapToGlobal(QPoint(0, menu->height())).y());
  if (auto* status = frame.findChild<QStatusBar*>(QString(), Qt::FindDirectChildrenOnly);
      status && status->isVisible())
    r.setBottom(status->mapToGlobal(QPoint(0, 0)).y() - 1);
  return r;
}

int TToolbarList::RunContextMenu(const QPoint& globalPos, QMenu** shown) {
  QMenu menu;
  for (TToolbar* toolbar : toolbars) {
    QAction* item = menu.addAction(toolbar->Title());
    item->setData(toolbar->CommandId());
    item->setCheckable(true);
    item->setChecked(!toolbar->IsHidden());
  }
  const int size = toolbars.empty() ? kDefaultButtonSize : toolbars.front()->ButtonSize();
  if (contextMenu) {
    menu.addSeparator();
    for (QAction* action : contextMenu->actions()) {
      QAction* copy = menu.addAction(action->text());
      if (action->isSeparator()) copy->setSeparator(true);
      copy->setData(action->data());
      if (action->data().toInt() == size / 6 && action->data().toInt() >= 1) {
        copy->setCheckable(true);
        copy->setChecked(true);
      }
    }
  }
  if (shown != nullptr) *shown = &menu;
  QAction* chosen = menu.exec(globalPos);
  if (shown != nullptr) *shown = nullptr;
  return chosen != nullptr ? chosen->data().toInt() : 0;
}

void TToolbarList::ContextMenuChoice(int id) {
  if (id > kFirstToolbarCommand - 1 || id == kCustomizeToolbarsCommand) {
    commands.Post(id);
  } else if (id >= 1 && id <= 20) {
    for (TToolbar* toolbar : toolbars) toolbar->SetButtonSize(id * 6);
  }
}

}  // namespace kvt
