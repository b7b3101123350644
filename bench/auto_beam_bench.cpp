// Automatic beaming of generated staves of 20 to 2,000 bars of 4/4: each bar holds two
// eighths, four sixteenths, a quarter, an eighth rest and an eighth, then its bar line, so
// each bar gets two beams. Each iteration beams a fresh copy of the unbeamed staff (building
// it is not timed); items per second count the staff's items. The audited variant beams as the
// import does, on a staff audited beforehand.

#include <benchmark/benchmark.h>

#include <memory>

#include "notation/audit/staff_audit.h"
#include "notation/edits/staff_edits.h"
#include "notation/items/bar_line_data.h"
#include "notation/items/music_note.h"
#include "notation/items/rest_note.h"
#include "notation/items/time_signature_data.h"
#include "notation/staff/music_staff.h"

namespace kvt {
namespace {

void Append(TMusicStaff& staff, std::unique_ptr<TNotatedItem> item) {
  staff.InsertItem(std::move(item), staff.GetLastIndex());
}

void BuildStaff(TMusicStaff& staff, int bars) {
  Append(staff, std::make_unique<TTimeSignatureData>(4, 2));
  for (int bar = 0; bar < bars; ++bar) {
    const int pos = bar % 7 - 3;  // notes above and below the middle line
    for (int k = 0; k < 2; ++k)
      Append(staff, std::make_unique<TMusicNote>(pos + k, kDurEighth, 0, kAccNone));
    for (int k = 0; k < 4; ++k)
      Append(staff, std::make_unique<TMusicNote>(pos - k, kDur16th, 0, kAccNone));
    Append(staff, std::make_unique<TMusicNote>(pos, kDurQuarter, 0, kAccNone));
    Append(staff, std::make_unique<TRestNote>(kDurEighth, 0));
    Append(staff, std::make_unique<TMusicNote>(pos + 2, kDurEighth, 0, kAccNone));
    Append(staff, std::make_unique<TBarLineData>(kBarSingle));
  }
}

// AutoBeam (an audit after each group), or with `audited` AutoBeamAuditedStaff on the staff
// audited first (the audit before is not timed; the one after the groups is).
void BeamStaves(benchmark::State& state, bool audited) {
  std::unique_ptr<TMusicStaff> staff;
  for (auto _ : state) {
    state.PauseTiming();
    staff = std::make_unique<TMusicStaff>();  // the last one's destruction is not timed
    BuildStaff(*staff, static_cast<int>(state.range(0)));
    if (audited) AuditStaffRange(*staff);
    state.ResumeTiming();
    if (audited)
      AutoBeamAuditedStaff(*staff, false);
    else
      AutoBeam(*staff, false);
    benchmark::DoNotOptimize(staff->GetItem(2));
  }
  const int items = staff ? staff->GetItemCount() : 0;
  state.SetItemsProcessed(state.iterations() * items);
  state.counters["items"] = items;
}

void BM_AutoBeamStaff(benchmark::State& state) { BeamStaves(state, false); }
void BM_AutoBeamAuditedStaff(benchmark::State& state) { BeamStaves(state, true); }

BENCHMARK(BM_AutoBeamStaff)->RangeMultiplier(10)->Range(20, 2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AutoBeamAuditedStaff)
    ->RangeMultiplier(10)
    ->Range(20, 2000)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kvt
