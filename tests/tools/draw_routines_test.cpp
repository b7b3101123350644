#include "tools/draw_routines.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QWidget>

namespace kvt {
namespace {

TSystemColors Colors() {
  return {QColor(1, 1, 1), QColor(2, 2, 2), QColor(3, 3, 3), QColor(4, 4, 4),
          QColor(5, 5, 5), QColor(6, 6, 6), QColor(7, 7, 7)};
}

TEST(DrawRoutinesTest, EllipsisKeepsWhatFitsAndNeverTheLastThree) {
  const QFontMetrics metrics(QFont("Liberation Sans", 10));
  const struct {
    QString text;
    int width;
    QString expected;
  } cases[] = {
      {"abc", 1, "..."},      {"ab", 1, "ab"},  // fewer than 3 characters
      {"fits", 1000, "fits"}, {"abcdefghij", 1, "..."}, {"abcdefghij", 10000, "abcdefghij"},
  };
  for (const auto& c : cases) {
    QString text = c.text;
    FitTextWithEllipsis(metrics, text, c.width);
    EXPECT_EQ(text, c.expected) << c.text.toStdString();
  }
  QString ten = "abcdefghij";
  FitTextWithEllipsis(metrics, ten, metrics.horizontalAdvance(ten) - 1);
  EXPECT_TRUE(ten.endsWith("..."));
  EXPECT_LE(ten.size() - 3, 7);
  EXPECT_TRUE(QString("abcdefghij").startsWith(ten.chopped(3)));
}

TEST(DrawRoutinesTest, EllipsisNeverSplitsACharacter) {
  const QFontMetrics metrics(QFont("Liberation Sans", 10));
  const QString clef = QString::fromUtf8("\xF0\x9D\x84\x9E");
  QString text = clef + clef + clef + clef + clef + clef;
  for (int width = 1; width < metrics.horizontalAdvance(text); width += 3) {
    QString cut = text;
    FitTextWithEllipsis(metrics, cut, width);
    EXPECT_EQ(cut.chopped(3).size() % 2, 0) << width;
  }
}

TEST(DrawRoutinesTest, BorderWithBothRingsShrinksTwoPixelsPerSide) {
  QImage image(12, 10, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  QRect r(0, 0, 12, 10);
  DrawBorder3D(painter, r, kRaisedOuter | kRaisedInner, 15 | kBorderAdjust, Colors());
  EXPECT_EQ(r, QRect(2, 2, 8, 6));
  QRect kept(0, 0, 12, 10);
  DrawBorder3D(painter, kept, kRaisedOuter, 15, Colors());
  EXPECT_EQ(kept, QRect(0, 0, 12, 10));
  painter.end();
  EXPECT_EQ(qRed(image.pixel(0, 5)), 1);    // outer left: face
  EXPECT_EQ(qRed(image.pixel(11, 5)), 5);   // outer right: frame
  EXPECT_EQ(qRed(image.pixel(5, 5)), 255);  // no fill
}

TEST(DrawRoutinesTest, EdgeLinesRunTheWholeLengthAndShrinkPerSide) {
  QImage image(6, 6, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  QRect r(0, 0, 6, 6);
  DrawEdgeLines(painter, r, kEdgeLeft | kEdgeBottom, Qt::red, Qt::blue);
  painter.end();
  EXPECT_EQ(r, QRect(1, 0, 5, 5));
  EXPECT_EQ(image.pixel(0, 0), qRgb(255, 0, 0));
  EXPECT_EQ(image.pixel(5, 5), qRgb(0, 0, 255));
  EXPECT_EQ(image.pixel(0, 5), qRgb(0, 0, 255));  // the bottom is drawn after the left
}

TEST(DrawRoutinesTest, MaskIsWhiteWhereTheColourIs) {
  QImage image(4, 2, QImage::Format_RGB32);
  image.fill(Qt::green);
  image.setPixel(1, 1, qRgb(255, 0, 255));
  const QImage mask = CreateMaskBitmap(image, QColor(255, 0, 255));
  EXPECT_EQ(mask.pixel(1, 1), qRgb(255, 255, 255));
  EXPECT_EQ(mask.pixel(0, 0), qRgb(0, 0, 0));
  const QImage none = CreateMaskBitmap(image, Qt::red);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(none.pixel(x, y), qRgb(0, 0, 0));
}

TEST(DrawRoutinesTest, CornerColourIsTheBottomLeftPixelsTableEntry) {
  QImage image(2, 2, QImage::Format_Indexed8);
  image.setColorTable({qRgb(1, 2, 3), qRgb(9, 9, 9)});
  image.fill(1);
  image.setPixel(0, 1, 0);
  EXPECT_EQ(GetDibCornerColor(image), QColor(1, 2, 3));
  const QImage changed = SetDibCornerColor(image, QColor(200, 100, 50));
  EXPECT_EQ(changed.pixel(0, 1), qRgb(200, 100, 50));
  EXPECT_EQ(changed.pixel(1, 1), qRgb(9, 9, 9));
  EXPECT_FALSE(GetDibCornerColor(QImage()).isValid());
}

TEST(DrawRoutinesTest, PaletteEntriesAreLeftAloneWithoutPaletteDisplays) {
  std::array<TPaletteEntry, 256> entries;
  entries[7].red = 77;
  EXPECT_FALSE(GetIdentityPaletteEntries(entries));
  EXPECT_EQ(entries[7].red, 77);
}

TEST(DrawRoutinesTest, WindowStyleChangesOnlyWhenItDiffers) {
  QWidget window;
  EXPECT_TRUE(ModifyWindowStyle(window, {}, Qt::WindowStaysOnTopHint));
  EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_FALSE(ModifyWindowStyle(window, {}, Qt::WindowStaysOnTopHint));
  EXPECT_TRUE(ModifyWindowStyle(window, Qt::WindowStaysOnTopHint, {}));
}

}  // namespace
}  // namespace kvt
