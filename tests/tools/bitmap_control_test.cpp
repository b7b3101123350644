// The picture control: frames drawn pixel by pixel, the own-size frame outside the picture,
// and stretching.
#include "tools/bitmap_control.h"

#include <gtest/gtest.h>

namespace kvt {
namespace {

QImage Render(TBitmapControl& control, QSize size) {
  control.resize(size);
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::magenta);
  control.render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
  return image;
}

QImage Picture(QSize size, QColor color) {
  QImage picture(size, QImage::Format_RGB32);
  picture.fill(color);
  return picture;
}

TEST(BitmapControl, SunkenFrameAtOwnSizeLiesOutsideThePicture) {
  TBitmapControl control(nullptr, Picture(QSize(10, 6), Qt::green), TBitmapControl::kSunken);
  control.ownSize = true;
  QPalette pal = control.palette();
  QImage image = Render(control, QSize(30, 30));
  // Outer pair: shadow top-left, highlight bottom-right; inner pair: frame and face.
  EXPECT_EQ(image.pixel(5, 0), pal.color(QPalette::Dark).rgb());
  EXPECT_EQ(image.pixel(0, 5), pal.color(QPalette::Dark).rgb());
  EXPECT_EQ(image.pixel(13, 5), pal.color(QPalette::Light).rgb());
  EXPECT_EQ(image.pixel(5, 9), pal.color(QPalette::Light).rgb());
  EXPECT_EQ(image.pixel(5, 1), pal.color(QPalette::Shadow).rgb());
  EXPECT_EQ(image.pixel(12, 5), pal.color(QPalette::Button).rgb());
  // The picture fills exactly the inside: 4 wider and higher than itself with the frame.
  EXPECT_EQ(image.pixel(2, 2), QColor(Qt::green).rgb());
  EXPECT_EQ(image.pixel(11, 7), QColor(Qt::green).rgb());
  EXPECT_NE(image.pixel(14, 5), QColor(Qt::green).rgb());
}

TEST(BitmapControl, RaisedAndPlainFramesAndStretching) {
  TBitmapControl raised(nullptr, Picture(QSize(2, 2), Qt::blue), TBitmapControl::kRaised);
  QPalette pal = raised.palette();
  QImage image = Render(raised, QSize(20, 10));
  EXPECT_EQ(image.pixel(0, 0), pal.color(QPalette::Light).rgb());
  EXPECT_EQ(image.pixel(19, 9), pal.color(QPalette::Shadow).rgb());
  EXPECT_EQ(image.pixel(18, 8), pal.color(QPalette::Dark).rgb());
  EXPECT_EQ(image.pixel(17, 7), QColor(Qt::blue).rgb());  // stretched to the inside
  TBitmapControl plain(nullptr, Picture(QSize(2, 2), Qt::blue), TBitmapControl::kFrame);
  image = Render(plain, QSize(20, 10));
  EXPECT_EQ(image.pixel(0, 0), pal.color(QPalette::Shadow).rgb());
  EXPECT_EQ(image.pixel(1, 1), QColor(Qt::blue).rgb());
  TBitmapControl odd(nullptr, QImage(), 9);  // an unknown border draws none, a null picture nothing
  image = Render(odd, QSize(5, 5));
  EXPECT_EQ(image.pixel(0, 0), QColor(Qt::magenta).rgb());
}

}  // namespace
}  // namespace kvt
