// The staff commands by id on small score texts: each row undone and redone, the enablers,
// "Full Song", the active staff after a delete and the shown-staves bits through deletes,
// inserts and moves.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/editor/staff_commands.h"
#include "app/editor/undo_snapshot.h"
#include "notation/items/notated_item.h"
#include "tests/app/editor/staff_commands_fixture.h"

namespace kvt::test {
namespace {

const std::string kThreeStaves = StaffLine("A", "Strings") +
                                 "|StaffProperties|Device:2|Channel:3\r\n"
                                 "|TimeSig|Signature:4/4\r\n"
                                 "|Note|Dur:8th|Pos:0\r\n|Note|Dur:8th|Pos:1\r\n"
                                 "|Note|Dur:8th|Pos:2\r\n|Note|Dur:8th|Pos:3\r\n"
                                 "|Note|Dur:4th|Pos:1\r\n|Note|Dur:4th|Pos:1\r\n"
                                 "|Note|Dur:4th|Pos:#1\r\n|Note|Dur:4th|Pos:#1\r\n" +
                                 StaffLine("B", "Winds") + "|Note|Dur:Half|Pos:1\r\n" +
                                 StaffLine("C", "Strings") + "|Rest|Dur:4th\r\n";

using StaffCommandsTest = StaffCommandsFixture;

struct TRowCase {
  const char* name;
  int command;
  int activeStaff;
  // Checked on the score after the command.
  void (*check)(const TMusicScore& score);
};

class StaffCommandRowTest : public StaffCommandsFixture,
                            public ::testing::WithParamInterface<TRowCase> {};

TEST_P(StaffCommandRowTest, ChangesTheScoreAndUndoesAndRedoes) {
  const TRowCase& c = GetParam();
  Open(kThreeStaves);
  view->ShowStaff(c.activeStaff);
  ASSERT_TRUE(Enabled(c.command));
  const std::string before = Text();
  ASSERT_TRUE(Run(c.command));
  c.check(*score);
  const std::string after = Text();
  EXPECT_NE(after, before);
  ASSERT_TRUE(view->Undo());
  EXPECT_EQ(Text(), before);
  ASSERT_TRUE(view->Redo());
  EXPECT_EQ(Text(), after);
  c.check(*score);
}

std::string NamesOf(const TMusicScore& score) {
  std::string out;
  for (int i = 0; i < score.GetStaffCount(); ++i)
    for (char16_t ch : std::u16string(score.GetStaff(i)->GetName())) out += static_cast<char>(ch);
  return out;
}

const TRowCase kRows[] = {
    {"NewStaff", kCmdNewStaff, 0,
     [](const TMusicScore& s) { EXPECT_EQ(NamesOf(s), "ABCStaff-1"); }},
    {"DeleteStaff", kCmdDeleteStaff, 1, [](const TMusicScore& s) { EXPECT_EQ(NamesOf(s), "AC"); }},
    {"MoveStaffDown", kCmdMoveStaffDown, 0,
     [](const TMusicScore& s) { EXPECT_EQ(NamesOf(s), "BAC"); }},
    {"MoveStaffUp", kCmdMoveStaffUp, 2, [](const TMusicScore& s) { EXPECT_EQ(NamesOf(s), "ACB"); }},
    {"Mute", kCmdMuteStaff, 1, [](const TMusicScore& s) { EXPECT_TRUE(s.GetStaff(1)->IsMuted()); }},
    {"Bracket", kCmdBracketWithNext, 0,
     [](const TMusicScore& s) { EXPECT_EQ(s.GetStaff(0)->GetConnectionBits(), 1); }},
    {"Brace", kCmdBraceWithNext, 0,
     [](const TMusicScore& s) { EXPECT_EQ(s.GetStaff(0)->GetConnectionBits(), 2); }},
    {"ConnectBars", kCmdConnectBars, 1,
     [](const TMusicScore& s) { EXPECT_EQ(s.GetStaff(1)->GetConnectionBits(), 4); }},
    {"Layer", kCmdLayerWithNext, 1,
     [](const TMusicScore& s) { EXPECT_EQ(s.GetStaff(1)->GetConnectionBits(), 8); }},
    {"AutoBeam", kCmdAutoBeam, 0, [](const TMusicScore&) {}},
    {"ForceAccidentals", kCmdForceAccidentals, 0, [](const TMusicScore&) {}},
    {"AuditBarLines", kCmdAuditBarLines, 0,
     [](const TMusicScore& s) { EXPECT_EQ(s.GetStaff(0)->FindBarByNumber(1), 8); }},
    {"AuditAccidentals", kCmdAuditAccidentals, 0, [](const TMusicScore&) {}},
};

INSTANTIATE_TEST_SUITE_P(Commands, StaffCommandRowTest, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(StaffCommandsTest, EnablersFollowTheStaffAndTheSelection) {
  Open(kThreeStaves);
  // Commands whose dialogs the null service lacks stay disabled.
  for (int id : {kCmdGoto, kCmdTransposeStaff, kCmdAuditSpelling, kCmdMoveStaff, 145, 156, 166, 256,
                 17, 26, 37, 51, 219})
    EXPECT_FALSE(Enabled(id)) << id;
  for (int id : {kCmdNewStaff, kCmdDeleteStaff, kCmdMoveStaffUp, kCmdMuteStaff, kCmdAutoBeam,
                 kCmdAuditStems, kCmdReaudit, kCmdBracketWithNext})
    EXPECT_TRUE(Enabled(id)) << id;
  dialogs.MakeAvailable({TEditDialog::kGoto, TEditDialog::kTranspose, TEditDialog::kMoveStaff,
                         TEditDialog::kItemProperties});
  for (int id : {kCmdGoto, kCmdTransposeStaff, kCmdMoveStaff, 145, 156})
    EXPECT_TRUE(Enabled(id)) << id;
  EXPECT_FALSE(Enabled(166));  // the user-object dialog is another one

  view->SetCaretIndex(3, true);
  ASSERT_TRUE(view->HasSelection());
  for (int id : {kCmdMuteStaff, kCmdAutoBeam, kCmdTransposeStaff, 145})
    EXPECT_FALSE(Enabled(id)) << id;
  for (int id : {kCmdAuditStems, kCmdNewStaff, kCmdBracketWithNext}) EXPECT_TRUE(Enabled(id)) << id;

  // The last shown staff has no next staff to connect with.
  view->ShowStaff(2);
  EXPECT_FALSE(Enabled(kCmdBracketWithNext));
  EXPECT_FALSE(Enabled(kCmdLayerWithNext));
  view->SetActive(false);
  EXPECT_FALSE(Enabled(kCmdNewStaff));
}

TEST_F(StaffCommandsTest, ChecksShowTheActiveStaffsFlags) {
  Open(kThreeStaves);
  EXPECT_EQ(Checked(kCmdMuteStaff), kUnchecked);
  EXPECT_EQ(Checked(kCmdBraceWithNext), kUnchecked);
  ASSERT_TRUE(Run(kCmdMuteStaff));
  ASSERT_TRUE(Run(kCmdBraceWithNext));
  EXPECT_EQ(Checked(kCmdMuteStaff), kChecked);
  EXPECT_EQ(Checked(kCmdBraceWithNext), kChecked);
  EXPECT_EQ(Checked(kCmdBracketWithNext), kUnchecked);
  ASSERT_TRUE(Run(kCmdMuteStaff));
  EXPECT_EQ(Checked(kCmdMuteStaff), kUnchecked);
}

TEST_F(StaffCommandsTest, DeleteAndMoveNeedTwoStaves) {
  Open(StaffLine("Solo") + "|Note|Dur:4th|Pos:0\r\n");
  EXPECT_FALSE(Enabled(kCmdDeleteStaff));
  EXPECT_FALSE(Enabled(kCmdMoveStaffDown));
  Run(kCmdDeleteStaff);
  EXPECT_EQ(score->GetStaffCount(), 1);
  EXPECT_FALSE(undo.CanUndo());
}

TEST_F(StaffCommandsTest, NewStaffTakesTheNextNameGroupDeviceAndChannel) {
  Open(kThreeStaves + StaffLine("Staff-1", "Strings") + "|StaffProperties|Device:2|Channel:3\r\n");
  view->ShowStaff(1);
  ASSERT_TRUE(Run(kCmdNewStaff));
  ASSERT_EQ(score->GetStaffCount(), 5);
  const TMusicStaff& added = Staff(4);
  EXPECT_EQ(std::u16string(added.GetName()), u"Staff-2");
  EXPECT_EQ(std::u16string(added.GetGroup()), u"Winds");  // the active staff's group
  EXPECT_EQ(added.GetDevice(), Staff(3).GetDevice());     // the last staff's device
  EXPECT_NE(added.GetDevice(), 0);
  // The channel after the last staff's, which A and the last staff use on that device.
  EXPECT_EQ(added.GetChannel(), (Staff(3).GetChannel() + 1) % 16);
  EXPECT_EQ(added.GetBoundaryTop(), -10);
  EXPECT_EQ(added.GetBoundaryBottom(), 10);
  EXPECT_EQ(view->ActiveScoreStaff(), 4);
  EXPECT_TRUE(score->IsStaffIncluded(4));
}

TEST_F(StaffCommandsTest, NewStaffOnAFullSongSaysSoAndChangesNothing) {
  Open(kThreeStaves);
  while (score->GetStaffCount() < TMusicScore::MaxScoreStaffs)
    score->AddStaff(std::make_unique<TMusicStaff>());
  const std::string before = Text();
  EXPECT_TRUE(Enabled(kCmdNewStaff));
  Run(kCmdNewStaff);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0], "Full Song");
  EXPECT_EQ(Text(), before);
  EXPECT_FALSE(undo.CanUndo());
}

TEST_F(StaffCommandsTest, DeletingMakesTheStaffNowAtItsIndexActive) {
  Open(kThreeStaves);
  view->ShowStaff(1);
  ASSERT_TRUE(Run(kCmdDeleteStaff));
  EXPECT_EQ(Names(), "A C");
  EXPECT_EQ(view->ActiveScoreStaff(), 1);
  // The last staff: the new last staff becomes active.
  ASSERT_TRUE(Run(kCmdDeleteStaff));
  EXPECT_EQ(Names(), "A");
  EXPECT_EQ(view->ActiveScoreStaff(), 0);
  ASSERT_TRUE(view->Undo());
  EXPECT_EQ(Names(), "A C");
  EXPECT_EQ(view->ActiveScoreStaff(), 1);
}

TEST_F(StaffCommandsTest, MovingPastTheEndBeepsWithoutAnUndoEntry) {
  Open(kThreeStaves);
  Run(kCmdMoveStaffUp);
  EXPECT_EQ(host.beeps, 1);
  EXPECT_FALSE(undo.CanUndo());
  view->ShowStaff(2);
  Run(kCmdMoveStaffDown);
  EXPECT_EQ(host.beeps, 2);
  EXPECT_FALSE(undo.CanUndo());
  EXPECT_EQ(Names(), "A B C");
}

// Staff B hidden: the shown bits stay with their staves through every staff edit and its undo
// and redo.
TEST_F(StaffCommandsTest, ShownStavesFollowDeletesInsertsAndMoves) {
  Open(kThreeStaves + StaffLine("D") + "|Rest|Dur:4th\r\n");
  score->SetStaffIncluded(1, false);
  view->RelayoutShown();
  ASSERT_EQ(Shown(), "1011");

  // Move A down past hidden B: it goes to C's place.
  view->ShowStaff(0);
  ASSERT_TRUE(Run(kCmdMoveStaffDown));
  EXPECT_EQ(Names(), "B C A D");
  EXPECT_EQ(Shown(), "0111");
  EXPECT_EQ(view->ActiveScoreStaff(), 2);
  ASSERT_TRUE(view->Undo());
  EXPECT_EQ(Names(), "A B C D");
  EXPECT_EQ(Shown(), "1011");
  ASSERT_TRUE(view->Redo());
  EXPECT_EQ(Shown(), "0111");
  ASSERT_TRUE(view->Undo());

  // Delete C: D, now at its index, becomes active; hidden B stays hidden.
  view->ShowStaff(2);
  ASSERT_TRUE(Run(kCmdDeleteStaff));
  EXPECT_EQ(Names(), "A B D");
  EXPECT_EQ(Shown(), "101");
  EXPECT_EQ(view->ActiveScoreStaff(), 2);
  ASSERT_TRUE(view->Undo());
  EXPECT_EQ(Names(), "A B C D");
  EXPECT_EQ(Shown(), "1011");
  ASSERT_TRUE(view->Redo());
  EXPECT_EQ(Shown(), "101");
  ASSERT_TRUE(view->Undo());

  // Delete A: the shown staff now in its place (C) becomes active; B stays hidden.
  view->ShowStaff(0);
  ASSERT_TRUE(Run(kCmdDeleteStaff));
  EXPECT_EQ(Names(), "B C D");
  EXPECT_EQ(Shown(), "011");
  EXPECT_EQ(view->ActiveScoreStaff(), 1);
  ASSERT_TRUE(view->Undo());
  EXPECT_EQ(Shown(), "1011");
  ASSERT_TRUE(view->Redo());
  EXPECT_EQ(Shown(), "011");
  ASSERT_TRUE(view->Undo());

  ASSERT_TRUE(Run(kCmdNewStaff));
  EXPECT_EQ(Shown(), "10111");
  ASSERT_TRUE(view->Undo());
  EXPECT_EQ(Shown(), "1011");
  ASSERT_TRUE(view->Redo());
  EXPECT_EQ(Shown(), "10111");
}

TEST_F(StaffCommandsTest, AuditBarLinesKeepsTheCaretsTime) {
  Open(kThreeStaves);
  view->SetCaretIndex(7, false);  // after the four eighths and a quarter: 576 ticks
  const int64_t slot = view->HScrollSlot();
  ASSERT_EQ(Staff(0).GetDurationBetween(7, 0, 0), 576);
  ASSERT_TRUE(Run(kCmdAuditBarLines));
  ASSERT_NE(Staff(0).GetItem(8)->GetType(), kItemNote);  // the new bar line stands before
  EXPECT_EQ(Staff(0).GetDurationBetween(view->Caret().caret, 0, 0), 576);
  EXPECT_EQ(view->HScrollSlot(), slot);
  EXPECT_EQ(undo.PeekUndo(0).kind, kUndoWholeStaff);
}

TEST_F(StaffCommandsTest, ReauditWritesNoUndoEntry) {
  Open(kThreeStaves);
  const std::string before = Text();
  ASSERT_TRUE(Run(kCmdReaudit));
  EXPECT_EQ(Text(), before);
  EXPECT_FALSE(undo.CanUndo());
}

TEST_F(StaffCommandsTest, AuditStemsSelectsTheWholeStaffWithoutASelection) {
  Open(kThreeStaves);
  ASSERT_TRUE(Run(kCmdAuditStems));
  EXPECT_EQ(view->Caret().SelectionStart(), 1);
  EXPECT_EQ(view->Caret().SelectionEnd(), Staff(0).GetLastIndex() - 1);
  EXPECT_EQ(undo.PeekUndo(0).kind, kUndoItems);
  EXPECT_EQ(undo.PeekUndo(0).command, kCmdAuditStems);
  // With a selection it stays.
  view->SetCaretIndex(2, false);
  view->SetCaretIndex(4, true);
  ASSERT_TRUE(Run(kCmdAuditStems));
  EXPECT_EQ(view->Caret().SelectionStart(), 2);
  EXPECT_EQ(view->Caret().SelectionEnd(), 3);
}

}  // namespace
}  // namespace kvt::test
