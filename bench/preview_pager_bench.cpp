// The preview's page walks on the generated score of bench_score.h, 16 staves, at 600 dots per
// inch on the recording context: going to the last page (every page laid out once), and one
// page back from there, which lays out the pages again from page 1.

#include <benchmark/benchmark.h>

#include <memory>

#include "bench_score.h"
#include "draw/print/print_data.h"
#include "draw/recording_context.h"
#include "draw/staff_color_handles.h"
#include "notation/staff/music_score.h"
#include "print/preview_pager.h"
#include "print/preview_services.h"
#include "utils/alert_log.h"
#include "utils/bool_array.h"

namespace kvt {
namespace {

constexpr int kDpi = 600;

struct TBenchPreview {
  explicit TBenchPreview(int staves, int bars)
      : score(MakeBenchScore(staves, bars)), selection(staves), dc(kDpi, kDpi) {
    selection.SetAll(true);
    dc.SetKeepOps(false);
    print = std::make_unique<TKVTNTNPrintData>(dc, TPaperMeasures{4960, 7016, 0, 0, kDpi, kDpi},
                                               *score, colors, selection, alerts);
  }
  std::unique_ptr<TMusicScore> score;
  TStaffColorHandles colors;
  TNullAlertLog alerts;
  TKVBoolArray selection;
  TRecordingContext dc;
  std::unique_ptr<TKVTNTNPrintData> print;
  TNullPreviewProgress progress;
};

void BM_PreviewLastPage(benchmark::State& state) {
  TBenchPreview preview(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  TPreviewPager pager(*preview.print, preview.progress);
  for (auto _ : state) {
    pager.FirstPage();
    pager.LastPage();
    benchmark::DoNotOptimize(pager.Page());
  }
  state.counters["pages"] = pager.Page();
}
BENCHMARK(BM_PreviewLastPage)->Args({16, 200})->Args({16, 2000})->Unit(benchmark::kMillisecond);

void BM_PreviewPreviousFromLast(benchmark::State& state) {
  TBenchPreview preview(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  TPreviewPager pager(*preview.print, preview.progress);
  pager.LastPage();
  const int last = pager.Page();
  for (auto _ : state) {
    pager.GoToPage(last);
    pager.PreviousPage();
    benchmark::DoNotOptimize(pager.Page());
  }
  state.counters["pages"] = last;
}
BENCHMARK(BM_PreviewPreviousFromLast)
    ->Args({16, 200})
    ->Args({16, 2000})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kvt
