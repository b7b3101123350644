#include "platform/midi/fluid_synth_out.h"

#include <fluidsynth.h>

#include <algorithm>
#include <cstdlib>

namespace kvt {

namespace {

// FluidSynth reports to standard error; a missing audio device is not an error here, so its
// messages show only for a developer (KVT_DEBUG).
void QuietLibraryLog() {
  if (std::getenv("KVT_DEBUG")) return;
  for (int level : {FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
    fluid_set_log_function(level, nullptr, nullptr);
}

}  // namespace

std::vector<std::string> SoundFontCandidates(const std::string& userChoice) {
  std::vector<std::string> paths;
  if (!userChoice.empty()) paths.push_back(userChoice);
  paths.push_back("/usr/share/sounds/sf2/default-GM.sf2");
  paths.push_back("/usr/share/sounds/sf3/default-GM.sf3");
  return paths;
}

TFluidSynthOut::TFluidSynthOut(const TMidiClock& clock, TSynthSink sink)
    : sink(sink), anchorMs(clock.NowMs()) {
  dueNow.reserve(1024);
}

std::unique_ptr<TFluidSynthOut> TFluidSynthOut::Open(const std::vector<std::string>& soundFonts,
                                                     const TMidiClock& clock, TSynthSink sink) {
  QuietLibraryLog();
  std::unique_ptr<TFluidSynthOut> out(new TFluidSynthOut(clock, sink));
  out->settings = new_fluid_settings();
  if (!out->settings) return nullptr;
  fluid_settings_setnum(out->settings, "synth.sample-rate", kSynthSampleRate);
  out->synth = new_fluid_synth(out->settings);
  if (!out->synth) return nullptr;
  bool loaded = false;
  for (const std::string& path : soundFonts) {
    if (path.empty() || !fluid_is_soundfont(path.c_str())) continue;
    if (fluid_synth_sfload(out->synth, path.c_str(), 1) != FLUID_FAILED) {
      loaded = true;
      break;
    }
  }
  if (!loaded) return nullptr;
  if (sink == TSynthSink::kAudioDevice)
    out->driver = new_fluid_audio_driver2(out->settings, &TFluidSynthOut::DriverCallback, out.get());
  return out;
}

TFluidSynthOut::~TFluidSynthOut() {
  // The driver's thread renders from this object: it goes first.
  if (driver) delete_fluid_audio_driver(driver);
  if (synth) delete_fluid_synth(synth);
  if (settings) delete_fluid_settings(settings);
}

int64_t TFluidSynthOut::FrameOf(int64_t dueMs) const {
  const int64_t ms = std::max<int64_t>(dueMs + kSynthLatencyMs - anchorMs, 0);
  return ms * kSynthSampleRate / 1000;
}

TMidiSendResult TFluidSynthOut::Send(uint32_t shortMsg, int64_t dueMs) {
  if (!HasOutput()) return TMidiSendResult::kDone;
  const TScheduled entry{FrameOf(dueMs), shortMsg & 0xFFFFFF};
  TMutexLock lock(mutex);
  if (scheduled.size() >= kSynthMaxScheduled) return TMidiSendResult::kDone;
  // Messages arrive nearly in frame order; equal frames keep their sending order.
  auto at = scheduled.end();
  while (at != scheduled.begin() && std::prev(at)->frame > entry.frame) --at;
  scheduled.insert(at, entry);
  return TMidiSendResult::kDone;
}

void TFluidSynthOut::DropScheduled() {
  TMutexLock lock(mutex);
  scheduled.clear();
}

size_t TFluidSynthOut::GetScheduledCount() const {
  TMutexLock lock(mutex);
  return scheduled.size();
}

void TFluidSynthOut::Render(float* left, float* right, int frames) {
  int done = 0;
  while (done < frames) {
    const int n = std::min(kSynthBlockFrames, frames - done);
    const int64_t blockStart = renderedFrames.load();
    const int64_t blockEnd = blockStart + n;
    dueNow.clear();
    {
      TMutexLock lock(mutex);
      while (!scheduled.empty() && scheduled.front().frame < blockEnd) {
        dueNow.push_back(scheduled.front());
        scheduled.pop_front();
      }
    }
    for (const TScheduled& entry : dueNow) {
      Apply(entry.msg);
      if (applyProbe) applyProbe(entry.frame, blockStart);
    }
    fluid_synth_write_float(synth, n, left, done, 1, right, done, 1);
    done += n;
    renderedFrames += n;
  }
}

void TFluidSynthOut::Apply(uint32_t msg) {
  const int status = static_cast<int>(msg & 0xFF);
  const int channel = status & 0x0F;
  const int d1 = static_cast<int>((msg >> 8) & 0x7F);
  const int d2 = static_cast<int>((msg >> 16) & 0x7F);
  switch (status & 0xF0) {
    case 0x80: fluid_synth_noteoff(synth, channel, d1); break;
    case 0x90:
      if (d2 == 0)
        fluid_synth_noteoff(synth, channel, d1);
      else
        fluid_synth_noteon(synth, channel, d1, d2);
      break;
    case 0xA0: fluid_synth_key_pressure(synth, channel, d1, d2); break;
    case 0xB0: fluid_synth_cc(synth, channel, d1, d2); break;
    case 0xC0: fluid_synth_program_change(synth, channel, d1); break;
    case 0xD0: fluid_synth_channel_pressure(synth, channel, d1); break;
    case 0xE0: fluid_synth_pitch_bend(synth, channel, d1 | d2 << 7); break;
    default:
      // System messages: only a reset means anything to the synthesizer.
      if (status == 0xFF) fluid_synth_system_reset(synth);
      break;
  }
}

int TFluidSynthOut::DriverCallback(void* data, int len, int, float*[], int nout, float* out[]) {
  if (nout >= 2) static_cast<TFluidSynthOut*>(data)->Render(out[0], out[1], len);
  return FLUID_OK;
}

}  // namespace kvt
