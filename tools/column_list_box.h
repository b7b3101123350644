#pragma once
// TKVColumnListBox: a list under a TKVColumnHeader that splits each row into the header's
// columns. A row's cells come from its own text split at tab characters (missing parts are
// empty cells), or, for a list without strings, from GetColumnText, which asks the cell
// provider the owner set.
//
// The list shows the header as its own (Qt makes the header a child of the view); the
// header must outlive the list, which gives it back to its parent when destroyed. Cells are plain
// text, at most 511 characters each.
//
// A double click on a divider toggles the column between fitting its cells and fitting its
// caption; the owner's notification handler does not see it.
//
// TKVColumnModel: the rows of the list and the header's columns as a table model; the header
// owns it.

#include <QAbstractTableModel>
#include <QPointer>
#include <QTreeView>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/column_header.h"

namespace kvt {

class TKVColumnModel : public QAbstractTableModel {
public:
  explicit TKVColumnModel(TKVColumnHeader& header);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  // The header's column list changes.
  void BeginInsertColumn(int at) { beginInsertColumns({}, at, at); }
  void EndInsertColumn() { endInsertColumns(); }
  void BeginRemoveColumn(int at) { beginRemoveColumns({}, at, at); }
  void EndRemoveColumn() { endRemoveColumns(); }
  void ColumnChanged(int column) { headerDataChanged(Qt::Horizontal, column, column); }

  int AddRow(std::u16string text, int32_t itemData);
  void Clear();
  const std::u16string& RowText(int row) const { return rows[static_cast<size_t>(row)].text; }
  int32_t RowData(int row) const { return rows[static_cast<size_t>(row)].itemData; }
  // The cell's text (split or asked); empty beyond the row's parts.
  std::u16string CellText(int row, int column) const;

private:
  struct Row {
    std::u16string text;
    int32_t itemData = 0;
  };
  TKVColumnHeader& header;
  std::vector<Row> rows;
};

class TKVColumnListBox : public QTreeView {
public:
  static constexpr size_t kMaxCellChars = 511;
  enum AutoSizeMode { kFitCaption = 0, kFitCells = 1, kFitBoth = 2 };
  using CellProvider = std::function<std::u16string(int32_t itemData, int row, int column)>;

  // hasStrings: rows carry their texts; without, cells come from GetColumnText.
  TKVColumnListBox(TKVColumnHeader& header, QWidget* parent, bool hasStrings = true);
  // Gives the header back to its own parent: the header outlives the list.
  ~TKVColumnListBox() override;

  // Adds the texts (UTF-8, columns split at tabs) when the list is first shown.
  void SetInitialItems(std::vector<std::string> texts) { initialItems = std::move(texts); }
  void SetGridLines(bool on);
  bool GridLines() const { return gridLines; }
  void SyncHeaderScroll();
  void SetCellProvider(CellProvider provider) { cellProvider = std::move(provider); }

  int AddString(std::string_view utf8);
  int AddItemData(int32_t itemData);
  void ClearRows();
  int RowCount() const;
  bool HasStrings() const { return hasStrings; }

  void AutoSizeColumn(int column, int mode);
  // Sizes every column; then spare width goes to target (-1: shared by all; 0xFFFF or more:
  // kept).
  void AutoSizeColumns(int mode, int target);
  int WidestCell(int column) const;

  void SetSelection(int index, bool on);
  bool HasSelection() const;

  // The cell of a list without strings: the cell provider's answer, cut to 511 characters.
  virtual std::u16string GetColumnText(int32_t itemData, int row, int column) const;
  // Offered every header notification first; true when handled (result in *result).
  virtual bool HeaderNotify(const TKVHeaderNotify& notify, int* result);

  TKVColumnHeader& Header() const { return header; }

protected:
  void drawRow(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
  void showEvent(QShowEvent* event) override;

private:
  TKVColumnHeader& header;
  QPointer<QWidget> headerParent;  // the view adopts its header; this is where it came from
  bool hasStrings;
  bool gridLines = false;
  bool setUp = false;
  std::vector<std::string> initialItems;
  CellProvider cellProvider;
};

}  // namespace kvt
