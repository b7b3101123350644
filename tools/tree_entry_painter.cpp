#include "tools/tree_entry_painter.h"

#include <QApplication>
#include <QBitmap>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionViewItem>

#include "tools/draw_routines.h"
#include "tools/tree_item.h"

namespace kvt {

namespace {

int ImageLeft(const TTreeEntryLook& look, const TKVTreeItem& item, const QRect& rect) {
  return rect.left() + (item.Level() + 1) * look.indent;
}

int TextLeft(const TTreeEntryLook& look, const TKVTreeItem& item, const QRect& rect) {
  int imageWidth = look.images.isNull() ? 0 : look.imageWidth + 2;
  return ImageLeft(look, item, rect) + imageWidth;
}

}  // namespace

QPixmap MakeTreeImages(const QPixmap& strip) {
  if (strip.isNull()) return strip;
  QImage image = strip.toImage();
  // The mask is white where the corner colour is; a bitmap takes white as transparent.
  QBitmap mask = QBitmap::fromImage(CreateMaskBitmap(image, GetDibCornerColor(image)));
  QPixmap images = strip;
  images.setMask(mask);
  return images;
}

int TreeEntryHit(const TTreeEntryLook& look, const TKVTreeItem& item, const QRect& rect, int x) {
  int buttonLeft = rect.left() + item.Level() * look.indent;
  int imageLeft = ImageLeft(look, item, rect);
  if (x < imageLeft) {
    bool onButton = x >= buttonLeft && look.buttons && item.HasChildren();
    return onButton ? kTreeHitButton : kTreeHitIndent;
  }
  int textLeft = TextLeft(look, item, rect);
  if (x < textLeft) return kTreeHitImage;
  if (x < textLeft + item.CachedTextWidth() + 4) return kTreeHitText;
  return kTreeHitIndent;
}

QRect TreeEntryTextRect(const TTreeEntryLook& look, const TKVTreeItem& item, const QRect& rect) {
  int left = TextLeft(look, item, rect);
  return QRect(left, rect.top(), item.CachedTextWidth() + 4, rect.height());
}

void PaintTreeEntry(QPainter& painter, const QStyleOptionViewItem& option,
                    const TTreeEntryLook& look, TKVTreeItem& item) {
  const QRect& r = option.rect;
  const QPalette& pal = option.palette;
  painter.save();
  painter.fillRect(r, pal.color(QPalette::Base));
  int midY = r.top() + r.height() / 2;
  if (look.lines) {
    QPen dotted(pal.color(QPalette::Mid), 1, Qt::DotLine);
    painter.setPen(dotted);
    uint32_t mask = item.GetLineMask();
    // Ancestors with a later sibling continue their line through this entry.
    for (int l = 0; l < item.Level() && l < 32; ++l) {
      if (mask & (uint32_t{1} << l)) {
        int x = r.left() + l * look.indent + look.indent / 2;
        painter.drawLine(x, r.top(), x, r.bottom());
      }
    }
    int x = r.left() + item.Level() * look.indent + look.indent / 2;
    bool more = item.NextSibling() != nullptr;
    painter.drawLine(x, r.top(), x, more ? r.bottom() : midY);
    painter.drawLine(x, midY, x + look.indent / 2, midY);
  }
  if (look.buttons && item.HasChildren()) {
    int x = r.left() + item.Level() * look.indent + look.indent / 2;
    QRect box(x - 4, midY - 4, 9, 9);
    painter.setPen(pal.color(QPalette::Text));
    painter.fillRect(box, pal.color(QPalette::Base));
    painter.drawRect(box.adjusted(0, 0, -1, -1));
    painter.drawLine(box.left() + 2, midY, box.right() - 2, midY);
    if (!item.IsExpanded()) painter.drawLine(x, box.top() + 2, x, box.bottom() - 2);
  }
  bool selected = option.state & QStyle::State_Selected;
  if (!look.images.isNull() && look.imageWidth > 0) {
    int index = item.GetImage(selected);
    int count = look.images.width() / look.imageWidth;
    if (index >= 0 && index < count) {
      QPixmap image =
          look.images.copy(index * look.imageWidth, 0, look.imageWidth, look.images.height());
      int y = r.top() + (r.height() - image.height()) / 2;
      painter.drawPixmap(ImageLeft(look, item, r), y, image);
    }
  }
  painter.setFont(option.font);
  QFontMetrics fm(option.font);
  QString text = QString::fromUtf8(item.Text().data(), static_cast<qsizetype>(item.Text().size()));
  if (item.CachedTextWidth() == 0) item.SetCachedTextWidth(fm.horizontalAdvance(text));
  QRect textRect = TreeEntryTextRect(look, item, r).intersected(r);
  if (selected) painter.fillRect(textRect, pal.color(QPalette::Highlight));
  painter.setPen(pal.color(selected ? QPalette::HighlightedText : QPalette::Text));
  QRect inner = textRect.adjusted(2, 0, -2, 0);
  painter.drawText(inner, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine,
                   fm.elidedText(text, Qt::ElideRight, inner.width()));
  if (option.state & QStyle::State_HasFocus) {
    QStyleOptionFocusRect focus;
    focus.rect = textRect;
    focus.palette = pal;
    QApplication::style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter);
  }
  painter.restore();
}

}  // namespace kvt
