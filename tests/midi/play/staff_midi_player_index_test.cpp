#include "midi/play/staff_midi_player_index.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "midi/events/midi_file_buf.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "tests/midi/score_builder.h"

namespace kvt {
namespace {

using test::AddStaff;
using test::Controls;
using test::NoteOns;
using test::TControl;
using test::TNoteOn;

class StaffMidiPlayerIndexTest : public testing::Test {
protected:
  // Staff 0 from the text, with the index bound to it.
  void Make(const char* text) {
    AddStaff(score, text);
    index.Bind(&score, 0);
  }

  TMusicScore score;
  TStaffMidiPlayerIndex index;
  TMidiFileBuf buffer{16};
};

TEST_F(StaffMidiPlayerIndexTest, PlayUntilStopsAtTheTickAndGoesOnFromThere) {
  Make("C D E F");
  EXPECT_TRUE(index.PlayUntil(buffer, 384));
  EXPECT_EQ(index.GetSongPosition(), 384);
  EXPECT_EQ(NoteOns(buffer).size(), 2u);
  EXPECT_TRUE(index.PlayUntil(buffer, 385));
  EXPECT_EQ(NoteOns(buffer).size(), 3u);
  EXPECT_FALSE(index.PlayUntil(buffer, kPlayToEnd));
  EXPECT_EQ(index.GetSongPosition(), 768);
  EXPECT_EQ(index.GetPlayIndex(), -1);
  EXPECT_EQ(NoteOns(buffer).back(), (TNoteOn{576, 0, 65, 110}));
}

TEST_F(StaffMidiPlayerIndexTest, RenderStaffStartsOverAndEndsAnOpenTieAtItsPlayedEnd) {
  Make("C D~ R");
  index.Advance(300);
  index.RenderStaff(buffer);
  EXPECT_EQ(Controls(buffer, 7), (std::vector<TControl>{{0, 0, 7, 127}}));
  EXPECT_EQ(NoteOns(buffer), (std::vector<TNoteOn>{{0, 0, 60, 110}, {192, 0, 62, 110}}));
  const TMidiSongEvent last = buffer.GetEvent(buffer.GetEventCount() - 1);
  EXPECT_TRUE(last.msg.IsNoteOff());
  EXPECT_EQ(last.msg.GetData1(), 62);
  EXPECT_EQ(last.time, 352u);
  EXPECT_FALSE(index.IsPlaying());
}

TEST_F(StaffMidiPlayerIndexTest, AStaffOutsideTheScoreIsFinishedAtOnce) {
  Make("C");
  index.Bind(&score, 1);
  EXPECT_EQ(index.GetStaff(), nullptr);
  EXPECT_FALSE(index.IsPlaying());
  EXPECT_FALSE(index.PlayUntil(buffer, kPlayToEnd));
  index.RenderStaff(buffer);
  EXPECT_EQ(buffer.GetEventCount(), 0);
  EXPECT_FALSE(index.Advance(100));
  EXPECT_FALSE(index.StepToNextNote());
  index.Bind(nullptr, 0);
  EXPECT_EQ(index.GetStaff(), nullptr);
}

TEST_F(StaffMidiPlayerIndexTest, AdvancePassesZeroLengthItemsAtTheTick) {
  // Items: 0 bar, 1 C, 2 dynamic, 3 D, 4 closing bar.
  Make("C p40 D");
  EXPECT_TRUE(index.Advance(191));
  EXPECT_EQ(index.GetPlayIndex(), 1);
  EXPECT_TRUE(index.Advance(192));
  EXPECT_EQ(index.GetPlayIndex(), 3);
  EXPECT_EQ(index.GetPreviousPos().index, 1);
  // The dynamic was applied on the way.
  EXPECT_EQ(index.GetState().GetNoteVelocity(), 40);
}

TEST_F(StaffMidiPlayerIndexTest, AFinishedStaffIgnoresLaterTicks) {
  Make("C");
  EXPECT_TRUE(index.Advance(1000));
  EXPECT_EQ(index.GetPlayIndex(), -1);
  const TStaffPlayPos previous = index.GetPreviousPos();
  EXPECT_FALSE(index.Advance(2000));
  EXPECT_EQ(index.GetPreviousPos(), previous);
  // An earlier tick walks again from the start.
  EXPECT_TRUE(index.Advance(0));
  EXPECT_EQ(index.GetPlayIndex(), 1);
}

TEST_F(StaffMidiPlayerIndexTest, StepToNextNoteVisitsTheSongNotesInPlayOrder) {
  Make("|: C p40 R :| E");
  std::vector<std::pair<int, int32_t>> visited;
  while (index.StepToNextNote()) visited.push_back({index.GetPlayIndex(), index.GetSongPosition()});
  EXPECT_EQ(visited, (std::vector<std::pair<int, int32_t>>{
                         {2, 0}, {4, 192}, {2, 384}, {4, 576}, {6, 768}}));
  EXPECT_EQ(index.GetPlayIndex(), -1);
}

}  // namespace
}  // namespace kvt
