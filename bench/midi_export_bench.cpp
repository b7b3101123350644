// Rendering and MIDI export of a generated score: 16 staves of 2,000 bars each (4/4; bars of
// quarters and of eighths in turn, a dynamic every 8 bars, a tempo change every 32 bars on the
// first staff, each staff on its own channel). Reports events per second and the time per
// bar (of all staves together) for the rendering for playing and for a type 1 export into
// memory and into a file.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>

#include "notation/items/bar_line_data.h"
#include "notation/items/dynamic_level_data.h"
#include "midi/smf/midi_export.h"
#include "midi/events/midi_file_buf.h"
#include "midi/play/score_midi_player.h"
#include "midi/smf/smf_export_stream.h"
#include "notation/items/music_note.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "notation/items/song_note.h"
#include "notation/items/tempo_data.h"
#include "notation/items/time_signature_data.h"
#include "utils/seg_ram_stream.h"

namespace kvt {
namespace {

constexpr int kStaves = 16;
constexpr int kBars = 2000;

std::unique_ptr<TMusicScore> MakeScore() {
  auto score = std::make_unique<TMusicScore>();
  for (int s = 0; s < kStaves; ++s) {
    auto staff = std::make_unique<TMusicStaff>();
    staff->SetChannel(s);
    auto add = [&](std::unique_ptr<TNotatedItem> item) {
      staff->InsertItem(std::move(item), staff->GetLastIndex());
    };
    add(std::make_unique<TTimeSignatureData>(4, 2));
    for (int bar = 0; bar < kBars; ++bar) {
      if (s == 0 && bar % 32 == 0) add(std::make_unique<TTempoData>(90 + bar % 64));
      if (bar % 8 == 0) {
        auto dynamic = std::make_unique<TDynamicLevelData>(kDynMF);
        dynamic->SetHasVelocity(true);
        dynamic->SetVelocity(60 + (bar / 8) % 40);
        add(std::move(dynamic));
      }
      const bool eighths = bar % 2 == 1;
      for (int n = 0; n < (eighths ? 8 : 4); ++n) {
        add(std::make_unique<TMusicNote>((n + bar + s) % 9 - 4, eighths ? kDurEighth : kDurQuarter,
                                         0, kAccNone));
      }
      add(std::make_unique<TBarLineData>(kBarSingle));
    }
    score->AddStaff(std::move(staff));
  }
  return score;
}

void SetCounters(benchmark::State& state, int64_t events) {
  state.counters["events_per_s"] =
      benchmark::Counter(static_cast<double>(events), benchmark::Counter::kIsIterationInvariantRate);
  state.counters["s_per_bar"] = benchmark::Counter(
      kBars, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  state.counters["events"] = static_cast<double>(events);
}

void BM_BuildPlayBuffer(benchmark::State& state) {
  const auto score = MakeScore();
  TScoreMidiPlayer player;
  player.SetScore(score.get());
  TMidiFileBuf buffer(16);
  buffer.AllocSegments(16);
  int64_t events = 0;
  for (auto _ : state) {
    player.BuildPlayBuffer(buffer);
    events = buffer.GetEventCount();
  }
  SetCounters(state, events);
}

void BM_ExportType1ToMemory(benchmark::State& state) {
  const auto score = MakeScore();
  const TServices headless;
  int64_t bytes = 0;
  int64_t events = 0;
  {
    TMidiFileBuf all(16);
    TScoreMidiPlayer player;
    player.SetScore(score.get());
    player.RenderAll(all);
    events = all.GetEventCount();
  }
  for (auto _ : state) {
    TKRVSegRamStream out(0xFFFF);
    if (!WriteScoreAsMidi(out, *score, 1, headless)) state.SkipWithError("export failed");
    bytes = out.Size();
  }
  SetCounters(state, events);
  state.counters["file_bytes"] = static_cast<double>(bytes);
}

void BM_ExportType1ToFile(benchmark::State& state) {
  const auto score = MakeScore();
  char pattern[] = "/tmp/kvt-midi-bench-XXXXXX";
  if (!mkdtemp(pattern)) {
    state.SkipWithError("no temporary folder");
    return;
  }
  const std::string path = std::string(pattern) + "/score.mid";
  int64_t events = 0;
  {
    TMidiFileBuf all(16);
    TScoreMidiPlayer player;
    player.SetScore(score.get());
    player.RenderAll(all);
    events = all.GetEventCount();
  }
  const TServices headless;
  for (auto _ : state) {
    if (!ExportMidiFile(*score, path, 1, headless)) state.SkipWithError("export failed");
  }
  SetCounters(state, events);
  std::error_code ec;
  std::filesystem::remove_all(pattern, ec);
}

BENCHMARK(BM_BuildPlayBuffer)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportType1ToMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportType1ToFile)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kvt
