#pragma once
// TKVPatchListDlg: the "Instrument Tree" dialog (547). It shows the application's current
// instrument tree in a tree list (100) with the node that best matches the given instrument
// values selected and its groups opened. OK fills the values from the selected node (its name,
// then each attribute from the nearest node up the path that defines it); "&Change List..."
// loads another tree file as the current tree.
//
// The values and the tree store outlive the dialog; the values change only on OK.

#include <QPushButton>
#include <memory>
#include <string>

#include "midi/import/instrument_tree.h"
#include "tools/kv_dlg_base.h"

namespace kvt {

class TInstrumentTreeStore;
class TKVTreeListBox;
struct TInstrumentValues;

inline constexpr int kPatchListDlgId = 547;
inline constexpr int kPatchTreeId = 100;
inline constexpr int kChangeListId = 101;

class TKVPatchListDlg : public TKVDlgBase {
public:
  TKVPatchListDlg(QWidget* parent, TInstrumentValues& values, TInstrumentTreeStore& store);
  ~TKVPatchListDlg() override;

  TKVTreeListBox* Tree() const { return list; }
  const TInstrumentTreeItem& TreeRoot() const { return *tree; }
  // The tree node of the selected row, or null.
  const TInstrumentTreeItem* SelectedNode() const;
  // Selects the row of a node (opening its groups); false when it is not in the tree.
  bool SelectNode(const TInstrumentTreeItem* node);

  // "&Change List...": asks for a tree file and, on a choice, makes it the current tree.
  void ChangeList();
  void accept() override;

protected:
  // The open-file dialog for tree files; empty when cancelled.
  virtual std::string ChooseTreeFile();

private:
  // Shows the tree with the node matching the values selected, and renews the caption.
  void ShowTree(std::unique_ptr<TInstrumentTreeItem> newTree);

  TInstrumentValues& values;
  TInstrumentTreeStore& store;
  std::unique_ptr<TInstrumentTreeItem> tree;
  TKVTreeListBox* list;
};

}  // namespace kvt
