#include "app/editor/drag_scroll_pacer.h"

namespace kvt {

void TDragScrollPacer::Reset() { *this = TDragScrollPacer(); }

bool TDragScrollPacer::Tick() {
  if (!started) {
    started = true;
    return false;
  }
  if (rate <= 0) return true;
  if (--ticksLeft > 0) return false;
  if (++movesAtRate >= rate + 1) {
    rate -= kRateStep;
    movesAtRate = 0;
  }
  ticksLeft = rate;
  return true;
}

}  // namespace kvt
