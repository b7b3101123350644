#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "notation/items/music_note.h"
#include "tests/notation/note_events.h"

namespace kvt {
namespace {

using test::NoteEvents;
using test::TNoteEvent;

constexpr int kStyleLegato = 7;
constexpr int kStyleMarcato = 9;
constexpr int kStyleStaccato = 18;
constexpr int kStyleTenuto = 20;

struct PerformCase {
  const char* name;
  int duration;
  uint16_t flags;
  int velocity;
  int style;
  int onVelocity;
  int offTime;
};

std::ostream& operator<<(std::ostream& os, const PerformCase& c) { return os << c.name; }

class NotePerformTest : public ::testing::TestWithParam<PerformCase> {};

TEST_P(NotePerformTest, VelocityAndPlayedLength) {
  const PerformCase& c = GetParam();
  TStaffContextState state;
  state.SetNoteVelocity(c.velocity);
  state.SetPerfStyle(c.style);
  TMidiFileBuf buffer;
  TMusicNote note(0, c.duration, c.flags, kAccNone);  // B4
  note.Perform(state, &buffer);
  const std::vector<TNoteEvent> expected = {{0, true, 71, c.onVelocity},
                                            {static_cast<uint32_t>(c.offTime), false, 71, 0}};
  EXPECT_EQ(NoteEvents(buffer), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, NotePerformTest,
    ::testing::Values(
        PerformCase{"eighth", kDurEighth, 0, 110, 23, 110, 94},
        PerformCase{"quarter", kDurQuarter, 0, 110, 23, 110, 160},
        PerformCase{"half", kDurHalf, 0, 110, 23, 110, 336},
        PerformCase{"whole", kDurWhole, 0, 110, 23, 110, 720},
        PerformCase{"staccato", kDurQuarter, kMaskStaccato, 110, 23, 110, 73},
        PerformCase{"staccatissimo", kDurQuarter, kMaskStaccatissimo, 110, 23, 110, 54},
        PerformCase{"staccato under a slur", kDurQuarter, kMaskStaccato | kMaskSlur, 110, 23, 110,
                    125},
        PerformCase{"tenuto", kDurQuarter, kMaskTenuto, 110, 23, 116, 192},
        PerformCase{"accent is capped at 127", kDurQuarter, kMaskAccent, 110, 23, 127, 160},
        PerformCase{"accent", kDurQuarter, kMaskAccent, 40, 23, 64, 160},
        PerformCase{"accent with tenuto", kDurQuarter, kMaskAccent | kMaskTenuto, 40, 23, 67,
                    192},
        PerformCase{"marcato", kDurQuarter, kMaskMarcato, 40, 23, 70, 160},
        PerformCase{"marcato with tenuto", kDurQuarter, kMaskMarcato | kMaskTenuto, 40, 23, 73,
                    192},
        PerformCase{"marcato style", kDurQuarter, 0, 40, kStyleMarcato, 49, 160},
        PerformCase{"legato style", kDurQuarter, 0, 110, kStyleLegato, 110, 192},
        PerformCase{"tenuto style on staccato", kDurQuarter, kMaskStaccato, 110, kStyleTenuto,
                    110, 92},
        PerformCase{"staccato style", kDurQuarter, 0, 110, kStyleStaccato, 110, 77},
        PerformCase{"staccato style on staccato", kDurQuarter, kMaskStaccato, 110,
                    kStyleStaccato, 110, 54},
        PerformCase{"staccato style on tenuto", kDurQuarter, kMaskTenuto, 110, kStyleStaccato,
                    116, 191},
        PerformCase{"staccato style on slurred tenuto", kDurQuarter, kMaskTenuto | kMaskSlur, 110,
                    kStyleStaccato, 116, 192},
        // A silent dynamic would turn the note-on into a note off.
        PerformCase{"zero velocity still strikes", kDurQuarter, 0, 0, 23, 1, 160}));

TEST(NotePerformTest, EventsCarryPortChannelAndPosition) {
  TStaffContextState state;
  state.SetPort(3);
  state.SetChannel(9);
  state.SetSongPosition(1000);
  TMidiFileBuf buffer;
  TMusicNote(0, kDurEighth, 0, kAccNone).Perform(state, &buffer);
  ASSERT_EQ(buffer.GetEventCount(), 2);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(buffer.GetEvent(i).msg.GetPort(), 3);
    EXPECT_EQ(buffer.GetEvent(i).msg.GetChannel(), 9);
  }
  EXPECT_EQ(buffer.GetEvent(0).time, 1000u);
  EXPECT_EQ(buffer.GetEvent(1).time, 1094u);
  EXPECT_EQ(buffer.GetEvent(1).msg.GetCommand(), kMidiNoteOff);
}

TEST(NotePerformTest, NullBufferEmitsNothing) {
  TStaffContextState state;
  TMusicNote note(0, kDurEighth, 0, kAccNone);
  note.Perform(state, nullptr);
  EXPECT_EQ(state.GetSongPosition(), 0);
}

TEST(NotePerformTest, GraceNotesSoundBeforeTheDelayedNote) {
  TMusicNote g1(0, kDurEighth, kMaskGrace, kAccNone);
  TMusicNote g2(1, kDurEighth, kMaskGrace, kAccNone);
  TMusicNote g3(2, kDurEighth, kMaskGrace, kAccNone);
  TMusicNote quarter(3, kDurQuarter, 0, kAccNone);
  TStaffContextState state;
  TMidiFileBuf buffer;
  test::Walk({&g1, &g2, &g3, &quarter}, state, buffer);
  const std::vector<TNoteEvent> expected = {
      {0, true, 71, 110},  {22, false, 71, 0}, {24, true, 69, 110}, {46, false, 69, 0},
      {48, true, 67, 110}, {70, false, 67, 0}, {72, true, 65, 110}, {190, false, 65, 0}};
  EXPECT_EQ(NoteEvents(buffer), expected);
  EXPECT_EQ(state.GetSongPosition(), 192);
}

TEST(NotePerformTest, MutedGraceNoteIsNotCounted) {
  TMusicNote muted(0, kDurEighth, kMaskGrace, kAccNone);
  muted.SetMuted(true);
  TMusicNote quarter(3, kDurQuarter, 0, kAccNone);
  TStaffContextState state;
  TMidiFileBuf buffer;
  test::Walk({&muted, &quarter}, state, buffer);
  const std::vector<TNoteEvent> expected = {{0, true, 65, 110}, {160, false, 65, 0}};
  EXPECT_EQ(NoteEvents(buffer), expected);
}

TEST(NotePerformTest, GraceNotesLongerThanTheNoteDoNotDelayIt) {
  TMusicNote grace(0, kDur16th, kMaskGrace, kAccNone);
  TMusicNote sixteenth(3, kDur16th, 0, kAccNone);
  TStaffContextState state;
  TMidiFileBuf buffer;
  test::Walk({&grace, &grace, &sixteenth}, state, buffer);
  // 48 ticks of grace notes before a 48-tick note: the note keeps its place.
  EXPECT_EQ(NoteEvents(buffer).back(), (TNoteEvent{46, false, 65, 0}));
}

TEST(NotePerformTest, TiedNotesSoundAsOne) {
  TMusicNote first(0, kDurQuarter, kMaskTieOut, kAccNone);
  TMusicNote middle(0, kDurQuarter, kMaskTieOut, kAccNone);
  middle.SetTieIn(true);
  TMusicNote last(0, kDurQuarter, 0, kAccNone);
  last.SetTieIn(true);
  TStaffContextState state;
  TMidiFileBuf buffer;
  test::Walk({&first, &middle, &last}, state, buffer);
  const std::vector<TNoteEvent> expected = {{0, true, 71, 110}, {544, false, 71, 0}};
  EXPECT_EQ(NoteEvents(buffer), expected);
}

TEST(NotePerformTest, MutedNoteIsSilentButEndsATieRunningIntoIt) {
  TStaffContextState state;
  TMidiFileBuf buffer;
  TMusicNote muted(0, kDurQuarter, 0, kAccNone);
  muted.SetMuted(true);
  muted.Perform(state, &buffer);
  EXPECT_EQ(buffer.GetEventCount(), 0);

  TMusicNote first(0, kDurQuarter, kMaskTieOut, kAccNone);
  TMusicNote mutedEnd(0, kDurQuarter, 0, kAccNone);
  mutedEnd.SetTieIn(true);
  mutedEnd.SetMuted(true);
  test::Walk({&first, &mutedEnd}, state, buffer);
  const std::vector<TNoteEvent> expected = {{0, true, 71, 110}, {192, false, 71, 0}};
  EXPECT_EQ(NoteEvents(buffer), expected);
}

TEST(NotePerformTest, MakeNoteOnEvent) {
  TStaffContextState state;
  state.SetPort(2);
  state.SetChannel(5);
  state.SetNoteVelocity(50);
  const TMidiMsg plain = TMusicNote(0, kDurQuarter, 0, kAccNone).MakeNoteOnEvent(state);
  EXPECT_EQ(plain.GetCommand(), kMidiNoteOn);
  EXPECT_EQ(plain.GetData1(), 71);
  EXPECT_EQ(plain.GetData2(), 50);
  EXPECT_EQ(plain.GetPort(), 2);
  EXPECT_EQ(plain.GetChannel(), 5);
  EXPECT_EQ(TMusicNote(0, kDurQuarter, kMaskMarcato, kAccNone).MakeNoteOnEvent(state).GetData2(),
            70);
  state.SetNoteVelocity(120);
  EXPECT_EQ(TMusicNote(0, kDurQuarter, kMaskAccent, kAccNone).MakeNoteOnEvent(state).GetData2(),
            127);
  state.SetNoteVelocity(0);
  EXPECT_EQ(TMusicNote(0, kDurQuarter, 0, kAccNone).MakeNoteOnEvent(state).GetData2(), 1);
}

}  // namespace
}  // namespace kvt
