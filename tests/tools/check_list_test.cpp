// The check list: selection shows as the cross in the box, the highlight marks the focused row.
#include "tools/check_list.h"

#include <gtest/gtest.h>
#include <QApplication>

namespace kvt {
namespace {

int CountColor(const QImage& image, QRect area, QColor color) {
  int n = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) n += image.pixelColor(x, y) == color;
  return n;
}

TEST(CheckList, SelectedRowsGetACrossAndManyRowsSelect) {
  TKRVMultiSelListBox list(nullptr);
  list.addItems({"Flute", "Oboe", "Clarinet"});
  list.resize(200, 120);
  list.show();
  list.item(0)->setSelected(true);
  list.item(2)->setSelected(true);
  EXPECT_EQ(list.selectedItems().size(), 2);
  QImage image = list.viewport()->grab().toImage();
  QColor text = list.palette().color(QPalette::Text);
  QRect r0 = list.visualItemRect(list.item(0));
  QRect r1 = list.visualItemRect(list.item(1));
  QRect box0(r0.left() + 3, r0.top() + 3, r0.height() - 6, r0.height() - 6);
  QRect box1(r1.left() + 3, r1.top() + 3, r1.height() - 6, r1.height() - 6);
  EXPECT_GT(CountColor(image, box0, text), 2);
  EXPECT_EQ(CountColor(image, box1, text), 0);
  // Selection alone does not paint the row in the highlight colour.
  QColor highlight = list.palette().color(QPalette::Highlight);
  list.setCurrentRow(-1);
  list.clearFocus();
  image = list.viewport()->grab().toImage();
  EXPECT_EQ(CountColor(image, r0.adjusted(r0.height() * 2, 0, 0, 0), highlight), 0);
}

}  // namespace
}  // namespace kvt
