#include "tools/status_bar95.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLabel>
#include <QMainWindow>
#include <QSizeGrip>
#include <QTest>

namespace kvt {
namespace {

TEST(StatusBar95Test, HintSplitsIntoStatusAndTooltipText) {
  const struct {
    QString hint, status, tip;
  } cases[] = {
      {"Open the status bar file menu\nStatus Bar File Menu", "Open the status bar file menu",
       "Status Bar File Menu"},
      {"Only one part", "Only one part", "Only one part"},
      {"a\nb\nc", "a", "b"},
      {QString(250, 'x'), QString(199, 'x'), QString(199, 'x')},
      // The cut never splits a surrogate pair.
      {QString(198, 'x') + QString::fromUtf8("\xF0\x9D\x84\x9E"), QString(198, 'x'),
       QString(198, 'x')},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TStatusBar95::StatusPart(c.hint), c.status);
    EXPECT_EQ(TStatusBar95::TooltipPart(c.hint), c.tip);
  }
}

TEST(StatusBar95Test, SetTextShowsTheStatusPartAndEmptyClears) {
  TStatusBar95 bar;
  bar.SetText("Open the status bar file menu\nStatus Bar File Menu");
  EXPECT_EQ(bar.currentMessage(), "Open the status bar file menu");
  bar.SetText("");
  EXPECT_EQ(bar.currentMessage(), "");
}

TEST(StatusBar95Test, GadgetsStandBeforeTheGripWhichHidesWhenMaximised) {
  QMainWindow frame;
  auto* bar = new TStatusBar95;
  frame.setStatusBar(bar);
  auto* label = new QLabel("Bar 1");
  bar->Insert(label);
  bar->Insert(new TKVStatusSeparatorGadget(1, 2));
  frame.resize(400, 300);
  frame.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
  auto* grip = bar->findChild<QSizeGrip*>();
  ASSERT_NE(grip, nullptr);
  EXPECT_TRUE(grip->isVisible());
  EXPECT_GT(grip->x(), label->x());
  frame.showMaximized();
  for (int i = 0; i < 5 && grip->isVisible(); ++i) QTest::qWait(10);
  EXPECT_FALSE(grip->isVisible());
}

TEST(StatusBar95Test, SeparatorIsAsWideAsItsCounts) {
  TKVStatusSeparatorGadget gap(1, 2);
  EXPECT_EQ(gap.sizeHint().width(), 5);
  EXPECT_EQ(gap.EdgeX(), 3);
}

}  // namespace
}  // namespace kvt
