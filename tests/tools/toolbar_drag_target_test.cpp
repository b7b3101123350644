#include "tools/toolbar_drag_target.h"

#include "tools/toolbar_record.h"

#include <gtest/gtest.h>

namespace kvt {
namespace {

// A frame whose stations span (100,100)-(900,700) around a central area (130,130)-(870,670).
TDragAreas Areas() {
  TDragAreas a;
  a.outer = QRect(100, 100, 800, 600);
  a.inner = QRect(130, 130, 740, 540);
  a.horizontalSize = QSize(200, 26);
  a.verticalSize = QSize(26, 200);
  a.floatingSize = QSize(120, 60);
  return a;
}

struct TTargetCase {
  const char* name;
  QRect outline;
  QPoint cursor;
  bool ctrl;
  uint16_t allowed;
  uint16_t edge;
};

TEST(ToolbarDragTargetTest, EdgesAreTriedTopBottomLeftRight) {
  const TTargetCase cases[] = {
      {"top", QRect(300, 95, 200, 26), QPoint(310, 110), false, 0xF010, TBRS_ALIGN_TOP},
      {"top with Ctrl floats", QRect(300, 95, 200, 26), QPoint(310, 110), true, 0xF010, 0},
      {"top not allowed", QRect(300, 95, 200, 26), QPoint(310, 110), false, 0xD010, 0},
      {"bottom", QRect(300, 680, 200, 26), QPoint(310, 690), false, 0xF010, TBRS_ALIGN_BOTTOM},
      {"left", QRect(95, 300, 26, 200), QPoint(110, 310), false, 0xF010, TBRS_ALIGN_LEFT},
      {"right", QRect(880, 300, 26, 200), QPoint(890, 310), false, 0xF010, TBRS_ALIGN_RIGHT},
      {"middle floats", QRect(400, 400, 120, 60), QPoint(410, 410), false, 0xF010, 0},
      {"outside the frame floats", QRect(1000, 50, 200, 26), QPoint(1010, 60), false, 0xF010, 0},
  };
  for (const TTargetCase& c : cases) {
    SCOPED_TRACE(c.name);
    TDragAreas areas = Areas();
    areas.allowed = c.allowed;
    EXPECT_EQ(ChooseDragTarget(areas, c.outline, c.cursor, c.ctrl).edge, c.edge);
  }
}

TEST(ToolbarDragTargetTest, TargetGivesTheOutlineItsSizeThere) {
  const TDragAreas areas = Areas();
  const TDragTarget top = ChooseDragTarget(areas, QRect(300, 95, 120, 60), QPoint(310, 110), false);
  EXPECT_EQ(top.outline.size(), QSize(200, 26));
  EXPECT_EQ(top.outline.left(), 300);
  const TDragTarget left =
      ChooseDragTarget(areas, QRect(95, 300, 120, 60), QPoint(110, 310), false);
  EXPECT_EQ(left.outline.size(), QSize(26, 200));
  const TDragTarget floating =
      ChooseDragTarget(areas, QRect(400, 400, 200, 26), QPoint(650, 500), false);
  EXPECT_EQ(floating.outline.size(), QSize(120, 60));
  EXPECT_TRUE(floating.outline.contains(QPoint(650, 500)));  // re-centred on the cursor
}

}  // namespace
}  // namespace kvt
