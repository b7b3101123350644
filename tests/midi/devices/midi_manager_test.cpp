#include "midi/devices/midi_manager.h"

#include <gtest/gtest.h>

#include "midi/devices/send_retry.h"
#include "midi/events/midi_file_buf.h"
#include "tests/midi/devices/midi_device_fakes.h"
#include "tests/utils/scoped_env.h"
#include "tests/utils/temp_folder.h"

namespace kvt::test {
namespace {

class TAlertLines final : public TAlertLog {
public:
  void AddLine(std::string_view line) override { lines.emplace_back(line); }
  std::vector<std::string> lines;
};

class MidiManagerTest : public ::testing::Test {
protected:
  MidiManagerTest() { settings.SetProfileLocation("Tarlowmede Software", "MIDI Test"); }

  std::unique_ptr<TMidiManager> MakeManager() {
    return std::make_unique<TMidiManager>(catalog, settings, alerts, clock, timer, post);
  }

  TTempFolder folder;
  TScopedEnv config{"XDG_CONFIG_HOME", folder.Path().c_str()};
  TSysInfo settings;
  TAlertLines alerts;
  TFakeClock clock;
  TFakeTimer timer;
  TQueuePost post;
  TFakeCatalog catalog{{"Synth", "Port A", "Port B", "Port C"}, {"In 1", "In 2"}};
  std::unique_ptr<TMidiManager> manager = MakeManager();
};

TEST_F(MidiManagerTest, OutPortNamesStopAtTheFirstEmptyOne) {
  settings.WriteProfileString("MIDI Out Ports", "0", "Port A");
  settings.WriteProfileString("MIDI Out Ports", "1", "");
  settings.WriteProfileString("MIDI Out Ports", "2", "Port B");
  manager->LoadSettings();
  EXPECT_EQ(manager->GetConfiguredOutputNames(), std::vector<std::string>{"Port A"});
  EXPECT_EQ(manager->GetOutPortName(0), "Port A");
  EXPECT_EQ(manager->GetOutPortName(1), "");
  const std::vector<std::string> slots = manager->GetPortSlotNames();
  EXPECT_EQ(slots.size(), 16u);
  EXPECT_EQ(slots[1], kUnavailablePortName);
  EXPECT_EQ(manager->GetUnconfiguredOutputNames(),
            (std::vector<std::string>{"Synth", "Port B", "Port C"}));
}

TEST_F(MidiManagerTest, SettingsSurviveARestart) {
  manager->SetOutPortNames({"Port B", "Synth"});
  manager->SetInPortName("In 2");
  manager->SetEcho(1, 4);
  manager->SetSoundFont("/home/u/piano.sf2");
  manager->SaveSettings();
  manager.reset();
  TSysInfo reopened;
  reopened.SetProfileLocation("Tarlowmede Software", "MIDI Test");
  TMidiManager again(catalog, reopened, alerts, clock, timer, post);
  again.LoadSettings();
  EXPECT_EQ(again.GetConfiguredOutputNames(), (std::vector<std::string>{"Port B", "Synth"}));
  EXPECT_EQ(again.GetInPortName(), "In 2");
  EXPECT_TRUE(again.IsEchoEnabled());
  EXPECT_EQ(again.GetEchoDevice(), 1);
  EXPECT_EQ(again.GetEchoOverride(), 4);
  EXPECT_EQ(again.GetSoundFont(), "/home/u/piano.sf2");
  EXPECT_EQ(catalog.soundFont, "/home/u/piano.sf2");
  // Fewer ports saved later leave no stale names behind.
  again.SetOutPortNames({"Port C"});
  again.SaveSettings();
  EXPECT_EQ(reopened.GetProfileString("MIDI Out Ports", "1", "none"), "none");
}

TEST_F(MidiManagerTest, SameNameTwiceOpensTwiceAndTheSynthIsSharedOnce) {
  manager->SetOutPortNames({"Port A", "Port A", "Synth", "Synth"});
  manager->SetPortsOpen(true);
  EXPECT_EQ(catalog.opens, (std::vector<int>{1, 1, 0}));
  EXPECT_EQ(manager->GetFailedPortMask(), 0);
  manager->SetPortsOpen(false);
  manager->SetPortsOpen(true);
  // The synthesizer stays open from its first opening to the end.
  EXPECT_EQ(std::count(catalog.opens.begin(), catalog.opens.end(), 0), 1);
}

TEST_F(MidiManagerTest, NothingConfiguredPlaysPortZeroOnTheSynth) {
  manager->SetPortsOpen(true);
  manager->SendShortMsg(TMidiMsg::Channel(kMidiNoteOn, 0, 0, 60, 90));
  manager->SendShortMsg(TMidiMsg::Channel(kMidiNoteOn, 1, 0, 61, 90));  // no port 1
  EXPECT_EQ(catalog.outputs[0]->Messages(), std::vector<uint32_t>{0x5A3C90u});
}

TEST_F(MidiManagerTest, FailedPortsAreLoggedByName) {
  catalog.failing.insert(2);
  catalog.failingInputs.insert(0);
  manager->SetOutPortNames({"Port A", "Port B", "Gone"});
  manager->SetInPortName("In 1");
  manager->SetPortsOpen(true);
  EXPECT_EQ(alerts.lines,
            (std::vector<std::string>{"The 'Port B' out port failed", "The 'In 1' in port failed"}));
  EXPECT_TRUE(manager->InPortFailed());
  // A name with no device is closed without a message, yet counts as failed.
  EXPECT_EQ(manager->GetFailedPortMask(), 0b110);
}

TEST_F(MidiManagerTest, SynthThatDoesNotLoadIsLogged) {
  catalog.failing.insert(0);
  manager->SetPortsOpen(true);
  EXPECT_EQ(alerts.lines, std::vector<std::string>{"The 'Synth' out port failed"});
}

TEST_F(MidiManagerTest, EchoNeedsAnOpenPortInRange) {
  manager->SetOutPortNames({"Port A", "Port B"});
  manager->SetInPortName("In 1");
  const struct {
    int enabled, device, override;
    int echoedTo;  // catalog output, -1: none
    uint32_t echoed;
  } table[] = {
      {1, 1, 0, 2, 0x403C91u},
      {1, 0, 3, 1, 0x403C92u},
      {1, 5, 0, -1, 0},    // port 5 not configured
      {1, 16, 0, -1, 0},   // outside 0-15
      {1, -1, 0, -1, 0},
      {1, 1, 17, 2, 0x403C91u},  // override outside 0-16 keeps the channel
      {0, 1, 0, -1, 0},
  };
  for (const auto& row : table) {
    SCOPED_TRACE(row.device);
    settings.WriteProfileInt("MIDI Echo", "Enabled", row.enabled);
    settings.WriteProfileInt("MIDI Echo", "DeviceNum", row.device);
    settings.WriteProfileInt("MIDI Echo", "ChnlOvrd", row.override);
    settings.WriteProfileString("MIDI Out Ports", "0", "Port A");
    settings.WriteProfileString("MIDI Out Ports", "1", "Port B");
    settings.WriteProfileString("MIDI In Ports", "0", "In 1");
    manager->LoadSettings();
    manager->SetPortsOpen(true);
    for (auto& out : catalog.outputs) out->Clear();
    ASSERT_EQ(catalog.openInputs.size(), 1u);
    catalog.openInputs[0]->OnShortMessage(0x403C91u);
    for (int i = 0; i < 4; ++i) {
      const std::vector<uint32_t> got = catalog.outputs[i]->Messages();
      if (i == row.echoedTo)
        EXPECT_EQ(got, std::vector<uint32_t>{row.echoed});
      else
        EXPECT_TRUE(got.empty()) << i;
    }
    manager->SetPortsOpen(false);
  }
}

TEST_F(MidiManagerTest, ResetTablesGoToEveryChannelWithRetries) {
  manager->SetOutPortNames({"Port A"});
  manager->ResetControllers(true);  // ports closed: nothing
  manager->SetPortsOpen(true);
  TRecordingPort& port = *catalog.outputs[1];
  port.notReady = 3;
  manager->ResetControllers(true);
  const std::vector<uint32_t> full = port.Messages();
  ASSERT_EQ(full.size(), 16u * 12u);
  EXPECT_EQ(port.refused, 3);
  EXPECT_EQ(clock.sleeps.load(), 3);
  EXPECT_EQ(full[0], 0x0078B0u);     // CC 120, 0
  EXPECT_EQ(full[3], 0x7F07B0u);     // CC 7, 127
  EXPECT_EQ(full[9], 0x0206B0u);     // CC 6, 2
  EXPECT_EQ(full[11], 0x4000E0u);    // pitch bend centre
  EXPECT_EQ(full[12], 0x0078B1u);    // channel 1 begins
  port.Clear();
  manager->ResetControllers(false);
  const std::vector<uint32_t> notesOff = port.Messages();
  ASSERT_EQ(notesOff.size(), 16u);
  EXPECT_EQ(notesOff[15], 0x007BBFu);
}

TEST_F(MidiManagerTest, SendRetryGivesUpAfterAThousandAttempts) {
  manager->SetOutPortNames({"Port A"});
  manager->SetPortsOpen(true);
  catalog.outputs[1]->notReady = 1 << 30;
  manager->ResetControllers(false);
  EXPECT_EQ(catalog.outputs[1]->refused, 16 * kMidiSendAttempts);
}

class MidiManagerPlayTest : public MidiManagerTest {
protected:
  void Fill(int events) {
    buffer.AllocSegments(4);
    for (int i = 0; i < events; ++i)
      buffer.AddEvent(static_cast<uint32_t>(i), TMidiMsg::Channel(kMidiNoteOn, 0, 0, 60, 90));
  }
  void RunMs(int ms) {
    for (int i = 0; i < ms / 2; ++i) {
      clock.Advance(2);
      timer.Fire();
    }
  }
  TMidiFileBuf buffer;
  TRecordingReceiver receiver;
};

TEST_F(MidiManagerPlayTest, EmptyBufferStartsNothing) {
  manager->SetPortsOpen(true);
  EXPECT_FALSE(manager->PlayBuffer(&receiver, buffer, 0));
  EXPECT_FALSE(manager->IsPlaying());
}

TEST_F(MidiManagerPlayTest, FeedingAfterTheLastSegmentOffersNothing) {
  Fill(kMidiSegmentEvents + 1);
  receiver.react = [&](int message) { manager->AnswerSeqMessage(message); };
  manager->SetPortsOpen(true);
  ASSERT_TRUE(manager->PlayBuffer(&receiver, buffer, 0));
  EXPECT_TRUE(manager->GetSequencer().HasQueuedSegment());  // the chase asked for segment 1
  EXPECT_TRUE(manager->FeedNextSegment());                  // nothing left to offer
  EXPECT_TRUE(manager->GetSequencer().HasQueuedSegment());
}

// The UI was too busy to queue the next segment before the current one ran dry: the end
// message queues it, play goes on, and only the real end says stop.
TEST_F(MidiManagerPlayTest, EndOfDataWithSegmentsLeftKeepsPlaying) {
  Fill(2 * kMidiSegmentEvents + 5);
  manager->SetStartCountdown(0);
  manager->SetPortsOpen(true);
  ASSERT_TRUE(manager->PlayBuffer(&receiver, buffer, 0));  // the receiver ignores everything
  RunMs(6000);
  post.Pump();
  ASSERT_EQ(receiver.messages.back(), kSeqEndOfData);
  EXPECT_TRUE(manager->AnswerSeqMessage(kSeqEndOfData));  // segment 1 was queued already
  RunMs(6000);
  post.Pump();
  EXPECT_TRUE(manager->AnswerSeqMessage(kSeqEndOfData));  // segment 2 goes now
  RunMs(6000);
  EXPECT_FALSE(manager->AnswerSeqMessage(kSeqEndOfData));
  EXPECT_EQ(catalog.outputs[0]->Sent().size(), static_cast<size_t>(buffer.GetEventCount()));
  manager->Stop();
  EXPECT_FALSE(manager->IsPlaying());
  EXPECT_EQ(manager->GetPlayTick(), 0);
}

TEST_F(MidiManagerPlayTest, RecordingDrainsIntoABufferInTimeOrder) {
  buffer.AddEvent(0, TMidiMsg::Channel(kMidiNoteOn, 0, 0, 60, 90));
  buffer.AddEvent(7680, TMidiMsg::Channel(kMidiNoteOn, 0, 0, 60, 90));
  manager->SetInPortName("In 1");
  manager->SetStartCountdown(0);
  manager->SetPortsOpen(true);
  manager->StartRecording();
  ASSERT_TRUE(manager->IsRecording());
  TMidiSeqReceiver& none = receiver;
  ASSERT_TRUE(manager->PlayBuffer(&none, buffer, 0));
  TMidiInputSink& input = *catalog.openInputs.at(0);
  input.OnShortMessage(0x403C90u);  // tick 0
  clock.Advance(250);
  input.OnShortMessage(0x403E90u);  // tick 96
  input.OnShortMessage(0xF8u);
  clock.Advance(250);
  input.OnShortMessage(0x003C80u);  // tick 192
  TMidiFileBuf recorded;
  EXPECT_EQ(manager->DrainRecording(recorded), 3);
  ASSERT_EQ(recorded.GetEventCount(), 3);
  EXPECT_EQ(recorded.GetEvent(1).time, 96u);
  EXPECT_EQ(recorded.GetEvent(2).time, 192u);
  EXPECT_EQ(recorded.GetEvent(2).msg.GetShortMessage(), 0x003C80u);
  manager->StopRecording();
  TRecordedEvent event;
  EXPECT_FALSE(manager->GetRecordedEvent(event));
}

}  // namespace
}  // namespace kvt::test
