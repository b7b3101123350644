// The bundled example score played through the manager under a fake clock: the score player
// follows the sequencer's position item by item, and the song time it reports is the real
// time that passed.

#include <gtest/gtest.h>

#include "midi/devices/midi_manager.h"
#include "midi/events/midi_file_buf.h"
#include "midi/play/score_midi_player.h"
#include "notation/files/text/score_text_file.h"
#include "notation/staff/music_score.h"
#include "tests/midi/devices/midi_device_fakes.h"

namespace kvt::test {
namespace {

class TNoAlerts final : public TAlertLog {
public:
  void AddLine(std::string_view) override {}
};

TEST(ExampleScorePlayTest, PlayerFollowsTheSequencerItemByItem) {
  TScoreLoadResult loaded = LoadTextScoreFile(KVT_SOURCE_DIR "/examples/example.kvttxt", {});
  ASSERT_TRUE(loaded.score);
  TFakeClock clock;
  TFakeTimer timer;
  TQueuePost post;
  TFakeCatalog catalog({"Synth"});
  TSysInfo settings;  // no location: defaults only
  TNoAlerts alerts;
  TMidiManager manager(catalog, settings, alerts, clock, timer, post);
  TServices services;
  manager.InstallPlaybackService(services);
  TScoreMidiPlayer follower(services);
  follower.SetScore(loaded.score.get());
  TMidiFileBuf buffer(8);
  follower.BuildPlayBuffer(buffer);
  ASSERT_FALSE(buffer.GetOverflow());
  const uint32_t end = buffer.GetLastTime();
  ASSERT_GT(end, 3072u);

  TRecordingReceiver receiver;
  bool ended = false;
  receiver.react = [&](int message) {
    if (!manager.AnswerSeqMessage(message)) ended = true;
  };
  manager.SetStartCountdown(0);
  manager.SetPortsOpen(true);
  ASSERT_TRUE(manager.PlayBuffer(&receiver, buffer, 0));
  const int64_t startMs = clock.NowMs();
  auto step = [&] {
    clock.Advance(2);
    timer.Fire();
    post.Pump();
  };

  TScoreMidiPlayer reference;
  reference.SetScore(loaded.score.get());
  for (int32_t tick : {0, 192, 768, 1536, 3072, static_cast<int32_t>(end) - 1}) {
    SCOPED_TRACE(tick);
    while (manager.GetPlayTick() < tick) step();
    const int32_t at = manager.GetPlayTick();
    follower.FollowPlayPosition();
    reference.SeekAllFrom(at);
    for (int s = 0; s < loaded.score->GetStaffCount(); ++s)
      EXPECT_EQ(follower.GetStaffPlayPos(s), reference.GetStaffPlayPos(s)) << "staff " << s;
    // The song time is the time played, to within one timer period.
    EXPECT_NEAR(static_cast<double>(follower.GetElapsedMs()),
                static_cast<double>(clock.NowMs() - startMs), 2.0);
  }
  for (int i = 0; i < 100000 && !ended; ++i) step();
  EXPECT_TRUE(ended);
  manager.Stop();
  EXPECT_EQ(manager.GetPlayTick(), 0);
  EXPECT_EQ(follower.GetElapsedMs(), 0);
  // Every channel event went out once, in order, and the stop left no key sounding.
  std::vector<uint32_t> expected;
  for (int i = 0; i < buffer.GetEventCount(); ++i)
    if (buffer.GetEvent(i).msg.IsChannelMessage() && buffer.GetEvent(i).msg.GetPort() == 0)
      expected.push_back(buffer.GetEvent(i).msg.GetShortMessage());
  std::vector<uint32_t> sent = catalog.outputs[0]->Messages();
  ASSERT_GE(sent.size(), expected.size());
  sent.resize(expected.size());
  EXPECT_EQ(sent, expected);
  EXPECT_TRUE(catalog.outputs[0]->Sounding().empty());
}

}  // namespace
}  // namespace kvt::test
