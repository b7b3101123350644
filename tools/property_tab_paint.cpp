// Drawing of the property tab control: the strip, the scroll arrows and the page frame.

#include <QBitmap>
#include <QPainter>
#include <QStyleOption>

#include "tools/property_styles.h"
#include "tools/property_tab.h"

namespace kvt {

namespace {

struct TTabColors {
  QColor light, face, shadow, frame;
};

TTabColors ColorsOf(const QWidget& widget) {
  const QPalette& p = widget.palette();
  return {p.color(QPalette::Light), p.color(QPalette::Button), p.color(QPalette::Dark),
          p.color(QPalette::Shadow)};
}

void HLine(QPainter& painter, int x1, int x2, int y, const QColor& color) {
  if (x2 < x1) return;
  painter.fillRect(QRect(x1, y, x2 - x1 + 1, 1), color);
}

void VLine(QPainter& painter, int x, int y1, int y2, const QColor& color) {
  if (y2 < y1) return;
  painter.fillRect(QRect(x, y1, 1, y2 - y1 + 1), color);
}

}  // namespace

void TKVPropertyTab::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const TTabColors c = ColorsOf(*this);
  const int w = width(), h = height();
  if (options & ptsNoTabs) {
    painter.fillRect(rect(), c.face);
    HLine(painter, 12, w - 13, h - 1, c.light);
    HLine(painter, 12, w - 13, h - 2, c.shadow);
    return;
  }
  const int stripHeight = RowCount() * rowHeight;
  // The strip's background and the page frame.
  painter.fillRect(QRect(0, 0, w, stripHeight), c.face);
  const QRect frame(QPoint(0, stripHeight), QPoint(w - 2, h - 2));
  painter.fillRect(frame, c.face);
  VLine(painter, frame.left(), frame.top(), frame.bottom(), c.light);
  HLine(painter, frame.left(), frame.right() + 1, frame.bottom() + 1, c.frame);
  VLine(painter, frame.right() + 1, frame.top(), frame.bottom() + 1, c.frame);
  HLine(painter, frame.left() + 1, frame.right(), frame.bottom(), c.shadow);
  VLine(painter, frame.right(), frame.top() + 1, frame.bottom(), c.shadow);
  // The top edge of the page, open under the selected tab.
  const QRect open = TabRect(selected);
  HLine(painter, 0, w - 1, stripHeight, c.light);
  if (!open.isEmpty() && RowOfTab(selected) == rowOrder[0])
    HLine(painter, open.left() + 1, open.right() - 2, stripHeight, c.face);

  if (ArrowsShown()) {
    QStyleOption arrow;
    arrow.initFrom(this);
    arrow.rect = LeftArrowRect();
    if (!leftArrow) arrow.state &= ~QStyle::State_Enabled;
    style()->drawPrimitive(QStyle::PE_IndicatorArrowLeft, &arrow, &painter, this);
    arrow.rect = RightArrowRect();
    arrow.state =
        rightArrow ? (arrow.state | QStyle::State_Enabled) : (arrow.state & ~QStyle::State_Enabled);
    style()->drawPrimitive(QStyle::PE_IndicatorArrowRight, &arrow, &painter, this);
  }

  const QFont normal = font();
  const QFont bold = BoldFont();
  const int cells = std::max(1, Count());
  const int cellWidth = images.isNull() ? 0 : images.width() / cells;
  for (int i = 0; i < Count(); ++i) {
    QRect tab = TabRect(i);
    if (tab.isEmpty()) continue;
    const bool isSelected = i == selected;
    // An unselected tab sits one pixel lower and narrower; a selected one joins the page.
    if (!isSelected)
      tab.adjust(1, 1, 0, 0);
    else
      tab.adjust(0, 0, 0, 1);
    painter.save();
    if (ArrowsShown() && tab.right() > TabAreaRight()) {
      const int cut = TabAreaRight();
      painter.setClipRect(QRect(QPoint(0, 0), QPoint(cut + 2, h)));
      const int top = tab.top(), bottom = tab.bottom(), th = tab.height();
      painter.setPen(c.shadow);
      const QPoint jag[] = {{cut + 1, top},
                            {cut + 2, top + th / 3},
                            {cut, top + 2 * th / 3},
                            {cut + 2, bottom - 2},
                            {cut + 1, bottom}};
      painter.drawPolyline(jag, 5);
    }
    const bool colored = isSelected && (options & ptsColoredSelection);
    painter.fillRect(tab.adjusted(1, 3, -2, 0), colored ? selectionColor : c.face);
    // Bevelled outline: light up the left and along the top, shadow down the right, frame
    // one pixel further right.
    VLine(painter, tab.left(), tab.top() + 3, tab.bottom(), c.light);
    painter.setPen(c.light);
    painter.drawLine(tab.left(), tab.top() + 3, tab.left() + 3, tab.top());
    HLine(painter, tab.left() + 3, tab.right() - 4, tab.top(), c.light);
    painter.setPen(c.shadow);
    painter.drawLine(tab.right() - 3, tab.top(), tab.right() - 1, tab.top() + 2);
    VLine(painter, tab.right() - 1, tab.top() + 3, tab.bottom(), c.shadow);
    VLine(painter, tab.right(), tab.top() + 3, tab.bottom(), c.frame);

    QRect text = tab.adjusted(4, 2, -4, 0);
    if (cellWidth > 0) {
      const int cellHeight = maskedImages ? images.height() / 2 : images.height();
      const QPoint at(tab.left() + 6, tab.top() + (tab.height() - cellHeight) / 2);
      QPixmap cell = images.copy(i * cellWidth, 0, cellWidth, cellHeight);
      if (maskedImages)
        // White in the mask half is where the background shows through.
        cell.setMask(
            QBitmap::fromImage(images.copy(i * cellWidth, cellHeight, cellWidth, cellHeight)
                                   .toImage()
                                   .createMaskFromColor(qRgb(255, 255, 255), Qt::MaskOutColor)));
      painter.drawPixmap(at, cell);
      text.setLeft(at.x() + cellWidth + 2);
    }
    painter.setFont(isSelected ? bold : normal);
    painter.setPen(entries[i].enabled ? palette().color(QPalette::WindowText)
                                      : QColor(128, 128, 128));
    const QString label = QString::fromUtf8(entries[i].name.data(), entries[i].name.size());
    int flags = Qt::AlignCenter | Qt::TextShowMnemonic;
    if ((options & ptsTwoLineLabels) &&
        painter.fontMetrics().boundingRect(text, flags, label).height() > textHeight + 4)
      flags |= Qt::TextWordWrap;
    painter.drawText(text, flags, label);
    if (isSelected && hasFocus()) {
      QStyleOptionFocusRect focusRect;
      focusRect.initFrom(this);
      focusRect.rect = text.adjusted(0, 1, 0, -2);
      style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focusRect, &painter, this);
    }
    painter.restore();
  }
}

}  // namespace kvt
