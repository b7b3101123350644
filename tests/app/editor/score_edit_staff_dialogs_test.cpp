// The staff commands that ask a dialog, through the scripted dialog service: Transpose Staff
// (with the playback transposition checked by the score player), the respelling warning's
// stepping and placement, and Goto's range and selection.

#include <gtest/gtest.h>

#include <QPoint>
#include <QRect>
#include <QSize>
#include <string>
#include <utility>
#include <vector>

#include "app/editor/edit_dialogs.h"
#include "app/editor/staff_commands.h"
#include "app/editor/undo_snapshot.h"
#include "midi/events/midi_file_buf.h"
#include "midi/play/score_midi_player.h"
#include "tests/app/editor/staff_commands_fixture.h"

namespace kvt::test {
namespace {

using StaffDialogsTest = StaffCommandsFixture;

// The keys the score player sounds, in order.
std::vector<int> PlayedKeys(const TMusicScore& score) {
  TScoreMidiPlayer player;
  player.SetScore(&score);
  TMidiFileBuf buffer(16);
  player.BuildPlayBuffer(buffer);
  std::vector<int> keys;
  for (int i = 0; i < buffer.GetEventCount(); ++i)
    if (buffer.GetEvent(i).msg.IsNoteOn()) keys.push_back(buffer.GetEvent(i).msg.GetData1());
  return keys;
}

const std::string kMelody = StaffLine("Tune") +
                            "|Clef|Type:Treble\r\n|Key|Signature:C\r\n"
                            "|Note|Dur:4th|Pos:0\r\n|Note|Dur:4th|Pos:2\r\n|Bar\r\n"
                            "|Note|Dur:Half|Pos:#1\r\n";

TEST_F(StaffDialogsTest, TransposeWithPlaybackUpdateKeepsTheSound) {
  Open(kMelody);
  dialogs.MakeAvailable({TEditDialog::kTranspose});
  const std::vector<int> before = PlayedKeys(*score);
  ASSERT_EQ(before.size(), 3u);
  dialogs.transpose = {2, true, kKeyMinimize};
  const std::string text = Text();
  ASSERT_TRUE(Run(kCmdTransposeStaff));
  EXPECT_NE(Text(), text);  // the notes are written two semitones higher
  EXPECT_EQ(PlayedKeys(*score), before);
  EXPECT_EQ(undo.PeekUndo(0).kind, kUndoWholeStaff);
  ASSERT_TRUE(view->Undo());
  EXPECT_EQ(Text(), text);
  ASSERT_TRUE(view->Redo());
  EXPECT_EQ(PlayedKeys(*score), before);
}

TEST_F(StaffDialogsTest, TransposeWithoutPlaybackUpdateSoundsTransposed) {
  Open(kMelody);
  dialogs.MakeAvailable({TEditDialog::kTranspose});
  std::vector<int> expected = PlayedKeys(*score);
  for (int& key : expected) key -= 3;
  dialogs.transpose = {-3, false, kKeyFavorFlats};
  ASSERT_TRUE(Run(kCmdTransposeStaff));
  EXPECT_EQ(PlayedKeys(*score), expected);
}

TEST_F(StaffDialogsTest, TransposeIsLimitedToAnOctave) {
  Open(kMelody);
  dialogs.MakeAvailable({TEditDialog::kTranspose});
  std::vector<int> expected = PlayedKeys(*score);
  for (int& key : expected) key += 12;
  dialogs.transpose = {40, false, kKeyMinimize};
  ASSERT_TRUE(Run(kCmdTransposeStaff));
  EXPECT_EQ(PlayedKeys(*score), expected);
  EXPECT_EQ(dialogs.lastTranspose.semitones, 12);
}

TEST_F(StaffDialogsTest, TransposeKeepsTheChoiceAndCancelChangesNothing) {
  Open(kMelody);
  dialogs.MakeAvailable({TEditDialog::kTranspose});
  dialogs.transpose = {5, true, kKeyFavorSharps};
  ASSERT_TRUE(Run(kCmdTransposeStaff));
  dialogs.answerOk = false;
  const std::string text = Text();
  Run(kCmdTransposeStaff);
  ASSERT_EQ(dialogs.shownTranspose.size(), 2u);
  EXPECT_EQ(dialogs.shownTranspose[0], TTransposeChoice{});
  EXPECT_EQ(dialogs.shownTranspose[1], dialogs.transpose);  // offered again
  EXPECT_EQ(Text(), text);
  EXPECT_EQ(undo.Top(), 1);
}

// E sharp with F is a chord the respelling may spell wrongly; F with the F sharp an octave up
// is not. (Positions in the text count upward.)
const std::string kChords = StaffLine("Chords") +
                            "|Clef|Type:Treble\r\n"
                            "|Chord|Dur:4th|Pos:#-4,n-3\r\n"
                            "|Chord|Dur:4th|Pos:n-3,#4\r\n"
                            "|Chord|Dur:4th|Pos:#-4,n-3\r\n";

TEST_F(StaffDialogsTest, RespellWarningStepsThroughTheConflicts) {
  Open(kChords);
  dialogs.MakeAvailable({TEditDialog::kRespellWarning});
  std::vector<std::pair<int, int>> selections;
  std::vector<bool> hasNext;
  dialogs.onRespell = [&](TRespellWarnSteps& steps) {
    do {
      selections.push_back({view->Caret().SelectionStart(), view->Caret().SelectionEnd()});
      hasNext.push_back(steps.HasNext());
    } while (steps.ShowNext());
    return TRespellAnswer::kGotoEditor;
  };
  const std::string text = Text();
  Run(kCmdAuditSpelling);
  EXPECT_EQ(selections, (std::vector<std::pair<int, int>>{{2, 2}, {4, 4}}));
  EXPECT_EQ(hasNext, (std::vector<bool>{true, false}));
  // Going back to the editor leaves the last chord selected and nothing changed.
  EXPECT_EQ(view->Caret().SelectionStart(), 4);
  EXPECT_EQ(Text(), text);
  EXPECT_FALSE(undo.CanUndo());
}

TEST_F(StaffDialogsTest, RespellProceedsAfterTheWarningWithAWholeStaffEntry) {
  Open(kChords);
  dialogs.MakeAvailable({TEditDialog::kRespellWarning});
  view->SetCaretIndex(3, false);
  ASSERT_TRUE(Run(kCmdAuditSpelling));
  EXPECT_EQ(dialogs.respellRuns, 1);
  EXPECT_EQ(undo.PeekUndo(0).kind, kUndoWholeStaff);
  EXPECT_EQ(undo.PeekUndo(0).command, kCmdAuditSpelling);
  EXPECT_FALSE(view->HasSelection());
  EXPECT_EQ(view->Caret().caret, 3);
}

TEST_F(StaffDialogsTest, RespellWithoutConflictsAsksNothing) {
  Open(kMelody);
  dialogs.MakeAvailable({TEditDialog::kRespellWarning});
  ASSERT_TRUE(Run(kCmdAuditSpelling));
  EXPECT_EQ(dialogs.respellRuns, 0);
  EXPECT_TRUE(undo.CanUndo());
}

struct TPlaceCase {
  const char* name;
  QSize dialog;
  QRect caret;
  QPoint expected;
};

class RespellPlacementTest : public ::testing::TestWithParam<TPlaceCase> {};

TEST_P(RespellPlacementTest, CentredBesideTheCaretInsideTheScreen) {
  const QRect screen(0, 0, 1000, 800);
  const TPlaceCase& c = GetParam();
  EXPECT_EQ(PlaceRespellWarning(screen, c.dialog, c.caret), c.expected);
}

const TPlaceCase kPlaceCases[] = {
    // Upper half: below the caret; lower half: above it; centred across the screen.
    {"BelowInTheUpperHalf", QSize(300, 100), QRect(50, 200, 1, 20), QPoint(350, 220)},
    {"AboveInTheLowerHalf", QSize(300, 100), QRect(900, 600, 1, 20), QPoint(350, 500)},
    // The 10 pixel margins win over the caret.
    {"TallBelowStopsAtTheBottomMargin", QSize(300, 500), QRect(50, 380, 1, 10), QPoint(350, 290)},
    {"TallAboveStopsAtTheTopMargin", QSize(300, 500), QRect(50, 420, 1, 10), QPoint(350, 10)},
    {"WideStopsAtTheLeftMargin", QSize(995, 100), QRect(50, 200, 1, 20), QPoint(10, 220)},
};

INSTANTIATE_TEST_SUITE_P(Cases, RespellPlacementTest, ::testing::ValuesIn(kPlaceCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RespellPlacement, NeverLeavesTheScreen) {
  const QRect screen(100, 50, 600, 400);
  for (const QRect caret : {QRect(100, 50, 1, 1), QRect(699, 449, 1, 1), QRect(400, 60, 1, 10)}) {
    const QPoint at = PlaceRespellWarning(screen, QSize(500, 200), caret);
    EXPECT_GE(at.x(), 110);
    EXPECT_LE(at.x() + 500, 690);
    EXPECT_GE(at.y(), 60);
    EXPECT_LE(at.y() + 200, 440);
  }
}

// Four bars after a starting bar number of 10; the second bar line does not count.
const std::string kBars = StaffLine("Bars") +
                          "|Note|Dur:Whole|Pos:0\r\n|Bar\r\n"
                          "|Note|Dur:Whole|Pos:1\r\n|Bar|XBarCnt:Y\r\n"
                          "|Note|Dur:Whole|Pos:2\r\n|Bar\r\n"
                          "|Note|Dur:Whole|Pos:3\r\n";

TEST_F(StaffDialogsTest, GotoOffersTheBarRangeFromTheFirstBarNumber) {
  Open(kBars);
  score->SetStartingBar(10);
  dialogs.MakeAvailable({TEditDialog::kGoto});
  view->SetCaretIndex(6, false);  // in the third bar, numbered 11
  dialogs.gotoBar = 12;
  ASSERT_TRUE(Run(kCmdGoto));
  EXPECT_EQ(dialogs.shownGoto.firstBar, 10);
  EXPECT_EQ(dialogs.shownGoto.lastBar, 10 + 32002);
  EXPECT_EQ(dialogs.shownGoto.bar, 11);
  EXPECT_EQ(view->Caret().caret, 7);  // the first item after the counted bar line
  EXPECT_FALSE(view->HasSelection());
  EXPECT_FALSE(undo.CanUndo());
}

TEST_F(StaffDialogsTest, GotoMakesASelectionAndStaysInsideTheStaff) {
  Open(kBars);
  dialogs.MakeAvailable({TEditDialog::kGoto});
  view->SetCaretIndex(3, false);
  dialogs.gotoBar = 1;
  dialogs.gotoSelection = true;
  ASSERT_TRUE(Run(kCmdGoto));
  EXPECT_EQ(view->Caret().caret, 1);
  EXPECT_EQ(view->Caret().anchor, 3);
  dialogs.gotoSelection = false;
  dialogs.gotoBar = 900;  // past the staff's bars: its end
  ASSERT_TRUE(Run(kCmdGoto));
  EXPECT_EQ(view->Caret().caret, Staff(0).GetLastIndex());
  dialogs.answerOk = false;
  dialogs.gotoBar = 1;
  Run(kCmdGoto);
  EXPECT_EQ(view->Caret().caret, Staff(0).GetLastIndex());
}

}  // namespace
}  // namespace kvt::test
