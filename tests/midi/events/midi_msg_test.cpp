#include "midi/events/midi_msg.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace kvt {
namespace {

TEST(MidiMsgTest, ChannelMessageLayout) {
  const TMidiMsg msg = TMidiMsg::Channel(kMidiNoteOn, 5, 9, 60, 100);
  EXPECT_EQ(msg.GetWord(), 0x05643C99u);
  EXPECT_EQ(msg.GetShortMessage(), 0x643C99u);
  EXPECT_TRUE(msg.IsChannelMessage());
  EXPECT_EQ(msg.GetCommand(), kMidiNoteOn);
  EXPECT_EQ(msg.GetChannel(), 9);
  EXPECT_EQ(msg.GetPort(), 5);
}

TEST(MidiMsgTest, AllSixteenPortsStayDistinct) {
  std::set<uint32_t> words;
  for (int port = 0; port < 16; ++port) {
    TMidiMsg msg = TMidiMsg::Channel(kMidiControlChange, 0, 3, 7, 100);
    msg.SetPort(port);
    EXPECT_EQ(msg.GetPort(), port);
    EXPECT_EQ(msg.GetChannel(), 3);
    EXPECT_TRUE(msg.IsChannelMessage()) << port;
    words.insert(msg.GetWord());
  }
  EXPECT_EQ(words.size(), 16u);
}

TEST(MidiMsgTest, PortAndChannelAreMaskedToFourBits) {
  const TMidiMsg msg = TMidiMsg::Channel(kMidiProgramChange, 17, 18, 5, 0);
  EXPECT_EQ(msg.GetPort(), 1);
  EXPECT_EQ(msg.GetChannel(), 2);
  EXPECT_EQ(msg.GetKind(), kMidiKindChannel);
}

struct DataCase {
  const char* name;
  int command;
  int data1;
  int data2;
  int wantData1;
  int wantData2;
};

class MidiMsgDataTest : public testing::TestWithParam<DataCase> {};

TEST_P(MidiMsgDataTest, DataBytesAreValidMidi) {
  const DataCase& c = GetParam();
  const TMidiMsg built = TMidiMsg::Channel(c.command, 2, 1, c.data1, c.data2);
  EXPECT_EQ(built.GetData1(), c.wantData1);
  EXPECT_EQ(built.GetData2(), c.wantData2);

  TMidiMsg stepwise;
  stepwise.SetCommand(c.command);
  stepwise.SetData(c.data1, c.data2);
  EXPECT_EQ(stepwise.GetData1(), c.wantData1);
  EXPECT_EQ(stepwise.GetData2(), c.wantData2);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MidiMsgDataTest,
    testing::Values(DataCase{"NoteOnInRange", kMidiNoteOn, 60, 100, 60, 100},
                    DataCase{"NoteOnClamped", kMidiNoteOn, -4, 300, 0, 127},
                    DataCase{"NoteOnNegativeVelocity", kMidiNoteOn, 200, -9, 127, 1},
                    DataCase{"NoteOnVelocityZero", kMidiNoteOn, 64, 0, 64, 1},
                    DataCase{"NoteOffVelocityZero", kMidiNoteOff, 64, 0, 64, 0},
                    DataCase{"ControlValueZero", kMidiControlChange, 64, 0, 64, 0},
                    DataCase{"ControlClamped", kMidiControlChange, 128, 128, 127, 127},
                    DataCase{"PitchBend", kMidiPitchBend, 0x7F, 0x40, 127, 64}),
    [](const testing::TestParamInfo<DataCase>& info) { return std::string(info.param.name); });

TEST(MidiMsgTest, NoteOnVelocityStaysAboveZeroWhicheverSetterRunsLast) {
  TMidiMsg msg = TMidiMsg::Channel(kMidiNoteOff, 0, 0, 60, 0);
  msg.SetCommand(kMidiNoteOn);
  EXPECT_EQ(msg.GetData2(), 1);
  msg.SetData2(0);
  EXPECT_EQ(msg.GetData2(), 1);
  EXPECT_TRUE(msg.IsNoteOn());
}

TEST(MidiMsgTest, SetCommandKeepsChannelAndPortAndMakesAChannelMessage) {
  TMidiMsg msg = TMidiMsg::Wait(3);
  msg.SetPort(12);
  msg.SetChannel(4);
  msg.SetCommand(kMidiControlChange);
  EXPECT_EQ(msg.GetKind(), kMidiKindChannel);
  EXPECT_EQ(msg.GetStatus(), 0xB4);
  EXPECT_EQ(msg.GetPort(), 12);
}

struct PriorityCase {
  const char* name;
  TMidiMsg msg;
  int priority;
};

TEST(MidiMsgTest, SortPriorityAtEqualTime) {
  const PriorityCase cases[] = {
      {"note off", TMidiMsg::Channel(kMidiNoteOff, 0, 0, 60, 64), 0},
      {"raw note-on velocity 0", TMidiMsg(0x00003C90u), 0},
      {"sustain off", TMidiMsg::Channel(kMidiControlChange, 0, 0, 64, 0), 1},
      {"sustain 64", TMidiMsg::Channel(kMidiControlChange, 0, 0, 64, 64), 1},
      {"sustain 65", TMidiMsg::Channel(kMidiControlChange, 0, 0, 64, 65), 3},
      {"volume", TMidiMsg::Channel(kMidiControlChange, 0, 0, 7, 100), 2},
      {"program", TMidiMsg::Channel(kMidiProgramChange, 0, 0, 5, 0), 2},
      {"tempo", TMidiMsg::TempoFromBpm(100), 2},
      {"wait", TMidiMsg::Wait(1), 2},
      {"note on", TMidiMsg::Channel(kMidiNoteOn, 0, 0, 60, 64), 4},
  };
  for (const PriorityCase& c : cases) EXPECT_EQ(c.msg.GetSortPriority(), c.priority) << c.name;
}

TEST(MidiMsgTest, TempoRecords) {
  EXPECT_EQ(TMidiMsg::TempoFromBpm(0).GetTempoMicros(), 15000000u);  // 4 bpm at least
  EXPECT_EQ(TMidiMsg::TempoFromBpm(-20).GetTempoMicros(), 15000000u);
  EXPECT_EQ(TMidiMsg::TempoFromBpm(120).GetTempoMicros(), 500000u);
  EXPECT_EQ(TMidiMsg::TempoFromBpm(120).GetKind(), kMidiKindTempo);
  EXPECT_EQ(TMidiMsg::TempoFromBpm(120).GetTempoBpm(), 120);
  EXPECT_EQ(TMidiMsg::TempoFromBpm(0).GetTempoBpm(), 8);
  EXPECT_EQ(TMidiMsg::Tempo(0x12345678u).GetTempoMicros(), kMidiMaxTempoMicros);
  EXPECT_EQ(TMidiMsg::Wait(2).GetTempoBpm(), 45);
  // A damaged record of 0 microseconds answers without dividing by zero.
  EXPECT_GT(TMidiMsg(0x10000000u).GetTempoBpm(), 8);
}

TEST(MidiMsgTest, OtherRecordKinds) {
  const TMidiMsg time = TMidiMsg::TimeSignature(6, 3);
  EXPECT_EQ(time.GetKind(), kMidiKindTimeSig);
  EXPECT_EQ(time.GetTimeSigNumerator(), 6);
  EXPECT_EQ(time.GetTimeSigDenominatorPower(), 3);

  const TMidiMsg key = TMidiMsg::KeySignature(-3, true);
  EXPECT_EQ(key.GetKind(), kMidiKindKeySig);
  EXPECT_EQ(key.GetKeySigCount(), -3);
  EXPECT_TRUE(key.IsKeySigMinor());
  EXPECT_EQ(TMidiMsg::KeySignature(100000, false).GetKeySigCount(), 32767);

  EXPECT_EQ(TMidiMsg::Wait(70000).GetWaitLength(), 65535);
  EXPECT_EQ(TMidiMsg::Wait(-1).GetWaitLength(), 0);
  EXPECT_EQ(TMidiMsg::Wait(9).GetKind(), kMidiKindWait);
}

TEST(MidiMsgTest, DataByteCounts) {
  const int want[8] = {2, 2, 2, 2, 1, 1, 2, 0};
  for (int command = 0; command < 8; ++command)
    EXPECT_EQ(TMidiMsg::DataByteCount(command), want[command]) << command;
}

}  // namespace
}  // namespace kvt
