#include "platform/midi/fluid_synth_out.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tests/midi/devices/midi_device_fakes.h"

namespace kvt::test {
namespace {

constexpr uint32_t kNoteOn60 = 0x643C90;
constexpr uint32_t kNoteOff60 = 0x003C80;

struct TStereo {
  std::vector<float> left, right;
};

class FluidSynthOutTest : public ::testing::Test {
protected:
  std::unique_ptr<TFluidSynthOut> OpenSynth() {
    auto synth = TFluidSynthOut::Open(SoundFontCandidates(""), clock, TSynthSink::kCaller);
    EXPECT_NE(synth, nullptr);
    return synth;
  }
  // Renders frames more, in pieces of an odd size (the audio period must not matter).
  static void Render(TFluidSynthOut& synth, TStereo& out, int frames) {
    const size_t start = out.left.size();
    out.left.resize(start + frames);
    out.right.resize(start + frames);
    for (int done = 0; done < frames;) {
      const int n = std::min(333, frames - done);
      synth.Render(out.left.data() + start + done, out.right.data() + start + done, n);
      done += n;
    }
  }
  // The first frame above the synthesizer's idle noise floor.
  static int64_t FirstSound(const TStereo& out) {
    for (size_t i = 0; i < out.left.size(); ++i)
      if (std::fabs(out.left[i]) > 1e-4f || std::fabs(out.right[i]) > 1e-4f)
        return static_cast<int64_t>(i);
    return -1;
  }
  static double Rms(const TStereo& out, size_t from, size_t count) {
    double sum = 0;
    for (size_t i = from; i < from + count && i < out.left.size(); ++i)
      sum += out.left[i] * out.left[i] + out.right[i] * out.right[i];
    return std::sqrt(sum / static_cast<double>(count));
  }

  TFakeClock clock;
};

TEST_F(FluidSynthOutTest, NoteSoundsWithinOneBlockOfItsFrame) {
  // The instrument's own attack: how long a note struck at frame 0 takes to be heard.
  int64_t attack = -1;
  {
    auto synth = OpenSynth();
    ASSERT_TRUE(synth);
    synth->Send(kNoteOn60, clock.NowMs() - kSynthLatencyMs);
    TStereo out;
    Render(*synth, out, 4410);
    attack = FirstSound(out);
    ASSERT_GE(attack, 0);
    ASSERT_LT(attack, kSynthBlockFrames * 4);
  }
  for (int64_t dueAfter : {0, 100, 1234}) {
    SCOPED_TRACE(dueAfter);
    auto synth = OpenSynth();
    ASSERT_TRUE(synth);
    const int64_t due = clock.NowMs() + dueAfter;
    synth->Send(kNoteOn60, due);
    const int64_t expected = (dueAfter + kSynthLatencyMs) * kSynthSampleRate / 1000;
    EXPECT_EQ(synth->FrameOf(due), expected);
    TStereo out;
    Render(*synth, out, static_cast<int>(expected) + 4 * kSynthBlockFrames);
    const int64_t first = FirstSound(out);
    ASSERT_GE(first, 0);
    EXPECT_GT(first, expected + attack - kSynthBlockFrames);
    EXPECT_LT(first, expected + attack + kSynthBlockFrames);
  }
}

TEST_F(FluidSynthOutTest, AfterAPauseOnlyTheReleaseTailSounds) {
  auto synth = OpenSynth();
  ASSERT_TRUE(synth);
  const int64_t start = clock.NowMs();
  synth->Send(kNoteOn60, start);
  synth->Send(0x643E90, start + 700);  // scheduled, not yet sounded at the pause
  TStereo out;
  Render(*synth, out, kSynthSampleRate / 2);
  const double held = Rms(out, out.left.size() - 4410, 4410);
  ASSERT_GT(held, 0.001);
  // The pause: drop what is scheduled, then the note off and all notes off, due now.
  clock.Set(start + 500);
  synth->DropScheduled();
  synth->Send(kNoteOff60, clock.NowMs());
  synth->Send(0x007BB0, clock.NowMs());
  Render(*synth, out, kSynthSampleRate * 2);
  // After the release begins the level only falls: no new note strikes.
  const size_t released = static_cast<size_t>(synth->FrameOf(start + 500)) + 2 * 4410;
  double previous = Rms(out, released, 4410);
  for (size_t at = released + 4410; at + 4410 <= out.left.size(); at += 4410) {
    const double level = Rms(out, at, 4410);
    EXPECT_LE(level, previous * 1.05 + 1e-6) << at;
    previous = level;
  }
  EXPECT_LT(previous, held / 100);
}

TEST_F(FluidSynthOutTest, RunsAreBitIdentical) {
  TStereo runs[2];
  for (TStereo& out : runs) {
    TFakeClock own;
    auto synth = TFluidSynthOut::Open(SoundFontCandidates(""), own, TSynthSink::kCaller);
    ASSERT_TRUE(synth);
    for (int i = 0; i < 8; ++i) {
      const uint32_t on = 0x600090u | static_cast<uint32_t>(60 + i) << 8 | static_cast<uint32_t>(i);
      synth->Send(on, own.NowMs() + i * 50);
      synth->Send(on & 0xFFFF, own.NowMs() + i * 50 + 300);
    }
    Render(*synth, out, kSynthSampleRate);
  }
  EXPECT_EQ(runs[0].left, runs[1].left);
  EXPECT_EQ(runs[0].right, runs[1].right);
  EXPECT_GT(Rms(runs[0], 0, runs[0].left.size()), 0.0);
}

TEST_F(FluidSynthOutTest, SoundFontChoiceFallsBackToTheSystemDefault) {
  EXPECT_EQ(TFluidSynthOut::Open({"/nonexistent/a.sf2"}, clock, TSynthSink::kCaller), nullptr);
  EXPECT_EQ(TFluidSynthOut::Open({}, clock, TSynthSink::kCaller), nullptr);
  EXPECT_NE(TFluidSynthOut::Open(SoundFontCandidates("/nonexistent/a.sf2"), clock,
                                 TSynthSink::kCaller),
            nullptr);
  EXPECT_EQ(SoundFontCandidates("").front(), "/usr/share/sounds/sf2/default-GM.sf2");
}

TEST_F(FluidSynthOutTest, WithoutAnAudioDeviceItRendersToNothing) {
  auto synth = TFluidSynthOut::Open(SoundFontCandidates(""), clock, TSynthSink::kAudioDevice);
  ASSERT_TRUE(synth);
  if (synth->HasOutput()) GTEST_SKIP() << "this machine has an audio device";
  EXPECT_EQ(synth->Send(kNoteOn60, clock.NowMs()), TMidiSendResult::kDone);
  EXPECT_EQ(synth->GetScheduledCount(), 0u);
}

}  // namespace
}  // namespace kvt::test
