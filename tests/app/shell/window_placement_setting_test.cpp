// Stored window placements: parsed strictly, clamped to the screen.

#include "app/shell/window_placement_setting.h"

#include <gtest/gtest.h>

#include <QWidget>

#include "app/shell/tarlowmede_app.h"
#include "utils/sys_info.h"

namespace kvt {
namespace {

TEST(WindowPlacementSettingTest, ParseTable) {
  struct Case {
    const char* text;
    bool valid;
    uint32_t showCommand;
    QRect normal;
  } cases[] = {
      {"0:3:(10,20)(810,620)", true, 3, QRect(QPoint(10, 20), QPoint(810, 620))},
      {"0:1:(-5,-6)(100,200)", true, 1, QRect(QPoint(-5, -6), QPoint(100, 200))},
      {"0:3:(10,20)(810)", false, 0, {}},       // five numbers
      {"0:3:(1,2)(3", false, 0, {}},            // shorter than 13 characters
      {"0:-1:(10,20)(810,620)", false, 0, {}},  // a negative show command
      {"0:1:(10,20)(99999999999,620)", false, 0, {}},
      {"", false, 0, {}},
  };
  for (const Case& c : cases) {
    const auto placement = ParseWindowPlacement(c.text);
    ASSERT_EQ(placement.has_value(), c.valid) << c.text;
    if (!c.valid) continue;
    EXPECT_EQ(placement->showCommand, c.showCommand) << c.text;
    EXPECT_EQ(placement->normal, c.normal) << c.text;
    EXPECT_EQ(FormatWindowPlacement(*placement), c.text);
  }
}

TEST(WindowPlacementSettingTest, ClampedToTheScreen) {
  const QRect screen(0, 0, 1920, 1080);
  struct Case {
    QRect stored;
    QRect expected;
  } cases[] = {
      {QRect(100, 100, 800, 600), QRect(100, 100, 800, 600)},
      {QRect(5000, 4000, 800, 600), QRect(1120, 480, 800, 600)},  // off the screen
      {QRect(-900, -700, 800, 600), QRect(0, 0, 800, 600)},
      {QRect(10, 10, 5000, 3000), QRect(0, 0, 1920, 1080)},  // larger than the screen
  };
  for (const Case& c : cases)
    EXPECT_EQ(ClampToScreen(c.stored, screen), c.expected) << c.stored.x();
}

TEST(WindowPlacementSettingTest, FivenumberPlacementIsIgnored) {
  TSysInfo& settings = TTarlowmedeApp::Running()->Settings();
  QWidget window;
  window.setGeometry(1, 2, 300, 200);
  ASSERT_TRUE(settings.WriteProfileString(kPlacementSection, "Test", "0:3:(10,20)(810)"));
  EXPECT_FALSE(LoadWindowPlacement(settings, window, "Test"));
  EXPECT_EQ(window.geometry(), QRect(1, 2, 300, 200));
  ASSERT_TRUE(SaveWindowPlacement(settings, window, "Test"));
  QWidget other;
  EXPECT_TRUE(LoadWindowPlacement(settings, other, "Test"));
  EXPECT_EQ(other.size(), QSize(300, 200));
  EXPECT_FALSE(other.isMaximized());
}

}  // namespace
}  // namespace kvt
