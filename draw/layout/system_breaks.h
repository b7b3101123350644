#pragma once
// TSystemBreaks: where each system of a score layout starts at one width, so that an edit
// re-lays only the systems it affects: from the edited system on, until a system ends where
// the old next system started (the breaks meet again) or the score ends.
//
// Contract: the layout must outlive each call and keep its staves between calls; a staff list
// change needs a new Build. Every walk consumes at least one item a system, so Build and
// Relayout end on any score.

#include <vector>

#include "draw/layout/score_draw_info.h"

namespace kvt {

class TSystemBreaks {
public:
  // Lays out every system from the beginning; answers the number of systems.
  int Build(TScoreDrawInfo& layout, int width);
  // Re-lays from system `first` (clamped); answers the systems laid out again.
  int Relayout(TScoreDrawInfo& layout, int width, int first);
  // Items inserted (delta > 0) or removed (delta < 0) at fromItem of the staff in `slot`:
  // the stored starts after it move with their items.
  void ShiftItems(int slot, int fromItem, int delta);
  // The system whose first staff's range holds item `itemIndex` of the first staff; -1 for
  // none.
  int FindSystem(int itemIndex) const;
  int GetSystemCount() const { return static_cast<int>(starts.size()); }
  const std::vector<TLayoutStart>& GetStarts(int system) const {
    return starts[static_cast<size_t>(system)];
  }

private:
  std::vector<std::vector<TLayoutStart>> starts;
};

}  // namespace kvt
