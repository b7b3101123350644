// The MIDI import of a generated type 1 file: 16 tracks (a conductor with tempos and time
// signatures, 15 instrument tracks on their own channels) with 100,000 notes in all: melodies
// of quarters and eighths with a chord every bar, on a 192-per-quarter grid with some jitter.
// Reports the time of each step as a user's import runs them: reading the file, scanning it
// for instructions, building the staves, and the whole conversion (building and finishing);
// notes per second, and the process's peak memory (maximum resident set, kB).

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdint>
#include <memory>
#include <random>
#include <vector>

#include "midi/import/import_convert.h"
#include "midi/import/import_converter.h"
#include "midi/import/import_data.h"
#include "midi/smf/smf_import.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "utils/flat_ram_stream.h"

namespace kvt {
namespace {

constexpr int kTracks = 16;
constexpr int kNotes = 100000;

void PutVarLength(std::vector<uint8_t>& out, uint32_t v) {
  uint8_t bytes[4];
  int n = 0;
  do {
    bytes[n++] = static_cast<uint8_t>(v & 0x7F);
    v >>= 7;
  } while (v && n < 4);
  while (n > 1) out.push_back(static_cast<uint8_t>(bytes[--n] | 0x80));
  out.push_back(bytes[0]);
}

void PutBe(std::vector<uint8_t>& out, uint32_t v, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

struct TEvent {
  uint32_t time;
  std::vector<uint8_t> bytes;
};

void PutTrack(std::vector<uint8_t>& file, std::vector<TEvent> events) {
  std::stable_sort(events.begin(), events.end(),
                   [](const TEvent& a, const TEvent& b) { return a.time < b.time; });
  std::vector<uint8_t> body;
  uint32_t now = 0;
  for (const TEvent& e : events) {
    PutVarLength(body, e.time - now);
    now = e.time;
    body.insert(body.end(), e.bytes.begin(), e.bytes.end());
  }
  for (uint8_t b : {0, 0xFF, 0x2F, 0}) body.push_back(b);
  for (char c : std::string("MTrk")) file.push_back(static_cast<uint8_t>(c));
  PutBe(file, static_cast<uint32_t>(body.size()), 4);
  file.insert(file.end(), body.begin(), body.end());
}

const std::vector<uint8_t>& GeneratedFile() {
  static const std::vector<uint8_t> file = [] {
    std::vector<uint8_t> out = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1};
    PutBe(out, kTracks, 2);
    PutBe(out, 192, 2);
    std::mt19937 rng(7);
    const int perTrack = kNotes / (kTracks - 1);
    uint32_t length = 0;
    std::vector<std::vector<TEvent>> tracks(kTracks);
    for (int t = 1; t < kTracks; ++t) {
      const int channel = (t - 1) % 16;
      uint32_t time = 0;
      for (int n = 0; n < perTrack;) {
        const bool chord = time % 768 == 0;
        const uint32_t dur = (rng() % 2) ? 192 : 96;
        const int voices = chord ? 3 : 1;
        const int base = 48 + static_cast<int>(rng() % 24);
        for (int v = 0; v < voices && n < perTrack; ++v, ++n) {
          const int pitch = base + v * 4;
          const uint32_t jitter = rng() % 5;
          tracks[t].push_back(
              {time + jitter,
               {static_cast<uint8_t>(0x90 | channel), static_cast<uint8_t>(pitch), 90}});
          tracks[t].push_back(
              {time + dur - 6,
               {static_cast<uint8_t>(0x80 | channel), static_cast<uint8_t>(pitch), 0}});
        }
        time += dur;
      }
      length = std::max(length, time);
    }
    tracks[0].push_back({0, {0xFF, 0x58, 4, 4, 2, 24, 8}});
    for (uint32_t t = 0; t < length; t += 768 * 32)
      tracks[0].push_back(
          {t, {0xFF, 0x51, 3, 0x07, static_cast<uint8_t>(0xA1 + (t / 768) % 8), 0x20}});
    for (auto& track : tracks) PutTrack(out, std::move(track));
    return out;
  }();
  return file;
}

void Read(TKVTImportData& data) {
  std::vector<uint8_t> bytes = GeneratedFile();
  TKRVFlatRamStream input(bytes.data(), static_cast<int>(bytes.size()),
                          static_cast<int>(bytes.size()));
  ImportSMF(data, input, nullptr);
}

void Counters(benchmark::State& state) {
  state.counters["notes/s"] = benchmark::Counter(static_cast<double>(kNotes),
                                                 benchmark::Counter::kIsIterationInvariantRate);
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["peak_kB"] = static_cast<double>(usage.ru_maxrss);
}

void BM_ReadFile(benchmark::State& state) {
  for (auto _ : state) {
    TKVTImportData data;
    Read(data);
    benchmark::DoNotOptimize(data.GetTrackCount());
  }
  Counters(state);
}
BENCHMARK(BM_ReadFile)->Unit(benchmark::kMillisecond);

void BM_Scan(benchmark::State& state) {
  TKVTImportData data;
  Read(data);
  for (auto _ : state) {
    ScanImportInstructions(data, true, 18);
    benchmark::DoNotOptimize(data.GetInstructions().size());
  }
  Counters(state);
}
BENCHMARK(BM_Scan)->Unit(benchmark::kMillisecond);

void BM_BuildStaves(benchmark::State& state) {
  TKVTImportData data;
  Read(data);
  ScanImportInstructions(data, true, 18);
  for (auto _ : state) {
    TMidiImportConverter converter{TServices()};
    for (const TSMFImportInstructions& instruction : data.GetInstructions()) {
      std::unique_ptr<TMusicStaff> staff =
          converter.BuildInstructionStaff(instruction, data.GetTrack(instruction.track));
      benchmark::DoNotOptimize(staff->GetItemCount());
    }
  }
  Counters(state);
}
BENCHMARK(BM_BuildStaves)->Unit(benchmark::kMillisecond);

void BM_ConvertAndFinish(benchmark::State& state) {
  TKVTImportData data;
  Read(data);
  ScanImportInstructions(data, true, 18);
  for (auto _ : state) {
    bool cancelled = false;
    std::unique_ptr<TMusicScore> score =
        ConvertImportToScore(data, 1, TServices(), nullptr, &cancelled);
    benchmark::DoNotOptimize(score->GetStaffCount());
  }
  Counters(state);
}
BENCHMARK(BM_ConvertAndFinish)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace kvt
