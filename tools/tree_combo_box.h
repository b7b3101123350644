#pragma once
// TKVTreeComboBox: a drop-down list showing a whole tree: every item below the root, each
// marked expanded, in depth-first order, drawn like the tree list's entries without lines
// and buttons. Its entry height follows the font of the dialog it sits in, at least the
// minimum height. The box owns its root item.

#include <QComboBox>

#include <functional>
#include <memory>

#include "tools/tree_entry_painter.h"
#include "tools/tree_item.h"

namespace kvt {

class TKVTreeComboBox : public QComboBox {
public:
  TKVTreeComboBox(QWidget* parent, TKVTreeItem* root, const QPixmap& images = {},
                  int imageWidth = 16, int minItemHeight = 16);
  ~TKVTreeComboBox() override;

  // Called with kLbnSelChange's combo counterpart when SetSelectedNotify selects.
  void SetNotify(std::function<void()> handler) { notify = std::move(handler); }
  TKVTreeItem* GetSelectedItem() const;
  TKVTreeItem* ItemAt(int index) const;
  int FindItemIndex(const TKVTreeItem* item) const;
  void SetSelectedNotify(int index);
  // Lists the whole tree again (after the owner changed it).
  void Refill();
  TKVTreeItem* Root() const { return root.get(); }
  const TTreeEntryLook& Look() const { return look; }
  int EntryHeight() const;

private:
  void AddSubtree(TKVTreeItem* item);

  std::unique_ptr<TKVTreeItem> root;
  TTreeEntryLook look;
  int minItemHeight;
  std::function<void()> notify;
};

}  // namespace kvt
