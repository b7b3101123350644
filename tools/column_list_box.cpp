#include "tools/column_list_box.h"

#include <QPainter>
#include <QScrollBar>

#include "utils/text_encoding.h"

namespace kvt {

namespace {

QString ToQString(const std::u16string& text) {
  return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

std::u16string CutCell(std::u16string text) {
  text.resize(Utf16PrefixLength(text, TKVColumnListBox::kMaxCellChars));
  return text;
}

}  // namespace

TKVColumnModel::TKVColumnModel(TKVColumnHeader& owner) : header(owner) {}

int TKVColumnModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows.size());
}

int TKVColumnModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : header.GetColumnCount();
}

QVariant TKVColumnModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || role != Qt::DisplayRole) return {};
  return ToQString(CellText(index.row(), index.column()));
}

QVariant TKVColumnModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  const std::string* text = header.GetColumnText(section);
  return text ? QString::fromStdString(*text) : QString();
}

int TKVColumnModel::AddRow(std::u16string text, int32_t itemData) {
  int row = static_cast<int>(rows.size());
  beginInsertRows({}, row, row);
  rows.push_back({std::move(text), itemData});
  endInsertRows();
  return row;
}

void TKVColumnModel::Clear() {
  beginResetModel();
  rows.clear();
  endResetModel();
}

std::u16string TKVColumnModel::CellText(int row, int column) const {
  if (row < 0 || row >= static_cast<int>(rows.size()) || column < 0) return {};
  TKVColumnListBox* list = header.BoundList();
  if (list && !list->HasStrings())
    return list->GetColumnText(rows[static_cast<size_t>(row)].itemData, row, column);
  std::u16string_view text = rows[static_cast<size_t>(row)].text;
  for (int c = 0; c < column; ++c) {
    size_t tab = text.find(u'\t');
    if (tab == std::u16string_view::npos) return {};
    text.remove_prefix(tab + 1);
  }
  return CutCell(std::u16string(text.substr(0, text.find(u'\t'))));
}

TKVColumnListBox::TKVColumnListBox(TKVColumnHeader& owner, QWidget* parent, bool strings)
    : QTreeView(parent), header(owner), headerParent(owner.parentWidget()), hasStrings(strings) {
  header.Bind(this);
  setModel(header.Model());
  setHeader(&header);
  setRootIsDecorated(false);
  setItemsExpandable(false);
  setUniformRowHeights(true);
  setAllColumnsShowFocus(true);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setTextElideMode(Qt::ElideRight);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

TKVColumnListBox::~TKVColumnListBox() {
  header.Bind(nullptr);
  header.setParent(headerParent);
}

void TKVColumnListBox::SetGridLines(bool on) {
  if (on == gridLines) return;
  gridLines = on;
  viewport()->update();
}

void TKVColumnListBox::SyncHeaderScroll() {
  header.SetScrollOffset(horizontalScrollBar()->value());
}

int TKVColumnListBox::AddString(std::string_view utf8) {
  return header.Model()->AddRow(Utf8ToUtf16(utf8), 0);
}

int TKVColumnListBox::AddItemData(int32_t itemData) { return header.Model()->AddRow({}, itemData); }

void TKVColumnListBox::ClearRows() { header.Model()->Clear(); }

int TKVColumnListBox::RowCount() const { return header.Model()->rowCount(); }

std::u16string TKVColumnListBox::GetColumnText(int32_t itemData, int row, int column) const {
  return cellProvider ? CutCell(cellProvider(itemData, row, column)) : std::u16string();
}

int TKVColumnListBox::WidestCell(int column) const {
  QFontMetrics fm(font());
  int widest = 0;
  for (int row = 0; row < RowCount(); ++row)
    widest =
        std::max(widest, fm.horizontalAdvance(ToQString(header.Model()->CellText(row, column))));
  return widest + 2 * fm.averageCharWidth();
}

void TKVColumnListBox::AutoSizeColumn(int column, int mode) {
  int width = mode == kFitCaption ? header.GetIdealWidth(column)
              : mode == kFitCells ? WidestCell(column)
                                  : std::max(header.GetIdealWidth(column), WidestCell(column));
  header.SetColumnWidth(column, width);
}

void TKVColumnListBox::AutoSizeColumns(int mode, int target) {
  int n = header.GetColumnCount();
  for (int c = 0; c < n; ++c) AutoSizeColumn(c, mode);
  if (target >= 0xFFFF || n == 0) return;
  int spare = viewport()->width() - header.GetTotalWidth();
  if (spare <= 0) return;
  if (target == -1) {
    for (int c = 0; c < n; ++c) header.AdjustColumnWidth(c, spare / n);
  } else if (target >= 0 && target < n) {
    header.AdjustColumnWidth(target, spare);
  }
}

void TKVColumnListBox::SetSelection(int index, bool on) {
  if (index < 0 || index >= RowCount()) return;
  QModelIndex cell = model()->index(index, 0);
  if (selectionModel()->isRowSelected(index, {}) == on) return;
  selectionModel()->select(cell,
                           (on ? QItemSelectionModel::Select : QItemSelectionModel::Deselect) |
                               QItemSelectionModel::Rows);
}

bool TKVColumnListBox::HasSelection() const { return selectionModel()->hasSelection(); }

bool TKVColumnListBox::HeaderNotify(const TKVHeaderNotify& notify, int* result) {
  if (notify.code != HDN_DIVIDERDBLCLICKA || !notify.pitem) return false;
  int column = notify.item;
  int w = header.GetColumnWidth(column);
  int h = header.GetIdealWidth(column);
  int f = std::max(h, WidestCell(column));
  // Double clicks toggle between fitting the content and fitting the caption.
  header.SetColumnWidth(column, w < f ? f : h);
  if (result) *result = 0;
  return true;
}

void TKVColumnListBox::drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
  QTreeView::drawRow(painter, option, index);
  if (!gridLines) return;
  painter->save();
  painter->setPen(palette().color(QPalette::Mid));
  const QRect& r = option.rect;
  int x = -header.offset();
  for (int c = 0; c < header.GetColumnCount(); ++c) {
    x += header.GetColumnWidth(c);
    painter->drawLine(x - 3, r.top(), x - 3, r.bottom());
  }
  if (index.row() == RowCount() - 1)
    painter->fillRect(QRect(0, r.bottom(), r.right() + 1, 2), palette().color(QPalette::Text));
  painter->restore();
}

void TKVColumnListBox::showEvent(QShowEvent* event) {
  QTreeView::showEvent(event);
  if (setUp) return;
  setUp = true;
  if (!initialItems.empty()) {
    ClearRows();
    for (const std::string& text : initialItems) AddString(text);
  }
  // Show two rows above the current one, unless the owner asked to keep the top.
  int current = currentIndex().row();
  if (!header.HasOption(1) && current > 2)
    scrollTo(model()->index(current - 2, 0), QAbstractItemView::PositionAtTop);
  SyncHeaderScroll();
}

}  // namespace kvt
