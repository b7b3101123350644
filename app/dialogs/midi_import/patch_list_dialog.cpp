#include "app/dialogs/midi_import/patch_list_dialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <map>

#include "midi/import/instrument_tree_store.h"
#include "midi/import/instrument_values.h"
#include "notation/context/instrument_def.h"
#include "tools/message_box_service.h"
#include "tools/tree_list_box.h"

namespace kvt {

namespace {

constexpr int kGroupClosedImage = 10;
constexpr int kGroupOpenImage = 11;
constexpr int kInstrumentImage = 17;

// A row of the tree list that knows its instrument-tree node.
class TInstrumentTreeRow : public TKVTreeItem {
public:
  TInstrumentTreeRow(TKVTreeItem* parent, const TInstrumentTreeItem& node)
      : TKVTreeItem(parent, node.name, node.isGroup ? kGroupClosedImage : kInstrumentImage,
                    node.isGroup ? kGroupOpenImage : -1),
        node(node) {}
  const TInstrumentTreeItem& node;
};

void AddRows(TKVTreeItem& parent, const TInstrumentTreeItem& node,
             std::map<const TInstrumentTreeItem*, TKVTreeItem*>& rows) {
  for (const auto& child : node.children) {
    auto* row = new TInstrumentTreeRow(&parent, *child);
    rows[child.get()] = row;
    AddRows(*row, *child, rows);
  }
}

}  // namespace

TKVPatchListDlg::TKVPatchListDlg(QWidget* parent, TInstrumentValues& values,
                                 TInstrumentTreeStore& store)
    : TKVDlgBase(parent, kPatchListDlgId), values(values), store(store) {
  resize(360, 420);
  list = new TKVTreeListBox(this, nullptr, QPixmap(), 16, 16);
  list->setGeometry(10, 10, 340, 360);
  SetControlId(list, kPatchTreeId);
  static const struct {
    const char* text;
    int id;
  } kButtons[] = {{"OK", IDOK}, {"Cancel", IDCANCEL}, {"&Change List...", kChangeListId}};
  int x = 10;
  for (const auto& b : kButtons) {
    auto* button = new QPushButton(QString::fromUtf8(b.text), this);
    button->setGeometry(x, 380, b.id == kChangeListId ? 120 : 80, 28);
    x += 90;
    SetControlId(button, b.id);
    if (b.id == IDOK) {
      button->setDefault(true);
      connect(button, &QPushButton::clicked, this, [this] { accept(); });
    } else if (b.id == IDCANCEL) {
      connect(button, &QPushButton::clicked, this, [this] { reject(); });
    } else {
      connect(button, &QPushButton::clicked, this, [this] { ChangeList(); });
    }
  }
  ShowTree(store.LoadInstrumentTree(nullptr));
}

TKVPatchListDlg::~TKVPatchListDlg() {
  // The rows point into the tree: empty the list before the tree goes.
  list->SetRoot(nullptr);
}

void TKVPatchListDlg::ShowTree(std::unique_ptr<TInstrumentTreeItem> newTree) {
  std::map<const TInstrumentTreeItem*, TKVTreeItem*> rows;
  auto* root = new TKVTreeItem(nullptr, newTree->name);
  AddRows(*root, *newTree, rows);
  list->SetRoot(root);
  tree = std::move(newTree);

  TInstrumentDef working;
  ApplyInstrumentValues(values, working);
  SelectNode(FindInstrumentNode(*tree, working));
  setWindowTitle(QStringLiteral("Instrument Tree - ") + QString::fromStdString(tree->name));
}

bool TKVPatchListDlg::SelectNode(const TInstrumentTreeItem* node) {
  if (!node || !list->Root()) return false;
  // Find the row by walking the rows' tree; open every group above it.
  std::vector<TKVTreeItem*> stack{list->Root()};
  TKVTreeItem* found = nullptr;
  while (!stack.empty() && !found) {
    TKVTreeItem* item = stack.back();
    stack.pop_back();
    for (TKVTreeItem* c = item->FirstChild(); c; c = c->NextSibling()) {
      if (&static_cast<TInstrumentTreeRow*>(c)->node == node) found = c;
      stack.push_back(c);
    }
  }
  if (!found) return false;
  for (TKVTreeItem* up = found->Parent(); up && up != list->Root(); up = up->Parent())
    up->Expand(0);
  list->Refill();
  list->setCurrentRow(list->FindItemIndex(found));
  return true;
}

const TInstrumentTreeItem* TKVPatchListDlg::SelectedNode() const {
  TKVTreeItem* item = list->SelectedItem();
  return item ? &static_cast<TInstrumentTreeRow*>(item)->node : nullptr;
}

std::string TKVPatchListDlg::ChooseTreeFile() {
  QFileDialog dialog(this);
  dialog.setNameFilter(QStringLiteral("KVT Instrument Lists (*.kvtitree)"));
  dialog.setDefaultSuffix(QStringLiteral("kvtitree"));
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setOption(QFileDialog::ReadOnly, false);
  dialog.setDirectory(QFileInfo(QString::fromStdString(store.GetDefaultPath())).absolutePath());
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().front().toStdString();
}

void TKVPatchListDlg::ChangeList() {
  const std::string path = ChooseTreeFile();
  if (path.empty()) return;
  ShowTree(store.LoadInstrumentTree(path.c_str()));
}

void TKVPatchListDlg::accept() {
  if (const TInstrumentTreeItem* node = SelectedNode()) FillValuesFromTreeNode(*node, values);
  TKVDlgBase::accept();
}

}  // namespace kvt
