// The main of the benchmarks that draw through Qt: an offscreen application with the music
// font loaded, then Google Benchmark's own run.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdlib>

#include "platform/music_font_loader.h"

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  kvt::LoadMusicFont();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
