// Note entry and the note tools of the editing view, run by command id on small staves: the
// staff's text after each command, then undone (as before) and redone (as after); the insertion
// state without a selection, the persistent-tools reset and the entered note's sound.

#include <gtest/gtest.h>

#include <string>

#include "app/editor/insertion_state.h"
#include "app/editor/note_entry_commands.h"
#include "app/editor/note_tool_commands.h"
#include "notation/items/rest_note.h"
#include "notation/items/song_note.h"
#include "tests/app/editor/edit_fixture.h"
#include "tools/command_enabler.h"
#include "tools/command_table.h"

namespace kvt::edit_test {
namespace {

// Items 1 clef, 2 quarter note, 3 eighth note, 4 half rest; index 5 is the closing bar line.
constexpr char kBase[] =
    "|Clef|Type:Treble\n|Note|Dur:4th|Pos:0\n|Note|Dur:8th|Pos:-2\n|Rest|Dur:Half\n";

struct TCommandRow {
  const char* name;
  const char* before;
  int caret, anchor, caretPos;
  int command;
  const char* after;
};

class EntryCommandTest : public EditFixture, public ::testing::WithParamInterface<TCommandRow> {};

TEST_P(EntryCommandTest, ChangesTheStaffAndUndoesAndRedoes) {
  const TCommandRow& row = GetParam();
  TScoreEdit& edit = Open(row.before, row.caret, row.anchor, row.caretPos);
  ASSERT_EQ(Text(), row.before);
  ASSERT_TRUE(edit.Commands().IsEnabled(row.command));
  EXPECT_TRUE(edit.ExecuteCommand(row.command));
  EXPECT_EQ(Text(), row.after);
  EXPECT_EQ(host.beeps, 0);
  ASSERT_TRUE(edit.Undo());
  EXPECT_EQ(Text(), row.before);
  ASSERT_TRUE(edit.Redo());
  EXPECT_EQ(Text(), row.after);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, EntryCommandTest,
    ::testing::Values(
        TCommandRow{"NoteAtTheCaretsPosition", kBase, 5, 5, -3, 128,
                    "|Clef|Type:Treble\n|Note|Dur:4th|Pos:0\n|Note|Dur:8th|Pos:-2\n"
                    "|Rest|Dur:Half\n|Note|Dur:4th|Pos:3\n"},
        TCommandRow{"Rest", kBase, 2, 2, 0, 129,
                    "|Clef|Type:Treble\n|Rest|Dur:4th\n|Note|Dur:4th|Pos:0\n|Note|Dur:8th|Pos:-2\n"
                    "|Rest|Dur:Half\n"},
        TCommandRow{"BarLine", kBase, 4, 4, 0, 131,
                    "|Clef|Type:Treble\n|Note|Dur:4th|Pos:0\n|Note|Dur:8th|Pos:-2\n|Bar\n"
                    "|Rest|Dur:Half\n"},
        TCommandRow{"ChordMemberJoinsTheNoteBeforeTheCaret", kBase, 3, 3, -4, 130,
                    "|Clef|Type:Treble\n|Chord|Dur:4th|Pos:0,4\n|Note|Dur:8th|Pos:-2\n"
                    "|Rest|Dur:Half\n"},
        TCommandRow{"RemoveChordNote", "|Chord|Dur:4th|Pos:0,4\n", 2, 2, -4, 212,
                    "|Note|Dur:4th|Pos:0\n"},
        TCommandRow{"DurationOnTheSelection", kBase, 2, 4, 0, 105,
                    "|Clef|Type:Treble\n|Note|Dur:16th|Pos:0\n|Note|Dur:16th|Pos:-2\n"
                    "|Rest|Dur:Half\n"},
        TCommandRow{"LongerOnTheSelection", kBase, 2, 4, 0, 108,
                    "|Clef|Type:Treble\n|Note|Dur:Half|Pos:0\n|Note|Dur:4th|Pos:-2\n"
                    "|Rest|Dur:Half\n"},
        TCommandRow{"ShorterOnTheSelection", kBase, 4, 2, 0, 109,
                    "|Clef|Type:Treble\n|Note|Dur:8th|Pos:0\n|Note|Dur:16th|Pos:-2\n"
                    "|Rest|Dur:Half\n"},
        TCommandRow{"SharpOnTheSelection", kBase, 2, 3, 0, 97,
                    "|Clef|Type:Treble\n|Note|Dur:4th|Pos:#0\n|Note|Dur:8th|Pos:-2\n"
                    "|Rest|Dur:Half\n"},
        TCommandRow{"StaccatoOnTheSelection", kBase, 2, 4, 0, 117,
                    "|Clef|Type:Treble\n|Note|Dur:4th,Staccato|Pos:0\n"
                    "|Note|Dur:8th,Staccato|Pos:-2\n|Rest|Dur:Half\n"},
        TCommandRow{"StaccatoTakenOffWhenOneHasIt",
                    "|Note|Dur:4th,Staccato|Pos:0\n|Note|Dur:4th|Pos:1\n", 1, 3, 0, 117,
                    "|Note|Dur:4th|Pos:0\n|Note|Dur:4th|Pos:1\n"},
        TCommandRow{"TieOnTheSelection", "|Note|Dur:4th|Pos:0\n|Note|Dur:4th|Pos:0\n", 1, 3, 0, 121,
                    "|Note|Dur:4th|Pos:0^\n|Note|Dur:4th|Pos:0\n"},
        TCommandRow{"BeamOnTheSelection", "|Note|Dur:8th|Pos:0\n|Note|Dur:8th|Pos:1\n", 1, 3, 0,
                    113,
                    "|Note|Dur:8th|Pos:0|Opts:Stem=Down,Beam=First\n"
                    "|Note|Dur:8th|Pos:1|Opts:Stem=Down,Beam=End\n"},
        TCommandRow{"BeamTakenOff",
                    "|Note|Dur:8th|Pos:0|Opts:Stem=Down,Beam=First\n"
                    "|Note|Dur:8th|Pos:1|Opts:Stem=Down,Beam=End\n", 1, 3, 0, 113,
                    // The stems the beam gave stay.
                    "|Note|Dur:8th|Pos:0|Opts:Stem=Down\n|Note|Dur:8th|Pos:1|Opts:Stem=Down\n"},
        TCommandRow{"StemUpOnTheSelection", kBase, 2, 3, 0, 111,
                    "|Clef|Type:Treble\n|Note|Dur:4th|Pos:0|Opts:Stem=Up\n"
                    "|Note|Dur:8th|Pos:-2\n|Rest|Dur:Half\n"},
        TCommandRow{"NoteHeadOnTheSelection", kBase, 2, 3, 0, 242,
                    "|Clef|Type:Treble\n|Note|Dur:4th|Pos:0x\n|Note|Dur:8th|Pos:-2\n"
                    "|Rest|Dur:Half\n"},
        TCommandRow{"ClearDeletesTheSelection", kBase, 2, 4, 0, 35,
                    "|Clef|Type:Treble\n|Rest|Dur:Half\n"}),
    [](const ::testing::TestParamInfo<TCommandRow>& info) { return std::string(info.param.name); });

using EntryTest = EditFixture;

TEST_F(EntryTest, NoteTakesTheInsertionStateAndSoundsBriefly) {
  TScoreEdit& edit = Open("|Clef|Type:Treble\n", 2, 2, 0);
  host.insertion.duration = kDurEighth;
  host.insertion.attributes = kMaskDotted | kMaskAccent;
  host.insertion.accidental = kInsertFlat;
  ASSERT_TRUE(edit.ExecuteCommand(128));
  EXPECT_EQ(Text(), "|Clef|Type:Treble\n|Note|Dur:8th,Dotted,Accent|Pos:b0\n");
  EXPECT_EQ(edit.Caret().caret, 3);
  ASSERT_EQ(host.playedNotes.calls.size(), 1u);
  // The middle line of the treble staff is B4; the flat makes it B flat.
  EXPECT_EQ(host.playedNotes.calls[0],
            (TNullEnteredNoteOutput::TCall{0, 0, 70, kEnteredNoteVelocity, kEnteredNoteMs}));
}

TEST_F(EntryTest, EnteredNotesAreSilentWhenTheOptionIsOff) {
  host.options.playAddedNotes = false;
  TScoreEdit& edit = Open("", 1);
  ASSERT_TRUE(edit.ExecuteCommand(128));
  EXPECT_TRUE(host.playedNotes.calls.empty());
}

struct TMaskRow {
  const char* name;
  int mask;
  TInsertionState want;
};

class PersistentToolsTest : public EditFixture, public ::testing::WithParamInterface<TMaskRow> {};

// Every tool set before an entry; the mask decides what stays.
TEST_P(PersistentToolsTest, EntryResetsWhatTheMaskDoesNotKeep) {
  host.options.persistentNoteTools = GetParam().mask;
  TScoreEdit& edit = Open("", 1);
  host.insertion = {5,
                    3,
                    kDurHalf,
                    static_cast<uint16_t>(kMaskAccent | kMaskDotted | kMaskSlur | kMaskTieOut |
                                          kMaskGrace | kMaskCrescendo),
                    kInsertSharp,
                    kStemUp,
                    false};
  ASSERT_TRUE(edit.ExecuteCommand(129));
  EXPECT_EQ(host.insertion, GetParam().want);
}

INSTANTIATE_TEST_SUITE_P(
    Masks, PersistentToolsTest,
    ::testing::Values(
        TMaskRow{"NothingKept", 0, {0, 0, kDurHalf, 0, kInsertNoAccidental, kStemAuto, false}},
        TMaskRow{"EverythingKept",
                 0x3FF,
                 {5, 3, kDurHalf,
                  static_cast<uint16_t>(kMaskAccent | kMaskDotted | kMaskSlur | kMaskTieOut |
                                        kMaskGrace | kMaskCrescendo),
                  kInsertSharp, kStemUp, false}},
        TMaskRow{"TheDefaultKeepsColourHeadSlurStemGraceHairpin",
                 952,
                 {5, 3, kDurHalf, static_cast<uint16_t>(kMaskSlur | kMaskGrace | kMaskCrescendo),
                  kInsertNoAccidental, kStemUp, false}},
        TMaskRow{"AccidentalAndDotsOnly",
                 (1 << kKeepAccidental) | (1 << kKeepDots),
                 {0, 0, kDurHalf, kMaskDotted, kInsertSharp, kStemAuto, false}}),
    [](const ::testing::TestParamInfo<TMaskRow>& info) { return std::string(info.param.name); });

TEST_F(EntryTest, ChordMemberWithoutANoteBeforeTheCaretBeepsAndLeavesNoEntry) {
  TScoreEdit& edit = Open("|Clef|Type:Treble\n", 2, 2, 3);
  EXPECT_TRUE(edit.ExecuteCommand(130));
  EXPECT_EQ(host.beeps, 1);
  EXPECT_FALSE(undo.CanUndo());
  EXPECT_EQ(Text(), "|Clef|Type:Treble\n");
}

TEST_F(EntryTest, RemoveChordNoteFromALoneNoteBeeps) {
  TScoreEdit& edit = Open("|Note|Dur:4th|Pos:0\n", 2, 2, 0);
  EXPECT_TRUE(edit.ExecuteCommand(212));
  EXPECT_EQ(host.beeps, 1);
  EXPECT_FALSE(undo.CanUndo());
}

TEST_F(EntryTest, SelectionEditThatCannotActBeepsAndKeepsTheRedo) {
  TScoreEdit& edit = Open("|Note|Dur:4th|Pos:0\n|Note|Dur:4th|Pos:1\n", 1, 3);
  ASSERT_TRUE(edit.ExecuteCommand(117));
  ASSERT_TRUE(edit.Undo());
  ASSERT_TRUE(undo.CanRedo());
  const int top = undo.Top();
  // Notes of two pitches have nothing to tie to.
  EXPECT_TRUE(edit.ExecuteCommand(121));
  EXPECT_EQ(host.beeps, 1);
  EXPECT_EQ(undo.Top(), top);
  EXPECT_TRUE(undo.CanRedo());
  EXPECT_EQ(Text(), "|Note|Dur:4th|Pos:0\n|Note|Dur:4th|Pos:1\n");
}

TEST_F(EntryTest, FullStaffReportsAndLeavesNoEntry) {
  TScoreEdit& edit = Open("|Note|Dur:4th|Pos:0\n", 2);
  ASSERT_TRUE(edit.ExecuteCommand(129));
  ASSERT_TRUE(edit.Undo());
  ASSERT_TRUE(undo.CanRedo());
  const int top = undo.Top();
  TMusicStaff& staff = Staff();
  // Full below the free count's room: the insertion must not reach the staff's precondition.
  while (!staff.IsFull())
    staff.InsertItem(std::make_unique<TRestNote>(kDurQuarter, 0), staff.GetLastIndex());
  edit.RelayoutShown();
  const std::string before = Text();
  EXPECT_TRUE(edit.ExecuteCommand(128));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0], "Staff Capacity Test");
  EXPECT_EQ(undo.Top(), top);
  EXPECT_TRUE(undo.CanRedo());
  EXPECT_EQ(Text(), before);
}

TEST_F(EntryTest, LastItemBeforeTheStaffIsFullGoesIn) {
  TScoreEdit& edit = Open("", 1);
  TMusicStaff& staff = Staff();
  while (staff.GetItemCount() < kStaffFullCount)
    staff.InsertItem(std::make_unique<TRestNote>(kDurQuarter, 0), staff.GetLastIndex());
  edit.RelayoutShown();
  EXPECT_TRUE(edit.ExecuteCommand(131));
  EXPECT_TRUE(host.messages.empty());
  EXPECT_TRUE(staff.IsFull());
  EXPECT_TRUE(edit.ExecuteCommand(131));
  EXPECT_EQ(host.messages, std::vector<std::string>{"Staff Capacity Test"});
}

// --- the insertion state without a selection ---

struct TDurationStep {
  int from, command, to;
};

class DurationStepTest : public EditFixture, public ::testing::WithParamInterface<TDurationStep> {};

TEST_P(DurationStepTest, StepsAndWraps) {
  TScoreEdit& edit = Open("", 1);
  host.insertion.duration = GetParam().from;
  ASSERT_TRUE(edit.ExecuteCommand(GetParam().command));
  EXPECT_EQ(host.insertion.duration, GetParam().to);
  EXPECT_FALSE(undo.CanUndo());
}

INSTANTIATE_TEST_SUITE_P(Steps, DurationStepTest,
                         ::testing::Values(TDurationStep{kDurWhole, 108, kDur64th},
                                           TDurationStep{kDur64th, 109, kDurWhole},
                                           TDurationStep{kDurQuarter, 108, kDurHalf},
                                           TDurationStep{kDurQuarter, 109, kDurEighth}));

struct TToggleRow {
  const char* name;
  uint16_t before;
  int bit;
  uint16_t after;
};

class AttributeToggleTest : public ::testing::TestWithParam<TToggleRow> {};

TEST_P(AttributeToggleTest, Exclusions) {
  EXPECT_EQ(ToggleInsertionAttribute(GetParam().before, GetParam().bit), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, AttributeToggleTest,
    ::testing::Values(
        TToggleRow{"AccentClearsMarcato", kMaskMarcato, kFlagAccent, kMaskAccent},
        TToggleRow{"MarcatoClearsAccent", kMaskAccent, kFlagMarcato, kMaskMarcato},
        TToggleRow{"DotClearsDoubleDot", kMaskDblDotted, kFlagDotted, kMaskDotted},
        TToggleRow{"DoubleDotClearsDot", kMaskDotted, kFlagDblDotted, kMaskDblDotted},
        TToggleRow{"StaccatoClearsStaccatissimo", kMaskStaccatissimo, kFlagStaccato, kMaskStaccato},
        TToggleRow{"CrescendoClearsDiminuendo", kMaskDiminuendo, kFlagCrescendo, kMaskCrescendo},
        TToggleRow{"MarkBClearsMarkA", kMaskMarkA, kFlagMarkB, kMaskMarkB},
        TToggleRow{"AccentWithStaccatoClearsTenuto", kMaskStaccato | kMaskTenuto, kFlagAccent,
                   kMaskAccent | kMaskStaccato},
        TToggleRow{"StaccatissimoWithMarcatoClearsTenuto", kMaskMarcato | kMaskTenuto,
                   kFlagStaccatissimo, kMaskMarcato | kMaskStaccatissimo},
        TToggleRow{"TenutoWithAccentClearsStaccato", kMaskAccent | kMaskStaccato, kFlagTenuto,
                   kMaskAccent | kMaskTenuto},
        TToggleRow{"TenutoWithoutAccentKeepsStaccato", kMaskStaccato, kFlagTenuto,
                   kMaskStaccato | kMaskTenuto},
        TToggleRow{"ASetBitIsCleared", kMaskAccent | kMaskSlur, kFlagSlur, kMaskAccent}),
    [](const ::testing::TestParamInfo<TToggleRow>& info) { return std::string(info.param.name); });

TEST_F(EntryTest, AttributeCommandsToggleTheInsertionState) {
  TScoreEdit& edit = Open("", 1);
  host.insertion.attributes = kMaskMarcato;
  ASSERT_TRUE(edit.ExecuteCommand(116));
  EXPECT_EQ(host.insertion.attributes, kMaskAccent);
  ASSERT_TRUE(edit.ExecuteCommand(116));
  EXPECT_EQ(host.insertion.attributes, 0);
  EXPECT_FALSE(undo.CanUndo());
}

TEST_F(EntryTest, DotKeyStepsToTheDoubleDotOnlyWithPairedButtons) {
  TScoreEdit& edit = Open("", 1);
  ASSERT_TRUE(edit.ExecuteCommand(14));
  EXPECT_EQ(host.insertion.attributes, kMaskDotted);
  ASSERT_TRUE(edit.ExecuteCommand(14));
  EXPECT_EQ(host.insertion.attributes, 0);
  host.options.dotButtonsPaired = true;
  ASSERT_TRUE(edit.ExecuteCommand(14));
  EXPECT_EQ(host.insertion.attributes, kMaskDotted);
  ASSERT_TRUE(edit.ExecuteCommand(14));
  EXPECT_EQ(host.insertion.attributes, kMaskDblDotted);
  ASSERT_TRUE(edit.ExecuteCommand(14));
  EXPECT_EQ(host.insertion.attributes, 0);
}

TEST_F(EntryTest, ToolsWithoutSelectionSetTheInsertionState) {
  TScoreEdit& edit = Open("", 1, 1, 4);
  ASSERT_TRUE(edit.ExecuteCommand(104));
  ASSERT_TRUE(edit.ExecuteCommand(98));
  ASSERT_TRUE(edit.ExecuteCommand(245));
  ASSERT_TRUE(edit.ExecuteCommand(112));
  EXPECT_EQ(host.insertion.duration, kDurEighth);
  EXPECT_EQ(host.insertion.accidental, kInsertFlat);
  EXPECT_EQ(host.insertion.noteHead, 4);
  EXPECT_EQ(host.insertion.stem, kStemDown);
  ASSERT_TRUE(edit.ExecuteCommand(240));  // the cycle of the first four heads wraps
  EXPECT_EQ(host.insertion.noteHead, 0);
  ASSERT_TRUE(edit.ExecuteCommand(110));
  EXPECT_EQ(host.insertion, TInsertionState{});
  EXPECT_EQ(edit.Caret().caretPos, 0);
  EXPECT_FALSE(undo.CanUndo());
}

TEST_F(EntryTest, ColourChooserSetsTheCurrentColourAndColoursTheSelection) {
  TScoreEdit& edit = Open("|Note|Dur:4th|Pos:0\n", 1, 2);
  host.colorAnswer = 3;
  ASSERT_TRUE(edit.ExecuteCommand(289));
  EXPECT_EQ(host.insertion.color, 3);
  EXPECT_EQ(Text(), "|Note|Dur:4th|Pos:0|Color:3\n");
  ASSERT_TRUE(edit.Undo());
  EXPECT_EQ(Text(), "|Note|Dur:4th|Pos:0\n");
  host.colorAnswer = -1;  // cancelled: nothing changes
  ASSERT_TRUE(edit.ExecuteCommand(289));
  EXPECT_EQ(host.insertion.color, 3);
  EXPECT_EQ(Text(), "|Note|Dur:4th|Pos:0\n");
}

// --- enablers ---

TCommandEnabler Enabler(TScoreEdit& edit, int id) {
  TCommandEnabler enabler(id);
  edit.EnableCommand(enabler);
  return enabler;
}

TEST_F(EntryTest, EntryCommandsNeedNoSelection) {
  TScoreEdit& edit = Open(kBase, 2, 3);
  for (const int id : {128, 129, 130, 131, 159, 212})
    EXPECT_FALSE(Enabler(edit, id).enabled.value_or(true)) << id;
  EXPECT_TRUE(Enabler(edit, 35).enabled.value_or(false));
  edit.SetCaretIndex(2, false);
  for (const int id : {128, 129, 130, 131, 159, 212})
    EXPECT_TRUE(Enabler(edit, id).enabled.value_or(false)) << id;
  EXPECT_FALSE(Enabler(edit, 35).enabled.value_or(true));
  edit.SetActive(false);
  EXPECT_FALSE(Enabler(edit, 128).enabled.value_or(true));
}

TEST_F(EntryTest, ToolsAreCheckedFromTheInsertionStateOrTheSelection) {
  TScoreEdit& edit = Open(kBase, 2);
  host.insertion.duration = kDurHalf;
  EXPECT_EQ(Enabler(edit, 102).check, kChecked);
  EXPECT_EQ(Enabler(edit, 103).check, kUnchecked);
  EXPECT_FALSE(Enabler(edit, 113).enabled.value_or(true));  // beams need a selection
  edit.SetCaretIndex(3, true);                              // the quarter note
  edit.RefreshSelectionSummary();
  EXPECT_EQ(Enabler(edit, 103).check, kChecked);
  EXPECT_EQ(Enabler(edit, 102).check, kUnchecked);
  EXPECT_TRUE(Enabler(edit, 116).enabled.value_or(false));
  edit.SetCaretIndex(1, false);
  edit.SetCaretIndex(2, true);  // the clef
  edit.RefreshSelectionSummary();
  for (const int id : {101, 97, 116, 241, 111})
    EXPECT_FALSE(Enabler(edit, id).enabled.value_or(true)) << id;
}

TEST_F(EntryTest, SelectorsPopUpTheirTools) {
  TScoreEdit& edit = Open(kBase, 2);
  ASSERT_TRUE(edit.ExecuteCommand(85));
  ASSERT_EQ(host.popups.size(), 1u);
  EXPECT_EQ(host.popups[0], (std::vector<int>{101, 102, 103, 104, 105, 106, 107}));
  edit.SetCaretIndex(1, true);  // the clef offers no accidentals
  edit.RefreshSelectionSummary();
  EXPECT_FALSE(edit.ExecuteCommand(84));
}

TEST_F(EntryTest, SelectAllSelectsTheWholeStaff) {
  TScoreEdit& edit = Open(kBase, 3);
  ASSERT_TRUE(edit.ExecuteCommand(39));
  EXPECT_EQ(edit.Caret().caret, 1);
  EXPECT_EQ(edit.Caret().anchor, 5);
}

}  // namespace
}  // namespace kvt::edit_test
