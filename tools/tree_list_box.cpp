#include "tools/tree_list_box.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QMenu>
#include <QStyledItemDelegate>

#include "tools/tool_tip.h"
#include "tools/tree_commands.h"
#include "utils/busy_cursor.h"
#include "utils/cursor_service.h"
#include "utils/text_encoding.h"

namespace kvt {

namespace {

constexpr int kItemRole = Qt::UserRole;

class TTreeDelegate : public QStyledItemDelegate {
public:
  TTreeDelegate(TKVTreeListBox& owner) : QStyledItemDelegate(&owner), list(owner) {}

  void paint(QPainter* p, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    TKVTreeItem* item = list.ItemAt(index.row());
    if (!item) return;
    QStyleOptionViewItem o = option;
    o.font = list.font();
    PaintTreeEntry(*p, o, list.Look(), *item);
  }

  QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
    return QSize(list.viewport()->width(), list.EntryHeight());
  }

private:
  TKVTreeListBox& list;
};

}  // namespace

TKVTreeListBox::TKVTreeListBox(QWidget* parent, TKVTreeItem* rootItem, const QPixmap& images,
                               int imageWidth, int minHeight)
    : QListWidget(parent), minItemHeight(minHeight) {
  look.images = MakeTreeImages(images);
  look.imageWidth = imageWidth;
  setFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
  setSelectionMode(QAbstractItemView::SingleSelection);
  setUniformItemSizes(true);
  setMouseTracking(true);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setItemDelegate(new TTreeDelegate(*this));
  SetRoot(rootItem);
}

TKVTreeListBox::~TKVTreeListBox() { clear(); }

void TKVTreeListBox::SetTreeFont(const QFont& f, bool redraw) {
  setFont(f);
  // Cached text widths belong to the old font.
  for (int i = 0; i < count(); ++i) ItemAt(i)->SetCachedTextWidth(0);
  if (redraw) viewport()->update();
}

int TKVTreeListBox::EntryHeight() const {
  return std::max(QFontMetrics(font()).height() + 2, minItemHeight);
}

TKVTreeItem* TKVTreeListBox::ItemAt(int index) const {
  QListWidgetItem* entry = index >= 0 ? item(index) : nullptr;
  return entry ? reinterpret_cast<TKVTreeItem*>(entry->data(kItemRole).value<quintptr>()) : nullptr;
}

int TKVTreeListBox::FindItemIndex(const TKVTreeItem* wanted) const {
  for (int i = 0; i < count(); ++i)
    if (ItemAt(i) == wanted) return i;
  return -1;
}

void TKVTreeListBox::Send(int code) {
  if (notify) notify(code);
}

void TKVTreeListBox::SetSelIndexNotify(int index) {
  setCurrentRow(index);
  Send(kLbnSelChange);
}

int TKVTreeListBox::InsertEntries(TKVTreeItem* parent, int index, int depth) {
  int inserted = 0;
  for (TKVTreeItem* c = parent->FirstChild(); c; c = c->NextSibling()) {
    auto* entry = new QListWidgetItem(QString::fromStdString(c->Text()));
    entry->setData(kItemRole, QVariant::fromValue(reinterpret_cast<quintptr>(c)));
    insertItem(index + 1 + inserted, entry);
    ++inserted;
    int childDepth = depth < 0 ? -1 : depth - 1;
    if (c->HasChildren() && c->IsExpanded() && childDepth != 0)
      inserted += InsertEntries(c, index + inserted, childDepth);
  }
  return inserted;
}

int TKVTreeListBox::InsertChildren(TKVTreeItem* parent, int index, int depth) {
  if (!parent) return 0;
  parent->Expand(0);
  return InsertEntries(parent, index, depth);
}

void TKVTreeListBox::RemoveEntriesBelow(TKVTreeItem* parent, int index) {
  while (index + 1 < count()) {
    TKVTreeItem* next = ItemAt(index + 1);
    if (!next || next->Level() <= parent->Level()) break;
    delete takeItem(index + 1);
  }
}

void TKVTreeListBox::ExpandItem(TKVTreeItem* target, int index) {
  if (!target) return;
  setUpdatesEnabled(false);
  RemoveEntriesBelow(target, index);
  InsertChildren(target, index, -1);
  setUpdatesEnabled(true);
}

void TKVTreeListBox::CollapseItem(TKVTreeItem* target, int index) {
  if (!target) return;
  setUpdatesEnabled(false);
  RemoveEntriesBelow(target, index);
  target->Collapse(0);
  setUpdatesEnabled(true);
}

void TKVTreeListBox::CollapseAll() {
  if (!root) return;
  TKVTreeItem* keep = SelectedItem();
  while (keep && keep->Parent() && keep->Parent() != root.get()) keep = keep->Parent();
  for (TKVTreeItem* c = root->FirstChild(); c; c = c->NextSibling()) c->Collapse(0);
  Refill();
  if (keep) setCurrentRow(FindItemIndex(keep));
}

void TKVTreeListBox::SetRoot(TKVTreeItem* newRoot) {
  clear();
  if (root.get() != newRoot) {
    TKVBusyCursor busy(cursorService ? *cursorService : NullCursorService());
    root.reset(newRoot);
  }
  hovered = nullptr;
  if (root) {
    setUpdatesEnabled(false);
    InsertChildren(root.get(), -1, -1);
    setUpdatesEnabled(true);
  }
}

void TKVTreeListBox::Refill() {
  int selected = currentRow();
  clear();
  hovered = nullptr;
  if (!root) return;
  setUpdatesEnabled(false);
  InsertChildren(root.get(), -1, -1);
  setUpdatesEnabled(true);
  if (selected >= 0 && count() > 0) setCurrentRow(std::min(selected, count() - 1));
}

void TKVTreeListBox::Toggle(int index) {
  TKVTreeItem* target = ItemAt(index);
  if (!target) return;
  if (target->HasChildren()) {
    if (target->IsExpanded())
      CollapseItem(target, index);
    else
      ExpandItem(target, index);
  } else if (target->IsCheckable()) {
    if (target->CheckState())
      target->Uncheck();
    else
      target->Check();
  }
  viewport()->update();
}

int TKVTreeListBox::HitTest(QPoint point) const {
  if (!viewport()->rect().contains(point)) return kTreeHitOutside;
  QModelIndex index = indexAt(point);
  TKVTreeItem* target = index.isValid() ? ItemAt(index.row()) : nullptr;
  if (!target) return kTreeHitNoEntry;
  return TreeEntryHit(look, *target, visualRect(index), point.x());
}

bool TKVTreeListBox::FillContextMenu(QMenu& menu) {
  TKVTreeItem* target = SelectedItem();
  if (!target) return false;
  std::vector<int> commands;
  target->AddContextCommands(commands);
  for (int command : commands) {
    std::string_view text = TreeCommandText(command);
    if (text.empty()) continue;
    QAction* action =
        menu.addAction(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    action->setData(command);
    action->setEnabled(IsTreeCommandEnabled(*target, command));
  }
  return !menu.actions().isEmpty();
}

void TKVTreeListBox::RunCommand(int command) {
  int index = currentRow();
  TKVTreeItem* target = ItemAt(index);
  if (!target || !IsTreeCommandEnabled(*target, command)) return;
  switch (command) {
    case kCmTreeExpand: ExpandItem(target, index); break;
    case kCmTreeExpandDown:
      target->Expand(-1);
      ExpandItem(target, index);
      break;
    case kCmTreeCollapse: CollapseItem(target, index); break;
    case kCmTreeCollapseUp:
      CollapseItem(target, index);
      target->Collapse(-1);
      break;
    default: break;
  }
  viewport()->update();
}

void TKVTreeListBox::OpenContextMenu(QPoint viewPoint) {
  QMenu menu(this);
  if (!FillContextMenu(menu)) return;
  QAction* chosen = menu.exec(viewport()->mapToGlobal(viewPoint));
  if (chosen) RunCommand(chosen->data().toInt());
}

void TKVTreeListBox::HideTip() {
  if (toolTip) toolTip->Hide();
}

void TKVTreeListBox::keyPressEvent(QKeyEvent* event) {
  int index = currentRow();
  TKVTreeItem* target = ItemAt(index);
  bool ctrl = event->modifiers() & Qt::ControlModifier;
  bool keypad = event->modifiers() & Qt::KeypadModifier;
  int key = event->key();
  if (key == Qt::Key_Return || key == Qt::Key_Enter) {
    Toggle(index);
    if (target && !target->HasChildren()) Send(kLbnDblClk);
    return;
  }
  if (key == Qt::Key_Space) {
    Toggle(index);
    return;
  }
  if (key == Qt::Key_Left || (key == Qt::Key_Minus && keypad)) {
    if (ctrl)
      CollapseAll();
    else if (target && target->HasChildren() && target->IsExpanded())
      CollapseItem(target, index);
    else if (target && target->Parent() && target->Parent()->Level() >= 0)
      SetSelIndexNotify(FindItemIndex(target->Parent()));
    return;
  }
  if ((key == Qt::Key_Right || (key == Qt::Key_Plus && keypad)) && !ctrl && target &&
      target->HasChildren() && !target->IsExpanded()) {
    ExpandItem(target, index);
    return;
  }
  QString text = event->text();
  if (text == "`" || text == "~") {
    OpenContextMenu(visualRect(model()->index(std::max(index, 0), 0)).center());
    return;
  }
  if (text.size() == 1 && text[0].isLetter()) {
    // The next entry after the current one, cyclically, that starts with the letter.
    QChar letter = text[0].toLower();
    for (int step = 1; step <= count(); ++step) {
      int i = (std::max(index, 0) + step) % count();
      QString entryText = QString::fromStdString(ItemAt(i)->Text());
      if (!entryText.isEmpty() && entryText[0].toLower() == letter) {
        SetSelIndexNotify(i);
        return;
      }
    }
    QApplication::beep();
    return;
  }
  QListWidget::keyPressEvent(event);
  if (currentRow() != index) Send(kLbnSelChange);
}

void TKVTreeListBox::keyReleaseEvent(QKeyEvent* event) { QListWidget::keyReleaseEvent(event); }

void TKVTreeListBox::mousePressEvent(QMouseEvent* event) {
  QPoint point = event->position().toPoint();
  int code = HitTest(point);
  if (code == kTreeHitOutside) {
    QApplication::beep();
    return;
  }
  if (event->button() == Qt::RightButton) {
    if (QWidget::mouseGrabber() && QWidget::mouseGrabber() != this) return;
    setFocus(Qt::MouseFocusReason);
    QModelIndex index = indexAt(point);
    if (index.isValid()) SetSelIndexNotify(index.row());
    OpenContextMenu(point);
    return;
  }
  if (event->button() != Qt::LeftButton) return;
  setFocus(Qt::MouseFocusReason);
  HideTip();
  QModelIndex index = indexAt(point);
  if (!index.isValid()) return;
  SetSelIndexNotify(index.row());
  TKVTreeItem* target = ItemAt(index.row());
  if (code == kTreeHitButton || (code == kTreeHitImage && target->IsCheckable())) {
    if (code == kTreeHitImage) {
      if (target->CheckState())
        target->Uncheck();
      else
        target->Check();
      viewport()->update();
    } else {
      Toggle(index.row());
    }
  }
}

void TKVTreeListBox::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  QModelIndex index = indexAt(event->position().toPoint());
  if (!index.isValid() || index.row() != currentRow()) return;
  TKVTreeItem* target = ItemAt(index.row());
  Toggle(index.row());
  if (target && !target->HasChildren()) Send(kLbnDblClk);
}

void TKVTreeListBox::mouseMoveEvent(QMouseEvent* event) {
  QPoint point = event->position().toPoint();
  int code = HitTest(point);
  QModelIndex index = indexAt(point);
  TKVTreeItem* target = index.isValid() ? ItemAt(index.row()) : nullptr;
  bool onHandle =
      code == kTreeHitButton || (code == kTreeHitImage && target && target->IsCheckable());
  viewport()->setCursor(onHandle ? Qt::PointingHandCursor : Qt::ArrowCursor);
  if (target && target != hovered && toolTip) {
    hovered = target;
    // The hint lies over the item's text, so a cut text shows whole.
    QRect entry = visualRect(index);
    QRect text = TreeEntryTextRect(look, *target, entry);
    QRect screenEntry(viewport()->mapToGlobal(entry.topLeft()), entry.size());
    QRect screenText(viewport()->mapToGlobal(text.topLeft()), text.size());
    toolTip->SetTool(screenEntry, screenText);
    toolTip->SetText(Utf8ToUtf16(target->Text()));
  }
}

void TKVTreeListBox::contextMenuEvent(QContextMenuEvent* event) {
  // The right button opened the menu on its press; the menu key opens it at the text.
  if (event->reason() != QContextMenuEvent::Keyboard) return;
  int index = currentRow();
  TKVTreeItem* target = ItemAt(index);
  if (!target) return;
  scrollToItem(item(index));
  QRect r = TreeEntryTextRect(look, *target, visualRect(model()->index(index, 0)));
  OpenContextMenu(QPoint(r.left(), r.center().y()));
}

}  // namespace kvt
