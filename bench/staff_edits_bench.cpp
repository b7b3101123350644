// Whole-staff transposition over generated staves of 20 to 2,000 bars of 4/4 in D major: each
// bar holds two eighths, a chord, a chromatic quarter, a quarter rest and its bar line. Each
// iteration transposes the staff a tone up, then back down, so every run starts from the same
// notes; items per second count the items walked by both passes.

#include <benchmark/benchmark.h>

#include <memory>

#include "notation/items/bar_line_data.h"
#include "notation/items/chord_data.h"
#include "notation/items/key_data.h"
#include "notation/items/music_note.h"
#include "notation/staff/music_staff.h"
#include "notation/items/rest_note.h"
#include "notation/edits/staff_edits.h"
#include "notation/services/services.h"
#include "notation/items/time_signature_data.h"

namespace kvt {
namespace {

void Append(TMusicStaff& staff, std::unique_ptr<TNotatedItem> item) {
  staff.InsertItem(std::move(item), staff.GetLastIndex());
}

void BuildStaff(TMusicStaff& staff, int bars) {
  int sharps = 0;
  int flats = 0;
  TKeyData::MasksOfCount(2, sharps, flats);
  Append(staff, std::make_unique<TKeyData>(sharps, flats, TKeyData::MajorTonic(2)));
  Append(staff, std::make_unique<TTimeSignatureData>(4, 2));
  for (int bar = 0; bar < bars; ++bar) {
    const int pos = bar % 7;  // walk the notes over the staff
    Append(staff, std::make_unique<TMusicNote>(pos, kDurEighth, 0, kAccNone));
    Append(staff, std::make_unique<TMusicNote>(pos - 1, kDurEighth, 0, kAccNone));
    Append(staff, std::make_unique<TChordData>(std::make_unique<TMusicNote>(pos + 2, kDurQuarter, 0, kAccNone),
                                               std::make_unique<TMusicNote>(pos - 2, kDurQuarter, 0, kAccNone)));
    Append(staff, std::make_unique<TMusicNote>(pos + 1, kDurQuarter, 0, kAccNatural));
    Append(staff, std::make_unique<TRestNote>(kDurQuarter, 0));
    Append(staff, std::make_unique<TBarLineData>(kBarSingle));
  }
}

void BM_TransposeStaff(benchmark::State& state) {
  TMusicStaff staff;
  BuildStaff(staff, static_cast<int>(state.range(0)));
  for (auto _ : state) {
    Transpose(staff, 2, 0, false, TServices());
    Transpose(staff, -2, 0, false, TServices());
    benchmark::DoNotOptimize(staff.GetItem(3));
  }
  state.SetItemsProcessed(state.iterations() * 2 * staff.GetItemCount());
  state.counters["items"] = staff.GetItemCount();
}

BENCHMARK(BM_TransposeStaff)->RangeMultiplier(10)->Range(20, 2000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kvt
