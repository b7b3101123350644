// MIDI keyboard input in the editing view: messages injected at the dispatcher enter notes,
// chords and instrument changes at the caret (the score text writer is the oracle), each
// undone and redone; the insertion state follows the controllers; entered notes sound through
// the output service; command 215 with a scripted input device.

#include <gtest/gtest.h>

#include <QApplication>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/editor/midi_input_commands.h"
#include "app/editor/score_edit.h"
#include "app/editor/score_edit_host.h"
#include "app/editor/undo_action_mgr.h"
#include "notation/items/music_note.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "tests/notation/score_text_fixture.h"
#include "tools/command_table.h"

namespace kvt {
namespace {

constexpr uint32_t Msg(int status, int data1, int data2 = 0) {
  return static_cast<uint32_t>(status) | static_cast<uint32_t>(data1) << 8 |
         static_cast<uint32_t>(data2) << 16;
}
constexpr uint32_t On(int key, int velocity = 100) { return Msg(0x90, key, velocity); }
constexpr uint32_t Off(int key) { return Msg(0x80, key, 64); }
constexpr uint32_t Cc(int controller, int value) { return Msg(0xB0, controller, value); }

class TMidiHost : public TNullScoreEditHost {
public:
  bool IsPlaying(const TMusicScore&) const override { return playing; }
  bool playing = false;
};

// A scripted input device: what it has, and whether Open succeeds.
class TScriptedInputDevice final : public TMidiInputDevice {
public:
  bool HasInputDevice() const override { return present; }
  bool IsPortShared() const override { return shared; }
  bool Open(TMidiInputReceiver& r) override {
    ++opens;
    if (opensOk) receiver = &r;
    return opensOk;
  }
  void Close() override { receiver = nullptr; }
  bool present = true, shared = false, opensOk = true;
  int opens = 0;
  TMidiInputReceiver* receiver = nullptr;
};

std::string Header(const std::string& clef, int transposition, const std::string& key) {
  return "!TarlowmedeRazadove(2.75)\r\n|AddStaff|Name:\"A\"\r\n"
         "|StaffProperties|Muted:N|Volume:127|StereoPan:64|Device:2|Channel:4\r\n"
         "|StaffInstrument|Name:\"P\"|Patch:0|Bank:N|Trans:" +
         std::to_string(transposition) + "\r\n|Clef|Type:" + clef + "\r\n|Key|Signature:" + key +
         "|Tonic:C\r\n|TimeSig|Signature:4/4\r\n";
}

class MidiInputTest : public ::testing::Test {
protected:
  // Score of the header and `items`, the view with the caret before the closing bar line.
  TScoreEdit& Open(const std::string& items, const std::string& clef = "Treble",
                   int transposition = 0, const std::string& key = "C") {
    Load(items, clef, transposition, key);
    return OpenView();
  }
  void Load(const std::string& items, const std::string& clef = "Treble", int transposition = 0,
            const std::string& key = "C") {
    score_text_test::TTextStream in(Header(clef, transposition, key) + items);
    score = std::move(ReadScoreText(*in, TServices()).score);
    ASSERT_TRUE(score != nullptr);
  }
  TScoreEdit& OpenView() {
    const int last = score->GetStaff(0)->GetLastIndex();
    score->SetEditorState(0, last, last, 0);
    view = std::make_unique<TScoreEdit>(nullptr, *score, undo, host);
    view->resize(900, 400);
    view->SetActive(true);
    host.midiKeyboard.Dispatcher().SetViewFinder([this] { return view.get(); });
    return *view;
  }
  void Send(const std::vector<uint32_t>& messages) {
    for (const uint32_t m : messages) host.midiKeyboard.Dispatcher().OnMidiInput(m);
  }
  // The written lines after the time signature: the items the tests add to.
  std::vector<std::string> Items() const {
    const std::vector<std::string> lines =
        score_text_test::SplitLines(score_text_test::WriteScore(*score));
    std::vector<std::string> items;
    bool after = false;
    for (const std::string& line : lines) {
      if (after && !line.empty()) items.push_back(line);
      after = after || line.rfind("|TimeSig", 0) == 0;
    }
    return items;
  }

  TMidiHost host;
  TUndoActionMgr undo{20, 1000};
  std::unique_ptr<TMusicScore> score;
  std::unique_ptr<TScoreEdit> view;
};

struct TEntryCase {
  const char* name;
  const char* items;  // before the caret
  std::vector<uint32_t> messages;
  std::vector<std::string> added;  // lines after `items`
  const char* clef = "Treble";
  int transposition = 0;
  bool ignoreTransposition = true;
  const char* key = "C";
};

class MidiInputEntryTest : public MidiInputTest,
                           public ::testing::WithParamInterface<TEntryCase> {};

TEST_P(MidiInputEntryTest, EntersAndUndoesAndRedoes) {
  const TEntryCase& c = GetParam();
  host.options.midiInIgnoreTransposition = c.ignoreTransposition;
  Open(c.items, c.clef, c.transposition, c.key);
  const std::vector<std::string> before = Items();
  Send(c.messages);
  std::vector<std::string> want = before;
  want.insert(want.end() - 1, c.added.begin(), c.added.end());  // before the closing bar
  const std::vector<std::string> after = Items();
  EXPECT_EQ(after, want);
  EXPECT_TRUE(host.messages.empty());
  if (c.added.empty()) {
    EXPECT_FALSE(view->Undo());
    return;
  }
  EXPECT_EQ(view->Caret().caret, score->GetStaff(0)->GetLastIndex());
  // One undo entry per insertion: undone one by one back to the start, and redone.
  int steps = 0;
  while (Items() != before && steps <= static_cast<int>(c.added.size()) && view->Undo()) ++steps;
  EXPECT_EQ(Items(), before);
  EXPECT_FALSE(view->Undo());
  for (int i = 0; i < steps; ++i) ASSERT_TRUE(view->Redo());
  EXPECT_EQ(Items(), after);
}

INSTANTIATE_TEST_SUITE_P(
    Messages, MidiInputEntryTest,
    ::testing::Values(
        TEntryCase{"SingleNote", "", {On(60), Off(60)}, {"|Note|Dur:4th|Pos:-6"}},
        TEntryCase{"TwoNotes",
                   "",
                   {On(60), Off(60), On(64), Off(64)},
                   {"|Note|Dur:4th|Pos:-6", "|Note|Dur:4th|Pos:-4"}},
        TEntryCase{"VelocityZeroReleases", "", {On(62), On(62, 0)}, {"|Note|Dur:4th|Pos:-5"}},
        TEntryCase{"ChordAtFirstRelease",
                   "",
                   {On(67), On(60), On(64), Off(64), Off(60), Off(67)},
                   {"|Chord|Dur:4th|Pos:-6,-4,-2"}},
        TEntryCase{"SharpAndImpliedSharp",
                   "",
                   {On(66), Off(66), On(66), Off(66)},
                   {"|Note|Dur:4th|Pos:#-3", "|Note|Dur:4th|Pos:-3"}},
        TEntryCase{"KeySignatureSpelling",
                   "",
                   {On(70), Off(70)},
                   {"|Note|Dur:4th|Pos:0"},
                   "Treble",
                   0,
                   true,
                   "Bb,Eb"},
        TEntryCase{
            "FoldHigh", "", {On(125), Off(125)}, {"|Note|Dur:4th|Pos:32"}, "Treble", -12, false},
        TEntryCase{"FoldLow", "", {On(5), Off(5)}, {"|Note|Dur:4th|Pos:-38"}, "Treble", 12, false},
        TEntryCase{"OctaveClef",
                   "",
                   {On(48), Off(48)},
                   {"|Note|Dur:4th|Pos:-6"},
                   "Treble|OctaveShift:Octave Down"},
        TEntryCase{"TranspositionSubtracted",
                   "",
                   {On(60), Off(60)},
                   {"|Note|Dur:4th|Pos:-5"},
                   "Treble",
                   -2,
                   false},
        TEntryCase{"TranspositionIgnored",
                   "",
                   {On(60), Off(60)},
                   {"|Note|Dur:4th|Pos:-6"},
                   "Treble",
                   -2,
                   true},
        TEntryCase{"SustainTies", "", {Cc(64, 64), On(60), Off(60)}, {"|Note|Dur:4th|Pos:-6^"}},
        TEntryCase{"SustainReleased",
                   "",
                   {Cc(64, 127), Cc(64, 63), On(60), Off(60)},
                   {"|Note|Dur:4th|Pos:-6"}},
        TEntryCase{"Duration35", "", {Cc(1, 35), On(60), Off(60)}, {"|Note|Dur:Half|Pos:-6"}},
        TEntryCase{"Duration36", "", {Cc(4, 36), On(60), Off(60)}, {"|Note|Dur:Half|Pos:-6"}},
        TEntryCase{"Duration71", "", {Cc(5, 71), On(60), Off(60)}, {"|Note|Dur:8th|Pos:-6"}},
        TEntryCase{"Duration72", "", {Cc(6, 72), On(60), Off(60)}, {"|Note|Dur:8th|Pos:-6"}},
        TEntryCase{"Duration107", "", {Cc(1, 107), On(60), Off(60)}, {"|Note|Dur:32nd|Pos:-6"}},
        TEntryCase{"Duration108", "", {Cc(1, 108), On(60), Off(60)}, {"|Note|Dur:32nd|Pos:-6"}},
        TEntryCase{"Dots35", "", {On(60), Cc(1, 35), Off(60)}, {"|Note|Dur:4th|Pos:-6"}},
        TEntryCase{"Dots36", "", {On(60), Cc(1, 36), Off(60)}, {"|Note|Dur:4th,Dotted|Pos:-6"}},
        TEntryCase{"Dots71", "", {On(60), Cc(1, 71), Off(60)}, {"|Note|Dur:4th,Dotted|Pos:-6"}},
        TEntryCase{"Dots72", "", {On(60), Cc(1, 72), Off(60)}, {"|Note|Dur:4th,DblDotted|Pos:-6"}},
        TEntryCase{
            "Dots107", "", {On(60), Cc(1, 107), Off(60)}, {"|Note|Dur:4th,DblDotted|Pos:-6"}},
        TEntryCase{"Dots108KeepsTheDots",
                   "",
                   {On(60), Cc(1, 72), Cc(1, 108), Off(60)},
                   {"|Note|Dur:4th,DblDotted|Pos:-6"}},
        // The persistent tools (952) keep neither dots nor the tie after an entry.
        TEntryCase{"DotsAndTieReset",
                   "",
                   {Cc(64, 100), On(60), Cc(1, 50), Off(60), On(62), Off(62)},
                   {"|Note|Dur:4th,Dotted|Pos:-6^", "|Note|Dur:4th|Pos:-5"}},
        TEntryCase{"LongNoteSplitTied",
                   "|Note|Dur:Half,Dotted|Pos:0\r\n",
                   {Cc(1, 0), On(60), Off(60)},
                   {"|Note|Dur:4th|Pos:-6^", "|Note|Dur:Half,Dotted|Pos:-6"}},
        TEntryCase{"SystemAndUnknownIgnored",
                   "",
                   {Msg(0xF0, 0x7E, 0x7F), Msg(0xF7, 0), Msg(0x3C, 0x40), Msg(0xE0, 0, 64),
                    Msg(0xA0, 60, 10), Msg(0xD0, 50)},
                   {}},
        TEntryCase{"ReleaseOfKeyNotHeld", "", {On(60), Off(61), Off(62)}, {}}),
    [](const ::testing::TestParamInfo<TEntryCase>& info) { return std::string(info.param.name); });

TEST_F(MidiInputTest, ProgramChangeInsertsInstrumentWithPatchPlusOne) {
  Open("");
  Send({Msg(0xC0, 40)});
  const std::vector<std::string> items = Items();
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0].rfind("|Instrument|", 0), 0u) << items[0];
  EXPECT_NE(items[0].find("|Patch:40|"), std::string::npos) << items[0];
  ASSERT_TRUE(view->Undo());
  EXPECT_EQ(Items().size(), 1u);
  ASSERT_TRUE(view->Redo());
  EXPECT_EQ(Items(), items);
}

TEST_F(MidiInputTest, NothingWhilePlaying) {
  Open("");
  host.playing = true;
  Send({On(60), Off(60), Cc(1, 0), Msg(0xC0, 3)});
  host.playing = false;
  Send({Off(60)});  // the press was ignored, so this key is not held
  EXPECT_EQ(Items().size(), 1u);
  EXPECT_EQ(host.insertion.duration, kDurQuarter);
}

TEST_F(MidiInputTest, KeyPressedWithSelectionEntersNothing) {
  Open("|Note|Dur:4th|Pos:0\r\n|Note|Dur:4th|Pos:1\r\n");
  view->SetCaretIndex(1, false);
  view->SetCaretIndex(3, true);
  ASSERT_TRUE(view->HasSelection());
  const std::vector<std::string> before = Items();
  Send({On(60), Off(60), On(62)});
  EXPECT_EQ(Items(), before);
  view->SetCaretIndex(3, false);
  Send({Off(62)});
  EXPECT_EQ(Items(), before);
}

TEST_F(MidiInputTest, NoFocusedViewDropsMessages) {
  Open("");
  host.midiKeyboard.Dispatcher().SetViewFinder([] { return nullptr; });
  Send({On(60), Off(60)});
  EXPECT_EQ(Items().size(), 1u);
}

TEST_F(MidiInputTest, FocusMovingForgetsHeldKeys) {
  Open("");
  Send({On(60)});
  host.midiKeyboard.Dispatcher().SetViewFinder([] { return nullptr; });
  Send({On(62)});
  host.midiKeyboard.Dispatcher().SetViewFinder([this] { return view.get(); });
  Send({Off(60), Off(62)});
  EXPECT_EQ(Items().size(), 1u);
}

// Room for one piece but not for two (a whole note a quarter before the bar's end): nothing
// changes and the staff's capacity is reported.
TEST_F(MidiInputTest, NearlyFullStaffTakesNothing) {
  Load("|Note|Dur:Half,Dotted|Pos:0\r\n");
  TMusicStaff& staff = *score->GetStaff(0);
  while (staff.GetItemCount() < kStaffFullCount)
    staff.InsertItem(std::make_unique<TMusicNote>(0, kDurWhole, 0, kAccNone), staff.GetLastIndex());
  OpenView();
  const std::string before = score_text_test::WriteScore(*score);
  Send({Cc(1, 0), On(60), Off(60)});
  EXPECT_EQ(host.messages, std::vector<std::string>{"Staff Capacity Test"});
  EXPECT_EQ(staff.GetItemCount(), kStaffFullCount);
  EXPECT_EQ(score_text_test::WriteScore(*score), before);
  EXPECT_FALSE(view->Undo());
  EXPECT_TRUE(host.playedNotes.calls.empty());
}

TEST_F(MidiInputTest, EnteredNotesSoundTwoHundredMilliseconds) {
  Open("");
  Send({On(60), On(64), Off(60)});
  const std::vector<TNullEnteredNoteOutput::TCall> want = {{2, 3, 60, 110, 200},
                                                           {2, 3, 64, 110, 200}};
  EXPECT_EQ(host.playedNotes.calls, want);
  host.playedNotes.calls.clear();
  host.options.playAddedNotes = false;
  Send({On(62), Off(62)});
  EXPECT_TRUE(host.playedNotes.calls.empty());
  EXPECT_EQ(Items().size(), 3u);
}

TEST_F(MidiInputTest, TransposedStaffSoundsThePlayedKey) {
  host.options.midiInIgnoreTransposition = false;
  Open("", "Treble", -2);
  Send({On(60), Off(60)});
  ASSERT_EQ(host.playedNotes.calls.size(), 1u);
  EXPECT_EQ(host.playedNotes.calls[0].key, 60);
}

// --- command 215

class MidiInputCommandTest : public MidiInputTest {
protected:
  void SetUp() override {
    host.midiKeyboard.SetDevice(device);
    Open("");
  }
  void TearDown() override { host.midiKeyboard.Deactivate(); }
  bool Checked() {
    TCommandEnabler enabler(kCmdMidiInputActive);
    view->EnableCommand(enabler);
    return enabler.check == kChecked;
  }
  TScriptedInputDevice device;
};

TEST_F(MidiInputCommandTest, TurnsInputOnAndOff) {
  ASSERT_TRUE(view->ExecuteCommand(kCmdMidiInputActive));
  EXPECT_TRUE(host.midiKeyboard.IsActive());
  EXPECT_TRUE(Checked());
  ASSERT_EQ(device.receiver, &host.midiKeyboard.Dispatcher());
  device.receiver->OnMidiInput(On(60));
  device.receiver->OnMidiInput(Off(60));
  EXPECT_EQ(Items().front(), "|Note|Dur:4th|Pos:-6");
  ASSERT_TRUE(view->ExecuteCommand(kCmdMidiInputActive));
  EXPECT_FALSE(host.midiKeyboard.IsActive());
  EXPECT_FALSE(Checked());
  EXPECT_EQ(device.receiver, nullptr);
  EXPECT_TRUE(host.messages.empty());
}

struct TRefusalCase {
  const char* name;
  bool present, shared, opensOk;
  const char* caption;
  int opens;
};

class MidiInputRefusalTest : public MidiInputCommandTest,
                             public ::testing::WithParamInterface<TRefusalCase> {};

TEST_P(MidiInputRefusalTest, SaysWhyAndStaysOff) {
  const TRefusalCase& c = GetParam();
  device.present = c.present;
  device.shared = c.shared;
  device.opensOk = c.opensOk;
  ASSERT_TRUE(view->ExecuteCommand(kCmdMidiInputActive));
  EXPECT_EQ(host.messages, std::vector<std::string>{c.caption});
  EXPECT_FALSE(host.midiKeyboard.IsActive());
  EXPECT_FALSE(Checked());
  EXPECT_EQ(device.opens, c.opens);
  EXPECT_EQ(device.receiver, nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MidiInputRefusalTest,
    ::testing::Values(TRefusalCase{"NoDevice", false, false, true, "No MIDI Record Device", 0},
                      TRefusalCase{"PortSharing", true, true, true, "Midi Device Warning", 0},
                      TRefusalCase{"FailsToOpen", true, false, false, "Midi Device Warning", 1}),
    [](const ::testing::TestParamInfo<TRefusalCase>& info) {
      return std::string(info.param.name);
    });

TEST_F(MidiInputCommandTest, DisabledWhilePlaying) {
  host.playing = true;
  EXPECT_FALSE(view->Commands().IsEnabled(kCmdMidiInputActive));
  EXPECT_FALSE(view->ExecuteCommand(kCmdMidiInputActive));
  host.playing = false;
  EXPECT_TRUE(view->Commands().IsEnabled(kCmdMidiInputActive));
}

TEST(MidiInputNullDeviceTest, ProgramWithoutDeviceReportsNone) {
  TNullScoreEditHost host;
  TNullMidiInputDevice device;
  EXPECT_FALSE(device.HasInputDevice());
  EXPECT_FALSE(host.midiKeyboard.Device().HasInputDevice());
  EXPECT_FALSE(host.midiKeyboard.Activate());
}

}  // namespace
}  // namespace kvt
