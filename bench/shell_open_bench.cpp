// Opening a score file in the editor through the shell's open path, on the generated score of
// bench_score.h (16 staves x 2,000 bars) saved as a compressed binary file: the file read
// (LoadNativeScoreFile), the window (OpenFileByPath: read, score window, view laid out at
// 1920 x 1080) and the first paint of its view, then open to first paint whole. Runs its own
// main: the shell needs its application object (offscreen, settings in a temporary folder).
#include <benchmark/benchmark.h>

#include <QImage>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include "app/editor/score_edit.h"
#include "app/editor/score_window.h"
#include "app/shell/main_frame.h"
#include "app/shell/open_file.h"
#include "app/shell/tarlowmede_app.h"
#include "bench_score.h"
#include "notation/files/binary/binary_score_file.h"
#include "notation/files/binary/score_file_header.h"
#include "notation/staff/music_score.h"
#include "platform/music_font_loader.h"
#include "utils/sys_info.h"

namespace kvt {
namespace {

constexpr int kStaves = 16;
constexpr int kBars = 2000;
constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

std::string& BenchFolder() {
  static std::string folder;
  return folder;
}

// The generated score saved once, as the editor saves it.
const std::string& ScorePath() {
  static const std::string path = [] {
    const std::string file = BenchFolder() + "/bench.kvt";
    std::unique_ptr<TMusicScore> score = MakeBenchScore(kStaves, kBars);
    if (!WriteScoreToFile(file.c_str(), true, *score)) std::abort();
    return file;
  }();
  return path;
}

void AddCounters(benchmark::State& state) {
  state.counters["cores"] = static_cast<double>(std::thread::hardware_concurrency());
}

TTarlowmedeFrame& Frame() {
  TTarlowmedeFrame* frame = TTarlowmedeApp::Running()->Frame();
  frame->resize(kWidth, kHeight);
  return *frame;
}

// Opens the file in a new window (as the menu's Open does) and returns it.
TScoreWindow* Open(TTarlowmedeFrame& frame) {
  OpenFileByPath(frame, ScorePath(), kOpenDialog);
  return frame.FindScoreWindow(ScorePath());
}

void Close(TScoreWindow* window) { delete window; }

void BM_ShellOpenRead(benchmark::State& state) {
  ScorePath();
  for (auto _ : state) {
    TScoreFileHeader header;
    std::unique_ptr<TMusicScore> score =
        LoadNativeScoreFile(nullptr, ScorePath(), kOpenDialog, header);
    if (score == nullptr) state.SkipWithError("the score did not load");
    benchmark::DoNotOptimize(score.get());
  }
  AddCounters(state);
}
BENCHMARK(BM_ShellOpenRead)->Unit(benchmark::kMillisecond);

// Read, score window and its view laid out.
void BM_ShellOpenWindow(benchmark::State& state) {
  TTarlowmedeFrame& frame = Frame();
  ScorePath();
  for (auto _ : state) {
    TScoreWindow* window = Open(frame);
    state.PauseTiming();
    if (window == nullptr || window->View() == nullptr) state.SkipWithError("no window");
    Close(window);
    state.ResumeTiming();
  }
  AddCounters(state);
}
BENCHMARK(BM_ShellOpenWindow)->Unit(benchmark::kMillisecond);

// The first paint of a window just opened.
void BM_ShellFirstPaint(benchmark::State& state) {
  TTarlowmedeFrame& frame = Frame();
  QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    state.PauseTiming();
    TScoreWindow* window = Open(frame);
    if (window == nullptr || window->View() == nullptr) {
      state.SkipWithError("no window");
      break;
    }
    state.ResumeTiming();
    window->View()->viewport()->render(&image);
    state.PauseTiming();
    Close(window);
    state.ResumeTiming();
  }
  AddCounters(state);
}
BENCHMARK(BM_ShellFirstPaint)->Unit(benchmark::kMillisecond);

// Open to first paint whole.
void BM_ShellOpenToFirstPaint(benchmark::State& state) {
  TTarlowmedeFrame& frame = Frame();
  ScorePath();
  QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    TScoreWindow* window = Open(frame);
    if (window == nullptr || window->View() == nullptr) {
      state.SkipWithError("no window");
      break;
    }
    window->View()->viewport()->render(&image);
    state.PauseTiming();
    Close(window);
    state.ResumeTiming();
  }
  AddCounters(state);
}
BENCHMARK(BM_ShellOpenToFirstPaint)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kvt

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  char folder[] = "/tmp/kvt_shell_bench_XXXXXX";
  if (mkdtemp(folder) == nullptr) return 1;
  kvt::BenchFolder() = folder;
  // Settings, autosaves and the single-instance socket stay in the temporary folder.
  for (const char* name : {"XDG_CONFIG_HOME", "XDG_RUNTIME_DIR", "XDG_STATE_HOME"}) {
    const std::string path = std::string(folder) + "/" + name;
    std::filesystem::create_directories(path);
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
    setenv(name, path.c_str(), 1);
  }
  {
    kvt::TSysInfo settings;
    settings.SetProfileLocation("Tarlowmede Software", "Shell Bench");
    kvt::TTarlowmedeApp app(argc, argv, settings);
    kvt::LoadMusicFont();
    app.InitMainWindow();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
  }
  std::error_code error;
  std::filesystem::remove_all(folder, error);
  return 0;
}
