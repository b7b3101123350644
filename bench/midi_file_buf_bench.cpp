// Event insertion into a TMidiFileBuf: events in ascending time (the score player's case),
// events of several staves interleaved a slice apart (nearly ascending), and the time search,
// over buffer sizes from 1,000 to 500,000 events.

#include <benchmark/benchmark.h>

#include <cstdint>

#include "midi/events/mfb_index.h"
#include "midi/events/midi_file_buf.h"

namespace kvt {
namespace {

TMidiMsg Note(int i) { return TMidiMsg::Channel(kMidiNoteOn, 0, i % 16, 36 + i % 60, 80); }

void BM_AddAscending(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  for (auto _ : state) {
    TMidiFileBuf buf(16);
    buf.AllocSegments(16);
    for (int i = 0; i < n; ++i) buf.AddEvent(static_cast<uint32_t>(i) * 12, Note(i));
    benchmark::DoNotOptimize(buf.GetEventCount());
  }
  state.SetItemsProcessed(state.iterations() * n);
}

// Eight staves rendered in slices of 384 ticks: each slice's events go in staff by staff.
void BM_AddStavesBySlices(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  constexpr int kStaves = 8;
  constexpr int kPerSlice = 8;  // events of one staff in one slice
  for (auto _ : state) {
    TMidiFileBuf buf(16);
    buf.AllocSegments(16);
    int added = 0;
    for (uint32_t slice = 0; added < n; slice += 384) {
      for (int staff = 0; staff < kStaves && added < n; ++staff) {
        for (int k = 0; k < kPerSlice && added < n; ++k, ++added)
          buf.AddEvent(slice + static_cast<uint32_t>(k) * 48, Note(staff));
      }
    }
    benchmark::DoNotOptimize(buf.GetEventCount());
  }
  state.SetItemsProcessed(state.iterations() * n);
}

void BM_FindTimeIndex(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  TMidiFileBuf buf(16);
  for (int i = 0; i < n; ++i) buf.AddEvent(static_cast<uint32_t>(i) * 12, Note(i));
  uint32_t t = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(buf.FindTimeIndex(t));
    t = (t + 7919) % (static_cast<uint32_t>(n) * 12);
  }
}

BENCHMARK(BM_AddAscending)->RangeMultiplier(10)->Range(1000, 100000)->Arg(500000);
BENCHMARK(BM_AddStavesBySlices)->RangeMultiplier(10)->Range(1000, 100000)->Arg(500000);
BENCHMARK(BM_FindTimeIndex)->RangeMultiplier(10)->Range(1000, 100000)->Arg(500000);

}  // namespace
}  // namespace kvt
