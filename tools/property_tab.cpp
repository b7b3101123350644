#include "tools/property_tab.h"

#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QStyle>
#include <algorithm>
#include <numeric>

#include "tools/message_box_service.h"
#include "tools/property_dialog.h"
#include "tools/property_page.h"
#include "tools/property_styles.h"
#include "tools/tab_stops.h"
#include "utils/precondition.h"

namespace kvt {

namespace {

constexpr int kDefaultMinTabWidth = 64;
constexpr int kArrowGap = 8;

uint32_t AdjustOptions(uint32_t options) {
  if (options & ptsNoTabs) options &= ~(ptsTwoLineLabels | ptsStretch | ptsMultiRow);
  if (options & ptsMultiRow) options = (options & ~ptsHideDisabled) | ptsStretch;
  return options;
}

QString Label(const std::string& name) { return QString::fromUtf8(name.data(), name.size()); }

}  // namespace

TKVPropertyTab::TKVPropertyTab(TKVPropertyDialog* dialog, uint32_t dialogOptions)
    : QWidget(dialog), dialog(dialog), options(AdjustOptions(dialogOptions)) {
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  std::iota(rowOrder.begin(), rowOrder.end(), 0);
  const QFontMetrics metrics(BoldFont());
  textHeight = metrics
                   .boundingRect(QRect(0, 0, 1000, 1000), Qt::AlignCenter | Qt::TextShowMnemonic,
                                 QStringLiteral("(|&y#"))
                   .height();
  rowHeight = ((options & ptsTwoLineLabels) ? textHeight : 2) + textHeight + 8;
  rows.push_back({0, -1});
  setGeometry(0, 0, 1, 1);
}

QFont TKVPropertyTab::BoldFont() const {
  QFont bold = font();
  bold.setWeight(QFont::Bold);
  return bold;
}

void TKVPropertyTab::CheckIndex(int index, const char* message) const {
  if (index < 0 || index >= Count()) ThrowPrecondition(message, __FILE__, __LINE__);
}

void TKVPropertyTab::Append(TPropertyEntry entry) {
  entries.push_back(std::move(entry));
  Relayout();
}

void TKVPropertyTab::RemovePage(const TKVPropertyPage* page) {
  for (int i = Count() - 1; i >= 0; --i) {
    if (entries[i].page != page) continue;
    entries.erase(entries.begin() + i);
    if (selected > i || selected >= Count()) selected = std::max(0, selected - 1);
    if (shown >= Count()) shown = Count() - 1;
  }
  Relayout();
}

bool TKVPropertyTab::IsTabSelected(int index) const {
  CheckIndex(index, "IsTabSelected: Invalid index");
  return index == selected;
}

bool TKVPropertyTab::IsTabEnabled(int index) const {
  CheckIndex(index, "IsTabEnabled: Invalid index");
  return entries[index].enabled;
}

bool TKVPropertyTab::IsTabVisible(int index) const {
  return entries[index].enabled || !(options & ptsHideDisabled);
}

void TKVPropertyTab::EnableTab(int index, bool enable) {
  CheckIndex(index, "EnableTab: Invalid index");
  if (entries[index].enabled == enable) return;
  entries[index].enabled = enable;
  if (options & ptsHideDisabled) {
    ScrollIntoView(selected);
    ComputeArrows();
    if (options & ptsStretch) LayoutTabs();
  }
  update();
}

std::string TKVPropertyTab::GetTabText(int index) const {
  CheckIndex(index, "GetTabText: Invalid index");
  return entries[index].name;
}

void TKVPropertyTab::SetTabText(int index, const char* text) {
  CheckIndex(index, "SetTabText: Invalid index");
  entries[index].name = text ? text : "";
  const int oldRows = RowCount();
  Relayout();
  if (RowCount() != oldRows) MovePages();
  update();
}

void TKVPropertyTab::SetSelectedTabColor(QColor color) {
  selectionColor = color;
  update();
}

void TKVPropertyTab::SetMinTabWidth(int width) {
  minTabWidth = width == 0 ? kDefaultMinTabWidth : width;
  Relayout();
  update();
}

void TKVPropertyTab::SetTabPadding(int padding) {
  tabPadding = padding;
  Relayout();
  update();
}

void TKVPropertyTab::SetTabImages(const QPixmap& strip, bool masked) {
  images = strip;
  maskedImages = masked;
  options |= ptsTabImages;
  Relayout();
}

int TKVPropertyTab::MeasureTab(const TPropertyEntry& entry) const {
  const QFontMetrics metrics(BoldFont());
  const QString label = Label(entry.name);
  int width;
  if (options & ptsFixedWidth) {
    width = minTabWidth;
  } else if ((options & ptsTwoLineLabels) && (label.contains(u' ') || label.contains(u'\r'))) {
    // Widen until the wrapped label is under three lines; a wrapped line is never wider than
    // the whole label, so the walk ends there.
    const int whole = metrics.horizontalAdvance(label) + 8;
    width = minTabWidth;
    while (width < whole && metrics.boundingRect(QRect(0, 0, width, 10000),
                                                 Qt::TextWordWrap | Qt::TextShowMnemonic, label)
                                    .height() >= 3 * textHeight)
      width += 8;
  } else {
    width = metrics.boundingRect(QRect(0, 0, 100000, 1000), Qt::TextShowMnemonic, label).width();
  }
  width += 8;
  if (options & ptsWidePadding) width += 2 * tabPadding;
  if (options & ptsTabImages) width += images.width() / std::max(1, Count()) + 12;
  return std::max(width, minTabWidth);
}

void TKVPropertyTab::LayoutTabs() {
  if (width() < 2) return;
  for (TPropertyEntry& entry : entries) entry.width = MeasureTab(entry);
  rows.clear();
  if (entries.empty() || !(options & ptsMultiRow)) {
    rows.push_back({0, Count() - 1});
  } else {
    int x = 0;
    rows.push_back({0, 0});
    for (int i = 0; i < Count(); ++i) {
      const int w = IsTabVisible(i) ? entries[i].width : 0;
      const bool rowHasTabs = x > 0;
      // Tabs beyond the last row of the table join that row.
      if (rowHasTabs && x + w >= width() && RowCount() < kMaxRows) {
        rows.back().last = i - 1;
        rows.push_back({i, i});
        x = 0;
      }
      x += w;
      rows.back().last = i;
    }
  }
  if ((options & ptsStretch) && !((options & ptsMultiRow) == 0 && ArrowsShown())) {
    for (const Row& row : rows) {
      int used = 0, count = 0;
      for (int i = row.first; i <= row.last; ++i)
        if (IsTabVisible(i)) used += entries[i].width, ++count;
      int free = width() - used;
      if (free < 0) break;
      for (int i = row.first; i <= row.last && count > 0; ++i) {
        if (!IsTabVisible(i)) continue;
        const int share = free / count--;
        entries[i].width += share;
        free -= share;
      }
    }
  }
  std::iota(rowOrder.begin(), rowOrder.end(), 0);
  BringRowToFront(selected);
}

int TKVPropertyTab::RowOfTab(int index) const {
  for (int r = 0; r < RowCount(); ++r)
    if (index >= rows[r].first && index <= rows[r].last) return r;
  return -1;
}

void TKVPropertyTab::BringRowToFront(int index) {
  const int row = RowOfTab(index);
  if (row < 0) return;
  for (int r = 1; r < RowCount(); ++r) {
    if (rowOrder[r] != row) continue;
    std::swap(rowOrder[0], rowOrder[r]);
    update();
    return;
  }
}

QRect TKVPropertyTab::RightArrowRect() const {
  const int w = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
  return QRect(width() - w, rowHeight - w, w, w);
}

QRect TKVPropertyTab::LeftArrowRect() const {
  return RightArrowRect().translated(-RightArrowRect().width() + 1, 0);
}

void TKVPropertyTab::ComputeArrows() {
  leftArrow = rightArrow = false;
  tabAreaRight = width();
  if (options & ptsMultiRow) return;
  int x = 0;
  for (int i = firstVisible; i < Count(); ++i)
    if (IsTabVisible(i)) x += entries[i].width;
  leftArrow = firstVisible > 0;
  rightArrow = x > width();
  if (ArrowsShown()) tabAreaRight = LeftArrowRect().left() - kArrowGap;
}

bool TKVPropertyTab::ScrollIntoView(int index) {
  if ((options & ptsMultiRow) || index < 0 || index >= Count()) return false;
  const int before = firstVisible;
  if (index < firstVisible) firstVisible = index;
  auto endOf = [&] {
    int x = 0;
    for (int i = firstVisible; i <= index; ++i)
      if (IsTabVisible(i)) x += entries[i].width;
    return x;
  };
  while (firstVisible < index && endOf() >= TabAreaRight()) ++firstVisible;
  return firstVisible != before;
}

QRect TKVPropertyTab::PageRect() const {
  const int top = RowCount() * rowHeight + 1;
  return QRect(QPoint(1, top), QPoint(width() - 2, height() - 2));
}

void TKVPropertyTab::MovePages() {
  const QRect area = PageRect();
  for (const TPropertyEntry& entry : entries)
    if (QWidget* window = entry.page->Window()) window->setGeometry(area);
}

void TKVPropertyTab::Relayout() {
  LayoutTabs();
  ComputeArrows();
  if (ScrollIntoView(selected)) ComputeArrows();
  MovePages();
}

void TKVPropertyTab::resizeEvent(QResizeEvent* event) {
  Relayout();
  QWidget::resizeEvent(event);
}

QRect TKVPropertyTab::TabRect(int index) const {
  if (index < 0 || index >= Count() || !IsTabVisible(index)) return {};
  const int row = RowOfTab(index);
  int display = 0;
  while (display < RowCount() && rowOrder[display] != row) ++display;
  const int y = (RowCount() - display - 1) * rowHeight;
  int x = 0;
  const int from = (options & ptsMultiRow) ? rows[row].first : firstVisible;
  if (index < from) return {};
  for (int i = from; i < index; ++i)
    if (IsTabVisible(i)) x += entries[i].width;
  if (!(options & ptsMultiRow) && x > TabAreaRight()) return {};
  return QRect(x, y, entries[index].width, rowHeight);
}

int TKVPropertyTab::HitTab(QPoint point) const {
  for (int i = 0; i < Count(); ++i)
    if (TabRect(i).contains(point)) return entries[i].enabled ? i : -1;
  return -1;
}

bool TKVPropertyTab::SelectTab(int index) {
  if (index == -1) return false;
  CheckIndex(index, "SelectTab: Invalid index");
  if (shown == -1) {
    selected = index;
    return true;
  }
  if (!entries[index].enabled) return false;
  TKVPropertyPage* newPage = entries[index].page;
  if (index != selected) {
    TKVPropertyPage* oldPage = entries[selected].page;
    if (!dialog->CanChangePage(index) || !oldPage->CanDeactivate()) {
      oldPage->PageChangeRefused();
      return false;
    }
    const bool scrolled = ScrollIntoView(index);
    if (scrolled) ComputeArrows();
    if (oldPage != newPage && oldPage->HasWindow()) {
      setUpdatesEnabled(false);
      if (options & ptsPagesOnDemand) {
        oldPage->ApplyPage();
        oldPage->Destroy(IDCANCEL);
      } else {
        if (options & ptsApplyOnLeave) oldPage->ApplyPage();
        oldPage->Window()->hide();
      }
      setUpdatesEnabled(true);
    }
    if (options & ptsMultiRow) BringRowToFront(index);
    selected = index;
    update();
    ShowCurrentPage(true);
    dialog->PageChanged(index);
    newPage->PageActivated();
  } else {
    ShowCurrentPage(true);
  }
  if (QWidget* window = newPage->Window()) window->update();
  shown = index;
  return true;
}

bool TKVPropertyTab::StepTab(int direction) {
  if (Count() == 0) return false;
  const int step = direction < 0 ? -1 : 1;
  int index = selected;
  for (int tries = 0; tries < Count(); ++tries) {
    index = (index + step + Count()) % Count();
    if (IsTabVisible(index) && entries[index].enabled) {
      const bool result = SelectTab(index);
      if (result) repaint();
      return result;
    }
  }
  return false;
}

int TKVPropertyTab::TabByMnemonic(int key) const {
  for (int i = 0; i < Count(); ++i) {
    if (i == selected || !entries[i].enabled) continue;
    const QKeySequence mnemonic = QKeySequence::mnemonic(Label(entries[i].name));
    if (!mnemonic.isEmpty() && static_cast<int>(mnemonic[0].key()) == key) return i;
  }
  return -1;
}

bool TKVPropertyTab::SelectByMnemonic(int key) {
  const int index = TabByMnemonic(key);
  return index >= 0 && SelectTab(index);
}

void TKVPropertyTab::SetupPages() {
  if (options & ptsTabImages) Relayout();
  if (selected < 0 || selected >= Count()) selected = 0;
  if (Count() > 0 && !(IsTabVisible(selected) && entries[selected].enabled)) {
    for (int i = 0; i < Count(); ++i) {
      if (IsTabVisible(i) && entries[i].enabled) {
        selected = i;
        break;
      }
    }
  }
  shown = selected;
  for (int i = 0; i < Count(); ++i) {
    TKVPropertyPage* page = entries[i].page;
    if ((options & ptsKeepCreatedPages) && page->HasWindow()) continue;
    if (i == selected || !(options & (ptsPagesOnDemand | ptsCreateOnShow))) page->Create();
  }
  if (Count() == 0) return;
  BringRowToFront(selected);
  MovePages();
  dialog->PageChanged(selected);
  entries[selected].page->PageActivated();
  ShowCurrentPage(false);
}

void TKVPropertyTab::DestroyPages() {
  for (const TPropertyEntry& entry : entries)
    if (entry.page->HasWindow()) entry.page->Destroy(IDCANCEL);
}

QWidget* TKVPropertyTab::FirstPageControl() const {
  if (selected < 0 || selected >= Count()) return nullptr;
  QWidget* window = entries[selected].page->Window();
  if (!window) return nullptr;
  const std::vector<QWidget*> stops = TabStopsOf(*window);
  return stops.empty() ? nullptr : stops.front();
}

void TKVPropertyTab::ShowCurrentPage(bool focus) {
  if (selected < 0 || selected >= Count()) return;
  TKVPropertyPage* page = entries[selected].page;
  if ((options & (ptsPagesOnDemand | ptsCreateOnShow)) && !page->HasWindow()) page->Create();
  if (QWidget* window = page->Window()) window->setGeometry(PageRect());
  if (focus) {
    QWidget* target = this;
    if (options & ptsFocusPageFirst)
      if (QWidget* first = FirstPageControl()) target = first;
    if (!hasFocus()) target->setFocus(Qt::OtherFocusReason);
  }
  if (QWidget* window = page->Window()) window->show();
}

void TKVPropertyTab::FocusFirstPageControl() {
  if (QWidget* first = FirstPageControl()) {
    first->setFocus(Qt::TabFocusReason);
    SelectAllIfEdit(*first);
  }
}

void TKVPropertyTab::mousePressEvent(QMouseEvent* event) {
  const QPoint point = event->position().toPoint();
  if (event->button() == Qt::LeftButton) {
    if (ArrowsShown() && point.x() >= LeftArrowRect().left() - kArrowGap &&
        point.y() < RowCount() * rowHeight) {
      const int direction = RightArrowRect().contains(point)  ? 1
                            : LeftArrowRect().contains(point) ? -1
                                                              : 0;
      if (direction != 0) {
        int next = firstVisible;
        do next += direction;
        while (next > 0 && next < Count() - 1 && !entries[next].enabled);
        firstVisible = std::clamp(next, 0, std::max(0, Count() - 1));
        ComputeArrows();
        update();
      }
      return;
    }
    const int hit = HitTab(point);
    if (hit == selected)
      setFocus(Qt::MouseFocusReason);
    else if (hit >= 0)
      SelectTab(hit);
    return;
  }
  if (event->button() == Qt::RightButton) {
    const int hit = HitTab(point);
    if (hit >= 0) entries[hit].page->TabRightClicked(event->modifiers(), point);
    return;
  }
  QWidget::mousePressEvent(event);
}

void TKVPropertyTab::keyPressEvent(QKeyEvent* event) {
  if (!(event->modifiers() & Qt::ControlModifier)) {
    int direction = 0;
    switch (event->key()) {
      case Qt::Key_PageUp:
      case Qt::Key_Left:
      case Qt::Key_Up: direction = -1; break;
      case Qt::Key_PageDown:
      case Qt::Key_Right:
      case Qt::Key_Down: direction = 1; break;
      default: break;
    }
    if (direction != 0) {
      if (!stepping) {
        stepping = true;
        StepTab(direction);
        stepping = false;
      }
      return;
    }
  }
  QWidget::keyPressEvent(event);
}

void TKVPropertyTab::focusInEvent(QFocusEvent* event) {
  update(TabRect(selected));
  QWidget::focusInEvent(event);
}

void TKVPropertyTab::focusOutEvent(QFocusEvent* event) {
  update(TabRect(selected));
  QWidget::focusOutEvent(event);
}

}  // namespace kvt
