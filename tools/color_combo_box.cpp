#include "tools/color_combo_box.h"

#include <QApplication>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QStyledItemDelegate>

#include "tools/draw_routines.h"

namespace kvt {

namespace {

class TSwatchDelegate : public QStyledItemDelegate {
public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* p, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    const QPalette& pal = option.palette;
    bool selected = option.state & QStyle::State_Selected;
    QFontMetrics fm(option.font);
    int s = fm.horizontalAdvance(QLatin1Char(' '));
    QRect r = option.rect;
    p->save();
    QRect swatch(r.left(), r.top(), r.height() + 2 * s, r.height());
    QRect text(swatch.right() + 1, r.top(), r.right() - swatch.right(), r.height());
    p->fillRect(swatch, pal.color(QPalette::Base));
    p->fillRect(text, pal.color(selected ? QPalette::Highlight : QPalette::Base));
    swatch.adjust(s, 0, -s, 0);
    text.adjust(s, 0, -s, 0);
    QRect outline = swatch.adjusted(1, 1, -1, -1);
    p->setPen(pal.color(QPalette::Text));
    p->drawRect(outline.adjusted(0, 0, -1, -1));
    p->fillRect(outline.adjusted(1, 1, -1, -1), ColorFromRef(index.data(Qt::UserRole).toUInt()));
    p->setPen(pal.color(selected ? QPalette::HighlightedText : QPalette::Text));
    p->setFont(option.font);
    QString label = index.data(Qt::DisplayRole).toString();
    FitTextWithEllipsis(fm, label, text.width());
    p->drawText(text, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine, label);
    if (option.state & QStyle::State_HasFocus) {
      QStyleOptionFocusRect focus;
      focus.rect = r;
      focus.palette = pal;
      QApplication::style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, p);
    }
    p->restore();
  }
};

}  // namespace

QColor ColorFromRef(uint32_t colorRef) {
  return QColor(colorRef & 0xFF, (colorRef >> 8) & 0xFF, (colorRef >> 16) & 0xFF);
}

TKVColorComboBox::TKVColorComboBox(QWidget* parent) : TKRVComboBox(parent, false, 0) {
  setItemDelegate(new TSwatchDelegate(this));
}

void TKVColorComboBox::AddColor(std::string_view utf8, uint32_t colorRef) {
  // The icon shows the swatch in the closed box too, where the delegate does not draw.
  QPixmap swatch(12, 12);
  swatch.fill(ColorFromRef(colorRef));
  addItem(QIcon(swatch), QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())),
          QVariant::fromValue(colorRef));
}

uint32_t TKVColorComboBox::ItemColor(int index) const { return itemData(index).toUInt(); }

}  // namespace kvt
