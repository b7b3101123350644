// The balloon alert: plain texts, width, time-out, the click's command and the minimised anchor.
#include "tools/balloon_alert.h"

#include <gtest/gtest.h>
#include <QTest>

#include "tests/tools/test_app.h"
#include "tools/command_table.h"

namespace kvt {
namespace {

using test::TestApp;

struct BalloonTest : testing::Test {
  QWidget anchor;
  TBalloonAlert balloon{&anchor};
  static constexpr int kAlertCommand = 24401;
  std::vector<int> commands;

  void SetUp() override {
    anchor.resize(300, 200);
    anchor.show();
    TestApp().Commands().Register(kAlertCommand, [this](int32_t id) { commands.push_back(id); });
  }
  void TearDown() override { TestApp().Commands().Unregister(kAlertCommand); }
};

TEST_F(BalloonTest, ShowsPlainTextsWithinTwoThirdsOfTheAnchor) {
  balloon.Show(&anchor, 10, 10, "<i>Alert #3</i> \xFF", TBalloonAlert::kIconWarning, "Title");
  ASSERT_TRUE(balloon.IsShowing());
  EXPECT_EQ(balloon.BodyText(), QString::fromUtf8("<i>Alert #3</i> \xEF\xBF\xBD"));
  EXPECT_EQ(balloon.TitleText(), "Title");
  EXPECT_EQ(balloon.MaxTextWidth(), 200);
}

TEST_F(BalloonTest, ClickSendsTheCommandQueuedThenHides) {
  balloon.Show(&anchor, 5, 5, "text", TBalloonAlert::kIconInformation, {}, 24401);
  QTest::mouseClick(&balloon, Qt::LeftButton);
  EXPECT_FALSE(balloon.IsShowing());
  EXPECT_TRUE(commands.empty());  // posted, not sent
  QCoreApplication::processEvents();
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0], kAlertCommand);
  balloon.Show(&anchor, 5, 5, "no command", 0);
  QTest::mouseClick(&balloon, Qt::LeftButton);
  QCoreApplication::processEvents();
  EXPECT_EQ(commands.size(), 1u);
  EXPECT_FALSE(balloon.IsShowing());
}

TEST_F(BalloonTest, TimeoutHidesAndZeroKeepsIt) {
  balloon.SetTimeout(0);
  balloon.Show(&anchor, 5, 5, "stays", 0);
  QTest::qWait(30);
  EXPECT_TRUE(balloon.IsShowing());
  balloon.SetTimeout(-5);
  balloon.Show(&anchor, 5, 5, "stays", 0);
  QTest::qWait(30);
  EXPECT_TRUE(balloon.IsShowing());
  balloon.SetTimeout(10);
  balloon.Show(&anchor, 5, 5, "goes", 0);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !balloon.IsShowing(); }, 2000));
}

TEST_F(BalloonTest, MinimisedOrDestroyedAnchor) {
  anchor.showMinimized();
  balloon.Show(&anchor, 5, 5, "hidden", 0);
  EXPECT_FALSE(balloon.IsShowing());
  auto* other = new QWidget;
  other->resize(90, 90);
  other->show();
  balloon.Show(other, 1, 1, "shown", 0);
  EXPECT_TRUE(balloon.IsShowing());
  delete other;
  EXPECT_FALSE(balloon.IsShowing());
}

}  // namespace
}  // namespace kvt
