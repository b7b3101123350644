#include "tools/column_header.h"

#include <QMouseEvent>
#include <QPainter>

#include "tools/column_list_box.h"
#include "tools/ui_border.h"

namespace kvt {

TKVHdrItem::TKVHdrItem(std::string_view caption, const QPixmap* picture, int w) {
  SetText(caption);
  if (picture) SetBitmap(*picture);
  SetWidth(w);
}

void TKVHdrItem::SetText(std::string_view caption) {
  text = caption;
  mask |= HDI_TEXT | HDI_FORMAT;
  format |= HDF_STRING;
}

void TKVHdrItem::SetBitmap(const QPixmap& picture) {
  bitmap = picture;
  mask |= HDI_BITMAP | HDI_FORMAT;
  format |= HDF_BITMAP;
}

void TKVHdrItem::SetItemData(int32_t data) {
  itemData = data;
  mask |= HDI_LPARAM;
}

void TKVHdrItem::SetAlignment(uint32_t alignment) {
  format = (format & ~HDF_JUSTIFYMASK) | (alignment & HDF_JUSTIFYMASK);
}

TKVColumnHeader::TKVColumnHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
  model = new TKVColumnModel(*this);
  model->setParent(this);
  setModel(model);
  setMinimumSectionSize(0);
  setStretchLastSection(false);
  setSectionsClickable(false);
  setSectionsMovable(false);
  setSectionResizeMode(QHeaderView::Interactive);
  setMouseTracking(true);
  setFocusPolicy(Qt::NoFocus);
}

TKVColumnHeader::~TKVColumnHeader() = default;

void TKVColumnHeader::AddColumn(std::unique_ptr<TKVHdrItem> item) {
  InsertColumn(std::move(item), GetColumnCount());
}

void TKVColumnHeader::InsertColumn(std::unique_ptr<TKVHdrItem> item, int position) {
  position = std::clamp(position, 0, GetColumnCount());
  model->BeginInsertColumn(position);
  items.insert(items.begin() + position, std::move(item));
  model->EndInsertColumn();
  ApplyWidths();
}

bool TKVColumnHeader::RemoveColumn(int index) {
  if (index < 0 || index >= GetColumnCount()) return false;
  model->BeginRemoveColumn(index);
  items.erase(items.begin() + index);
  model->EndRemoveColumn();
  ApplyWidths();
  return true;
}

TKVHdrItem* TKVColumnHeader::GetColumn(int index) const {
  return index >= 0 && index < GetColumnCount() ? items[static_cast<size_t>(index)].get() : nullptr;
}

const std::string* TKVColumnHeader::GetColumnText(int index) const {
  TKVHdrItem* item = GetColumn(index);
  return item && (item->format & HDF_STRING) ? &item->text : nullptr;
}

int TKVColumnHeader::GetColumnWidth(int index) const {
  TKVHdrItem* item = GetColumn(index);
  return item ? item->width : 0;
}

void TKVColumnHeader::ApplyWidths() {
  // The view's sections follow the items' widths, never the other way round.
  for (int i = 0; i < GetColumnCount() && i < count(); ++i)
    if (sectionSize(i) != items[static_cast<size_t>(i)]->width)
      resizeSection(i, items[static_cast<size_t>(i)]->width);
  viewport()->update();
}

void TKVColumnHeader::SetColumnWidth(int index, int width) {
  TKVHdrItem* item = GetColumn(index);
  if (!item) return;
  item->width = std::max(0, width);
  ApplyWidths();
  if (boundList) boundList->SyncHeaderScroll();
}

void TKVColumnHeader::AdjustColumnWidth(int index, int amount) {
  SetColumnWidth(index, GetColumnWidth(index) + amount);
}

int TKVColumnHeader::GetTotalWidth() const {
  int64_t total = 0;
  for (const auto& item : items) total += item->width;
  return static_cast<int>(std::min<int64_t>(total, INT32_MAX));
}

int TKVColumnHeader::GetIdealWidth(int index) const {
  TKVHdrItem* item = GetColumn(index);
  if (!item) return 0;
  QFontMetrics fm(font());
  int c = fm.averageCharWidth();
  int width = 3 * c;
  bool hasBitmap = item->format & HDF_BITMAP;
  bool hasString = item->format & HDF_STRING;
  if (hasBitmap) width += item->bitmap.width();
  if (hasString) width += fm.horizontalAdvance(QString::fromStdString(item->text));
  if (hasBitmap && hasString) width += c;
  return width;
}

int TKVColumnHeader::GetHeaderHeight() const {
  QFontMetrics fm(font());
  return fm.height() + fm.leading() + 4;
}

QSize TKVColumnHeader::sizeHint() const { return QSize(GetTotalWidth(), GetHeaderHeight()); }

int TKVColumnHeader::HitTest(QPoint p, uint32_t* flags) const {
  uint32_t f = 0;
  int index = -1;
  QRect client = rect();
  if (!client.contains(p)) {
    if (p.x() < client.left())
      f |= HHT_TOLEFT;
    else if (p.x() > client.right())
      f |= HHT_TORIGHT;
    if (p.y() < client.top())
      f |= HHT_ABOVE;
    else if (p.y() > client.bottom())
      f |= HHT_BELOW;
    if (flags) *flags = f;
    return -1;
  }
  const int d = kDividerSlop;
  int64_t x = -int64_t{offset()};
  int n = GetColumnCount();
  for (int i = 0; i < n; ++i) {
    int64_t e = x + items[static_cast<size_t>(i)]->width;
    if (i + 1 < n) {
      int next = items[static_cast<size_t>(i) + 1]->width;
      // The divider of a collapsed column lies just right of this one's.
      if (next < d && p.x() >= e + next && p.x() < e + next + d) {
        if (flags) *flags = HHT_ONDIVOPEN;
        return i + 1;
      }
    }
    if (p.x() >= e - d && p.x() < e + d) {
      if (flags) *flags = HHT_ONDIVIDER;
      return i;
    }
    if (p.x() >= x && p.x() < e - d) {
      if (flags) *flags = HHT_ONHEADER;
      return i;
    }
    x = e;
  }
  if (flags) *flags = HHT_NOWHERE;
  return index;
}

int TKVColumnHeader::Notify(int code, int item, Qt::MouseButtons mouse) {
  TKVHeaderNotify n;
  n.code = code;
  n.item = item;
  n.button = (mouse & Qt::RightButton ? 1 : 0) + (mouse & Qt::MiddleButton ? 2 : 0);
  n.pitem = GetColumn(item);
  int result = 0;
  if (boundList && boundList->HeaderNotify(n, &result)) return result;
  return notifyHandler ? notifyHandler(n) : 0;
}

void TKVColumnHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
  TKVHdrItem* item = GetColumn(logicalIndex);
  if (!item || item->width <= 0) return;
  painter->save();
  bool down = logicalIndex == pressed;
  QRect cell = rect;
  if (buttons) {
    // Buttons stand apart by a dark line in the column's last pixel column.
    painter->fillRect(cell.right(), cell.top(), 1, cell.height(), Qt::black);
    cell.setRight(cell.right() - 1);
  }
  int frameStyle = !buttons ? TUIBorder::Plain : down ? TUIBorder::ButtonDn : TUIBorder::ButtonUp;
  TUIBorder border = TUIBorder::FromStyle(cell, frameStyle, 0);
  TSystemColors colors = TSystemColors::FromPalette(palette());
  painter->fillRect(cell, colors.btnFace);
  border.Paint(*painter, colors);
  QRect interior = border.GetClientRect();
  if (item->format & HDF_OWNERDRAW) {
    if (ownerDraw) ownerDraw(*painter, interior, logicalIndex, down);
    painter->restore();
    return;
  }
  painter->setClipRect(interior);
  QFontMetrics fm(font());
  int c = fm.averageCharWidth();
  bool hasBitmap = (item->format & HDF_BITMAP) && !item->bitmap.isNull();
  QString text = (item->format & HDF_STRING) ? QString::fromStdString(item->text) : QString();
  int content = (hasBitmap ? item->bitmap.width() + c : 0) + fm.horizontalAdvance(text);
  int x = interior.left() + c;
  switch (item->format & HDF_JUSTIFYMASK) {
    case HDF_RIGHT: x = interior.right() + 1 - c - content; break;
    case HDF_CENTER: x = interior.left() + (interior.width() - content) / 2; break;
    default: break;
  }
  if (hasBitmap) {
    painter->drawPixmap(x, interior.top(), item->bitmap);
    x += item->bitmap.width() + c;
  }
  painter->setPen(palette().color(QPalette::ButtonText));
  painter->drawText(QRect(x, interior.top(), fm.horizontalAdvance(text), interior.height()),
                    Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine, text);
  painter->restore();
}

void TKVColumnHeader::paintEvent(QPaintEvent* event) {
  QHeaderView::paintEvent(event);
  if (state != kTracking) return;
  QPainter p(viewport());
  p.setPen(palette().color(QPalette::WindowText));
  int x = trackBase + trackWidth;
  p.drawLine(x, 0, x, height() - 1);
}

void TKVColumnHeader::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || state != kIdle) return;
  QPoint point = event->position().toPoint();
  uint32_t flags = 0;
  int index = HitTest(point, &flags);
  if (index < 0) return;
  if (flags == HHT_ONHEADER) {
    if (!buttons) return;
    pressed = tracked = index;
    state = kPressing;
    viewport()->update();
  } else if (flags & (HHT_ONDIVIDER | HHT_ONDIVOPEN)) {
    if (Notify(HDN_BEGINTRACKA, index, event->buttons()) != 0) return;
    state = kTracking;
    tracked = index;
    trackStart = point;
    trackWidth = GetColumnWidth(index);
    int64_t base = -int64_t{offset()};
    for (int i = 0; i < index; ++i) base += GetColumnWidth(i);
    trackBase = static_cast<int>(base);
    viewport()->update();
  }
}

void TKVColumnHeader::mouseMoveEvent(QMouseEvent* event) {
  QPoint point = event->position().toPoint();
  if (state == kPressing) {
    uint32_t flags = 0;
    int over = HitTest(point, &flags) == tracked && flags == HHT_ONHEADER ? tracked : -1;
    if (over != pressed) {
      pressed = over;
      viewport()->update();
    }
  } else if (state == kTracking) {
    if (Notify(HDN_TRACKA, tracked, event->buttons()) != 0) {
      EndTrack();
      return;
    }
    int64_t w = int64_t{GetColumnWidth(tracked)} + point.x() - trackStart.x();
    trackWidth = static_cast<int>(std::clamp<int64_t>(w, 0, INT32_MAX / 2));
    viewport()->update();
  } else {
    uint32_t flags = 0;
    HitTest(point, &flags);
    setCursor(flags == HHT_ONDIVOPEN   ? Qt::SplitHCursor
              : flags == HHT_ONDIVIDER ? Qt::SizeHorCursor
                                       : Qt::ArrowCursor);
  }
}

void TKVColumnHeader::EndTrack() {
  state = kIdle;
  int column = tracked;
  SetColumnWidth(column, trackWidth);
  viewport()->update();
  Notify(HDN_ENDTRACKA, column, Qt::NoButton);
}

void TKVColumnHeader::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  if (state == kPressing) {
    state = kIdle;
    bool over = pressed == tracked;
    int column = tracked;
    pressed = -1;
    viewport()->update();
    if (over) Notify(HDN_ITEMCLICKA, column, event->buttons());
  } else if (state == kTracking) {
    EndTrack();
  }
}

void TKVColumnHeader::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  uint32_t flags = 0;
  int index = HitTest(event->position().toPoint(), &flags);
  if (index < 0) return;
  if (flags == HHT_ONHEADER && buttons)
    Notify(HDN_ITEMDBLCLICKA, index, event->buttons());
  else if (flags & (HHT_ONDIVIDER | HHT_ONDIVOPEN))
    Notify(HDN_DIVIDERDBLCLICKA, index, event->buttons());
}

void TKVColumnHeader::focusInEvent(QFocusEvent* event) {
  QHeaderView::focusInEvent(event);
  if (boundList) boundList->setFocus(Qt::OtherFocusReason);
}

}  // namespace kvt
