#pragma once
// TDragScrollPacer: how fast a selection drag held at the window's edge moves the caret. The
// drag timer calls Tick() every 15 ms while the mouse stays in the edge zone; Tick answers
// whether the caret moves one item on this tick. The first tick only starts the run; then the
// caret moves every n-th tick, n starting at 10 and falling by 2 after n + 1 moves at that
// rate, until n reaches 0 and every tick moves. Leaving the edge ends the run (Reset).

namespace kvt {

class TDragScrollPacer {
public:
  static constexpr int kIntervalMs = 15;
  static constexpr int kFirstRate = 10;
  static constexpr int kRateStep = 2;

  // Starts a new run: the next tick only starts.
  void Reset();
  bool Tick();
  // Ticks per move now (0 or less: every tick moves).
  int Rate() const { return rate; }

private:
  bool started = false;
  int rate = kFirstRate;
  int ticksLeft = kFirstRate;
  int movesAtRate = 0;
};

}  // namespace kvt
