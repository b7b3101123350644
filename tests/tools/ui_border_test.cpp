#include "tools/ui_border.h"

#include "utils/precondition.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

namespace kvt {
namespace {

// Distinct colours, so each pixel tells which system colour drew it.
TSystemColors Colors() {
  return {QColor(1, 1, 1), QColor(2, 2, 2), QColor(3, 3, 3), QColor(4, 4, 4),
          QColor(5, 5, 5), QColor(6, 6, 6), QColor(7, 7, 7)};
}

QImage Paint(const TUIBorder& border) {
  QImage image(12, 10, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  border.Paint(painter, Colors());
  return image;
}

int At(const QImage& image, int x, int y) { return qRed(image.pixel(x, y)); }

TEST(UIBorderTest, RaisedButtonRingsUseTheSoftColours) {
  // ButtonUp: raised outer and inner, soft: outer (highlight text, frame), inner (face, shadow).
  const QImage image = Paint(TUIBorder::FromStyle(QRect(0, 0, 12, 10), TUIBorder::ButtonUp, 0));
  EXPECT_EQ(At(image, 3, 0), 6);            // outer top
  EXPECT_EQ(At(image, 0, 4), 6);            // outer left
  EXPECT_EQ(At(image, 3, 9), 5);            // outer bottom
  EXPECT_EQ(At(image, 11, 4), 5);           // outer right
  EXPECT_EQ(At(image, 3, 1), 1);            // inner top
  EXPECT_EQ(At(image, 10, 4), 2);           // inner right
  EXPECT_EQ(qRed(image.pixel(5, 5)), 255);  // no fill
}

TEST(UIBorderTest, RingSidesFollowTheirPixelRules) {
  // Recessed: sunken outer, k = 2: (shadow, highlight text).
  const QImage image = Paint(TUIBorder::FromStyle(QRect(0, 0, 12, 10), TUIBorder::Recessed, 0));
  EXPECT_EQ(At(image, 10, 0), 2);  // the top ends one short of the right edge
  EXPECT_EQ(At(image, 11, 0), 6);  // where the right side begins
  EXPECT_EQ(At(image, 0, 8), 2);   // the left side stops above the bottom
  EXPECT_EQ(At(image, 0, 9), 6);   // the bottom spans the whole width
}

TEST(UIBorderTest, OnlyTheNamedSidesAreDrawnButClientShrinksAllRound) {
  const TUIBorder border = TUIBorder::FromEdges(QRect(0, 0, 12, 10), TUIBorder::RaisedOuter,
                                                TUIBorder::Left | TUIBorder::Top);
  const QImage image = Paint(border);
  EXPECT_EQ(At(image, 3, 0), 1);     // top in face
  EXPECT_EQ(At(image, 11, 4), 255);  // no right side
  EXPECT_EQ(border.GetClientRect(), QRect(1, 1, 10, 8));
}

TEST(UIBorderTest, FlagsZeroDrawsAllFourSidesAndFillWithoutRingsFillsAll) {
  EXPECT_EQ(TUIBorder::FromStyle(QRect(0, 0, 4, 4), TUIBorder::Raised, 0).Flags() & TUIBorder::Rect,
            TUIBorder::Rect);
  const QImage image =
      Paint(TUIBorder::FromStyle(QRect(0, 0, 12, 10), TUIBorder::Plain, TUIBorder::Fill));
  EXPECT_EQ(At(image, 0, 0), 1);
  EXPECT_EQ(At(image, 11, 9), 1);
}

TEST(UIBorderTest, MonochromeAndFlatDrawOneRing) {
  const QImage mono =
      Paint(TUIBorder::FromEdges(QRect(0, 0, 12, 10), 5, TUIBorder::Mono | TUIBorder::Fill));
  EXPECT_EQ(At(mono, 3, 0), 5);
  EXPECT_EQ(At(mono, 3, 1), 7);  // filled with the window colour, no inner ring
  const QImage flat = Paint(TUIBorder::FromEdges(QRect(0, 0, 12, 10), 5, TUIBorder::Flat));
  EXPECT_EQ(At(flat, 3, 0), 2);
  EXPECT_EQ(At(flat, 11, 4), 2);
  EXPECT_EQ(At(flat, 3, 1), 255);
}

TEST(UIBorderTest, StyleOutOfRangeIsAPreconditionError) {
  for (int style : {-1, 11}) {
    try {
      TUIBorder::FromStyle(QRect(), style, 0);
      ADD_FAILURE() << style;
    } catch (const TPreconditionError& error) {
      EXPECT_EQ(error.Expression(), "style >= 0 && style <= WellSet");
    }
  }
}

}  // namespace
}  // namespace kvt
