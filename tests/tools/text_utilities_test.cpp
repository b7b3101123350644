#include "tools/text_utilities.h"

#include "utils/precondition.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QLabel>
#include <QMimeData>

#include <cstring>
#include <vector>

namespace kvt {
namespace {

TLogFont TrueTypeFont(int height) {
  TLogFont lf;
  lf.height = height;
  lf.outPrecision = OUT_TT_PRECIS;
  std::strcpy(lf.faceName, "Liberation Sans");
  return lf;
}

TEST(TextUtilitiesTest, FontShrinksByQuartersDownToFour) {
  QImage device(10, 10, QImage::Format_RGB32);
  int height = 0;
  const QFont smallest = CreateFontToFit(device, TrueTypeFont(-40), "Wide text", 0, &height);
  EXPECT_EQ(height, -4);  // -40 -30 -22 -16 -12 -9 -6 -4: nothing fits in no width
  EXPECT_EQ(smallest.pixelSize(), 4);
  CreateFontToFit(device, TrueTypeFont(-40), "Wide text", 100000, &height);
  EXPECT_EQ(height, -40);
  // A width that the text fits only at some height between.
  const QFont fitted = CreateFontToFit(device, TrueTypeFont(-40), "Wide text", 60, &height);
  EXPECT_TRUE(TextFits(device, fitted, "Wide text", 60));
  EXPECT_FALSE(
      TextFits(device, FontFromLogFont(TrueTypeFont(height * 4 / 3 - 1)), "Wide text", 60));
}

TEST(TextUtilitiesTest, FontToFitNeedsScalableOutput) {
  QImage device(10, 10, QImage::Format_RGB32);
  TLogFont lf = TrueTypeFont(-20);
  lf.outPrecision = 0;
  try {
    CreateFontToFit(device, lf, "x", 10);
    ADD_FAILURE();
  } catch (const TPreconditionError& error) {
    EXPECT_EQ(error.Expression(), "lf.lfOutPrecision == OUT_TT_PRECIS");
  }
}

TEST(TextUtilitiesTest, PointsToPixelsUsesTheVerticalResolution) {
  QImage device(10, 10, QImage::Format_RGB32);
  device.setDotsPerMeterY(3780);  // 96 dpi
  EXPECT_EQ(PointsToPixels(device, 12), 12 * device.logicalDpiY() / 72);
  EXPECT_EQ(PointsToPixels(device, 0), 0);
}

TEST(TextUtilitiesTest, ClipboardGetsUtf8TextAsPlainText) {
  CopyTextToClipboard(
      "Gr\xC3\xBC\xC3\x9F"
      "e");
  EXPECT_EQ(QApplication::clipboard()->text(), QString::fromUtf8("Gr\xC3\xBC\xC3\x9F"
                                                                 "e"));
  QMimeData data;
  PutTextOnClipboard(data, "plain");
  EXPECT_EQ(data.text(), "plain");
}

TEST(TextUtilitiesTest, ChildrenGetTheVariableFontAndBackgroundChangesOnce) {
  QWidget window;
  auto* inner = new QWidget(&window);
  auto* label = new QLabel(inner);
  QFont odd("Liberation Mono", 31);
  label->setFont(odd);
  SetChildrenVarFont(window);
  EXPECT_EQ(label->font(), QApplication::font());
  SetClassBackground(window, QColor(1, 2, 3));
  EXPECT_EQ(window.palette().color(QPalette::Window), QColor(1, 2, 3));
  EXPECT_TRUE(window.autoFillBackground());
}

}  // namespace
}  // namespace kvt
