#include "tools/window_placement.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QWidget>

namespace kvt {
namespace {

TEST(WindowPlacementTest, CentringCutsHalvesTowardZero) {
  EXPECT_EQ(CenteredTopLeft(QRect(0, 0, 801, 601), QSize(100, 100)), QPoint(350, 250));
  EXPECT_EQ(CenteredTopLeft(QRect(0, 0, 100, 100), QSize(301, 301)), QPoint(-100, -100));
}

TEST(WindowPlacementTest, WindowLargerThanTheScreenGoesNegativeOnScreenButNotOverAWindow) {
  const QRect screen = ScreenRect();
  ASSERT_FALSE(screen.isEmpty());
  QWidget big;
  big.resize(screen.width() + 200, screen.height() + 100);
  CenterWindowOnScreen(big);
  EXPECT_EQ(big.frameGeometry().topLeft(), QPoint(screen.left() - 100, screen.top() - 50));

  QWidget small;
  small.setGeometry(10, 10, 50, 40);
  CenterWindowOver(big, small);
  EXPECT_EQ(big.frameGeometry().topLeft(), QPoint(0, 0));
}

TEST(WindowPlacementTest, CenterWindowOnKeepsTheWindowOnTheScreen) {
  const QRect screen = ScreenRect();
  QWidget owner;
  owner.setGeometry(screen.right() - 60, screen.bottom() - 60, 50, 50);
  QWidget window;
  window.resize(200, 100);
  CenterWindowOn(&owner, window);
  EXPECT_EQ(window.frameGeometry().right(), screen.right());
  EXPECT_EQ(window.frameGeometry().bottom(), screen.bottom());
  CenterWindowOn(nullptr, window);
  EXPECT_EQ(window.frameGeometry().topLeft(), CenteredTopLeft(screen, QSize(200, 100)));
}

TEST(WindowPlacementTest, CaptionedAncestorSkipsControlsAndFramelessWindows) {
  QWidget window;
  auto* inner = new QWidget(&window);
  auto* label = new QLabel(inner);
  EXPECT_EQ(GetCaptionedAncestor(label), &window);
  EXPECT_EQ(GetCaptionedAncestor(&window), &window);
  EXPECT_EQ(GetCaptionedAncestor(nullptr), nullptr);
  QWidget frameless(nullptr, Qt::FramelessWindowHint);
  auto* child = new QLabel(&frameless);
  EXPECT_EQ(GetCaptionedAncestor(child), child);
}

}  // namespace
}  // namespace kvt
