// The application tooltip: delays on a fake clock, the same text twice, leaving the tool,
// and placement near the screen's edges.
#include "tools/tool_tip.h"

#include <gtest/gtest.h>

namespace kvt {
namespace {

class TFakeTipEnvironment : public TTipEnvironment {
public:
  uint32_t NowMs() const override { return now; }
  QPoint CursorPos() const override { return cursor; }
  bool MouseCaptured() const override { return captured; }
  QRect ScreenRect() const override { return QRect(0, 0, 800, 600); }

  uint32_t now = 100000;
  QPoint cursor{15, 15};
  bool captured = false;
};

struct ToolTipTest : testing::Test {
  TFakeTipEnvironment env;
  TToolTip tip{env};
  QRect tool{10, 10, 40, 20};

  void ShowNow(std::u16string_view text) {
    tip.SetTool(tool);
    tip.SetText(text);
    tip.TimerStep();
  }
};

TEST_F(ToolTipTest, FirstTipWaitsTheFullDelayThenWatches) {
  tip.SetTool(tool);
  tip.SetText(u"Play");
  EXPECT_EQ(tip.TimerInterval(), TToolTip::kDelayMs);
  EXPECT_FALSE(tip.isVisible());
  tip.TimerStep();
  EXPECT_TRUE(tip.isVisible());
  EXPECT_EQ(tip.TimerInterval(), TToolTip::kWatchMs);
}

TEST_F(ToolTipTest, NextTipSoonAfterHidingIsQuick) {
  struct Case {
    uint32_t pauseMs;
    int delay;
  } cases[] = {{0, TToolTip::kQuickDelayMs},
               {599, TToolTip::kQuickDelayMs},
               {600, TToolTip::kDelayMs},
               {5000, TToolTip::kDelayMs}};
  for (const Case& c : cases) {
    ShowNow(u"first");
    ASSERT_TRUE(tip.isVisible());
    tip.Hide();
    env.now += c.pauseMs;
    tip.SetText(u"second");
    EXPECT_EQ(tip.TimerInterval(), c.delay) << c.pauseMs;
    tip.Hide();
  }
}

TEST_F(ToolTipTest, SameTextAgainChangesNothing) {
  ShowNow(u"Stop");
  tip.SetText(u"Stop");
  EXPECT_TRUE(tip.isVisible());
  EXPECT_EQ(tip.TimerInterval(), TToolTip::kWatchMs);
}

TEST_F(ToolTipTest, LeavingTheToolOrACaptureHides) {
  ShowNow(u"Loop");
  env.cursor = QPoint(100, 100);
  tip.TimerStep();
  EXPECT_FALSE(tip.isVisible());
  EXPECT_FALSE(tip.IsWaitingOrWatching());
  env.cursor = QPoint(15, 15);
  ShowNow(u"Other");
  env.captured = true;
  tip.TimerStep();
  EXPECT_FALSE(tip.isVisible());
}

TEST_F(ToolTipTest, DisabledTipNeverStarts) {
  tip.SetEnabledTips(false);
  tip.SetText(u"x");
  EXPECT_FALSE(tip.IsWaitingOrWatching());
}

TEST_F(ToolTipTest, TextIsCutAt1023CharactersOnACharacterBoundary) {
  std::u16string text(1022, u'a');
  text += u"\U0001D11E";  // a surrogate pair across the limit
  tip.SetText(text);
  EXPECT_EQ(tip.Text().size(), 1022u);
  std::string narrow(2000, 'b');
  tip.SetTextCP(65001, narrow);
  EXPECT_EQ(tip.Text().size(), 1022u);
}

TEST(PlaceToolTip, BelowAboveLeftAndPlacement) {
  QRect screen(0, 0, 800, 600);
  QSize size(100, 20);
  QRect tool(10, 10, 40, 20);
  EXPECT_EQ(PlaceToolTip(tool, std::nullopt, size, screen, 32), QPoint(10, 10 + 20 + 10 + 2));
  QRect low(10, 570, 40, 20);
  EXPECT_EQ(PlaceToolTip(low, std::nullopt, size, screen, 32), QPoint(10, 550));
  QRect right(750, 10, 40, 20);
  EXPECT_EQ(PlaceToolTip(right, std::nullopt, size, screen, 32).x(), 790 - 100);
  EXPECT_EQ(PlaceToolTip(tool, QRect(200, 300, 5, 5), size, screen, 32), QPoint(199, 300));
}

}  // namespace
}  // namespace kvt
