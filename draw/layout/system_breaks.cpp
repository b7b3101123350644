#include "draw/layout/system_breaks.h"

#include <algorithm>

namespace kvt {

int TSystemBreaks::Build(TScoreDrawInfo& layout, int width) {
  starts.assign(1, std::vector<TLayoutStart>(static_cast<size_t>(layout.GetStaffCount())));
  Relayout(layout, width, 0);
  return GetSystemCount();
}

int TSystemBreaks::Relayout(TScoreDrawInfo& layout, int width, int first) {
  if (starts.empty())
    starts.assign(1, std::vector<TLayoutStart>(static_cast<size_t>(layout.GetStaffCount())));
  size_t system = static_cast<size_t>(std::clamp(first, 0, GetSystemCount() - 1));
  int laidOut = 0;
  for (;;) {
    layout.LayoutStavesFromItems(starts[system], width);
    layout.BreakAndJustify(width);
    ++laidOut;
    std::vector<TLayoutStart> ends = layout.GetLayoutEnds();
    const TStaffDrawInfo* top = layout.GetStaffDrawInfo(0);
    const bool atEnd = !top || top->ReachedStaffEnd() || ends == starts[system];
    if (atEnd) {
      starts.resize(system + 1);
      return laidOut;
    }
    if (system + 1 < starts.size() && starts[system + 1] == ends) return laidOut;
    if (system + 1 < starts.size())
      starts[system + 1] = std::move(ends);
    else
      starts.push_back(std::move(ends));
    ++system;
  }
}

void TSystemBreaks::ShiftItems(int slot, int fromItem, int delta) {
  for (std::vector<TLayoutStart>& system : starts) {
    if (slot < 0 || static_cast<size_t>(slot) >= system.size()) continue;
    TLayoutStart& start = system[static_cast<size_t>(slot)];
    if (start.itemIndex > fromItem) start.itemIndex = std::max(fromItem, start.itemIndex + delta);
  }
}

int TSystemBreaks::FindSystem(int itemIndex) const {
  int found = -1;
  for (size_t s = 0; s < starts.size(); ++s) {
    if (!starts[s].empty() && starts[s][0].itemIndex <= itemIndex) found = static_cast<int>(s);
  }
  return found;
}

}  // namespace kvt
