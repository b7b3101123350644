#pragma once
// TKVTreeListBox: an expandable tree shown as a list. Only the visible part of the tree (the
// items whose ancestors are all expanded) is in the list, one entry per item, each pointing
// at its TKVTreeItem; expanding inserts the children's entries below the item, collapsing
// removes them. Built in: connector lines, plus/minus boxes, two images per item, type-ahead
// by first letter, keyboard expand and collapse, and the context menu "&Expand",
// "Expand &down", "&Collapse", "Collapse &up".
//
// The list owns its root item. Notifications go to the owner's handler: kLbnSelChange when a
// selection is made with notification, kLbnDblClk when a leaf is double-clicked or Entered.

#include <QListWidget>

#include <functional>
#include <memory>

#include "tools/tree_entry_painter.h"
#include "tools/tree_item.h"

class QMenu;

namespace kvt {

class ICursorService;
class TToolTip;

inline constexpr int kLbnSelChange = 1;
inline constexpr int kLbnDblClk = 2;

class TKVTreeListBox : public QListWidget {
public:
  // Takes ownership of root (may be null: an empty tree).
  TKVTreeListBox(QWidget* parent, TKVTreeItem* root, const QPixmap& images = {},
                 int imageWidth = 16, int minItemHeight = 16);
  ~TKVTreeListBox() override;

  void SetNotify(std::function<void(int code)> handler) { notify = std::move(handler); }
  void SetToolTip(TToolTip* tip) { toolTip = tip; }
  // The wait cursor while SetRoot deletes a tree (none when null); not owned.
  void SetCursorService(ICursorService* service) { cursorService = service; }
  void SetTreeFont(const QFont& font, bool redraw);
  TTreeEntryLook& Look() { return look; }

  TKVTreeItem* Root() const { return root.get(); }
  TKVTreeItem* ItemAt(int index) const;
  TKVTreeItem* SelectedItem() const { return ItemAt(currentRow()); }
  int FindItemIndex(const TKVTreeItem* item) const;
  void SetSelIndexNotify(int index);
  void ExpandItem(TKVTreeItem* item, int index);
  void CollapseItem(TKVTreeItem* item, int index);
  void CollapseAll();
  // Empties the list, deletes the old root when it differs, keeps the new one and refills.
  void SetRoot(TKVTreeItem* newRoot);
  void Refill();
  // Marks item expanded and inserts its visible descendants after index (depth -1:
  // unlimited); answers the number of entries inserted.
  int InsertChildren(TKVTreeItem* item, int index, int depth);
  // Expand or collapse an item with children, check or uncheck a checkable leaf.
  void Toggle(int index);
  // The hit code of a point (view coordinates).
  int HitTest(QPoint point) const;
  // Adds the selected item's commands; false when none was added.
  bool FillContextMenu(QMenu& menu);
  void RunCommand(int command);
  int EntryHeight() const;

protected:
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

private:
  int InsertEntries(TKVTreeItem* item, int index, int depth);
  void RemoveEntriesBelow(TKVTreeItem* item, int index);
  void OpenContextMenu(QPoint viewPoint);
  void Send(int code);
  void HideTip();

  std::unique_ptr<TKVTreeItem> root;
  TTreeEntryLook look;
  int minItemHeight;
  TKVTreeItem* hovered = nullptr;
  TToolTip* toolTip = nullptr;
  ICursorService* cursorService = nullptr;
  std::function<void(int)> notify;
};

}  // namespace kvt
