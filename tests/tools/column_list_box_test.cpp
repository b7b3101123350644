// The column header and its list: items and masks, hit codes around dividers, the mouse
// (click, drag with refusal and clamping), cells split at tabs or asked of the provider, and
// the divider double click that toggles between content and caption.
#include "tools/column_list_box.h"

#include <gtest/gtest.h>
#include <QTest>

#include <vector>

namespace kvt {
namespace {

TEST(HdrItem, MaskAndFormatFollowTheSetters) {
  TKVHdrItem item("Name", nullptr, 80);
  EXPECT_EQ(item.mask, HDI_WIDTH | HDI_FORMAT | HDI_TEXT);
  EXPECT_EQ(item.format, HDF_STRING);
  EXPECT_EQ(item.width, 80);
  item.SetAlignment(HDF_CENTER);
  item.SetAlignment(HDF_RIGHT);
  EXPECT_EQ(item.format, HDF_STRING | HDF_RIGHT);
  QPixmap pix(8, 8);
  item.SetBitmap(pix);
  item.SetItemData(7);
  EXPECT_EQ(item.mask, HDI_WIDTH | HDI_FORMAT | HDI_TEXT | HDI_BITMAP | HDI_LPARAM);
  EXPECT_EQ(item.format, HDF_STRING | HDF_RIGHT | HDF_BITMAP);
}

struct ColumnListTest : testing::Test {
  QWidget dialog;
  TKVColumnHeader header{&dialog};
  std::vector<TKVHeaderNotify> sent;
  int answer = 0;

  void SetUp() override {
    header.AddColumn(std::make_unique<TKVHdrItem>("File", nullptr, 100));
    header.AddColumn(std::make_unique<TKVHdrItem>("Size", nullptr, 2));  // collapsed
    header.AddColumn(std::make_unique<TKVHdrItem>("Date", nullptr, 60));
    header.SetNotifyHandler([this](const TKVHeaderNotify& n) {
      sent.push_back(n);
      return answer;
    });
    header.setGeometry(0, 0, 300, 20);
  }
  std::vector<int> Codes() const {
    std::vector<int> codes;
    for (const auto& n : sent) codes.push_back(n.code);
    return codes;
  }
};

TEST_F(ColumnListTest, ColumnsByIndexAndOutOfRange) {
  EXPECT_EQ(header.GetColumnCount(), 3);
  EXPECT_EQ(header.GetTotalWidth(), 162);
  EXPECT_EQ(header.GetColumn(3), nullptr);
  EXPECT_EQ(header.GetColumnText(-1), nullptr);
  EXPECT_FALSE(header.RemoveColumn(3));
  header.InsertColumn(std::make_unique<TKVHdrItem>("First", nullptr, 10), -5);
  EXPECT_EQ(*header.GetColumnText(0), "First");
  header.InsertColumn(std::make_unique<TKVHdrItem>("Last", nullptr, 10), 99);
  EXPECT_EQ(*header.GetColumnText(4), "Last");
  EXPECT_TRUE(header.RemoveColumn(0));
  EXPECT_EQ(header.count(), 4);
}

TEST_F(ColumnListTest, HitCodesAroundDividers) {
  const int d = TKVColumnHeader::kDividerSlop;
  struct Case {
    QPoint p;
    int index;
    uint32_t flags;
  } cases[] = {
      {{10, 5}, 0, HHT_ONHEADER},
      {{100 - d, 5}, 0, HHT_ONDIVIDER},
      {{100 + 2, 5}, 2 - 1, HHT_ONDIVOPEN},  // just right of the divider: the collapsed column
      {{130, 5}, 2, HHT_ONHEADER},
      {{250, 5}, -1, HHT_NOWHERE},
      {{-3, 5}, -1, HHT_TOLEFT},
      {{10, 40}, -1, HHT_BELOW},
  };
  for (const Case& c : cases) {
    uint32_t flags = 0;
    EXPECT_EQ(header.HitTest(c.p, &flags), c.index) << c.p.x() << "," << c.p.y();
    EXPECT_EQ(flags, c.flags) << c.p.x() << "," << c.p.y();
  }
  TKVColumnHeader empty(nullptr);
  empty.setGeometry(0, 0, 100, 20);
  uint32_t flags = 0;
  EXPECT_EQ(empty.HitTest(QPoint(5, 5), &flags), -1);
  EXPECT_EQ(flags, HHT_NOWHERE);
}

TEST_F(ColumnListTest, ClickReleasedOverTheColumnNotifiesElsewhereNot) {
  QTest::mousePress(header.viewport(), Qt::LeftButton, {}, QPoint(20, 5));
  EXPECT_EQ(header.PressedColumn(), 0);
  QTest::mouseRelease(header.viewport(), Qt::LeftButton, {}, QPoint(30, 5));
  EXPECT_EQ(Codes(), std::vector<int>{HDN_ITEMCLICKA});
  EXPECT_EQ(sent[0].item, 0);
  sent.clear();
  QTest::mousePress(header.viewport(), Qt::LeftButton, {}, QPoint(20, 5));
  QMouseEvent away(QEvent::MouseMove, QPointF(130, 5), header.mapToGlobal(QPointF(130, 5)),
                   Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(header.viewport(), &away);
  EXPECT_EQ(header.PressedColumn(), -1);
  QTest::mouseRelease(header.viewport(), Qt::LeftButton, {}, QPoint(130, 5));
  EXPECT_TRUE(sent.empty());
  EXPECT_EQ(header.State(), TKVColumnHeader::kIdle);
}

TEST_F(ColumnListTest, DraggingADividerLeftOfTheColumnGivesZero) {
  QTest::mousePress(header.viewport(), Qt::LeftButton, {}, QPoint(99, 5));
  ASSERT_EQ(header.State(), TKVColumnHeader::kTracking);
  QMouseEvent move(QEvent::MouseMove, QPointF(-200, 5), header.mapToGlobal(QPointF(-200, 5)),
                   Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(header.viewport(), &move);
  EXPECT_EQ(header.TrackWidth(), 0);
  QTest::mouseRelease(header.viewport(), Qt::LeftButton, {}, QPoint(-200, 5));
  EXPECT_EQ(header.GetColumnWidth(0), 0);
  EXPECT_EQ(Codes(), (std::vector<int>{HDN_BEGINTRACKA, HDN_TRACKA, HDN_ENDTRACKA}));
  EXPECT_EQ(header.sectionSize(0), 0);
}

TEST_F(ColumnListTest, BeginTrackRefusedStartsNoDragAndTrackCanEndIt) {
  answer = 1;
  QTest::mousePress(header.viewport(), Qt::LeftButton, {}, QPoint(99, 5));
  EXPECT_EQ(header.State(), TKVColumnHeader::kIdle);
  answer = 0;
  QTest::mousePress(header.viewport(), Qt::LeftButton, {}, QPoint(99, 5));
  answer = 1;
  QMouseEvent move(QEvent::MouseMove, QPointF(120, 5), header.mapToGlobal(QPointF(120, 5)),
                   Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(header.viewport(), &move);
  EXPECT_EQ(header.State(), TKVColumnHeader::kIdle);
  EXPECT_EQ(Codes().back(), HDN_ENDTRACKA);
}

TEST_F(ColumnListTest, PressedColumnLooksPushedInUntilTheMouseLeaves) {
  dialog.resize(400, 100);
  dialog.show();
  auto grab = [&] { return header.viewport()->grab().toImage(); };
  QImage up = grab();
  QTest::mousePress(header.viewport(), Qt::LeftButton, {}, QPoint(20, 5));
  QImage down = grab();
  EXPECT_NE(up.pixel(1, 1), down.pixel(1, 1));
  EXPECT_EQ(up.pixel(150, 1), down.pixel(150, 1));  // the other columns keep their look
  QTest::mouseRelease(header.viewport(), Qt::LeftButton, {}, QPoint(20, 5));
  EXPECT_EQ(grab().pixel(1, 1), up.pixel(1, 1));
}

TEST_F(ColumnListTest, CellsSplitAtTabsWithEmptyRest) {
  TKVColumnListBox list(header, &dialog);
  list.AddString("song.kvt\t12 kB");
  TKVColumnModel& model = *header.Model();
  EXPECT_EQ(model.CellText(0, 0), u"song.kvt");
  EXPECT_EQ(model.CellText(0, 1), u"12 kB");
  EXPECT_EQ(model.CellText(0, 2), u"");
  EXPECT_EQ(model.CellText(5, 0), u"");
  EXPECT_EQ(model.data(model.index(0, 1), Qt::DisplayRole).toString(), "12 kB");
}

TEST_F(ColumnListTest, ListWithoutStringsAsksTheProviderAndCutsLongCells) {
  TKVColumnListBox list(header, &dialog, false);
  list.SetCellProvider([](int32_t data, int row, int column) {
    if (column == 2) return std::u16string(2000, u'w');
    return std::u16string(u"d") + char16_t(u'0' + data) + u"r" + char16_t(u'0' + row) + u"c" +
           char16_t(u'0' + column);
  });
  list.AddItemData(7);
  list.AddItemData(3);
  EXPECT_EQ(header.Model()->CellText(1, 1), u"d3r1c1");
  EXPECT_EQ(header.Model()->CellText(0, 2).size(), TKVColumnListBox::kMaxCellChars);
}

TEST_F(ColumnListTest, DividerDoubleClickTogglesContentAndCaption) {
  TKVColumnListBox list(header, &dialog);
  list.AddString("a much longer file name than the caption");
  int caption = header.GetIdealWidth(0);
  int content = std::max(caption, list.WidestCell(0));
  ASSERT_GT(content, caption);
  QTest::mouseDClick(header.viewport(), Qt::LeftButton, {}, QPoint(99, 5));
  EXPECT_EQ(header.GetColumnWidth(0), content);
  int divider = content - 1;
  QTest::mouseDClick(header.viewport(), Qt::LeftButton, {}, QPoint(divider, 5));
  EXPECT_EQ(header.GetColumnWidth(0), caption);
  for (int code : Codes()) EXPECT_NE(code, HDN_DIVIDERDBLCLICKA);  // the list handled it
}

TEST_F(ColumnListTest, AutoSizeSpreadsSpareWidth) {
  TKVColumnListBox list(header, &dialog);
  list.resize(600, 200);
  dialog.resize(700, 300);
  dialog.show();
  list.AddString("x\ty\tz");
  list.AutoSizeColumns(TKVColumnListBox::kFitCaption, 0xFFFF);
  int total = header.GetTotalWidth();
  EXPECT_LT(total, list.viewport()->width());
  list.AutoSizeColumns(TKVColumnListBox::kFitCaption, 1);
  EXPECT_EQ(header.GetTotalWidth(), list.viewport()->width());
  list.AutoSizeColumns(TKVColumnListBox::kFitCaption, -1);
  int spare = list.viewport()->width() - total;
  EXPECT_EQ(header.GetTotalWidth(), total + spare / 3 * 3);
}

TEST_F(ColumnListTest, SelectionAndInitialItems) {
  TKVColumnListBox list(header, &dialog);
  list.SetInitialItems({"one", "two\t2"});
  dialog.show();
  EXPECT_EQ(list.RowCount(), 2);
  EXPECT_FALSE(list.HasSelection());
  list.SetSelection(1, true);
  EXPECT_TRUE(list.HasSelection());
  list.SetSelection(1, false);
  list.SetSelection(9, true);
  EXPECT_FALSE(list.HasSelection());
}

}  // namespace
}  // namespace kvt
