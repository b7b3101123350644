#include "midi/play/score_midi_player.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "midi/events/midi_file_buf.h"
#include "midi/play/midi_playback_service.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "notation/items/generic_control.h"
#include "notation/index/simple_ntn_idx.h"
#include "notation/services/user_object_host.h"
#include "tests/midi/score_builder.h"
#include "utils/precondition.h"

namespace kvt {
namespace {

using test::AddStaff;
using test::Controls;
using test::NoteNames;
using test::NoteOns;
using test::TControl;
using test::TNoteOn;

// ---------------------------------------------------------------------------------------
// Play order: which notes sound, in which order, through repeats, endings and jumps.

struct PlayOrderCase {
  const char* name;
  const char* staff;
  const char* played;  // the notes in the order they sound, a quarter note apart
  int32_t endTick;
};

class PlayOrderTest : public testing::TestWithParam<PlayOrderCase> {};

TEST_P(PlayOrderTest, NotesSoundInPlayOrderAQuarterApart) {
  const PlayOrderCase& c = GetParam();
  TMusicScore score;
  AddStaff(score, c.staff);
  ASSERT_NE(std::u16string(score.GetStaff(0)->GetName()), u"BAD TOKEN");
  TScoreMidiPlayer player;
  player.SetScore(&score);
  TMidiFileBuf buffer(16);
  player.BuildPlayBuffer(buffer);

  EXPECT_EQ(NoteNames(buffer), c.played);
  const std::vector<TNoteOn> ons = NoteOns(buffer);
  for (size_t i = 0; i < ons.size(); ++i) EXPECT_EQ(ons[i].time, 192 * i) << "note " << i;
  EXPECT_EQ(player.GetEndTick(), c.endTick);
}

const PlayOrderCase kPlayOrderCases[] = {
    {"Straight", "C D E | F G", "CDEFG", 960},
    {"MasterRepeat", "C |: D E :| F", "CDEDEF", 1152},
    {"RepeatFromTheStart", "C D :| E", "CDCDE", 960},
    {"LocalRepeatTwice", "C {: D :} E", "CDDE", 768},
    {"LocalRepeatThreeTimes", "C {: D :}3 E", "CDDDE", 960},
    {"FirstAndSecondEnding", "|: C [1 D :| [2 E | F", "CDCEF", 960},
    // An ending of passes 1 and 2 keeps the repeat going; the third pass skips it.
    {"EndingForPassesOneAndTwo", "|: C [12 D :| E", "CDCDCE", 1152},
    {"DaCapoAlFine", "C Fine D DCalFine", "CDC", 576},
    {"DaCapoPlaysRepeatsOnce", "|: C :| D DC", "CCDCD", 960},
    {"DalSegnoAlCoda", "C Segno D ToCoda E DSalCoda Coda F", "CDEDF", 960},
    {"DalSegnoAlFine", "C Segno D Fine E DSalFine", "CDED", 768},
    {"RestAtTheEndCounts", "C D R", "CD", 576},
};

INSTANTIATE_TEST_SUITE_P(Structures, PlayOrderTest, testing::ValuesIn(kPlayOrderCases),
                         [](const testing::TestParamInfo<PlayOrderCase>& info) {
                           return std::string(info.param.name);
                         });

// ---------------------------------------------------------------------------------------
// Rendering

class ScoreMidiPlayerTest : public testing::Test {
protected:
  // Renders the score for playing into `buffer`, by the fixture's player or the one given.
  void Build() { Build(player); }
  void Build(TScoreMidiPlayer& by) {
    by.SetScore(&score);
    by.BuildPlayBuffer(buffer);
  }

  TMusicScore score;
  TScoreMidiPlayer player;
  TMidiFileBuf buffer{16};
};

TEST_F(ScoreMidiPlayerTest, RenderingRunsUntilTheLongerStaffEndsAndMarksThatEnd) {
  AddStaff(score, "C D E F", 0);
  AddStaff(score, "G", 1);
  Build();

  EXPECT_EQ(NoteOns(buffer), (std::vector<TNoteOn>{{0, 0, 60, 110},
                                                   {0, 1, 67, 110},
                                                   {192, 0, 62, 110},
                                                   {384, 0, 64, 110},
                                                   {576, 0, 65, 110}}));
  EXPECT_EQ(player.GetEndTick(), 768);
  const TMidiSongEvent first = buffer.GetEvent(0);
  EXPECT_EQ(first.msg.GetKind(), kMidiKindTempo);
  EXPECT_EQ(first.msg.GetTempoMicros(), 500000u);
  const TMidiSongEvent last = buffer.GetEvent(buffer.GetEventCount() - 1);
  EXPECT_EQ(last.msg.GetKind(), kMidiKindWait);
  EXPECT_EQ(last.time, 768u);
  EXPECT_EQ(last.msg.GetWaitLength(), 0);
  // 768 ticks at 120 quarters a minute.
  EXPECT_EQ(player.GetPlayLengthMs(), 2000);
  // Every staff stands at its end.
  EXPECT_EQ(player.GetStaffPlayPos(0).index, -1);
  EXPECT_EQ(player.GetStaffPlayPos(1).index, -1);
}

TEST_F(ScoreMidiPlayerTest, SetupEventsComeFirstOnTheStaffsPortAndChannel) {
  TMusicStaff& staff = AddStaff(score, "C", 3);
  staff.SetDevice(2);
  staff.SetVolume(90);
  staff.SetStereoPan(20);
  Build();
  EXPECT_EQ(Controls(buffer, 7), (std::vector<TControl>{{0, 3, 7, 90}}));
  EXPECT_EQ(Controls(buffer, 10), (std::vector<TControl>{{0, 3, 10, 20}}));
  for (const TNoteOn& on : NoteOns(buffer)) EXPECT_EQ(on.channel, 3);
  for (int i = 0; i < buffer.GetEventCount(); ++i) {
    const TMidiMsg msg = buffer.GetEvent(i).msg;
    if (msg.IsChannelMessage()) EXPECT_EQ(msg.GetPort(), 2);
  }
}

TEST_F(ScoreMidiPlayerTest, DynamicsSetTheVelocityOfTheNotesAfterThem) {
  AddStaff(score, "p40 C D f100 E");
  Build();
  std::vector<int> velocities;
  for (const TNoteOn& on : NoteOns(buffer)) velocities.push_back(on.velocity);
  EXPECT_EQ(velocities, (std::vector<int>{40, 40, 100}));
}

TEST_F(ScoreMidiPlayerTest, TempoMarksPlayAtTheirPositionOnEveryPass) {
  AddStaff(score, "|: C T60 D :| E");
  Build();
  std::vector<std::pair<uint32_t, uint32_t>> tempos;
  for (const TMidiSongEvent& e : test::EventsOfKind(buffer, kMidiKindTempo))
    tempos.push_back({e.time, e.msg.GetTempoMicros()});
  EXPECT_EQ(tempos, (std::vector<std::pair<uint32_t, uint32_t>>{
                        {0, 500000}, {192, 1000000}, {576, 1000000}}));
  // A quarter at 120, then four at 60 (the second pass's mark changes nothing more).
  EXPECT_EQ(player.GetPlayLengthMs(), 500 + 4000);
}

// Records the user objects the player hands to the script hook.
class TRecordingHost : public TUserObjectHost {
public:
  bool IsUserObjectTypeLoaded(const char*) override { return true; }
  void PlayUserObject(TSimpleNtnIdx& index, TStaffContextState& state,
                      TMidiFileBuf* buffer) override {
    played.push_back({index.GetIndex(), state.GetSongPosition()});
    // The script adds its events to the buffer.
    if (buffer)
      buffer->AddEvent(static_cast<uint32_t>(state.GetSongPosition()),
                       TMidiMsg::Channel(kMidiControlChange, 0, state.GetChannel(), 1, 64));
  }
  void RunUserObjectAudit(TSimpleNtnIdx&) override {}
  void SpinUserObject(TSimpleNtnIdx&, int) override {}
  void TransposeUserObject(TSimpleNtnIdx&, const TStaffContextState&, int, int, bool) override {}

  std::vector<std::pair<int, int32_t>> played;  // item index, song position
};

TEST_F(ScoreMidiPlayerTest, AMutedStaffPlaysEverythingButItsNotes) {
  TMusicStaff& muted = AddStaff(score, "v90 C T60 D U E", 0);
  // A pan sweep from 0 to 4 over a quarter note at the staff's start.
  auto sweep = std::make_unique<TGenericControl>();
  sweep->SetController(kMpcPan);
  sweep->SetStyle(kMpcLinearSweep);
  sweep->SetPoint(0, 0, 0);
  sweep->SetPoint(1, 1, 4);
  muted.InsertItem(std::move(sweep), 1);
  muted.SetMuted(true);
  AddStaff(score, "F G A B", 1);
  TRecordingHost host;
  TServices services;
  services.userObjectHost = &host;
  TScoreMidiPlayer hosted(services);
  Build(hosted);

  for (const TNoteOn& on : NoteOns(buffer)) EXPECT_EQ(on.channel, 1);
  EXPECT_EQ(NoteOns(buffer).size(), 4u);
  // Its tempo mark changes the tempo for every staff.
  const auto tempos = test::EventsOfKind(buffer, kMidiKindTempo);
  ASSERT_EQ(tempos.size(), 2u);
  EXPECT_EQ(tempos[1].time, 192u);
  // Every staff's set-up comes before the first slice.
  EXPECT_EQ(Controls(buffer, 7), (std::vector<TControl>{{0, 0, 7, 127}, {0, 1, 7, 127},
                                                        {0, 0, 7, 90}}));
  EXPECT_EQ(Controls(buffer, 10),
            (std::vector<TControl>{{0, 0, 10, 64}, {0, 1, 10, 64}, {0, 0, 10, 0},
                                   {48, 0, 10, 1}, {96, 0, 10, 2}, {144, 0, 10, 3},
                                   {192, 0, 10, 4}}));
  // The user object reached the hook at its place (after C and D).
  EXPECT_EQ(host.played, (std::vector<std::pair<int, int32_t>>{{6, 384}}));
  EXPECT_EQ(Controls(buffer, 1), (std::vector<TControl>{{384, 0, 1, 64}}));
}

TEST_F(ScoreMidiPlayerTest, WithoutAHostUserObjectsAreSilent) {
  AddStaff(score, "C U D");
  Build();
  EXPECT_EQ(NoteNames(buffer), "CD");
  EXPECT_TRUE(Controls(buffer, 1).empty());
}

// Note-ons minus note ends per key: 0 everywhere when no key is left sounding.
std::map<int, int> SoundingKeys(const TMidiFileBuf& buffer) {
  std::map<int, int> sounding;
  for (int i = 0; i < buffer.GetEventCount(); ++i) {
    const TMidiMsg msg = buffer.GetEvent(i).msg;
    if (msg.IsNoteOn()) ++sounding[msg.GetData1()];
    if (msg.IsNoteOff()) --sounding[msg.GetData1()];
  }
  return sounding;
}

TEST_F(ScoreMidiPlayerTest, ATieThatLeadsNowhereEndsAtItsOwnPlayedEnd) {
  AddStaff(score, "C~ R D~");
  Build();
  EXPECT_EQ(SoundingKeys(buffer), (std::map<int, int>{{60, 0}, {62, 0}}));
  // Each key goes up where its quarter's played length (160 ticks) ends: C when the rest
  // comes instead of a continuation, D when the staff ends; then the end marker.
  std::vector<std::pair<uint32_t, int>> releases;
  for (int i = 0; i < buffer.GetEventCount(); ++i) {
    const TMidiSongEvent& event = buffer.GetEvent(i);
    if (event.msg.IsNoteOff()) releases.emplace_back(event.time, event.msg.GetData1());
  }
  EXPECT_EQ(releases, (std::vector<std::pair<uint32_t, int>>{{160, 60}, {544, 62}}));
  const int n = buffer.GetEventCount();
  EXPECT_EQ(buffer.GetEvent(n - 1).msg.GetKind(), kMidiKindWait);
  EXPECT_EQ(buffer.GetEvent(n - 1).time, 576u);
}

TEST_F(ScoreMidiPlayerTest, RenderAllAddsTheStartTempoButNoEndMarker) {
  AddStaff(score, "C~ D");
  player.SetScore(&score);
  buffer.Reset();
  player.RenderAll(buffer);
  EXPECT_EQ(buffer.GetEvent(0).msg.GetKind(), kMidiKindTempo);
  EXPECT_TRUE(test::EventsOfKind(buffer, kMidiKindWait).empty());
  EXPECT_EQ(SoundingKeys(buffer), (std::map<int, int>{{60, 0}, {62, 0}}));
  EXPECT_EQ(player.GetPlayLengthMs(), 0);
}

TEST_F(ScoreMidiPlayerTest, RenderAllKeepsTheCallersFilter) {
  AddStaff(score, "C T60 D");
  player.SetScore(&score);
  buffer.Reset();
  buffer.SetFilter(1u << kMidiKindChannel);
  player.RenderAll(buffer);
  ASSERT_EQ(buffer.GetEventCount(), 2);
  EXPECT_EQ(buffer.GetEvent(1).time, 192u);
  EXPECT_EQ(player.GetEndTick(), 384);
}

TEST_F(ScoreMidiPlayerTest, OverflowEndsRenderingWithWhatFitted) {
  std::string notes;
  for (int i = 0; i < 1500; ++i) notes += "C ";
  AddStaff(score, notes);
  TMidiFileBuf small(0);  // one segment of 2048 events, never growing
  player.SetScore(&score);
  player.BuildPlayBuffer(small);
  EXPECT_TRUE(small.GetOverflow());
  EXPECT_EQ(small.GetEventCount(), kMidiSegmentEvents);
  EXPECT_TRUE(test::EventsOfKind(small, kMidiKindWait).empty());
}

TEST_F(ScoreMidiPlayerTest, SlicesWithNothingToPlayArePassedQuickly) {
  // 65535 bars of rest: the render loop jumps over the empty slices.
  AddStaff(score, "M65535 C");
  Build();
  const std::vector<TNoteOn> ons = NoteOns(buffer);
  ASSERT_EQ(ons.size(), 1u);
  EXPECT_EQ(ons[0].time, 65535u * 768u);
}

// ---------------------------------------------------------------------------------------
// Hostile play-order structures

// Sends play back to item `target` every time: a repeat that never runs out of passes.
class TJumpForever : public TNotatedItem {
public:
  explicit TJumpForever(int target) : target(target) {}
  TNotatedItemType GetType() const override { return kItemMarker; }
  int GetNextPlayIndex(TStaffContextState&, const TMusicStaff*, int) const override { return target; }

private:
  int target;
};

struct HostileCase {
  const char* name;
  const char* before;  // items before the jump
  int target;          // where the jump sends play
  const char* expectedStart;  // what sounds first
};

class HostileStructureTest : public testing::TestWithParam<HostileCase> {};

TEST_P(HostileStructureTest, RenderingAndSeekingEndWithinTheStepBudget) {
  const HostileCase& c = GetParam();
  TMusicScore score;
  TMusicStaff& staff = AddStaff(score, c.before);
  staff.InsertItem(std::make_unique<TJumpForever>(c.target), staff.GetLastIndex());
  AddStaff(score, "E F", 1);

  TScoreMidiPlayer player;
  player.SetScore(&score);
  TMidiFileBuf buffer(16);
  player.BuildPlayBuffer(buffer);
  EXPECT_FALSE(buffer.GetOverflow());
  EXPECT_EQ(NoteNames(buffer).substr(0, 3), c.expectedStart);
  EXPECT_LE(static_cast<int64_t>(NoteOns(buffer).size()), staff.GetPlayStepBudget() + 2);
  EXPECT_EQ(player.GetStaffPlayPos(0).index, -1);

  // Following a play position through the same structure ends too.
  player.Rebind();
  player.SeekAll(kPlayToEnd);
  EXPECT_EQ(player.GetStaffPlayPos(0).index, -1);
  TStaffMidiPlayerIndex one;
  one.Bind(&score, 0);
  while (one.StepToNextNote()) {
  }
  EXPECT_FALSE(one.IsPlaying());
}

const HostileCase kHostileCases[] = {
    // Time moves on with every round: the budget ends an endless performance.
    {"LoopOverANote", "C", 1, "CEC"},
    // No time passes in the loop: without the budget one slice would never end.
    {"LoopWithoutDuration", "C p40", 2, "CEF"},
    {"JumpToItself", "C", 2, "CEF"},
    // A jump outside the staff ends it.
    {"JumpFarBeyondTheEnd", "C", 1000, "CEF"},
    {"JumpToANegativeIndex", "C", -7, "CEF"},
};

INSTANTIATE_TEST_SUITE_P(PlayOrder, HostileStructureTest, testing::ValuesIn(kHostileCases),
                         [](const testing::TestParamInfo<HostileCase>& info) {
                           return std::string(info.param.name);
                         });

// ---------------------------------------------------------------------------------------
// Following the play position

class PlayPositionTest : public testing::Test {
protected:
  TMusicScore score;
  TScoreMidiPlayer player;
};

TEST_F(PlayPositionTest, SeekingInsideAMultiBarRestGivesTheBar) {
  // Items: 0 bar, 1 time signature, 2 C, 3 four bars of rest, 4 D, 5 closing bar.
  AddStaff(score, "4/4 C M4 D");
  player.SetScore(&score);
  EXPECT_TRUE(player.SeekAll(192 + 1000));
  EXPECT_EQ(player.GetStaffPlayPos(0), (TStaffPlayPos{3, 1, 1}));
  EXPECT_EQ(player.GetStaffPreviousPos(0), (TStaffPlayPos{0, 0, 1}));
  EXPECT_FALSE(player.SeekAll(192 + 1100));
  EXPECT_TRUE(player.SeekAll(192 + 3 * 768));
  EXPECT_EQ(player.GetStaffPlayPos(0), (TStaffPlayPos{3, 3, 1}));
  EXPECT_TRUE(player.SeekAll(192 + 4 * 768));
  EXPECT_EQ(player.GetStaffPlayPos(0), (TStaffPlayPos{4, 0, 1}));
  EXPECT_EQ(player.GetRenderTime(), 192 + 4 * 768);
}

TEST_F(PlayPositionTest, SeekingBackWalksAgainFromTheStartThroughRepeats) {
  // Items: 0 bar, 1 |:, 2 C, 3 D, 4 :|, 5 E, 6 closing bar; C D C D E a quarter apart.
  AddStaff(score, "|: C D :| E");
  player.SetScore(&score);
  player.SeekAllFrom(600);  // the second D
  EXPECT_EQ(player.GetStaffPlayPos(0), (TStaffPlayPos{3, 0, 2}));
  player.SeekAllFrom(200);  // the first D: back to the start and forward again
  EXPECT_EQ(player.GetStaffPlayPos(0), (TStaffPlayPos{3, 0, 1}));
  EXPECT_EQ(player.GetStaffPreviousPos(0), (TStaffPlayPos{0, 0, 1}));
  player.SeekAll(400);  // the second C
  EXPECT_EQ(player.GetStaffPlayPos(0), (TStaffPlayPos{2, 0, 2}));
  EXPECT_EQ(player.GetStaffPreviousPos(0), (TStaffPlayPos{3, 0, 1}));
  // Advancing backwards rewinds as well.
  player.SeekAll(10);
  EXPECT_EQ(player.GetStaffPlayPos(0), (TStaffPlayPos{2, 0, 1}));
  player.SeekAll(5000);
  EXPECT_EQ(player.GetStaffPlayPos(0).index, -1);
  EXPECT_FALSE(player.SeekAll(6000));
}

class TFixedPlayback : public TMidiPlaybackService {
public:
  int32_t GetPlayTick() const override { return 400; }
  int64_t GetSongTimeMs() const override { return 1234; }
  bool IsPlaying() const override { return true; }
  bool IsPaused() const override { return false; }
  bool IsRecording() const override { return false; }
  void TogglePause() override {}
};

TEST_F(PlayPositionTest, FollowingTheSequencerSeeksToItsTick) {
  TFixedPlayback playback;
  TServices services;
  services.playback = &playback;
  TScoreMidiPlayer followed(services);
  AddStaff(score, "C D E");
  followed.SetScore(&score);
  EXPECT_TRUE(followed.FollowPlayPosition());
  EXPECT_EQ(followed.GetStaffPlayPos(0).index, 3);  // E, from 384
  EXPECT_EQ(followed.GetElapsedMs(), 1234);
  EXPECT_EQ(player.GetElapsedMs(), 0);
}

TEST_F(PlayPositionTest, StaffQueriesOutsideTheStavesAreAPrecondition) {
  AddStaff(score, "C");
  player.SetScore(&score);
  EXPECT_THROW(player.GetStaffPlayPos(1), TPreconditionError);
  EXPECT_THROW(player.GetStaffPreviousPos(-1), TPreconditionError);
}

TEST_F(PlayPositionTest, ASmallerScoreLeavesNoIndexOnTheOldStaves) {
  {
    TMusicScore big;
    AddStaff(big, "C", 0);
    AddStaff(big, "D", 1);
    AddStaff(big, "E", 2);
    player.SetScore(&big);
    EXPECT_EQ(player.GetIndexCount(), 3);
    AddStaff(score, "F");
    player.SetScore(&score);
  }
  EXPECT_EQ(player.GetStaffIndex(2).GetStaff(), nullptr);
  TMidiFileBuf buffer(16);
  player.BuildPlayBuffer(buffer);
  EXPECT_EQ(NoteNames(buffer), "F");
  player.SeekAllFrom(100);
  player.SetScore(nullptr);
  EXPECT_EQ(player.GetStaffIndex(0).GetStaff(), nullptr);
}

}  // namespace
}  // namespace kvt
