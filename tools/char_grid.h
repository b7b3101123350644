#pragma once
// TKVRBCharGrid: every character a font provides, as a grid of equal cells. The selection
// moves with the mouse, the keys and the wheel; the hovered character's code shows in the
// application tooltip ("Character Code: %d (0x%x)"); a double click on a character reports
// OK to the owner. Control characters and the space are never listed.
//
// The music font is a symbol font: its grid lists its mapped codes U+F020 to U+F0FF only.
// An empty grid has no selection and transfers 0.

#include <QAbstractScrollArea>
#include <QFont>

#include <cstdint>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace kvt {

class TToolTip;

// The codes of a grid, ascending: for a symbol font U+F020..U+F0FF; otherwise each range
// (first, count) in order, or, without ranges, first..last; codes below 33 are skipped and
// the list stops at 65,536 entries.
std::vector<char16_t> BuildCharGridList(
    bool symbol, const std::optional<std::vector<std::pair<int, int>>>& ranges, int firstChar,
    int lastChar);

class TKVRBCharGrid : public QAbstractScrollArea {
public:
  // wide: the font's characters are UTF-16 code points (else an 8-bit font, drawn by the
  // code's low byte). symbol: the font is the music font.
  TKVRBCharGrid(QWidget* parent, const QFont& font, bool wide, bool symbol);
  // A grid of the given codes (ascending), as BuildCharGridList makes them.
  TKVRBCharGrid(QWidget* parent, const QFont& font, bool wide, std::vector<char16_t> codes);

  void SetToolTip(TToolTip* tip) { toolTip = tip; }
  void SetOkHandler(std::function<void()> handler) { onOk = std::move(handler); }

  // The chosen character (0 for an empty grid), and selecting the cell of a code (the next
  // listed one when it is missing).
  int32_t TransferGet() const;
  void TransferSet(uint16_t code);

  const std::vector<char16_t>& Chars() const { return chars; }
  int Current() const { return chars.empty() ? -1 : current; }
  int Columns() const { return columns; }
  int Rows() const { return rows; }
  int VisibleRows() const { return visibleRows; }
  int TopRow() const;
  QSize CellSize() const { return cell; }
  QRect CellRect(int index) const;
  // The index under a viewport point, or -1.
  int HitTest(QPoint point) const;
  // The first index whose code is not below `code`, at most the last.
  int FindChar(char16_t code) const;
  void Select(int index);
  void Layout();

protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

private:
  void HideTip();

  QFont font;
  bool wide;
  std::vector<char16_t> chars;
  int current = 0;
  QSize cell{20, 20};
  int columns = 10;
  int rows = 10;
  int visibleRows = 1;
  int lastHovered = -1;
  TToolTip* toolTip = nullptr;
  std::function<void()> onOk;
};

}  // namespace kvt
