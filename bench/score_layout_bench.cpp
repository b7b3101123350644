// Score layout: the generated score of bench_score.h, 16 staves, laid out into systems and pages at
// 600 dots per inch on the recording context (the measuring pass the page renderer makes), and a
// one-note edit re-laid from its system at bar 1 and at bar 1,900 until the breaks meet again,
// also with edits at those two bars in turn.

#include <benchmark/benchmark.h>

#include <memory>

#include "bench_score.h"
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

// The first note of a bar (1-based) on a staff.
int FirstNoteOfBar(const TMusicStaff& staff, int bar) {
  int bars = 1;
  for (int i = 0; i < staff.GetItemCount(); ++i) {
    const TNotatedItem* item = staff.GetItem(i);
    if (i > 0 && item->GetType() == kItemBarLine) ++bars;
    if (bars == bar && ItemAs<TMusicNote>(item)) return i;
  }
  return -1;
}

void BM_LayoutIntoPages(benchmark::State& state) {
  const int staves = static_cast<int>(state.range(0));
  const int bars = static_cast<int>(state.range(1));
  std::unique_ptr<TMusicScore> score = MakeBenchScore(staves, bars);
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
BENCHMARK(BM_LayoutIntoPages)->Args({16, 200})->Args({16, 2000})->Unit(benchmark::kMillisecond);

void BM_EditAndRelayout(benchmark::State& state) {
  const int bar = static_cast<int>(state.range(0));
  std::unique_ptr<TMusicScore> score = MakeBenchScore(16, 2000);
  TMusicFontsData& data = score->GetFonts();
  TStaffColorHandles colors;
  TRecordingContext dc(kDpi, kDpi);
  TMusicFonts fonts(data, dc, colors);
  TScoreDrawInfo layout(*score, fonts, kDrawModePrint);
  for (int i = 0; i < 16; ++i) layout.AddStaff(i);
  TSystemBreaks breaks;
  breaks.Build(layout, kSystemWidth);
  const int item = FirstNoteOfBar(*score->GetStaff(0), bar);
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

// Edits far apart in turn (bar 1, then bar 1,900): each re-layout resumes from its own system's
// start, not from wherever the last one ended.
void BM_EditFarApartInTurn(benchmark::State& state) {
  std::unique_ptr<TMusicScore> score = MakeBenchScore(16, 2000);
  TMusicFontsData& data = score->GetFonts();
  TStaffColorHandles colors;
  TRecordingContext dc(kDpi, kDpi);
  TMusicFonts fonts(data, dc, colors);
  TScoreDrawInfo layout(*score, fonts, kDrawModePrint);
  for (int i = 0; i < 16; ++i) layout.AddStaff(i);
  TSystemBreaks breaks;
  breaks.Build(layout, kSystemWidth);
  TMusicNote* notes[2];
  int items[2];
  for (int k = 0; k < 2; ++k) {
    items[k] = FirstNoteOfBar(*score->GetStaff(0), k == 0 ? 1 : 1900);
    notes[k] = ItemAs<TMusicNote>(score->GetStaff(0)->GetItem(items[k]));
  }
  int step = 0;
  for (auto _ : state) {
    const int k = step % 2;
    notes[k]->SetStaffPos(++step % 4 < 2 ? 1 : -1);
    benchmark::DoNotOptimize(breaks.Relayout(layout, kSystemWidth, breaks.FindSystem(items[k])));
  }
}
BENCHMARK(BM_EditFarApartInTurn)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kvt
