#include "tools/char_grid.h"

#include <QKeyEvent>
#include <QPainter>
#include <QRawFont>
#include <QScrollBar>
#include <QStyleOptionFocusRect>

#include <algorithm>
#include <cstdio>

#include "tools/tool_tip.h"

namespace kvt {

namespace {

constexpr size_t kMaxChars = 65536;
constexpr int kFirstListed = 33;  // control characters and the space are never listed

void AddRange(std::vector<char16_t>& chars, int first, int count) {
  for (int c = std::max(first, kFirstListed); c < first + count && c <= 0xFFFF; ++c) {
    if (chars.size() >= kMaxChars) return;
    chars.push_back(static_cast<char16_t>(c));
  }
}

// The font's characters as ranges (first, count); none when the font cannot tell.
std::optional<std::vector<std::pair<int, int>>> FontRanges(const QFont& font) {
  QRawFont raw = QRawFont::fromFont(font);
  if (!raw.isValid()) return std::nullopt;
  std::vector<std::pair<int, int>> ranges;
  for (int c = kFirstListed; c <= 0xFFFF; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;  // surrogates name no character
    if (!raw.supportsCharacter(static_cast<char32_t>(c))) continue;
    if (!ranges.empty() && ranges.back().first + ranges.back().second == c)
      ++ranges.back().second;
    else
      ranges.emplace_back(c, 1);
  }
  return ranges;
}

}  // namespace

std::vector<char16_t> BuildCharGridList(
    bool symbol, const std::optional<std::vector<std::pair<int, int>>>& ranges, int firstChar,
    int lastChar) {
  std::vector<char16_t> chars;
  if (symbol) {
    AddRange(chars, 0xF020, 224);
    return chars;
  }
  if (ranges)
    for (auto [first, count] : *ranges) AddRange(chars, first, count);
  if (chars.empty()) AddRange(chars, firstChar, lastChar - firstChar + 1);
  return chars;
}

TKVRBCharGrid::TKVRBCharGrid(QWidget* parent, const QFont& gridFont, bool wideFont, bool symbol)
    : TKVRBCharGrid(parent, gridFont, wideFont,
                    wideFont ? BuildCharGridList(
                                   symbol, symbol ? std::nullopt : FontRanges(gridFont), 32, 255)
                             : BuildCharGridList(false, std::nullopt, 32, 255)) {}

TKVRBCharGrid::TKVRBCharGrid(QWidget* parent, const QFont& gridFont, bool wideFont,
                             std::vector<char16_t> codes)
    : QAbstractScrollArea(parent), font(gridFont), wide(wideFont), chars(std::move(codes)) {
  if (chars.size() > kMaxChars) chars.resize(kMaxChars);
  setWindowTitle("CharGrid");
  setFocusPolicy(Qt::StrongFocus);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  viewport()->setMouseTracking(true);
  QFontMetrics fm(font);
  cell = QSize(std::max(20, fm.maxWidth()), std::max(20, fm.height()));
  QObject::connect(verticalScrollBar(), &QScrollBar::valueChanged, viewport(),
                   [this] { viewport()->update(); });
}

int32_t TKVRBCharGrid::TransferGet() const { return chars.empty() ? 0 : chars[current]; }

void TKVRBCharGrid::TransferSet(uint16_t code) {
  if (!chars.empty()) Select(FindChar(code));
}

int TKVRBCharGrid::TopRow() const { return verticalScrollBar()->value(); }

QRect TKVRBCharGrid::CellRect(int index) const {
  return QRect(index % columns * cell.width(), (index / columns - TopRow()) * cell.height(),
               cell.width(), cell.height());
}

int TKVRBCharGrid::HitTest(QPoint point) const {
  if (point.x() < 0 || point.y() < 0) return -1;
  int column = point.x() / cell.width();
  if (column >= columns) return -1;
  int64_t index = (int64_t{point.y() / cell.height()} + TopRow()) * columns + column;
  return index < static_cast<int64_t>(chars.size()) ? static_cast<int>(index) : -1;
}

int TKVRBCharGrid::FindChar(char16_t code) const {
  if (chars.empty()) return -1;
  auto it = std::lower_bound(chars.begin(), chars.end(), code);
  return static_cast<int>(std::min<size_t>(it - chars.begin(), chars.size() - 1));
}

void TKVRBCharGrid::Layout() {
  QSize area = viewport()->size();
  columns = std::max(1, area.width() / cell.width());
  int count = static_cast<int>(chars.size());
  rows = count / columns + (count % columns ? 1 : 0);
  visibleRows = std::max(1, area.height() / cell.height());
  QScrollBar* bar = verticalScrollBar();
  bar->setRange(0, std::max(0, rows - visibleRows));
  bar->setPageStep(visibleRows);
  bar->setSingleStep(1);
  bar->setEnabled(rows > visibleRows);
  viewport()->update();
}

void TKVRBCharGrid::Select(int index) {
  if (chars.empty() || index < 0 || index >= static_cast<int>(chars.size())) return;
  current = index;
  int row = index / columns;
  QScrollBar* bar = verticalScrollBar();
  if (row < bar->value())
    bar->setValue(row);
  else if (row >= bar->value() + visibleRows)
    bar->setValue(std::max(0, row - visibleRows + 1));
  viewport()->update();
}

void TKVRBCharGrid::HideTip() {
  if (toolTip) toolTip->Hide();
}

void TKVRBCharGrid::paintEvent(QPaintEvent*) {
  QPainter p(viewport());
  QPalette pal = palette();
  p.fillRect(viewport()->rect(), pal.color(QPalette::Mid));
  p.setFont(font);
  int count = static_cast<int>(chars.size());
  for (int i = TopRow() * columns; i < count; ++i) {
    QRect r = CellRect(i);
    if (r.top() >= viewport()->height()) break;
    bool selected = i == current;
    p.fillRect(r, pal.color(selected ? QPalette::Highlight : QPalette::Button));
    p.setPen(pal.color(selected ? QPalette::HighlightedText : QPalette::ButtonText));
    char16_t code = wide ? chars[i] : static_cast<char16_t>(chars[i] & 0xFF);
    p.save();
    p.setClipRect(r);
    QFontMetrics fm(font);
    QString s{QChar(code)};
    int x = r.left() + (r.width() - fm.horizontalAdvance(s)) / 2;
    // Baseline one pixel above the cell's bottom.
    p.drawText(x, r.bottom() - fm.descent(), s);
    p.restore();
    if (selected && hasFocus()) {
      QStyleOptionFocusRect focus;
      focus.initFrom(this);
      focus.rect = r;
      style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &p, this);
    }
  }
}

void TKVRBCharGrid::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  Layout();
}

void TKVRBCharGrid::keyPressEvent(QKeyEvent* event) {
  HideTip();
  int count = static_cast<int>(chars.size());
  int page = visibleRows * columns;
  int next;
  switch (event->key()) {
    case Qt::Key_Left: next = current - 1; break;
    case Qt::Key_Right: next = current + 1; break;
    case Qt::Key_Up: next = current - columns; break;
    case Qt::Key_Down: next = current + columns; break;
    case Qt::Key_PageUp: next = current - page; break;
    case Qt::Key_PageDown: next = current + page; break;
    case Qt::Key_Home: next = 0; break;
    case Qt::Key_End: next = count - 1; break;
    default: {
      QString text = event->text();
      if (count > 0 && text.size() == 1 && text[0].unicode() >= chars.front()) {
        Select(FindChar(text[0].unicode()));
        return;
      }
      QAbstractScrollArea::keyPressEvent(event);
      return;
    }
  }
  if (count == 0) return;
  // Past the first cell wraps to the last only from the first; likewise at the end.
  if (next < 0)
    next = current == 0 ? count - 1 : 0;
  else if (next >= count)
    next = current == count - 1 ? 0 : count - 1;
  if (next != current) Select(next);
}

void TKVRBCharGrid::mousePressEvent(QMouseEvent* event) {
  int index = HitTest(event->position().toPoint());
  if (index < 0) return;
  HideTip();
  Select(index);
  setFocus(Qt::MouseFocusReason);
}

void TKVRBCharGrid::mouseDoubleClickEvent(QMouseEvent* event) {
  int index = HitTest(event->position().toPoint());
  if (index < 0) return;
  Select(index);  // the double click's cell is the chosen one, whatever came before
  if (onOk) onOk();
}

void TKVRBCharGrid::mouseMoveEvent(QMouseEvent* event) {
  int index = HitTest(event->position().toPoint());
  if (index < 0 || !toolTip) return;
  int code = chars[index];
  if (code == lastHovered) return;
  lastHovered = code;
  QRect r = CellRect(index);
  QRect screenRect(viewport()->mapToGlobal(r.topLeft()), r.size());
  char text[64];
  std::snprintf(text, sizeof text, "Character Code: %d (0x%x)", code, static_cast<unsigned>(code));
  toolTip->SetTool(screenRect, screenRect.translated(0, cell.height()));
  toolTip->SetTextCP(65001, text);
}

void TKVRBCharGrid::wheelEvent(QWheelEvent* event) {
  HideTip();
  QScrollBar* bar = verticalScrollBar();
  bar->setValue(bar->value() + (event->angleDelta().y() > 0 ? -1 : 1));
  event->accept();
}

void TKVRBCharGrid::focusInEvent(QFocusEvent* event) {
  HideTip();
  QAbstractScrollArea::focusInEvent(event);
  viewport()->update();
}

void TKVRBCharGrid::focusOutEvent(QFocusEvent* event) {
  HideTip();
  QAbstractScrollArea::focusOutEvent(event);
  viewport()->update();
}

}  // namespace kvt
