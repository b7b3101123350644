#include "notation/items/flow_direction.h"

#include "notation/context/staff_context_state.h"
#include "notation/items/item_cast.h"

namespace kvt {

namespace {

constexpr std::string_view kDisplayTexts[kFlowStyleCount] = {
    "Coda",     "Segno",        "Fine",         "To Coda",      "Da Capo",
    "D.C. al Coda", "D.C. al Fine", "Dal Segno", "D.S. al Coda", "D.S. al Fine"};

// Index of the first flow mark in the staff for which `match` holds; -1 when none.
template <class Match>
int FindFirstFlow(TStaffItemSpan items, Match match) {
  for (size_t i = 0; i < items.size(); ++i) {
    const auto* flow = ItemAs<TFlowDirection>(items[i].get());
    if (flow && match(flow->GetStyle()))
      return static_cast<int>(i);
  }
  return -1;
}

}  // namespace

TFlowDirection::TFlowDirection(int value) : style(value) { SetPos(-8); }

std::string_view TFlowDirection::DisplayText(int value) {
  if (value < 0 || value >= kFlowStyleCount) return "***";
  return kDisplayTexts[value];
}

void TFlowDirection::ApplyToContext(TStaffContextState& state) const {
  if (style == kFlowToCoda) {
    if (!state.HasFlowJumped()) return;
    state.EnterCoda();
  } else if (IsDaCapoFamily() || IsDalSegnoFamily()) {
    state.SetFlowJumped();
  } else {
    return;
  }
  state.ResetRunningKey();
}

int TFlowDirection::GetNextPlayIndex(TStaffContextState& state, const TMusicStaff* staff,
                                     int index) const {
  return NextPlayIndexIn(state, GetStaffItems(staff), index);
}

int TFlowDirection::NextPlayIndexIn(TStaffContextState& state, TStaffItemSpan items,
                                    int index) const {
  const bool jumped = state.HasFlowJumped();
  if (style == kFlowFine) {
    if (jumped && !items.empty()) return static_cast<int>(items.size()) - 1;
    return index + 1;
  }
  if (style == kFlowToCoda) {
    if (!jumped || state.RepeatsActive()) return index + 1;
    const int coda = FindFirstFlow(items, [](int s) { return s == kFlowCoda; });
    if (coda >= 0) return coda;
    const int jump = FindFirstFlow(items, [](int s) { return IsDaCapoFamily(s) || IsDalSegnoFamily(s); });
    return jump >= 0 ? jump + 1 : index + 1;
  }
  if (IsDaCapoFamily()) return jumped ? index + 1 : 0;
  if (IsDalSegnoFamily()) {
    if (jumped) return index + 1;
    const int segno = FindFirstFlow(items, [](int s) { return s == kFlowSegno; });
    return segno >= 0 ? segno : index + 1;
  }
  return index + 1;
}

}  // namespace kvt
