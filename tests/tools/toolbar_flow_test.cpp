#include "tools/toolbar_flow.h"

#include "tools/toolbar_record.h"

#include <gtest/gtest.h>

#include <vector>

namespace kvt {
namespace {

std::vector<TFlowGadget> Buttons(int count, int size = 22) {
  return std::vector<TFlowGadget>(count, TFlowGadget{QSize(size, size), false, true});
}

TEST(ToolbarFlowTest, TopToolbarIsOneRowAfterItsGripper) {
  const TFlowResult flow = FlowGadgets(Buttons(3), TBRS_ALIGN_TOP, 1, 6);
  EXPECT_EQ(flow.rects[0], QRect(10, 0, 22, 22));
  EXPECT_EQ(flow.rects[2], QRect(54, 0, 22, 22));
  EXPECT_EQ(flow.size, QSize(76, 22));
  EXPECT_EQ(flow.rows, 1);
}

TEST(ToolbarFlowTest, LeftToolbarIsOneColumnBelowItsGripper) {
  const TFlowResult flow = FlowGadgets(Buttons(3), TBRS_ALIGN_LEFT, 1, 6);
  EXPECT_EQ(flow.rects[0], QRect(0, 13, 22, 22));
  EXPECT_EQ(flow.rects[2], QRect(0, 57, 22, 22));
  EXPECT_EQ(flow.size, QSize(22, 79));
  EXPECT_EQ(flow.rows, 3);
}

TEST(ToolbarFlowTest, FloatingToolbarBreaksRowsAtTheTargetWidth) {
  const TFlowResult flow = FlowGadgets(Buttons(5), TBRS_ALIGN_TOP | TBRS_FLOATING, 2, 6);
  // 110 / 2 rounded up is 55: two buttons a row.
  EXPECT_EQ(flow.rows, 3);
  EXPECT_EQ(flow.rects[2], QRect(0, 22, 22, 22));
  EXPECT_EQ(flow.size, QSize(44, 66));
}

TEST(ToolbarFlowTest, SeparatorAtABreakBecomesABarWithoutGap) {
  std::vector<TFlowGadget> gadgets = Buttons(4);
  gadgets.insert(gadgets.begin() + 2, TFlowGadget{QSize(6, 6), true, true});
  const TFlowResult flow = FlowGadgets(gadgets, TBRS_ALIGN_TOP | TBRS_FLOATING, 2, 6);
  EXPECT_TRUE(flow.barSeparator[2]);
  EXPECT_EQ(flow.rects[2], QRect(0, 22, 44, 7));  // across the widest row
  EXPECT_EQ(flow.rects[3].topLeft(), QPoint(0, 29));
}

TEST(ToolbarFlowTest, GadgetsTakingNoPartAreOutOfSight) {
  std::vector<TFlowGadget> gadgets = Buttons(3);
  gadgets[1].takesPart = false;
  const TFlowResult flow = FlowGadgets(gadgets, TBRS_ALIGN_TOP, 1, 6);
  EXPECT_TRUE(flow.rects[1].isNull());
  EXPECT_EQ(flow.rects[2].x(), 32);
}

TEST(ToolbarFlowTest, FortyGadgetsKeepAtMostThirtyTwoLayouts) {
  const auto layouts = CandidateFloatLayouts(Buttons(40), 6);
  EXPECT_LE(layouts.size(), 32u);
  EXPECT_GT(layouts.size(), 1u);
  for (size_t i = 1; i < layouts.size(); ++i) EXPECT_GT(layouts[i].rows, layouts[i - 1].rows);
  EXPECT_EQ(layouts.back().rows, 40);
  EXPECT_EQ(layouts.front().rows, 1);
}

TEST(ToolbarFlowTest, LayoutsStopWhenEachGadgetHasItsRow) {
  const auto layouts = CandidateFloatLayouts(Buttons(4), 6);
  ASSERT_FALSE(layouts.empty());
  EXPECT_EQ(layouts.back().rows, 4);
  EXPECT_EQ(layouts.back().size, QSize(22, 88));
  EXPECT_EQ(CandidateFloatLayouts({}, 6).size(), 1u);
}

}  // namespace
}  // namespace kvt
