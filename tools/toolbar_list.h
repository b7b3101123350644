#pragma once
// TToolbarList: the toolbars of one frame in creation order, with the frame's four dock
// stations, the settings key their places are saved under, and the commands that show and
// hide them. Toolbar i answers to command id 20310 + i (ids renumbered when one is added or
// destroyed); at most 90 toolbars exist (ids up to 20399), a 91st is refused.
//
// The frame owns the toolbar widgets; a toolbar destroyed with the frame leaves the list, and
// destroying the list destroys the toolbars still in it, so either may go first (the list is
// not used once its frame is gone). Each toolbar saves its place as it goes. The command table
// outlives the list. UI thread only.

#include "tools/toolbar_record.h"
#include "utils/registry_key.h"

#include <QMenu>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QStatusBar>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QMainWindow;

namespace kvt {

class TCommandTable;
class TDockStation;
class TToolbar;

inline constexpr int32_t kFirstToolbarCommand = 20310;
inline constexpr int32_t kLastToolbarCommand = 20399;
inline constexpr int kMaxToolbars = kLastToolbarCommand - kFirstToolbarCommand + 1;
inline constexpr int32_t kCustomizeToolbarsCommand = 20304;
inline constexpr char kToolbarsSection[] = "Toolbars";
inline constexpr char kPreventDockingText[] = "Press the Ctrl key to prevent docking";

class TToolbarList : public QObject {
public:
  // settings: the product key of the settings store (the records go to its "Toolbars"
  // section); commands: the table that gets the toolbar commands 20310..20399.
  TToolbarList(QMainWindow& frame, TKey settings, TCommandTable& commands);
  ~TToolbarList() override;

  QMainWindow& Frame() const { return frame; }
  TCommandTable& Commands() const { return commands; }
  const std::vector<TToolbar*>& Toolbars() const { return toolbars; }
  TDockStation& Station(uint16_t edge);

  // Makes a toolbar with its saved place (the given style and row start when none is saved);
  // null when 90 toolbars exist already. The frame owns it.
  TToolbar* Add(const QString& title, uint16_t style, bool rowStart);

  int FindByTitle(const QString& title) const;
  // For ids 20310..20399 toggles the hidden bit of that toolbar; false for other ids.
  bool ToggleByCommand(int32_t id);
  // The visible button with the command id (one under the mouse preferred): its screen
  // rectangle and where a drop-down menu opens; with hot it shows as hot. False when none.
  bool LocateButton(int32_t id, QRect& rect, QPoint& menuPoint, bool hot);
  // True when some toolbar holds a button id1 immediately followed by a button id2.
  bool IsCommandPair(int32_t id1, int32_t id2) const;
  // Deletes the whole "Toolbars" section.
  bool DeleteSavedLayout();
  bool IsFrameEnabled() const;
  // Asks the command table how every button looks now (run at each table refresh).
  void RefreshButtons();

  // The menu appended to the toolbars' context menu (none: no context menu); its items with
  // ids 1..20 choose the button size id x 6.
  void SetContextMenu(QMenu* menu) { contextMenu = menu; }
  QMenu* ContextMenu() const { return contextMenu; }
  // Builds and runs the context menu at the screen point; answers the id chosen (0: none).
  int RunContextMenu(const QPoint& globalPos, QMenu** shown = nullptr);
  // What choosing id in the context menu does.
  void ContextMenuChoice(int id);

  // Where hints and the drag's status text go; null: nowhere.
  void SetStatusBar(QStatusBar* bar) { statusBar = bar; }
  QStatusBar* StatusBar() const { return statusBar; }
  // The hint of a command: "status text\ntooltip text"; empty when none is known.
  void SetHintSource(std::function<QString(int32_t)> source) { hintSource = std::move(source); }
  QString HintOf(int32_t id) const { return hintSource ? hintSource(id) : QString(); }

  TKey& Settings() { return settings; }
  TKey ToolbarsKey(TKey::TAccess access) const;
  QRect FrameScreenRect() const;

private:
  friend class TToolbar;
  void Forget(TToolbar* toolbar);
  void Renumber();

  QMainWindow& frame;
  TKey settings;
  TCommandTable& commands;
  std::vector<TToolbar*> toolbars;
  std::array<std::unique_ptr<TDockStation>, 4> stations;  // left, top, right, bottom
  QPointer<QMenu> contextMenu;
  QPointer<QStatusBar> statusBar;
  std::function<QString(int32_t)> hintSource;
};

}  // namespace kvt
