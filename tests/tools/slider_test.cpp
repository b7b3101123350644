// The slider: range, snapping, point and position arithmetic without division by zero, hit
// codes, and the notifications of the mouse and the keys (the slider never moves itself).
#include "tools/slider.h"

#include <gtest/gtest.h>
#include <QTest>

#include <utility>
#include <vector>

namespace kvt {
namespace {

TEST(SliderRange, RangeOfEqualAndReversedEnds) {
  EXPECT_EQ((TSliderRange{5, 5}.Range()), 1);
  EXPECT_EQ((TSliderRange{100, 0}.Range()), 100);
  EXPECT_EQ((TSliderRange{INT32_MIN, INT32_MAX}.Range()), INT32_MAX);
}

TEST(SliderRange, SnapClampsThenRoundsHalvesUp) {
  TSliderRange r{0, 100};
  struct Case {
    int in;
    bool snap;
    int out;
  } cases[] = {{14, true, 10},    {15, true, 20},  {-7, true, 0},
               {250, false, 100}, {99, true, 100}, {-3, false, 0}};
  for (const Case& c : cases) EXPECT_EQ(r.Snap(c.in, c.snap, 10), c.out) << c.in;
  TSliderRange reversed{100, 0};
  EXPECT_EQ(reversed.Snap(150, false, 10), 100);
  EXPECT_EQ(reversed.Snap(-5, false, 10), 0);
  EXPECT_EQ(reversed.Snap(50, true, 0), 50);  // gap 0: no snapping, no division
}

TEST(SliderRange, OffsetsWithoutRoomOrReversed) {
  TSliderRange r{0, 100};
  EXPECT_EQ(r.OffsetToPos(50, 0), 0);
  EXPECT_EQ(r.PosToOffset(50, -9), 0);
  EXPECT_EQ(r.OffsetToPos(50, 100), 50);
  EXPECT_EQ(r.OffsetToPos(500, 100), 100);
  TSliderRange reversed{100, 0};
  EXPECT_EQ(reversed.OffsetToPos(0, 100), 100);
  EXPECT_EQ(reversed.OffsetToPos(100, 100), 0);
  EXPECT_EQ(reversed.PosToOffset(25, 100), 75);
  TSliderRange equal{5, 5};
  EXPECT_EQ(equal.PosToOffset(5, 100), 0);
}

struct SliderTest : testing::Test {
  TKVSlider slider{Qt::Horizontal, nullptr};
  std::vector<std::pair<int, int>> sent;

  void SetUp() override {
    slider.resize(109, 32);  // usable length 100
    slider.SetNotify([this](int code, int pos) { sent.emplace_back(code, pos); });
  }
};

TEST_F(SliderTest, SetPositionClampsAndSnaps) {
  slider.SetPosition(250);
  EXPECT_EQ(slider.GetPosition(), 100);
  slider.SetSnap(true);
  slider.SetPosition(44);
  EXPECT_EQ(slider.GetPosition(), 40);
  EXPECT_EQ(slider.ThumbRect(), QRect(40, 0, 9, 20));
}

TEST_F(SliderTest, HitCodesAroundTheThumb) {
  slider.SetPosition(50);
  EXPECT_EQ(slider.HitTest(QPoint(52, 5)), kSbThumbTrack);
  EXPECT_EQ(slider.HitTest(QPoint(10, 5)), kSbPageUp);
  EXPECT_EQ(slider.HitTest(QPoint(90, 5)), kSbPageDown);
  EXPECT_EQ(slider.HitTest(QPoint(90, 25)), kSbThumbPosition);  // below the thumb
  slider.SetRuler(false);
  EXPECT_EQ(slider.HitTest(QPoint(10, 5)), kSbThumbPosition);
}

TEST_F(SliderTest, DragSendsStartTrackPositionAndEnd) {
  slider.SetPosition(50);
  QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(52, 5));
  EXPECT_TRUE(slider.IsSliding());
  QTest::mouseMove(&slider, QPoint(72, 5));
  QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(72, 5));
  std::vector<std::pair<int, int>> expected = {{kSbStartDrag, 50},
                                               {kSbThumbTrack, 50},
                                               {kSbThumbTrack, 70},
                                               {kSbThumbPosition, 70},
                                               {kSbEndScroll, 70}};
  EXPECT_EQ(sent, expected);
  EXPECT_EQ(slider.GetPosition(), 50);  // the owner moves it
}

TEST_F(SliderTest, RightClicksAndDoubleClicksDoNothing) {
  QTest::mouseClick(&slider, Qt::RightButton, {}, QPoint(10, 5));
  QTest::mouseDClick(&slider, Qt::RightButton, {}, QPoint(10, 5));
  EXPECT_TRUE(sent.empty());
}

TEST_F(SliderTest, KeyRepeatsThenOneEndScroll) {
  slider.SetPosition(30);
  QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier, QString(), true, 3);
  QCoreApplication::sendEvent(&slider, &repeat);
  QTest::keyClick(&slider, Qt::Key_Home);
  std::vector<std::pair<int, int>> expected = {{kSbLineDown, 30}, {kSbLineDown, 30},
                                               {kSbLineDown, 30}, {kSbEndScroll, 30},
                                               {kSbTop, 30},      {kSbEndScroll, 30}};
  EXPECT_EQ(sent, expected);
}

TEST(SliderVertical, HitCodesBesideAboveAndBelowTheThumb) {
  TKVSlider slider(Qt::Vertical, nullptr);
  slider.resize(40, 109);
  slider.SetPosition(50);
  QRect thumb = slider.ThumbRect();
  EXPECT_EQ(thumb, QRect(10, 50, 20, 9));  // centred across: (40 - 20) / 2
  struct Case {
    QPoint p;
    int code;
  } cases[] = {{{15, 52}, kSbThumbTrack}, {{2, 52}, kSbThumbPosition}, {{35, 10}, kSbThumbPosition},
               {{15, 10}, kSbPageUp},     {{15, 100}, kSbPageDown}};
  for (const Case& c : cases) EXPECT_EQ(slider.HitTest(c.p), c.code) << c.p.x() << "," << c.p.y();
  EXPECT_EQ(slider.PointToPos(QPoint(0, 25)), 25);
}

TEST(SliderNoRoom, ANarrowSliderMapsEveryPointToTheMinimum) {
  TKVSlider slider(Qt::Vertical, nullptr);
  slider.resize(32, 5);  // shorter than the thumb
  slider.SetRange(10, 20);
  EXPECT_EQ(slider.PointToPos(QPoint(3, 4)), 10);
  EXPECT_EQ(slider.ThumbRect().top(), 0);
}

}  // namespace
}  // namespace kvt
