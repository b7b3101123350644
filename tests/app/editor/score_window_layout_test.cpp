// Where a score window puts its panes and the view.

#include "app/editor/score_window_layout.h"

#include <gtest/gtest.h>

namespace kvt {
namespace {

TEST(ScoreWindowLayoutTest, PanesAndView) {
  struct Case {
    const char* name;
    TPaneMetrics metrics;
    QSize client;
    QRect labels, bars, editor;
  };
  // border 2, label width 40, font size 10: labels 52 wide, bar numbers 32 high.
  const Case cases[] = {
      {"both",
       {true, true, true, 2, 40, 10},
       QSize(400, 300),
       QRect(0, 32, 52, 268),
       QRect(52, 0, 348, 32),
       QRect(52, 32, 348, 268)},
      {"labels hidden: 22 wide",
       {true, false, true, 2, 40, 10},
       QSize(400, 300),
       QRect(0, 32, 22, 268),
       QRect(22, 0, 378, 32),
       QRect(22, 32, 378, 268)},
      {"narrow labels: 22 wide",
       {true, true, true, 1, 5, 8},
       QSize(400, 300),
       QRect(0, 25, 22, 275),
       QRect(22, 0, 378, 25),
       QRect(22, 25, 378, 275)},
      {"no panes",
       {false, true, false, 2, 40, 10},
       QSize(400, 300),
       QRect(0, 0, 0, 300),
       QRect(0, 0, 400, 0),
       QRect(0, 0, 400, 300)},
      {"tiny window",
       {true, true, true, 2, 40, 10},
       QSize(30, 20),
       QRect(0, 32, 52, 0),
       QRect(52, 0, 0, 32),
       QRect(52, 32, 0, 0)},
  };
  for (const Case& c : cases) {
    const TPaneLayout layout = ComputePaneLayout(c.client, c.metrics);
    EXPECT_EQ(layout.labels, c.labels) << c.name;
    EXPECT_EQ(layout.barNumbers, c.bars) << c.name;
    EXPECT_EQ(layout.editor, c.editor) << c.name;
  }
}

}  // namespace
}  // namespace kvt
