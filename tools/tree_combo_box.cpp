#include "tools/tree_combo_box.h"

#include <QAbstractItemView>
#include <QStyledItemDelegate>

namespace kvt {

namespace {

constexpr int kItemRole = Qt::UserRole;

class TTreeComboDelegate : public QStyledItemDelegate {
public:
  explicit TTreeComboDelegate(TKVTreeComboBox& owner) : QStyledItemDelegate(&owner), box(owner) {}

  void paint(QPainter* p, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    TKVTreeItem* item = box.ItemAt(index.row());
    if (item) PaintTreeEntry(*p, option, box.Look(), *item);
  }

  QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
    return QSize(box.width(), box.EntryHeight());
  }

private:
  TKVTreeComboBox& box;
};

}  // namespace

TKVTreeComboBox::TKVTreeComboBox(QWidget* parent, TKVTreeItem* rootItem, const QPixmap& images,
                                 int imageWidth, int minHeight)
    : QComboBox(parent), root(rootItem), minItemHeight(minHeight) {
  look.images = MakeTreeImages(images);
  look.imageWidth = imageWidth;
  look.lines = false;
  look.buttons = false;
  setItemDelegate(new TTreeComboDelegate(*this));
  Refill();
}

TKVTreeComboBox::~TKVTreeComboBox() { clear(); }

int TKVTreeComboBox::EntryHeight() const {
  // The font of the dialog the box sits in.
  QFont f = parentWidget() ? parentWidget()->font() : font();
  return std::max(QFontMetrics(f).height() + 2, minItemHeight);
}

void TKVTreeComboBox::AddSubtree(TKVTreeItem* item) {
  for (TKVTreeItem* c = item->FirstChild(); c; c = c->NextSibling()) {
    c->Expand(0);
    addItem(QString::fromStdString(c->Text()), QVariant::fromValue(reinterpret_cast<quintptr>(c)));
    AddSubtree(c);
  }
}

void TKVTreeComboBox::Refill() {
  clear();
  if (root) AddSubtree(root.get());
}

TKVTreeItem* TKVTreeComboBox::ItemAt(int index) const {
  if (index < 0 || index >= count()) return nullptr;
  return reinterpret_cast<TKVTreeItem*>(itemData(index, kItemRole).value<quintptr>());
}

TKVTreeItem* TKVTreeComboBox::GetSelectedItem() const { return ItemAt(currentIndex()); }

int TKVTreeComboBox::FindItemIndex(const TKVTreeItem* item) const {
  for (int i = 0; i < count(); ++i)
    if (ItemAt(i) == item) return i;
  return -1;
}

void TKVTreeComboBox::SetSelectedNotify(int index) {
  setCurrentIndex(index);
  if (notify) notify();
}

}  // namespace kvt
