// The score preview control: set-up as a queued call, zoom keys, page keys, clicks beside the
// page, the context menu and the page image it paints.

#include "print/preview_control.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QPointingDevice>
#include <QTest>
#include <QWheelEvent>

#include "tests/print/preview_fixture.h"

namespace kvt::test {
namespace {

class PreviewControlTest : public PreviewTest {
protected:
  // A control whose viewport is `client` (its scroll bars are always there).
  TScorePreviewControl& Make(QSize client, int64_t startTime = 0) {
    control =
        std::make_unique<TScorePreviewControl>(nullptr, 101, Print(), progress, options, startTime);
    control->resize(client);
    control->show();
    QApplication::processEvents();
    control->resize(client + (client - control->viewport()->size()));
    QApplication::processEvents();
    EXPECT_EQ(control->viewport()->size(), client);
    return *control;
  }
  void Char(char c) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(QChar(c)));
    QApplication::sendEvent(control.get(), &press);
  }
  void Click(QPoint at, bool twice = false) {
    if (twice)
      QTest::mouseDClick(control->viewport(), Qt::LeftButton, {}, at);
    else
      QTest::mouseClick(control->viewport(), Qt::LeftButton, {}, at);
  }

  TPreviewOptions options;
  std::unique_ptr<TScorePreviewControl> control;
};

TEST_F(PreviewControlTest, SetUpRunsAfterConstructionAtTheStartTime) {
  AddStaves(4, 300);
  control = std::make_unique<TScorePreviewControl>(nullptr, 101, Print(), progress, options,
                                                   int64_t{150} * 4 * kQuarter);
  EXPECT_FALSE(control->IsInitialized());
  EXPECT_EQ(control->Page(), 1);
  control->resize(1000, 800);
  QApplication::processEvents();
  EXPECT_TRUE(control->IsInitialized());
  EXPECT_GT(control->Page(), 1);  // bar 150 is not on page 1
  EXPECT_EQ(control->GetStatus().zoom, 0);
}

TEST_F(PreviewControlTest, DigitKeysPickZoomLevelsUpToTheLast) {
  AddStaves(2, 40);
  TScorePreviewControl& c = Make({1400, 1000});
  ASSERT_EQ(c.View().ZoomCount(), 5);
  Char('9');
  EXPECT_EQ(c.GetStatus().zoom, 0);  // "9" is no zoom key
  Char('3');
  EXPECT_EQ(c.GetStatus().zoom, 2);
  Char('8');
  EXPECT_EQ(c.GetStatus().zoom, 4);  // level 7 is beyond five levels: the last
  Char('-');
  EXPECT_EQ(c.GetStatus().zoom, 3);
  Char('+');
  Char('+');
  EXPECT_EQ(c.GetStatus().zoom, 4);
  Char('1');
  EXPECT_EQ(c.GetStatus().zoom, 0);
}

TEST_F(PreviewControlTest, PageKeysTurnPagesAndStopAtTheEnds) {
  AddStaves(4, 300);
  TScorePreviewControl& c = Make({800, 600});
  const int pages = CountPages();
  QTest::keyClick(&c, Qt::Key_PageUp);
  EXPECT_EQ(c.Page(), 1);
  QTest::keyClick(&c, Qt::Key_PageDown);
  EXPECT_EQ(c.Page(), 2);
  QTest::keyClick(&c, Qt::Key_Right);  // the page fits: Right turns the page
  EXPECT_EQ(c.Page(), 3);
  QTest::keyClick(&c, Qt::Key_End);
  EXPECT_EQ(c.Page(), pages);
  QTest::keyClick(&c, Qt::Key_PageDown);
  EXPECT_EQ(c.Page(), pages);
  QTest::keyClick(&c, Qt::Key_Left);
  EXPECT_EQ(c.Page(), pages - 1);
  QTest::keyClick(&c, Qt::Key_Home);
  EXPECT_EQ(c.Page(), 1);
}

TEST_F(PreviewControlTest, ZoomedInArrowKeysScrollInsteadOfTurning) {
  AddStaves(4, 300);
  TScorePreviewControl& c = Make({800, 600});
  c.SetZoom(3);
  const int x = c.View().ScrollX(), y = c.View().ScrollY();
  QTest::keyClick(&c, Qt::Key_Right);
  QTest::keyClick(&c, Qt::Key_Down);
  EXPECT_EQ(c.Page(), 1);
  EXPECT_GT(c.View().ScrollX(), x);
  EXPECT_GT(c.View().ScrollY(), y);
  QTest::keyClick(&c, Qt::Key_Home, Qt::ControlModifier);
  EXPECT_EQ(c.View().ScrollX(), 0);
  EXPECT_EQ(c.View().ScrollY(), 0);
  EXPECT_EQ(c.Page(), 1);
}

TEST_F(PreviewControlTest, ClicksBesideThePageTurnItAndDoubleClicksOnItZoom) {
  AddStaves(4, 300);
  TScorePreviewControl& c = Make({1400, 1000});
  const QPoint origin = c.View().PageOrigin();
  const QSize page = c.View().PageSize();
  Click(origin + QPoint(page.width() + 40, 300));
  EXPECT_EQ(c.Page(), 2);
  Click(origin + QPoint(-40, 300));
  EXPECT_EQ(c.Page(), 1);
  Click(origin + QPoint(page.width() / 2, 300));
  EXPECT_EQ(c.Page(), 1);
  Click(origin + QPoint(page.width() / 2, 300), true);
  EXPECT_EQ(c.GetStatus().zoom, 1);
  EXPECT_EQ(c.Page(), 1);
}

TEST_F(PreviewControlTest, DraggingTheZoomedPageScrollsIt) {
  AddStaves(2, 40);
  TScorePreviewControl& c = Make({1400, 1000});
  c.SetZoom(4);
  c.ScrollTo(2000, 2000);
  ASSERT_EQ(c.HitTest({700, 500}), TPreviewView::kOnPage);
  QTest::mousePress(c.viewport(), Qt::LeftButton, {}, {700, 500});
  EXPECT_TRUE(c.IsDragging());
  QMouseEvent move(QEvent::MouseMove, QPointF(600, 380),
                   c.viewport()->mapToGlobal(QPointF(600, 380)), Qt::NoButton, Qt::LeftButton,
                   Qt::NoModifier);
  QApplication::sendEvent(c.viewport(), &move);
  EXPECT_EQ(c.View().ScrollX(), 2100);
  EXPECT_EQ(c.View().ScrollY(), 2120);
  QTest::mouseRelease(c.viewport(), Qt::LeftButton, {}, {600, 380});
  EXPECT_FALSE(c.IsDragging());
}

TEST_F(PreviewControlTest, WheelScrollsAndZoomsWithCtrl) {
  AddStaves(2, 40);
  TScorePreviewControl& c = Make({1400, 1000});
  auto wheel = [&c](int delta, Qt::KeyboardModifiers modifiers, QPointF at = {700, 400}) {
    QWheelEvent event(at, c.viewport()->mapToGlobal(at), {}, {0, delta}, Qt::NoButton, modifiers,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(c.viewport(), &event);
  };
  wheel(120, Qt::ControlModifier);
  EXPECT_EQ(c.GetStatus().zoom, 1);
  const int y = c.View().ScrollY();
  wheel(-120, Qt::NoModifier);
  EXPECT_GT(c.View().ScrollY(), y);
  const int down = c.View().ScrollY();
  wheel(-120, Qt::ShiftModifier);  // nothing
  EXPECT_EQ(c.View().ScrollY(), down);
  wheel(-120, Qt::ControlModifier);
  EXPECT_EQ(c.GetStatus().zoom, 0);
}

TEST_F(PreviewControlTest, PenAndTouchAreToldApartFromTheMouse) {
  AddStaves(2, 40);
  TScorePreviewControl& c = Make({1400, 1000});
  c.SetZoom(2);
  static QPointingDevice pen("test pen", 9001, QInputDevice::DeviceType::Stylus,
                             QPointingDevice::PointerType::Pen, QInputDevice::Capability::Position,
                             1, 3);
  static QPointingDevice touch("test touch", 9002, QInputDevice::DeviceType::TouchScreen,
                               QPointingDevice::PointerType::Finger,
                               QInputDevice::Capability::Position, 10, 0);
  auto press = [&c](const QPointingDevice* device) {
    const QPointF at(700, 500);
    QMouseEvent event(QEvent::MouseButtonPress, at, at, c.viewport()->mapToGlobal(at),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier, device);
    QApplication::sendEvent(c.viewport(), &event);
  };
  press(&touch);
  EXPECT_FALSE(c.IsDragging());  // touch drags through the pan gesture
  press(&pen);
  EXPECT_TRUE(c.IsDragging());  // a pen drags the page
  EXPECT_NE(c.viewport()->cursor().shape(), Qt::ClosedHandCursor);
  QTest::mouseRelease(c.viewport(), Qt::LeftButton, {}, {700, 500});
  press(QPointingDevice::primaryPointingDevice());
  EXPECT_TRUE(c.IsDragging());
  EXPECT_EQ(c.viewport()->cursor().shape(), Qt::ClosedHandCursor);
  QTest::mouseRelease(c.viewport(), Qt::LeftButton, {}, {700, 500});
}

TEST_F(PreviewControlTest, TwoFingerTapShowsTheFullPage) {
  AddStaves(2, 40);
  TScorePreviewControl& c = Make({1400, 1000});
  static QPointingDevice* screen = QTest::createTouchDevice();
  c.SetZoom(3);
  QTest::touchEvent(c.viewport(), screen).press(0, {600, 400}).press(1, {700, 400});
  QTest::touchEvent(c.viewport(), screen).release(0, {600, 400}).release(1, {700, 400});
  EXPECT_EQ(c.GetStatus().zoom, 0);
  // Two fingers that move are no tap.
  c.SetZoom(3);
  QTest::touchEvent(c.viewport(), screen).press(0, {600, 400}).press(1, {700, 400});
  QTest::touchEvent(c.viewport(), screen).move(0, {500, 400}).move(1, {800, 400});
  QTest::touchEvent(c.viewport(), screen).release(0, {500, 400}).release(1, {800, 400});
  EXPECT_EQ(c.GetStatus().zoom, 3);
  // One finger tapping beside the page turns it (left of it: back; the offscreen screen is
  // narrower than the window).
  c.SetZoom(0);
  c.NextPage();
  const QPoint beside = c.View().PageOrigin() + QPoint(-40, 300);
  QTest::touchEvent(c.viewport(), screen).press(0, beside);
  QTest::touchEvent(c.viewport(), screen).release(0, beside);
  EXPECT_EQ(c.Page(), 1);
}

TEST_F(PreviewControlTest, PageMenuOffersWhatTheZoomAllows) {
  AddStaves(2, 40);
  TScorePreviewControl& c = Make({1400, 1000});
  std::unique_ptr<QMenu> menu(c.MakePageMenu({700, 500}));
  ASSERT_EQ(menu->actions().size(), 2);
  EXPECT_EQ(menu->actions()[0]->text(), "&Zoom to here");
  EXPECT_EQ(menu->actions()[1]->text(), "Show &full page");
  EXPECT_TRUE(menu->actions()[0]->isEnabled());
  EXPECT_FALSE(menu->actions()[1]->isEnabled());
  menu->actions()[0]->trigger();
  EXPECT_EQ(c.GetStatus().zoom, 4);
  std::unique_ptr<QMenu> again(c.MakePageMenu({700, 500}));
  EXPECT_FALSE(again->actions()[0]->isEnabled());
  again->actions()[1]->trigger();
  EXPECT_EQ(c.GetStatus().zoom, 0);
}

TEST_F(PreviewControlTest, PaintsThePaperWithItsShadowAndTheBoundaryOnRequest) {
  AddStaves(2, 40);
  TScorePreviewControl& c = Make({1400, 1000});
  const QRect page(c.View().PageOrigin(), c.View().PageSize());
  const QImage shot = c.viewport()->grab().toImage();
  // Paper white at a corner (inside the margins), shadow grey right of it, window colour
  // beyond.
  EXPECT_EQ(shot.pixelColor(page.left() + 5, page.top() + 5), QColor(Qt::white));
  EXPECT_EQ(shot.pixelColor(page.right() + 2, page.center().y()), QColor(160, 160, 160));
  EXPECT_EQ(shot.pixelColor(page.right() + 40, page.center().y()),
            c.palette().color(QPalette::Window));
  // Some ink on the page.
  int dark = 0;
  for (int y = page.top(); y < page.bottom(); y += 2)
    for (int x = page.left() + 2; x < page.right() - 2; x += 2)
      if (qGray(shot.pixel(x, y)) < 100) ++dark;
  EXPECT_GT(dark, 100);
  EXPECT_FALSE(c.IsBoundaryShown());
  c.ToggleBoundary();
  EXPECT_TRUE(options.showBoundary);
}

TEST_F(PreviewControlTest, JustifySwitchShowsInTheStatusAndKeepsThePage) {
  AddStaves(4, 300);
  TScorePreviewControl& c = Make({800, 600});
  c.GoToPage(2);
  EXPECT_TRUE(c.GetStatus().justify);
  c.ToggleJustify();
  EXPECT_FALSE(c.GetStatus().justify);
  EXPECT_EQ(c.Page(), 2);
  c.ToggleJustify();
  EXPECT_TRUE(c.GetStatus().justify);
}

}  // namespace
}  // namespace kvt::test
