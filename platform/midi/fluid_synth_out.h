#pragma once
// TFluidSynthOut: the built-in synthesizer (FluidSynth) as an output port.
//
// Timing: every message carries its due time on the sequencer's clock; it sounds at the frame
// of due time + kSynthLatencyMs, counted from the clock time of frame 0 (the anchor). Rendering
// runs in blocks of kSynthBlockFrames and applies, before each block, every message whose frame
// falls before the block's end: a message sounds within one block of its frame whatever the
// audio device's period, and one already late sounds in the next block rendered.
//
// Where the sound goes (TSynthSink):
// - kAudioDevice: FluidSynth's audio driver pulls Render on its own thread. When no audio
//   device opens, the synthesizer renders to nothing: messages are accepted and dropped, with
//   no error.
// - kCaller: the owner calls Render (a WAV writer, a test, a benchmark).
//
// Send and DropScheduled may be called from any thread, Render from one thread at a time; a
// mutex guards the schedule and is never held while FluidSynth renders. Never kNotReady.

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "midi/devices/midi_clock.h"
#include "midi/devices/midi_ports.h"
#include "utils/thread_annotations.h"

struct _fluid_hashtable_t;
struct _fluid_synth_t;
struct _fluid_audio_driver_t;

namespace kvt {

inline constexpr int kSynthSampleRate = 44100;
inline constexpr int kSynthBlockFrames = 64;
inline constexpr int kSynthLatencyMs = 40;
// Messages held for later at most; beyond, new ones are dropped (a caller that never renders).
inline constexpr size_t kSynthMaxScheduled = 1 << 18;

enum class TSynthSink { kAudioDevice, kCaller };

// The soundfonts tried in order: the user's choice (when not empty), then the system's
// General MIDI soundfonts.
std::vector<std::string> SoundFontCandidates(const std::string& userChoice);

class TFluidSynthOut final : public TMidiOutPort {
public:
  // Null when FluidSynth cannot start or no candidate soundfont loads. The anchor is the
  // clock's time now; due times given later must come from the same clock.
  static std::unique_ptr<TFluidSynthOut> Open(const std::vector<std::string>& soundFonts,
                                              const TMidiClock& clock, TSynthSink sink);
  ~TFluidSynthOut() override;
  TFluidSynthOut(const TFluidSynthOut&) = delete;
  TFluidSynthOut& operator=(const TFluidSynthOut&) = delete;

  TMidiSendResult Send(uint32_t shortMsg, int64_t dueMs) override EXCLUDES(mutex);
  void DropScheduled() override EXCLUDES(mutex);

  // Renders frames of stereo audio (kCaller sink, or the driver's thread).
  void Render(float* left, float* right, int frames) EXCLUDES(mutex);
  // Frames rendered so far.
  int64_t GetRenderedFrames() const { return renderedFrames.load(); }
  // The clock time of frame 0: a caller rendering at real-time pace renders up to
  // (now - anchor) x kSynthSampleRate / 1000 frames.
  int64_t GetAnchorMs() const { return anchorMs; }
  // The frame at which a message due at dueMs sounds.
  int64_t FrameOf(int64_t dueMs) const;
  // False when an audio device was asked for but none opened (rendering to nothing).
  bool HasOutput() const { return sink == TSynthSink::kCaller || driver != nullptr; }
  // Messages waiting for their frame.
  size_t GetScheduledCount() const EXCLUDES(mutex);
  // Called on the rendering thread for each message applied, with the frame it was due at
  // and the first frame of the block it sounds in (for measurements). Set before rendering.
  void SetApplyProbe(std::function<void(int64_t dueFrame, int64_t blockFrame)> probe) {
    applyProbe = std::move(probe);
  }

private:
  struct TScheduled {
    int64_t frame;
    uint32_t msg;
  };

  TFluidSynthOut(const TMidiClock& clock, TSynthSink sink);
  void Apply(uint32_t msg);
  static int DriverCallback(void* data, int len, int nfx, float* fx[], int nout, float* out[]);

  const TSynthSink sink;
  const int64_t anchorMs;
  _fluid_hashtable_t* settings = nullptr;
  _fluid_synth_t* synth = nullptr;
  _fluid_audio_driver_t* driver = nullptr;
  std::atomic<int64_t> renderedFrames{0};  // written by the rendering thread only
  mutable TMutex mutex;
  std::deque<TScheduled> scheduled GUARDED_BY(mutex);  // in frame order
  std::vector<TScheduled> dueNow;  // the rendering thread's scratch
  std::function<void(int64_t, int64_t)> applyProbe;
};

}  // namespace kvt
