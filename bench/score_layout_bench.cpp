// Score layout: a generated score of 16 staves laid out into systems and pages at 600 dots per
// inch on the recording context (the measuring pass the page renderer makes), and a one-note
// edit re-laid from its system at bar 1 and at bar 1,900 until the breaks meet again.

#include <benchmark/benchmark.h>

#include <memory>

#include "draw/layout/score_draw_info.h"
#include "draw/layout/system_breaks.h"
#include "draw/music_fonts.h"
#include "draw/print/print_data.h"
#include "draw/recording_context.h"
#include "draw/staff_color_handles.h"
#include "notation/context/staff_context_state.h"
#include "notation/items/bar_line_data.h"
#include "notation/items/item_cast.h"
#include "notation/items/music_note.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "utils/alert_log.h"
#include "utils/bool_array.h"

namespace kvt {
namespace {

constexpr int kDpi = 600;
constexpr int kSystemWidth = 4960 - 600;

// Bars of 4/4: two quarters and four eighths, pitches walking with the staff and the bar.
std::unique_ptr<TMusicScore> MakeScore(int staves, int bars) {
  auto score = std::make_unique<TMusicScore>();
  for (int s = 0; s < staves; ++s) {
    auto staff = std::make_unique<TMusicStaff>();
    for (int b = 0; b < bars; ++b) {
      const int base = (s * 3 + b) % 7 - 3;
      staff->InsertItem(std::make_unique<TMusicNote>(base, kDurQuarter, 0, kAccNone),
                        staff->GetLastIndex());
      staff->InsertItem(std::make_unique<TMusicNote>(base + 2, kDurQuarter, 0, kAccNone),
                        staff->GetLastIndex());
      for (int e = 0; e < 4; ++e)
        staff->InsertItem(std::make_unique<TMusicNote>(base + e, kDurEighth, 0, kAccNone),
                          staff->GetLastIndex());
      if (b + 1 < bars)
        staff->InsertItem(std::make_unique<TBarLineData>(kBarSingle), staff->GetLastIndex());
    }
    score->AddStaff(std::move(staff));
  }
  return score;
}

void BM_LayoutIntoPages(benchmark::State& state) {
  const int staves = static_cast<int>(state.range(0));
  const int bars = static_cast<int>(state.range(1));
  std::unique_ptr<TMusicScore> score = MakeScore(staves, bars);
  TStaffColorHandles colors;
  TNullAlertLog alerts;
  TKVBoolArray selection(staves);
  selection.SetAll(true);
  TRecordingContext dc(kDpi, kDpi);
  dc.SetKeepOps(false);
  const TPaperMeasures paper{4960, 7016, 0, 0, kDpi, kDpi};
  int pages = 0;
  for (auto _ : state) {
    TKVTNTNPrintData print(dc, paper, *score, colors, selection, alerts);
    pages = print.CountPages();
    benchmark::DoNotOptimize(pages);
  }
  state.counters["pages"] = pages;
  state.SetItemsProcessed(state.iterations() * staves * bars);
}
BENCHMARK(BM_LayoutIntoPages)->Args({16, 250})->Args({16, 2000})->Unit(benchmark::kMillisecond);

// Items of a staff from the first to the bar (1-based): 7 a bar with its bar line.
int FirstNoteOfBar(int bar) { return 1 + (bar - 1) * 7; }

void BM_EditAndRelayout(benchmark::State& state) {
  const int bar = static_cast<int>(state.range(0));
  std::unique_ptr<TMusicScore> score = MakeScore(16, 2000);
  TMusicFontsData& data = score->GetFonts();
  TStaffColorHandles colors;
  TRecordingContext dc(kDpi, kDpi);
  TMusicFonts fonts(data, dc, colors);
  TScoreDrawInfo layout(*score, fonts, kDrawModePrint);
  for (int i = 0; i < 16; ++i) layout.AddStaff(i);
  TSystemBreaks breaks;
  breaks.Build(layout, kSystemWidth);
  const int item = FirstNoteOfBar(bar);
  auto* note = ItemAs<TMusicNote>(score->GetStaff(0)->GetItem(item));
  int step = 0;
  int relaid = 0;
  for (auto _ : state) {
    note->SetStaffPos(++step % 2 == 0 ? 1 : -1);
    relaid = breaks.Relayout(layout, kSystemWidth, breaks.FindSystem(item));
    benchmark::DoNotOptimize(relaid);
  }
  state.counters["systems_relaid"] = relaid;
}
BENCHMARK(BM_EditAndRelayout)->Arg(1)->Arg(1900)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kvt
