#include "midi/devices/port_state_tracker.h"

#include <gtest/gtest.h>

#include <vector>

namespace kvt {
namespace {

TMidiMsg Cc(int controller, int value, int channel = 0) {
  return TMidiMsg::Channel(kMidiControlChange, 0, channel, controller, value);
}
TMidiMsg Program(int program, int channel = 0) {
  return TMidiMsg::Channel(kMidiProgramChange, 0, channel, program, 0);
}
TMidiMsg On(int note, int channel = 0) {
  return TMidiMsg::Channel(kMidiNoteOn, 0, channel, note, 90);
}
TMidiMsg Off(int note, int channel = 0) {
  return TMidiMsg::Channel(kMidiNoteOff, 0, channel, note, 0);
}

std::vector<TMidiMsg> Restore(const TPortStateTracker& tracker) {
  std::vector<TMidiMsg> out;
  tracker.AppendRestore(out);
  return out;
}

TEST(PortStateTrackerTest, DataEntryIsRestoredAfterItsParameterSelection) {
  TPortStateTracker tracker;
  for (TMidiMsg m : {Cc(99, 1), Cc(98, 8), Cc(6, 64), Cc(6, 70)}) tracker.Track(m);
  EXPECT_EQ(Restore(tracker), (std::vector<TMidiMsg>{Cc(99, 1), Cc(98, 8), Cc(6, 70)}));
  // A registered parameter is a different entry with both data bytes.
  for (TMidiMsg m : {Cc(101, 0), Cc(100, 0), Cc(6, 12), Cc(38, 5)}) tracker.Track(m);
  EXPECT_EQ(Restore(tracker),
            (std::vector<TMidiMsg>{Cc(99, 1), Cc(98, 8), Cc(6, 70), Cc(101, 0), Cc(100, 0),
                                   Cc(6, 12), Cc(38, 5)}));
}

TEST(PortStateTrackerTest, LatestProgramChangeFollowsTheBankSelect) {
  TPortStateTracker tracker;
  for (TMidiMsg m : {Program(3), Cc(0, 1), Cc(7, 100), Program(9), Cc(7, 80)}) tracker.Track(m);
  EXPECT_EQ(Restore(tracker), (std::vector<TMidiMsg>{Cc(0, 1), Cc(7, 80), Program(9)}));
}

TEST(PortStateTrackerTest, SilenceReleasesSustainThenEverySoundingNote) {
  TPortStateTracker tracker;
  for (TMidiMsg m : {Cc(64, 127, 2), Cc(64, 0, 3), On(60), On(62), On(64, 2), Off(62)})
    tracker.Track(m);
  std::vector<TMidiMsg> out;
  tracker.AppendSilence(out);
  ASSERT_EQ(out.size(), 3u);
  EXPECT_EQ(out[0], Cc(64, 0, 2));
  EXPECT_EQ(out[1].GetShortMessage(), 0x003C90u);
  EXPECT_EQ(out[2].GetShortMessage(), 0x004092u);
}

TEST(PortStateTrackerTest, FullArraysDropNewEntriesAndSystemMessagesAreIgnored) {
  TPortStateTracker tracker;
  for (int i = 0; i < 200; ++i) tracker.Track(On(i % 128, i % 16));
  EXPECT_EQ(tracker.GetNoteCount(), TPortStateTracker::kMaxNotes);
  for (int c = 0; c < 16; ++c)
    for (int cc = 0; cc < 20; ++cc) tracker.Track(Cc(cc + 10, 1, c));
  EXPECT_EQ(tracker.GetControlCount(), TPortStateTracker::kMaxControls);
  for (int i = 0; i < 70; ++i) {
    tracker.Track(Cc(99, i));
    tracker.Track(Cc(6, 1));
  }
  EXPECT_EQ(tracker.GetParamCount(), TPortStateTracker::kMaxParams);
  tracker.Clear();
  tracker.Track(TMidiMsg(0xF8));
  tracker.Track(TMidiMsg::Tempo(500000));
  EXPECT_TRUE(Restore(tracker).empty());
}

}  // namespace
}  // namespace kvt
