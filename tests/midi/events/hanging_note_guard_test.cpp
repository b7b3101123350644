#include "midi/events/hanging_note_guard.h"

#include <gtest/gtest.h>

#include <vector>

#include "notation/items/music_note.h"
#include "notation/items/rest_note.h"
#include "tests/notation/note_events.h"

namespace kvt {
namespace {

using test::NoteEvents;
using test::TNoteEvent;

TEST(HangingNoteGuardTest, CleanRenderingIsLeftAlone) {
  TMusicNote a(0, kDurQuarter, 0, kAccNone);
  TMusicNote b(1, kDurQuarter, 0, kAccNone);
  TStaffContextState state;
  TMidiFileBuf buffer;
  test::Walk({&a, &b}, state, buffer);
  EXPECT_EQ(CloseHangingNotes(buffer, 384), 0);
  EXPECT_EQ(buffer.GetEventCount(), 4);
}

TEST(HangingNoteGuardTest, TieIntoARestEndsAtTheEnd) {
  // The tie leads nowhere: the staff goes on with a rest.
  TMusicNote tied(0, kDurQuarter, kMaskTieOut, kAccNone);
  TRestNote rest(kDurHalf, 0);
  TStaffContextState state;
  TMidiFileBuf buffer;
  test::Walk({&tied, &rest}, state, buffer);
  ASSERT_EQ(NoteEvents(buffer).size(), 1u);
  EXPECT_EQ(CloseHangingNotes(buffer, state.GetSongPosition()), 1);
  const std::vector<TNoteEvent> expected = {{0, true, 71, 110}, {576, false, 71, 0}};
  EXPECT_EQ(NoteEvents(buffer), expected);
}

TEST(HangingNoteGuardTest, TieIntoAnotherPitchEndsAtTheEndEvenWithNothingAfterIt) {
  TMusicNote tied(0, kDurQuarter, kMaskTieOut, kAccNone);
  TMusicNote other(2, kDurQuarter, 0, kAccNone);
  TStaffContextState state;
  TMidiFileBuf buffer;
  test::Walk({&tied, &other}, state, buffer);
  EXPECT_EQ(CloseHangingNotes(buffer, 0), 1);
  // The end time lies before the strike: the note still ends one tick after it.
  std::vector<TNoteEvent> events = NoteEvents(buffer);
  ASSERT_EQ(events.size(), 4u);
  EXPECT_EQ(events[1], (TNoteEvent{1, false, 71, 0}));
}

TEST(HangingNoteGuardTest, SameKeyStruckAgainIsReleasedFirst) {
  TMusicNote tied(0, kDurQuarter, kMaskTieOut, kAccNone);
  TMusicNote again(0, kDurQuarter, 0, kAccNone);  // not marked as the continuation
  TStaffContextState state;
  TMidiFileBuf buffer;
  test::Walk({&tied, &again}, state, buffer);
  EXPECT_EQ(CloseHangingNotes(buffer, state.GetSongPosition()), 1);
  const std::vector<TNoteEvent> expected = {
      {0, true, 71, 110}, {192, false, 71, 0}, {192, true, 71, 110}, {352, false, 71, 0}};
  EXPECT_EQ(NoteEvents(buffer), expected);
}

TEST(HangingNoteGuardTest, KeysAreTrackedPerPortAndChannel) {
  TMidiFileBuf buffer;
  buffer.AddEvent(0, TMidiMsg::Channel(kMidiNoteOn, 0, 0, 60, 100));
  buffer.AddEvent(0, TMidiMsg::Channel(kMidiNoteOn, 1, 0, 60, 100));
  buffer.AddEvent(0, TMidiMsg::Channel(kMidiNoteOn, 0, 3, 60, 100));
  buffer.AddEvent(10, TMidiMsg::Channel(kMidiNoteOff, 1, 0, 60, 0));
  // A note-on of velocity 0 from a file ends the key too (the makers never build one).
  buffer.AddEvent(10, TMidiMsg(0x00003C93u));
  EXPECT_EQ(CloseHangingNotes(buffer, 50), 1);
  const TMidiSongEvent& last = buffer.GetEvent(buffer.GetEventCount() - 1);
  EXPECT_EQ(last.time, 50u);
  EXPECT_EQ(last.msg.GetPort(), 0);
  EXPECT_EQ(last.msg.GetChannel(), 0);
  EXPECT_TRUE(last.msg.IsNoteOff());
}

}  // namespace
}  // namespace kvt
