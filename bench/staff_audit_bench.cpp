// Speed of the staff audit: the whole-score audit that ends every load (AuditScore with
// refresh) over a generated score of 16 staves, swept by bars per staff up to 2,000. Items per
// second count every item of the score once per audit.
//
// Each bar of 4/4 holds a beamed group of four eighths with automatic stems (the audit beams
// them again), a quarter tied into the next bar's first quarter, a rest or a chord; every 8th
// bar adds a dynamic, every 16th a key change, every 32nd a tempo ramp (rit. and a tempo mark).

#include <benchmark/benchmark.h>

#include <memory>

#include "notation/items/bar_line_data.h"
#include "notation/items/chord_data.h"
#include "notation/items/dynamic_level_data.h"
#include "notation/items/key_data.h"
#include "notation/items/music_note.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "notation/items/rest_note.h"
#include "notation/audit/staff_audit.h"
#include "notation/items/tempo_data.h"
#include "notation/items/tempo_variance.h"
#include "notation/items/time_signature_data.h"

namespace {

using namespace kvt;

constexpr int kStaves = 16;

template <class T, class... Args>
T* Append(TMusicStaff& staff, Args&&... args) {
  auto item = std::make_unique<T>(std::forward<Args>(args)...);
  T* raw = item.get();
  staff.InsertItem(std::move(item), staff.GetLastIndex());
  return raw;
}

void FillStaff(TMusicStaff& staff, int bars, int seed) {
  Append<TTimeSignatureData>(staff, 4, 2);
  for (int b = 0; b < bars; ++b) {
    const int pos = (b * 3 + seed) % 9 - 4;
    if (b % 16 == 5) Append<TKeyData>(staff, (b / 16) % 2 ? 0x24 : 0, (b / 16) % 2 ? 0 : 0x02);
    if (b % 8 == 0) Append<TDynamicLevelData>(staff, b / 8 % 8);
    if (b % 32 == 3) Append<TTempoVariance>(staff, kTempoVarRitardando);
    // The tie from the last bar continues here.
    Append<TMusicNote>(staff, pos, kDurQuarter, 0, kAccNone);
    for (int e = 0; e < 4; ++e) {
      TMusicNote* note = Append<TMusicNote>(staff, pos + e - 2, kDurEighth, 0, e == 1 ? kAccSharp : kAccNone);
      note->SetBeamState(e == 0 ? kGroupFirst : e == 3 ? kGroupEnd : kGroupMiddle);
    }
    if (b % 2 == 0) {
      Append<TRestNote>(staff, kDurEighth, 0);
      Append<TRestNote>(staff, kDurEighth, 0);
    } else {
      TChordData* chord = Append<TChordData>(staff);
      auto low = std::make_unique<TMusicNote>(pos + 2, kDurQuarter, 0, kAccNone);
      chord->AddNote(low);
      auto high = std::make_unique<TMusicNote>(pos - 2, kDurQuarter, 0, kAccFlat);
      chord->AddNote(high);
    }
    Append<TMusicNote>(staff, pos, kDurQuarter, kMaskTieOut, kAccNone);
    if (b % 32 == 4) Append<TTempoData>(staff, 60 + b % 60);
    Append<TBarLineData>(staff, kBarSingle);
  }
}

std::unique_ptr<TMusicScore> MakeScore(int bars) {
  auto score = std::make_unique<TMusicScore>();
  for (int s = 0; s < kStaves; ++s) {
    auto staff = std::make_unique<TMusicStaff>();
    FillStaff(*staff, bars, s);
    score->AddStaff(std::move(staff));
  }
  return score;
}

void BM_AuditWholeScore(benchmark::State& state) {
  const int bars = static_cast<int>(state.range(0));
  std::unique_ptr<TMusicScore> score = MakeScore(bars);
  int64_t items = 0;
  for (int s = 0; s < score->GetStaffCount(); ++s) items += score->GetStaff(s)->GetItemCount();
  for (auto _ : state) {
    AuditScore(*score, true, TServices());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * items);
  state.counters["items"] = static_cast<double>(items);
}
BENCHMARK(BM_AuditWholeScore)->Arg(250)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond);

}  // namespace
