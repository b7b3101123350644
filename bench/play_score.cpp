// play_score SCORE [--from TICK] [--wav OUT.wav]
//
// A developer program: plays a score file aloud through the default device (the built-in
// synthesizer on the audio device), through the same device manager, sequencer and timer
// thread as the editor. With --wav the synthesizer's output goes into a 44.1 kHz stereo WAV
// file instead, rendered at real-time pace from the same path, so what a user hears can be
// checked. Exit codes: 0 played, 1 bad arguments, 2 the score did not load, 3 nothing to play,
// 4 the WAV file could not be written.

#include <algorithm>
#include <atomic>
#include <charconv>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "bench/wav_writer.h"
#include "midi/devices/midi_manager.h"
#include "midi/events/midi_file_buf.h"
#include "midi/play/score_midi_player.h"
#include "notation/files/binary/binary_score_file.h"
#include "notation/files/binary/score_file_header.h"
#include "notation/files/text/score_text_file.h"
#include "notation/staff/music_score.h"
#include "platform/midi/posix_midi_timer.h"
#include "platform/midi/steady_midi_clock.h"
#include "platform/midi/system_midi_catalog.h"

namespace kvt {
namespace {

// The main thread stands in for the UI thread: posted calls wait in this queue until it runs
// them.
class TPumpedPost final : public TMidiUiPost {
public:
  void Post(std::function<void()> call) override {
    {
      std::lock_guard<std::mutex> lock(mutex);
      calls.push_back(std::move(call));
    }
    ready.notify_one();
  }
  void RunFor(std::chrono::milliseconds wait) {
    std::unique_lock<std::mutex> lock(mutex);
    ready.wait_for(lock, wait, [this] { return !calls.empty(); });
    while (!calls.empty()) {
      std::function<void()> call = std::move(calls.front());
      calls.pop_front();
      lock.unlock();
      call();
      lock.lock();
    }
  }

private:
  std::mutex mutex;
  std::condition_variable ready;
  std::deque<std::function<void()>> calls;
};

class TStderrAlerts final : public TAlertLog {
public:
  void AddLine(std::string_view line) override {
    std::fprintf(stderr, "play_score: %.*s\n", static_cast<int>(line.size()), line.data());
  }
};

class TEndWatch final : public TMidiSeqReceiver {
public:
  explicit TEndWatch(TMidiManager& manager) : manager(manager) {}
  void OnSequencerMessage(int message) override {
    if (!manager.AnswerSeqMessage(message)) ended = true;
  }
  bool ended = false;

private:
  TMidiManager& manager;
};

bool EndsWith(const std::string& text, const char* tail) {
  const size_t n = std::strlen(tail);
  return text.size() >= n && text.compare(text.size() - n, n, tail) == 0;
}

std::unique_ptr<TMusicScore> Load(const std::string& path) {
  if (EndsWith(path, ".kvttxt")) return LoadTextScoreFile(path, TServices()).score;
  TScoreFileHeader header;
  return ReadScoreFromFileRepairing(path.c_str(), header, TServices()).score;
}

int Usage() {
  std::fprintf(stderr, "usage: play_score SCORE [--from TICK] [--wav OUT.wav]\n");
  return 1;
}

}  // namespace
}  // namespace kvt

int main(int argc, char** argv) {
  using namespace kvt;
  std::string scorePath, wavPath;
  int32_t fromTick = 0;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--from" && i + 1 < argc) {
      const char* text = argv[++i];
      const auto [end, error] = std::from_chars(text, text + std::strlen(text), fromTick);
      if (error != std::errc() || *end != '\0' || fromTick < 0) return Usage();
    } else if (arg == "--wav" && i + 1 < argc) {
      wavPath = argv[++i];
    } else if (scorePath.empty() && !arg.empty() && arg[0] != '-') {
      scorePath = arg;
    } else {
      return Usage();
    }
  }
  if (scorePath.empty()) return Usage();
  std::unique_ptr<TMusicScore> score = Load(scorePath);
  if (!score) {
    std::fprintf(stderr, "play_score: '%s' is not a score that loads\n", scorePath.c_str());
    return 2;
  }
  TScoreMidiPlayer player;
  player.SetScore(score.get());
  TMidiFileBuf buffer(8);
  player.BuildPlayBuffer(buffer);
  if (buffer.IsEmpty()) return 3;

  const bool toWav = !wavPath.empty();
  TSteadyMidiClock clock;
  TPosixMidiTimer timer;
  TPumpedPost post;
  TSystemMidiCatalog catalog(clock, toWav ? TSynthSink::kCaller : TSynthSink::kAudioDevice);
  TSysInfo settings;  // no location: the default device, whatever the user configured
  TStderrAlerts alerts;
  TMidiManager manager(catalog, settings, alerts, clock, timer, post);
  manager.SetPortsOpen(true);
  TFluidSynthOut* synth = catalog.GetLastSynth();
  if (!synth) return 3;
  if (!toWav && !synth->HasOutput())
    std::fprintf(stderr, "play_score: no audio device; nothing will be heard\n");

  // At real-time pace the render thread renders what the clock has reached, block by block.
  std::vector<int16_t> samples;
  std::atomic<bool> stopRender{false};
  std::thread render;
  if (toWav) {
    render = std::thread([&] {
      float left[kSynthBlockFrames], right[kSynthBlockFrames];
      const int64_t anchor = synth->GetAnchorMs();
      while (!stopRender.load()) {
        const int64_t target = (clock.NowMs() - anchor) * kSynthSampleRate / 1000;
        while (synth->GetRenderedFrames() + kSynthBlockFrames <= target) {
          synth->Render(left, right, kSynthBlockFrames);
          for (int i = 0; i < kSynthBlockFrames; ++i) {
            samples.push_back(static_cast<int16_t>(std::clamp(left[i], -1.0f, 1.0f) * 32767.0f));
            samples.push_back(static_cast<int16_t>(std::clamp(right[i], -1.0f, 1.0f) * 32767.0f));
          }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
      }
    });
  }

  TEndWatch watch(manager);
  if (!manager.PlayBuffer(&watch, buffer, fromTick)) {
    stopRender = true;
    if (render.joinable()) render.join();
    return 3;
  }
  std::fprintf(stderr, "play_score: %lld ms from tick %d\n",
               static_cast<long long>(player.GetPlayLengthMs()), fromTick);
  while (!watch.ended && manager.IsPlaying()) post.RunFor(std::chrono::milliseconds(50));
  manager.Stop();
  // The release tails of the last notes.
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  stopRender = true;
  if (render.joinable()) render.join();
  if (toWav && !WriteWav16(wavPath, samples, kSynthSampleRate, 2)) {
    std::fprintf(stderr, "play_score: could not write '%s'\n", wavPath.c_str());
    return 4;
  }
  return 0;
}
