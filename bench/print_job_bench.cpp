// Printing through the printer object's PDF printer: the generated score of bench_score.h
// counted into pages and walked to its last page on the printer's measuring context (16
// staves x 2,000 bars), and printed whole to a PDF file through the print job (16 staves x 200
// bars), with the process's peak memory. Going back re-paginates from page 1, so the walk to
// the last page costs a full pagination.
//
// Runs under the shared Qt main (qt_bench_main.cpp): the job's cancel dialog needs a
// QApplication.

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QFileInfo>
#include <QTemporaryDir>
#include <memory>

#include "bench_score.h"
#include "draw/print/print_data.h"
#include "draw/staff_color_handles.h"
#include "notation/staff/music_score.h"
#include "print/page_picture.h"
#include "print/print_job.h"
#include "print/printer_device.h"
#include "utils/alert_log.h"
#include "utils/bool_array.h"

namespace kvt {
namespace {

double PeakMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024.0;  // kilobytes on Linux
}

struct TBenchJob {
  TBenchJob(int staves, int bars, const QString& file)
      : score(MakeBenchScore(staves, bars)), selection(staves), device(QString(), file) {
    selection.SetAll(true);
    device.Printer().setPageSize(QPageSize(QPageSize::A4));
  }
  std::unique_ptr<TKVTNTNPrintData> Data() {
    return std::make_unique<TKVTNTNPrintData>(device.Measurer(), device.Paper(), *score, colors,
                                              selection, alerts);
  }
  std::unique_ptr<TMusicScore> score;
  TStaffColorHandles colors;
  TNullAlertLog alerts;
  TKVBoolArray selection;
  TPrinterDevice device;
};

void BM_CountPagesOnThePrinter(benchmark::State& state) {
  TBenchJob job(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), QString());
  int pages = 0;
  for (auto _ : state) {
    pages = job.Data()->CountPages();
    benchmark::DoNotOptimize(pages);
  }
  state.counters["pages"] = pages;
}
BENCHMARK(BM_CountPagesOnThePrinter)->Args({16, 2000})->Unit(benchmark::kMillisecond);

void BM_GoToLastPage(benchmark::State& state) {
  TBenchJob job(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), QString());
  std::unique_ptr<TKVTNTNPrintData> data = job.Data();
  const int last = data->CountPages();
  data->SetPageRange(1, last);
  for (auto _ : state) {
    data->ResetPagination();
    for (int n = 1; n < last; ++n) {
      data->RenderPage(nullptr, n, false);
      data->AdvancePage();
    }
    const QByteArray picture = MakePagePicture(*data, kPdfPrinterDpi, kPdfPrinterDpi, last);
    benchmark::DoNotOptimize(picture.size());
  }
  state.counters["pages"] = last;
}
BENCHMARK(BM_GoToLastPage)->Args({16, 2000})->Unit(benchmark::kMillisecond);

void BM_PrintJobToPdf(benchmark::State& state) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("bench.pdf"));
  TBenchJob job(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), file);
  int result = 0;
  for (auto _ : state) {
    std::unique_ptr<TKVTNTNPrintData> data = job.Data();
    result = PrintPages(*data, job.device, TPrintRange{}, "bench.kvt", TPrintServices{});
  }
  if (result != 1) state.SkipWithError("the job failed");
  state.counters["pdf_kb"] = static_cast<double>(QFileInfo(file).size()) / 1024.0;
  state.counters["peak_mb"] = PeakMegabytes();
}
BENCHMARK(BM_PrintJobToPdf)->Args({16, 200})->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kvt
