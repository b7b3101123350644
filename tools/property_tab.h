#pragma once
// TKVPropertyTab: the tab strip and page area of a property dialog. It draws the tabs in one
// scrolling row or in several rows (QTabBar has no rows), frames the page area below them,
// keeps the page entries, hosts the page windows as its children and carries out every change
// of the selected page with its questions and notifications.
//
// Owned by its TKVPropertyDialog (a Qt child of it). Entries point at pages they do not own.
// Index arguments outside 0..count-1 break a precondition ("SelectTab: Invalid index" and
// the like); SelectTab(-1) answers false.

#include <QPixmap>
#include <QWidget>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kvt {

class TKVPropertyDialog;
class TKVPropertyPage;

struct TPropertyEntry {
  std::string name;  // the label, UTF-8; "&" marks the mnemonic, "&&" is one ampersand
  TKVPropertyPage* page = nullptr;
  int width = 0;  // laid out
  bool enabled = true;
};

class TKVPropertyTab : public QWidget {
public:
  static constexpr int kControlId = 29000;
  static constexpr int kMaxRows = 20;

  // options: the dialog's; with ptsNoTabs the row options are cleared, with ptsMultiRow the
  // hidden-disabled option is cleared and stretching set.
  TKVPropertyTab(TKVPropertyDialog* dialog, uint32_t options);

  uint32_t Options() const { return options; }
  int Count() const { return static_cast<int>(entries.size()); }
  const TPropertyEntry& Entry(int index) const { return entries[index]; }
  void Append(TPropertyEntry entry);
  // Removes every entry of the page, searching from the end.
  void RemovePage(const TKVPropertyPage* page);
  // Pages of the entries, first appearance order: the page at an entry.
  TKVPropertyPage* PageAt(int index) const { return entries[index].page; }

  int Selected() const { return selected; }
  bool SelectTab(int index);
  bool IsTabSelected(int index) const;
  bool IsTabEnabled(int index) const;
  bool IsTabVisible(int index) const;
  void EnableTab(int index, bool enable);
  std::string GetTabText(int index) const;
  void SetTabText(int index, const char* text);
  // Moves by the direction, wrapping, to the first visible and enabled tab and selects it.
  bool StepTab(int direction);
  // Selects the first enabled tab other than the selected one whose mnemonic is key
  // (upper-case letter or digit, as QKeyEvent::key gives it); false when there is none.
  bool SelectByMnemonic(int key);
  // The tab SelectByMnemonic would select, -1 for none.
  int TabByMnemonic(int key) const;

  void SetSelectedTabColor(QColor color);
  void SetMinTabWidth(int width);  // 0 restores 64
  void SetTabPadding(int padding);
  // The image strip of ptsTabImages: one cell per page; masked cells hold the image in their
  // upper half and its mask (white where transparent) in the lower half.
  void SetTabImages(const QPixmap& strip, bool masked);

  // Set-up of the dialog: creates the pages' windows as the options say and shows the
  // selected one.
  void SetupPages();
  // Destroys every page window.
  void DestroyPages();
  void ShowCurrentPage(bool focus);
  void FocusFirstPageControl();

  int RowHeight() const { return rowHeight; }
  int RowCount() const { return static_cast<int>(rows.size()); }
  QRect PageRect() const;
  // Layout row drawn at display row r (0 next to the pages).
  int RowAtDisplay(int r) const { return rowOrder[r]; }
  // The layout row holding the entry, -1 when none.
  int RowOfTab(int index) const;
  int FirstVisibleTab() const { return firstVisible; }
  bool ArrowsShown() const { return leftArrow || rightArrow; }
  // The tab's rectangle in the strip (empty when not drawn).
  QRect TabRect(int index) const;
  // The first tab stop of the selected page's window, null when none.
  QWidget* FirstPageControl() const;

protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

private:
  friend class TPropertyTabPainter;
  struct Row {
    int first;
    int last;
  };

  void CheckIndex(int index, const char* message) const;
  int MeasureTab(const TPropertyEntry& entry) const;
  void LayoutTabs();
  void ComputeArrows();
  // True when the first visible tab moved.
  bool ScrollIntoView(int index);
  void BringRowToFront(int index);
  void MovePages();
  void Relayout();
  int TabAreaRight() const { return tabAreaRight; }
  QRect LeftArrowRect() const;
  QRect RightArrowRect() const;
  int HitTab(QPoint point) const;
  QFont BoldFont() const;

  TKVPropertyDialog* dialog;
  uint32_t options;
  std::vector<TPropertyEntry> entries;
  QColor selectionColor{255, 255, 255};
  int selected = 0;
  int shown = -1;
  int textHeight = 0;
  int rowHeight = 0;
  int minTabWidth = 64;
  int tabPadding = 6;
  std::vector<Row> rows;
  std::array<int, kMaxRows> rowOrder{};
  int firstVisible = 0;
  bool leftArrow = false;
  bool rightArrow = false;
  int tabAreaRight = 0;
  QPixmap images;
  bool maskedImages = false;
  bool stepping = false;
};

}  // namespace kvt
