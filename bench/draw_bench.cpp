// Drawing speed: building a score's fonts, and a dense page (720 heads with stems, beams,
// slurs and accidentals on 12 staves) drawn to the recording context, a QImage and a PDF.
// Runs under the shared Qt main (qt_bench_main.cpp): an offscreen application.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QImage>
#include <QPageSize>
#include <QPdfWriter>

#include "draw/music_fonts.h"
#include "draw/recording_context.h"
#include "draw/staff_color_handles.h"
#include "notation/staff/music_fonts_data.h"
#include "platform/qpainter_context.h"

namespace kvt {
namespace {

constexpr int kStaves = 12;
constexpr int kHeadsPerStaff = 60;

// One page of notation at the fonts' space.
void DrawDensePage(TMusicFonts& fonts) {
  const int s = fonts.GetSpace();
  const int head = fonts.GetGlyphWidth(7);
  for (int staff = 0; staff < kStaves; ++staff) {
    fonts.SetStaffOrigin(8 * s + staff * 10 * s);
    const int left = 4 * s;
    const int pitch = 3 * head;
    fonts.DrawStaffLines(left, left + kHeadsPerStaff * pitch + 2 * s, 5, false);
    fonts.DrawGlyph(0, 2, left, fonts.PositionToYInt(4));
    for (int n = 0; n < kHeadsPerStaff; ++n) {
      const int x = left + 4 * s + n * pitch;
      const int position = (n * 5 + staff) % 11 - 5;
      if (n % 3 == 0)
        fonts.DrawGlyphAtStep(0, 8 + n % 3, x - fonts.GetAccidentalColumnWidth(0), position);
      fonts.DrawGlyphAtStep(0, 7, x, position);
      if (position > 0 && position < 4) fonts.DrawLedgerLines(x - 2, 6, 6, 0);
      if (n % 4 == 3) {
        const int x0 = left + 4 * s + (n - 3) * pitch + head;
        fonts.DrawBeams(x0, fonts.PositionToYInt(-7), x + head, fonts.PositionToYInt(-8), +1, false,
                        2);
      }
      fonts.DrawStemStroke(x + head, fonts.PositionToYInt(position), fonts.PositionToYInt(-7), +1);
      if (n % 8 == 7) {
        const int x0 = left + 4 * s + (n - 7) * pitch;
        fonts.DrawSlurCurve(TQuadCurve(x0, fonts.PositionToYInt(7), (x0 + x) / 2,
                                       fonts.PositionToYInt(10), x, fonts.PositionToYInt(7)),
                            true, false);
      }
    }
    fonts.DrawBarLine(0, left + kHeadsPerStaff * pitch + 2 * s, -4, 4);
  }
}

void BM_BuildScoreFonts(benchmark::State& state) {
  TMusicFontsData data;
  TStaffColorHandles colors;
  for (auto _ : state) {
    TMusicFonts fonts(data, colors, static_cast<int>(state.range(0)));
    benchmark::DoNotOptimize(fonts.GetGlyphWidth(7));
  }
}
BENCHMARK(BM_BuildScoreFonts)->Arg(6)->Arg(34)->Arg(200);

void BM_DensePageToRecording(benchmark::State& state) {
  TMusicFontsData data;
  TStaffColorHandles colors;
  TMusicFonts fonts(data, colors, 10);
  TRecordingContext dc;
  dc.SetKeepOps(state.range(0) != 0);
  for (auto _ : state) {
    dc.Clear();
    fonts.BeginDrawing(&dc, &dc);
    DrawDensePage(fonts);
    fonts.EndDrawing();
    benchmark::DoNotOptimize(dc.Extents());
  }
}
BENCHMARK(BM_DensePageToRecording)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_DensePageToImage(benchmark::State& state) {
  TMusicFontsData data;
  TStaffColorHandles colors;
  TMusicFonts fonts(data, colors, 10);
  QImage image(2200, 1400, QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    image.fill(Qt::white);
    TQPainterContext dc(image);
    fonts.BeginDrawing(&dc, &dc);
    DrawDensePage(fonts);
    fonts.EndDrawing();
  }
}
BENCHMARK(BM_DensePageToImage)->Unit(benchmark::kMillisecond);

// Pages of one document: the font embedding and the file's trailer are paid once per
// document, so a page costs what a long score's pages cost.
void BM_DensePageToPdf(benchmark::State& state) {
  TMusicFontsData data;
  TStaffColorHandles colors;
  TMusicFonts fonts(data, colors, 10);
  QFile sink(QStringLiteral("/dev/null"));
  sink.open(QIODevice::WriteOnly);
  QPdfWriter writer(&sink);
  writer.setResolution(150);
  writer.setPageSize(QPageSize(QPageSize::A3));
  TQPainterContext dc(writer);
  for (auto _ : state) {
    fonts.BeginDrawing(&dc, &dc);
    DrawDensePage(fonts);
    fonts.EndDrawing();
    writer.newPage();
  }
  dc.Finish();
}
BENCHMARK(BM_DensePageToPdf)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kvt
