// The pace of a selection drag held at the window's edge.

#include "app/editor/drag_scroll_pacer.h"

#include <gtest/gtest.h>

#include <vector>

namespace kvt {
namespace {

// The ticks (1-based) on which the caret moves, over a run of `ticks` ticks.
std::vector<int> MovingTicks(TDragScrollPacer& pacer, int ticks) {
  std::vector<int> moves;
  for (int t = 1; t <= ticks; ++t)
    if (pacer.Tick()) moves.push_back(t);
  return moves;
}

TEST(DragScrollPacerTest, StartsSlowAndSpeedsUpUntilEveryTickMoves) {
  // Runs at one rate: the tick of the first move, the ticks between moves, the moves.
  struct TRun {
    int first, every, moves;
  };
  const TRun runs[] = {{11, 10, 11}, {119, 8, 9}, {189, 6, 7},
                       {229, 4, 5},  {247, 2, 3}, {252, 1, 9}};
  std::vector<int> want;
  for (const TRun& run : runs)
    for (int i = 0; i < run.moves; ++i) want.push_back(run.first + i * run.every);
  TDragScrollPacer pacer;
  EXPECT_EQ(MovingTicks(pacer, 260), want);
  EXPECT_LE(pacer.Rate(), 0);
}

TEST(DragScrollPacerTest, ResetStartsSlowAgain) {
  TDragScrollPacer pacer;
  MovingTicks(pacer, 300);
  pacer.Reset();
  EXPECT_EQ(pacer.Rate(), TDragScrollPacer::kFirstRate);
  const std::vector<int> moves = MovingTicks(pacer, 30);
  EXPECT_EQ(moves, (std::vector<int>{11, 21}));
}

}  // namespace
}  // namespace kvt
