#include <gtest/gtest.h>

#include "midi/events/midi_file_buf.h"

namespace kvt {
namespace {

TMidiMsg Msg(int command, int channel, int data1, int data2, int port = 0) {
  return TMidiMsg::Channel(command, port, channel, data1, data2);
}

class MidiFileBufAnalysisTest : public testing::Test {
protected:
  void Add(uint32_t time, TMidiMsg msg) { buf.AddEvent(time, msg); }
  TMidiFileBuf buf;
};

TEST_F(MidiFileBufAnalysisTest, EmptyBufferAnswers) {
  EXPECT_EQ(buf.GetChannelsUsed(0xFF, 0xFFFF), 0);
  EXPECT_EQ(buf.GetLowestNote(0xFFFF), -1);
  EXPECT_EQ(buf.GetHighestNote(0xFFFF), -1);
  EXPECT_EQ(buf.GetWidestSpread(0xFFFF), 0);
}

TEST_F(MidiFileBufAnalysisTest, ChannelsUsedByCommands) {
  Add(0, Msg(kMidiNoteOn, 2, 60, 80));
  Add(0, Msg(kMidiProgramChange, 5, 10, 0));
  Add(0, Msg(kMidiControlChange, 9, 7, 100));
  Add(0, TMidiMsg::TempoFromBpm(100));  // not a channel message
  EXPECT_EQ(buf.GetChannelsUsed(1 << kMidiNoteOn, 0xFFFF), 1 << 2);
  EXPECT_EQ(buf.GetChannelsUsed(1 << kMidiNoteOn | 1 << kMidiProgramChange, 0xFFFF),
            1 << 2 | 1 << 5);
  EXPECT_EQ(buf.GetChannelsUsed(0xFF, ~(1 << 9) & 0xFFFF), 1 << 2 | 1 << 5);
}

TEST_F(MidiFileBufAnalysisTest, LowestHighestAndSpread) {
  Add(0, Msg(kMidiNoteOn, 0, 60, 80));
  Add(0, Msg(kMidiNoteOn, 0, 67, 80));  // spread 7
  Add(100, Msg(kMidiNoteOff, 0, 60, 0));
  Add(100, Msg(kMidiNoteOn, 0, 79, 80));  // 67..79: 12
  Add(200, Msg(kMidiNoteOff, 0, 67, 0));
  Add(200, Msg(kMidiNoteOn, 0, 40, 80));  // 40..79: 39
  Add(300, Msg(kMidiNoteOn, 1, 20, 80));  // another channel
  EXPECT_EQ(buf.GetLowestNote(1), 40);
  EXPECT_EQ(buf.GetHighestNote(1), 79);
  EXPECT_EQ(buf.GetWidestSpread(1), 39);
  EXPECT_EQ(buf.GetLowestNote(0xFFFF), 20);
  EXPECT_EQ(buf.GetLowestNote(1 << 3), -1);
}

TEST_F(MidiFileBufAnalysisTest, RawNoteOnWithVelocityZeroEndsANote) {
  Add(0, Msg(kMidiNoteOn, 0, 30, 80));
  Add(10, TMidiMsg(0x00001E90u));  // note-on 30 velocity 0, as read from a file
  Add(20, Msg(kMidiNoteOn, 0, 60, 80));
  Add(30, Msg(kMidiNoteOn, 0, 62, 80));
  EXPECT_EQ(buf.GetWidestSpread(1), 2);
}

TEST_F(MidiFileBufAnalysisTest, DataBytesAbove127FromRawWordsAreSkipped) {
  Add(0, TMidiMsg(0x0040C890u));  // note-on, key byte 200
  Add(0, TMidiMsg(0x0000F0C0u));  // program change 240
  Add(0, Msg(kMidiNoteOn, 0, 50, 80));
  uint16_t programs[128];
  uint16_t keys[128];
  buf.GetPatchesAndDrumKeys(0, 0xFFFF, 0xFFFF, programs, keys);
  EXPECT_EQ(buf.GetHighestNote(1), 50);
  EXPECT_EQ(buf.GetWidestSpread(1), 0);
  EXPECT_EQ(keys[50], 1);
  for (int i = 0; i < 128; ++i) EXPECT_EQ(programs[i], 0) << i;
}

TEST_F(MidiFileBufAnalysisTest, PatchesAndDrumKeysOfOnePort) {
  Add(0, Msg(kMidiProgramChange, 0, 5, 0, 1));
  Add(0, Msg(kMidiProgramChange, 3, 5, 0, 1));
  Add(0, Msg(kMidiProgramChange, 4, 7, 0, 2));  // other port
  Add(0, Msg(kMidiNoteOn, 9, 36, 100, 1));
  Add(0, Msg(kMidiNoteOn, 9, 38, 100, 15));     // other port
  Add(0, Msg(kMidiNoteOn, 2, 60, 100, 1));      // not a drum channel
  uint16_t programs[128];
  uint16_t keys[128];
  buf.GetPatchesAndDrumKeys(1, 0xFFFF, 1 << 9, programs, keys);
  EXPECT_EQ(programs[5], 1 << 0 | 1 << 3);
  EXPECT_EQ(programs[7], 0);
  EXPECT_EQ(keys[36], 1 << 9);
  EXPECT_EQ(keys[38], 0);
  EXPECT_EQ(keys[60], 0);
  buf.GetPatchesAndDrumKeys(15, 0xFFFF, 1 << 9, programs, keys);
  EXPECT_EQ(keys[38], 1 << 9);  // port 15 is its own port, not port 7
}

}  // namespace
}  // namespace kvt
