// Note lateness through the whole playing path: the sequencer on its timer thread sends notes
// to the built-in synthesizer, which a render thread drives at real-time pace into memory.
// For each note: how late the block it sounds in starts against the frame it was due at
// ("late_*_ms", negative: early within its block), and from its due time on the sequencer's
// clock to that block ("due_to_sound_*_ms", the fixed latency included). range(0): seconds.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "midi/devices/kv_midi.h"
#include "midi/events/midi_file_buf.h"
#include "platform/midi/fluid_synth_out.h"
#include "platform/midi/posix_midi_timer.h"
#include "platform/midi/steady_midi_clock.h"

namespace {

class TDropPost final : public kvt::TMidiUiPost {
public:
  void Post(std::function<void()>) override {}
};

class TIgnore final : public kvt::TMidiSeqReceiver {
public:
  void OnSequencerMessage(int) override {}
};

double Percentile(const std::vector<double>& sorted, double p) {
  if (sorted.empty()) return 0;
  return sorted[std::min(sorted.size() - 1, static_cast<size_t>(p * static_cast<double>(sorted.size())))];
}

void BM_SynthNoteLateness(benchmark::State& state) {
  const int seconds = static_cast<int>(state.range(0));
  std::vector<double> late;
  for (auto _ : state) {
    kvt::TSteadyMidiClock clock;
    auto synth = kvt::TFluidSynthOut::Open(kvt::SoundFontCandidates(""), clock,
                                           kvt::TSynthSink::kCaller);
    if (!synth) {
      state.SkipWithError("no soundfont loads");
      return;
    }
    late.clear();
    late.reserve(100000);
    synth->SetApplyProbe([&late](int64_t dueFrame, int64_t blockFrame) {
      if (late.size() < late.capacity())
        late.push_back(static_cast<double>(blockFrame - dueFrame) * 1000.0 / kvt::kSynthSampleRate);
    });
    // Notes every 24 ticks (62.5 ms at 120 bpm) on four channels.
    kvt::TMidiFileBuf buffer(8);
    const uint32_t ticks = static_cast<uint32_t>(seconds) * 384;
    for (uint32_t t = 0; t < ticks; t += 24) {
      for (int c = 0; c < 4; ++c) {
        buffer.AddEvent(t, kvt::TMidiMsg::Channel(kvt::kMidiNoteOn, 0, c, 48 + c * 7 + (t / 24) % 12, 80));
        buffer.AddEvent(t + 20, kvt::TMidiMsg::Channel(kvt::kMidiNoteOff, 0, c, 48 + c * 7 + (t / 24) % 12, 0));
      }
    }
    std::atomic<bool> stop{false};
    std::thread render([&] {
      std::vector<float> left(kvt::kSynthBlockFrames), right(kvt::kSynthBlockFrames);
      const int64_t anchor = synth->GetAnchorMs();
      while (!stop.load()) {
        const int64_t target = (clock.NowMs() - anchor) * kvt::kSynthSampleRate / 1000;
        while (synth->GetRenderedFrames() + kvt::kSynthBlockFrames <= target)
          synth->Render(left.data(), right.data(), kvt::kSynthBlockFrames);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
      }
    });
    kvt::TPosixMidiTimer timer;
    TDropPost post;
    TIgnore receiver;
    kvt::TKVMidi seq(clock, timer, post);
    kvt::TMidiStartRecord start;
    start.outputs[0] = synth.get();
    seq.Start(&receiver, start, buffer.GetSegment(0));
    std::this_thread::sleep_for(std::chrono::seconds(seconds) + std::chrono::milliseconds(200));
    seq.Stop();
    stop = true;
    render.join();
  }
  std::sort(late.begin(), late.end());
  state.counters["notes"] = static_cast<double>(late.size());
  state.counters["late_p50_ms"] = Percentile(late, 0.50);
  state.counters["late_p99_ms"] = Percentile(late, 0.99);
  state.counters["late_max_ms"] = late.empty() ? 0 : late.back();
  state.counters["due_to_sound_p50_ms"] = Percentile(late, 0.50) + kvt::kSynthLatencyMs;
  state.counters["due_to_sound_max_ms"] = (late.empty() ? 0 : late.back()) + kvt::kSynthLatencyMs;
  state.counters["cores"] = std::thread::hardware_concurrency();
}
BENCHMARK(BM_SynthNoteLateness)->Arg(10)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
