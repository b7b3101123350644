// Staff walks: the audit walk (one pass in item order with the context a player would have),
// the relative index's counting walk and the staff's play-order walk (repeats, endings and
// jumps followed), over generated staves of 250 and 2,000 bars and a score of 16 such staves.
// Items processed are the items passed (for the play-order walk: the steps taken).

#include <benchmark/benchmark.h>

#include <memory>

#include "notation/audit/audit_ntn_idx.h"
#include "notation/items/bar_line_data.h"
#include "notation/items/chord_data.h"
#include "notation/items/dynamic_level_data.h"
#include "notation/items/key_data.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "notation/index/rel_ntn_idx.h"
#include "notation/items/repeat_ending.h"
#include "notation/context/staff_context_state.h"

namespace kvt {
namespace {

template <typename Item>
void Append(TMusicStaff& staff, std::unique_ptr<Item> item) {
  staff.InsertItem(std::move(item), staff.GetLastIndex());
}

void AppendNote(TMusicStaff& staff, int pos, int duration, int flags, int beamState) {
  auto note = std::make_unique<TMusicNote>(pos, duration, flags, kAccNone);
  note->SetBeamState(beamState);
  Append(staff, std::move(note));
}

// Bars of 4/4: quarters, beamed eighths, chords and tied notes, a dynamic every 8 bars, a key
// change every 64 bars and a master repeat with two endings every 16 bars.
std::unique_ptr<TMusicStaff> MakeStaff(int bars, int seed) {
  auto staff = std::make_unique<TMusicStaff>();
  for (int b = 0; b < bars; ++b) {
    const int inGroup = b % 16;
    if (inGroup == 0) Append(*staff, std::make_unique<TBarLineData>(kBarMasterRepeatOpen));
    if (inGroup == 14) {
      auto ending = std::make_unique<TSpecialEnding>();
      ending->SetEnding(1, true);
      Append(*staff, std::move(ending));
    }
    if (b % 64 == 0) {
      int sharps = 0;
      int flats = 0;
      const int count = (b / 64 + seed) % 7 - 3;
      TKeyData::MasksOfCount(count, sharps, flats);
      Append(*staff, std::make_unique<TKeyData>(sharps, flats, TKeyData::MajorTonic(count)));
    }
    if (b % 8 == 0) Append(*staff, std::make_unique<TDynamicLevelData>(b % 3 + 3));
    const int pos = (b + seed) % 9 - 4;
    switch ((b + seed) % 3) {
      case 0:
        for (int k = 0; k < 4; ++k) AppendNote(*staff, pos - k, kDurQuarter, 0, kGroupNone);
        break;
      case 1:
        for (int k = 0; k < 8; ++k)
          AppendNote(*staff, pos + (k & 3), kDurEighth, 0,
                     k % 4 == 0 ? kGroupFirst : (k % 4 == 3 ? kGroupEnd : kGroupMiddle));
        break;
      default: {
        auto chord = std::make_unique<TChordData>(std::make_unique<TMusicNote>(pos, kDurHalf, 0, kAccNone),
                                                  std::make_unique<TMusicNote>(pos - 2, kDurHalf, 0, kAccNone));
        auto member = std::make_unique<TMusicNote>(pos - 4, kDurHalf, 0, kAccNone);
        chord->AddNote(member);
        Append(*staff, std::move(chord));
        AppendNote(*staff, pos, kDurHalf, kMaskTieOut, kGroupNone);
        break;
      }
    }
    if (inGroup == 15) {
      Append(*staff, std::make_unique<TBarLineData>(kBarMasterRepeatClose));
      auto ending = std::make_unique<TSpecialEnding>();
      ending->SetEnding(2, true);
      Append(*staff, std::move(ending));
    } else if (b + 1 < bars) {
      Append(*staff, std::make_unique<TBarLineData>(kBarSingle));
    }
  }
  return staff;
}

// Steps of one play-order walk over the whole staff.
int64_t PlayOrderSteps(TMusicStaff& staff) {
  TStaffContextState state;
  int64_t steps = 0;
  int i = 0;
  while (i >= 0 && i <= staff.GetLastIndex() && steps < staff.GetPlayStepBudget()) {
    const TNotatedItem* item = staff.GetItem(i);
    const int next = item->GetNextPlayIndex(state, &staff, i);
    item->ApplyToContext(state);
    i = next;
    ++steps;
  }
  return steps;
}

void BM_AuditWalk(benchmark::State& state) {
  const auto staff = MakeStaff(static_cast<int>(state.range(0)), 0);
  for (auto _ : state) {
    TAuditNtnIdx idx(staff.get());
    while (idx.Next()) {
    }
    benchmark::DoNotOptimize(idx.GetRunningState().GetSongPosition());
  }
  state.SetItemsProcessed(state.iterations() * staff->GetItemCount());
}
BENCHMARK(BM_AuditWalk)->Arg(250)->Arg(2000);

void BM_RelativeWalk(benchmark::State& state) {
  const auto staff = MakeStaff(static_cast<int>(state.range(0)), 0);
  for (auto _ : state) {
    TRelNtnIdx idx(staff.get());
    while (idx.NextBarwise(true)) {
    }
    benchmark::DoNotOptimize(idx.GetTicks());
  }
  state.SetItemsProcessed(state.iterations() * staff->GetItemCount());
}
BENCHMARK(BM_RelativeWalk)->Arg(250)->Arg(2000);

void BM_PlayOrderWalk(benchmark::State& state) {
  const auto staff = MakeStaff(static_cast<int>(state.range(0)), 0);
  const int64_t steps = PlayOrderSteps(*staff);
  for (auto _ : state) {
    TStaffContextState context;
    benchmark::DoNotOptimize(staff->GetPlayStateAt(staff->GetLastIndex(), context));
    benchmark::DoNotOptimize(context.GetSongPosition());
  }
  state.SetItemsProcessed(state.iterations() * steps);
}
BENCHMARK(BM_PlayOrderWalk)->Arg(250)->Arg(2000);

std::unique_ptr<TMusicScore> MakeScore(int staves, int bars) {
  auto score = std::make_unique<TMusicScore>();
  for (int s = 0; s < staves; ++s) score->AddStaff(MakeStaff(bars, s));
  return score;
}

void BM_ScoreAuditWalk(benchmark::State& state) {
  const auto score = MakeScore(16, 2000);
  int64_t items = 0;
  for (int s = 0; s < score->GetStaffCount(); ++s) items += score->GetStaff(s)->GetItemCount();
  for (auto _ : state) {
    for (int s = 0; s < score->GetStaffCount(); ++s) {
      TAuditNtnIdx idx(score->GetStaff(s));
      while (idx.Next()) {
      }
      benchmark::DoNotOptimize(idx.GetRunningState().GetSongPosition());
    }
  }
  state.SetItemsProcessed(state.iterations() * items);
}
BENCHMARK(BM_ScoreAuditWalk);

void BM_ScorePlayOrderWalk(benchmark::State& state) {
  const auto score = MakeScore(16, 2000);
  int64_t steps = 0;
  for (int s = 0; s < score->GetStaffCount(); ++s) steps += PlayOrderSteps(*score->GetStaff(s));
  for (auto _ : state) {
    for (int s = 0; s < score->GetStaffCount(); ++s) {
      const TMusicStaff* staff = score->GetStaff(s);
      TStaffContextState context;
      benchmark::DoNotOptimize(staff->GetPlayStateAt(staff->GetLastIndex(), context));
    }
  }
  state.SetItemsProcessed(state.iterations() * steps);
}
BENCHMARK(BM_ScorePlayOrderWalk);

}  // namespace
}  // namespace kvt
