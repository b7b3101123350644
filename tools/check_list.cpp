#include "tools/check_list.h"

#include <QApplication>
#include <QPainter>
#include <QStyledItemDelegate>

#include "tools/draw_routines.h"

namespace kvt {

namespace {

constexpr qsizetype kMaxRowChars = 511;

class TCheckListDelegate : public QStyledItemDelegate {
public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* p, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    QString text = index.data(Qt::DisplayRole).toString().left(kMaxRowChars);
    const QRect& r = option.rect;
    const QPalette& pal = option.palette;
    bool focus = option.state & QStyle::State_HasFocus;
    p->save();
    if (text.isEmpty()) {
      if (focus) DrawFocus(p, option, r);
      p->restore();
      return;
    }
    p->fillRect(r, pal.color(QPalette::Base));
    // The box is square on the screen: as wide as the row is high.
    QRect box(r.left(), r.top(), r.height(), r.height());
    TSystemColors colors = TSystemColors::FromPalette(pal);
    const int allSides = kEdgeLeft | kEdgeTop | kEdgeRight | kEdgeBottom;
    QRect outer = box.adjusted(1, 1, -1, -1);
    DrawBorder3D(*p, outer, kRaisedInner | kRaisedOuter, allSides, colors);
    QRect interior = outer.adjusted(1, 1, -1, -1);
    DrawBorder3D(*p, interior, kSunkenInner | kSunkenOuter, allSides | kBorderAdjust, colors);
    p->fillRect(interior, pal.color(QPalette::Base));
    if (option.state & QStyle::State_Selected) {
      int dx = interior.width() * 2 / 9 + 1;
      int dy = interior.height() * 2 / 9 + 1;
      QRect cross = interior.adjusted(dx, dy, -dx, -dy);
      p->setPen(QPen(pal.color(QPalette::Text), 2));
      p->drawLine(cross.topLeft(), cross.bottomRight());
      p->drawLine(cross.bottomLeft(), cross.topRight());
    }
    int textLeft = (box.right() + 1 - r.left()) * 5 / 4 + r.left();
    QRect textRect(textLeft, r.top(), r.right() + 1 - textLeft, r.height());
    p->fillRect(textRect, pal.color(focus ? QPalette::Highlight : QPalette::Base));
    p->setPen(pal.color(focus ? QPalette::HighlightedText : QPalette::Text));
    p->setFont(option.font);
    p->drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine, text);
    if (focus) DrawFocus(p, option, textRect);
    p->restore();
  }

private:
  static void DrawFocus(QPainter* p, const QStyleOptionViewItem& option, const QRect& r) {
    QStyleOptionFocusRect focus;
    focus.rect = r;
    focus.palette = option.palette;
    QApplication::style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, p);
  }
};

}  // namespace

TKRVMultiSelListBox::TKRVMultiSelListBox(QWidget* parent) : QListWidget(parent) {
  setSelectionMode(QAbstractItemView::MultiSelection);
  setSortingEnabled(false);
  setUniformItemSizes(true);
  setItemDelegate(new TCheckListDelegate(this));
}

}  // namespace kvt
