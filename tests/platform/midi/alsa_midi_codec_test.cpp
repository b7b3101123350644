#include "platform/midi/alsa_midi_codec.h"

#include <gtest/gtest.h>

#include "platform/midi/alsa_seq_ports.h"
#include "platform/midi/system_midi_catalog.h"
#include "tests/midi/devices/midi_device_fakes.h"

namespace kvt::test {
namespace {

TEST(AlsaMidiCodecTest, ShortMessagesSurviveTheRoundTrip) {
  TAlsaMidiCodec codec;
  ASSERT_TRUE(codec.IsValid());
  const struct {
    uint32_t msg;
    int type;
  } table[] = {
      {0x403C90, SND_SEQ_EVENT_NOTEON},   {0x003C85, SND_SEQ_EVENT_NOTEOFF},
      {0x2040A1, SND_SEQ_EVENT_KEYPRESS}, {0x7F07BF, SND_SEQ_EVENT_CONTROLLER},
      {0x0005C9, SND_SEQ_EVENT_PGMCHANGE}, {0x0033D2, SND_SEQ_EVENT_CHANPRESS},
      {0x4000E3, SND_SEQ_EVENT_PITCHBEND}, {0x7F01E0, SND_SEQ_EVENT_PITCHBEND},
      {0x0000F8, SND_SEQ_EVENT_CLOCK},     {0x0005F3, SND_SEQ_EVENT_SONGSEL},
      {0x0000FE, SND_SEQ_EVENT_SENSING},
  };
  for (const auto& row : table) {
    SCOPED_TRACE(row.msg);
    snd_seq_event_t event;
    ASSERT_TRUE(codec.Encode(row.msg, event));
    EXPECT_EQ(event.type, row.type);
    uint32_t back = 0;
    ASSERT_TRUE(codec.Decode(event, back));
    EXPECT_EQ(back, row.msg);
  }
  // A note-on of velocity 0 stays one (the receiver reads it as a note off).
  snd_seq_event_t event;
  ASSERT_TRUE(codec.Encode(0x003C90, event));
  uint32_t back = 0;
  ASSERT_TRUE(codec.Decode(event, back));
  EXPECT_TRUE(back == 0x003C90u || back == 0x003C80u);
}

TEST(AlsaMidiCodecTest, WhatIsNoShortMessageIsRefused) {
  TAlsaMidiCodec codec;
  snd_seq_event_t event;
  for (uint32_t bad : {0x00u, 0x7Fu, 0xF0u, 0xF7u, 0xF4u, 0x80903Cu /* data byte > 127 */})
    EXPECT_FALSE(codec.Encode(bad, event)) << bad;
  snd_seq_ev_clear(&event);
  event.type = SND_SEQ_EVENT_START;  // queue control
  event.data.queue.queue = 0;
  uint32_t msg = 0;
  // Queue events decode to nothing a short message can carry, or to a real-time byte.
  if (codec.Decode(event, msg)) {
    EXPECT_EQ(TAlsaMidiCodec::DataBytes(msg & 0xFF), 0);
  }
}

TEST(SystemMidiCatalogTest, WithoutTheSequencerOnlyTheSynthesizerIsListed) {
  if (AlsaSequencerPresent()) GTEST_SKIP() << "/dev/snd/seq exists";
  TFakeClock clock;
  TSystemMidiCatalog catalog(clock, TSynthSink::kCaller);
  EXPECT_EQ(catalog.GetOutputNames(), std::vector<std::string>{kSynthDeviceName});
  EXPECT_TRUE(catalog.GetInputNames().empty());
  class TNoSink final : public TMidiInputSink {
    void OnShortMessage(uint32_t) override {}
  } sink;
  EXPECT_EQ(catalog.OpenInput(0, sink), nullptr);
  // Id 0 and the mapper ids are the synthesizer.
  EXPECT_NE(catalog.OpenOutput(0), nullptr);
  EXPECT_NE(catalog.OpenOutput(99), nullptr);
  EXPECT_NE(catalog.GetLastSynth(), nullptr);
}

TEST(AlsaSeqPortsTest, ClientListsPortsWhereTheSequencerExists) {
  if (!AlsaSequencerPresent()) GTEST_SKIP() << "no /dev/snd/seq";
  auto client = TAlsaSeqClient::Open();
  ASSERT_NE(client, nullptr);
  for (const TAlsaPortAddress& port : client->ListPorts(true)) {
    auto out = TAlsaOutPort::Open(client, port);
    if (out) {
      EXPECT_NE(out->Send(0x007BB0, 0), TMidiSendResult::kNotReady);
    }
  }
}

}  // namespace
}  // namespace kvt::test
