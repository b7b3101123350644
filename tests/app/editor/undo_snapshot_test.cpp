// Undo snapshots of every kind: an edit made after SaveUndoState is taken back by Undo and made
// again by Redo, compared as whole score texts; entries that no longer fit change nothing.

#include "app/editor/undo_snapshot.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "app/editor/undo_action_mgr.h"
#include "notation/edits/staff_edits.h"
#include "notation/files/text/score_text_writer.h"
#include "notation/items/item_cast.h"
#include "notation/items/music_note.h"
#include "notation/items/staff_spacer.h"
#include "notation/services/services.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "notation/staff/staff_lyrics.h"
#include "notation/staff/staff_range.h"
#include "tests/app/example_score.h"
#include "utils/bool_array.h"
#include "utils/flat_ram_stream.h"

namespace kvt {
namespace {

std::string ScoreText(const TMusicScore& score) {
  TKRVFlatRamStream out(0, 64 * 1024);
  WriteScoreText(out, score);
  std::string text(static_cast<size_t>(out.Size()), '\0');
  out.Rewind();
  out.Read(text.data(), static_cast<int>(text.size()));
  return text;
}

// The first note at or after index i.
int NoteFrom(const TMusicStaff& staff, int i) {
  for (; i < staff.GetLastIndex(); ++i)
    if (ItemAs<TMusicNote>(staff.GetItem(i))) return i;
  return -1;
}

struct TSnapshotCase {
  const char* name;
  int kind;
  int command;
  int extra;
  TEditorCaret at;  // staff -1: the right hand's staff with the caret on its first note
  // The edit; answers the index of an added staff (or -1).
  std::function<int(TMusicScore&, TMusicStaff&, const TEditorCaret&)> edit;
};

class UndoSnapshotTest : public ::testing::TestWithParam<TSnapshotCase> {
protected:
  void SetUp() override { score = example::MakeExampleScore(); }
  std::unique_ptr<TMusicScore> score;
  TUndoActionMgr undo{10, 1000};
};

TEST_P(UndoSnapshotTest, UndoRestoresAndRedoRepeats) {
  const TSnapshotCase& c = GetParam();
  TEditorCaret at = c.at;
  if (at.staff < 0) {
    at.staff = 1;
    at.caret = at.anchor = NoteFrom(*score->GetStaff(1), 1);
  }
  const std::string before = ScoreText(*score);
  TScoreUndo undoer(*score, undo);
  ASSERT_TRUE(undoer.SaveUndoState(c.kind, c.command, c.extra, at));
  const int added = c.edit(*score, *score->GetStaff(at.staff), at);
  undoer.EndUndoState(added);
  const std::string after = ScoreText(*score);
  ASSERT_NE(before, after) << "the edit changed nothing";

  TUndoApplyResult result = undoer.Undo(at);
  ASSERT_TRUE(result.applied);
  EXPECT_EQ(ScoreText(*score), before);
  result = undoer.Redo(at);
  ASSERT_TRUE(result.applied);
  EXPECT_EQ(ScoreText(*score), after);
  ASSERT_TRUE(undoer.Undo(at).applied);
  EXPECT_EQ(ScoreText(*score), before);
}

TMusicNote& NoteAt(TMusicStaff& staff, int i) { return *ItemAs<TMusicNote>(staff.GetItem(i)); }

INSTANTIATE_TEST_SUITE_P(
    Kinds, UndoSnapshotTest,
    ::testing::Values(
        TSnapshotCase{"ItemChangedInPlace",
                      kUndoItems,
                      130,
                      0,
                      {-1},
                      [](TMusicScore&, TMusicStaff& staff, const TEditorCaret& at) {
                        NoteAt(staff, at.caret).MoveStaffPos(3);
                        return -1;
                      }},
        // Clear with a selection: the caller announces nothing, the staff's length tells.
        TSnapshotCase{
            "SelectionCleared",
            kUndoItems,
            35,
            0,
            {-1},
            [](TMusicScore&, TMusicStaff& staff, const TEditorCaret& at) {
              TStaffRange(&staff, at.SelectionStart(), at.SelectionEnd()).DeleteAndAudit();
              return -1;
            }},
        TSnapshotCase{
            "ItemsInserted",
            kUndoItems,
            34,
            0,
            {-1},
            [](TMusicScore&, TMusicStaff& staff, const TEditorCaret& at) {
              staff.InsertItemAndAudit(std::make_unique<TMusicNote>(2, 3, 0, 0), at.caret);
              staff.InsertItemAndAudit(std::make_unique<TMusicNote>(4, 3, 0, 0), at.caret);
              return -1;
            }},
        TSnapshotCase{"DeleteBackward",
                      kUndoEditorAction,
                      kUndoDeleteBackward,
                      0,
                      {-1},
                      [](TMusicScore&, TMusicStaff& staff, const TEditorCaret& at) {
                        staff.DetachItemAndAudit(at.caret - 1);
                        return -1;
                      }},
        // The item before the caret: the right hand's first note.
        TSnapshotCase{"NoteheadChange",
                      kUndoEditorAction,
                      kUndoNoteheadChange,
                      0,
                      {1, 6, 6, 0},
                      [](TMusicScore&, TMusicStaff& staff, const TEditorCaret& at) {
                        TStaffRange(&staff, at.caret - 1, at.caret - 1).SetNoteHead(3);
                        return -1;
                      }},
        TSnapshotCase{"TransposeStaff",
                      kUndoWholeStaff,
                      kCmdTransposeStaff,
                      0,
                      {-1},
                      [](TMusicScore&, TMusicStaff& staff, const TEditorCaret&) {
                        Transpose(staff, 2, 0, true, TServices());
                        return -1;
                      }},
        TSnapshotCase{"WholeStaffEdit",
                      kUndoWholeStaff,
                      71,
                      0,
                      {-1},
                      [](TMusicScore&, TMusicStaff& staff, const TEditorCaret&) {
                        staff.DeleteItems(2, staff.GetLastIndex() / 2);
                        return -1;
                      }},
        TSnapshotCase{"Lyrics",
                      kUndoWholeStaff,
                      kCmdLyrics,
                      0,
                      {0, 1, 1, 0},
                      [](TMusicScore&, TMusicStaff& staff, const TEditorCaret&) {
                        staff.GetLyrics()->GetLine(0)->ReadFromEdit(u"la la la", false);
                        staff.SetBoundaries(staff.GetBoundaryTop() - 4,
                                            staff.GetBoundaryBottom() + 6);
                        return -1;
                      }},
        TSnapshotCase{"DeleteStaff",
                      kUndoStaffPresence,
                      kCmdDeleteStaff,
                      0,
                      {0, 1, 1, 0},
                      [](TMusicScore& score, TMusicStaff&, const TEditorCaret&) {
                        score.DetachStaff(0);
                        return -1;
                      }},
        TSnapshotCase{"NewStaff",
                      kUndoStaffPresence,
                      kCmdNewStaff,
                      0,
                      {0, 1, 1, 0},
                      [](TMusicScore& score, TMusicStaff&, const TEditorCaret&) {
                        auto staff = std::make_unique<TMusicStaff>();
                        staff->SetName(u"Added");
                        score.InsertStaff(std::move(staff), 2);
                        return 2;
                      }},
        TSnapshotCase{"MoveStaffDown",
                      kUndoStaffMove,
                      223,
                      2,
                      {0, 1, 1, 0},
                      [](TMusicScore& score, TMusicStaff&, const TEditorCaret&) {
                        score.InsertStaff(score.DetachStaff(0), 2);
                        return -1;
                      }},
        TSnapshotCase{"MoveStaffUp",
                      kUndoStaffMove,
                      226,
                      1,
                      {2, 1, 1, 0},
                      [](TMusicScore& score, TMusicStaff&, const TEditorCaret&) {
                        score.InsertStaff(score.DetachStaff(2), 1);
                        return -1;
                      }},
        TSnapshotCase{"StaffProperties",
                      kUndoStaffProperties,
                      kCmdStaffProperties,
                      0,
                      {1, 1, 1, 0},
                      [](TMusicScore&, TMusicStaff& staff, const TEditorCaret&) {
                        staff.SetName(u"Renamed");
                        staff.SetMuted(true);
                        return -1;
                      }},
        TSnapshotCase{"Zoom",
                      kUndoScore,
                      48,
                      0,
                      {0, 1, 1, 0},
                      [](TMusicScore& score, TMusicStaff&, const TEditorCaret&) {
                        score.SetZoom(score.GetZoom() + 2);
                        return -1;
                      }},
        TSnapshotCase{"ScoreInfo",
                      kUndoScore,
                      11,
                      0,
                      {0, 1, 1, 0},
                      [](TMusicScore& score, TMusicStaff&, const TEditorCaret&) {
                        score.SetSongInfoText(kSongTitle, u"Another title");
                        score.SetTitlePage(false);
                        return -1;
                      }},
        TSnapshotCase{"MuteList",
                      kUndoScore,
                      kCmdMuteList,
                      0,
                      {0, 1, 1, 0},
                      [](TMusicScore& score, TMusicStaff&, const TEditorCaret&) {
                        TKVBoolArray flags(TMusicScore::MaxScoreStaffs);
                        flags.Set(1, true);
                        score.SetStaffFlags(kStaffFlagMuted, flags);
                        return -1;
                      }},
        TSnapshotCase{"LayeringTool",
                      kUndoScore,
                      kCmdLayeringTool,
                      0,
                      {0, 1, 1, 0},
                      [](TMusicScore& score, TMusicStaff&, const TEditorCaret&) {
                        TKVBoolArray flags(TMusicScore::MaxScoreStaffs);
                        flags.Set(0, true);
                        score.SetStaffFlags(kStaffFlagLayerWithNext, flags);
                        return -1;
                      }},
        // Staff properties changed from the score review name their staff in `extra`.
        TSnapshotCase{"ReviewStaffProperties",
                      kUndoScore,
                      kCmdStaffProperties,
                      2,
                      {0, 1, 1, 0},
                      [](TMusicScore& score, TMusicStaff&, const TEditorCaret&) {
                        score.GetStaff(2)->SetName(u"Bass");
                        return -1;
                      }}),
    [](const ::testing::TestParamInfo<TSnapshotCase>& info) {
      return std::string(info.param.name);
    });

class UndoSnapshotFixture : public ::testing::Test {
protected:
  TMusicStaff& Staff(int i) { return *score->GetStaff(i); }

  std::unique_ptr<TMusicScore> score = example::MakeExampleScore();
  TUndoActionMgr undo{10, 1000};
  TScoreUndo undoer{*score, undo};
};

TEST_F(UndoSnapshotFixture, SelectionCaretAndAnchorComeBack) {
  TMusicStaff& staff = Staff(1);
  const int first = NoteFrom(staff, 1);
  const TEditorCaret at{1, first + 3, first, 4};
  ASSERT_TRUE(undoer.SaveUndoState(kUndoItems, 35, 0, at));
  TStaffRange(&staff, at.SelectionStart(), at.SelectionEnd()).DeleteAndAudit();
  undoer.EndUndoState();
  const TUndoApplyResult result = undoer.Undo({1, first, first, 4});
  ASSERT_TRUE(result.applied);
  EXPECT_EQ(result.caret, at);
}

TEST_F(UndoSnapshotFixture, RangeAtTheFirstCaretCoversTheFirstBar) {
  TMusicStaff& staff = Staff(1);
  ASSERT_TRUE(undoer.SaveUndoState(kUndoItems, 130, 0, {1, 1, 1, 0}));
  TKRVStream& s = *undo.CurrentPushStream();
  s.Rewind();
  EXPECT_EQ(s.ReadShort(), 1);      // staff
  EXPECT_EQ(s.ReadShort(), 1);      // first: the staff's first item
  s.ReadShort();                    // in place
  const int saved = s.ReadShort();  // saved count: the whole first bar
  EXPECT_EQ(staff.GetItem(1 + saved)->GetType(), kItemBarLine);
  for (int i = 1; i < 1 + saved; ++i) EXPECT_NE(staff.GetItem(i)->GetType(), kItemBarLine) << i;
}

TEST_F(UndoSnapshotFixture, EntryThatNoLongerFitsChangesNothing) {
  TMusicStaff& staff = Staff(1);
  const int last = staff.GetLastIndex();
  ASSERT_TRUE(undoer.SaveUndoState(kUndoItems, 130, 0, {1, last - 1, last - 1, 0}));
  undoer.EndUndoState();
  // An edit that bypassed the history leaves the entry pointing past the staff's end.
  staff.DeleteItems(1, last - 1);
  const std::string text = ScoreText(*score);
  EXPECT_FALSE(undoer.Undo({1, 1, 1, 0}).applied);
  EXPECT_EQ(ScoreText(*score), text);
  EXPECT_TRUE(undo.CanUndo());
  EXPECT_FALSE(undo.CanRedo());
}

TEST_F(UndoSnapshotFixture, DamagedEntryChangesNothing) {
  TKRVStream& s = undo.Push(kUndoItems, 130);
  s.WriteShort(1);  // staff
  s.WriteShort(1);  // first
  s.WriteShort(0);  // in place
  s.WriteShort(2);  // saved: two items, but the record ends early
  s.WriteShort(1);
  s.WriteShort(1);
  s.WriteShort(2);
  s.WriteString("|Note|Dur:4th|Pos:1");
  undo.EndPush();
  const std::string text = ScoreText(*score);
  EXPECT_FALSE(undoer.Undo({1, 1, 1, 0}).applied);
  EXPECT_EQ(ScoreText(*score), text);
}

TEST_F(UndoSnapshotFixture, LastStaffIsNeverRemoved) {
  while (score->GetStaffCount() > 1) score->DetachStaff(score->GetLastIndex());
  ASSERT_TRUE(undoer.SaveUndoState(kUndoStaffPresence, kCmdNewStaff, 0, {0, 1, 1, 0}));
  undoer.EndUndoState(0);
  EXPECT_FALSE(undoer.Undo({0, 1, 1, 0}).applied);
  EXPECT_EQ(score->GetStaffCount(), 1);
}

TEST_F(UndoSnapshotFixture, NewStaffIsFoundWhenTheCallerNamesAnOldOne) {
  ASSERT_TRUE(undoer.SaveUndoState(kUndoStaffPresence, kCmdNewStaff, 0, {0, 1, 1, 0}));
  auto added = std::make_unique<TMusicStaff>();
  const TMusicStaff* pointer = added.get();
  score->InsertStaff(std::move(added), 1);
  undoer.EndUndoState(0);  // names the old first staff
  TMusicStaff* first = score->GetStaff(0);
  ASSERT_TRUE(undoer.Undo({0, 1, 1, 0}).applied);
  EXPECT_EQ(score->GetStaffCount(), 3);
  EXPECT_EQ(score->GetStaff(0), first);
  for (int i = 0; i < score->GetStaffCount(); ++i) EXPECT_NE(score->GetStaff(i), pointer);
}

TEST_F(UndoSnapshotFixture, NewStaffEntryWithoutANewStaffIsDropped) {
  ASSERT_TRUE(undoer.SaveUndoState(kUndoStaffPresence, kCmdNewStaff, 0, {0, 1, 1, 0}));
  undoer.EndUndoState(0);
  EXPECT_FALSE(undo.CanUndo());
  EXPECT_EQ(undo.ChangeCounter(), 0);
}

TEST_F(UndoSnapshotFixture, CancelledSaveLeavesNoEntry) {
  ASSERT_TRUE(undoer.SaveUndoState(kUndoItems, 130, 0, {1, 2, 2, 0}));
  undoer.CancelUndoState();
  EXPECT_FALSE(undo.CanUndo());
  EXPECT_EQ(undo.ChangeCounter(), 0);
}

TEST_F(UndoSnapshotFixture, MissingStaffPushesNothing) {
  EXPECT_FALSE(undoer.SaveUndoState(kUndoItems, 130, 0, {7, 1, 1, 0}));
  EXPECT_FALSE(undo.CanUndo());
}

TEST_F(UndoSnapshotFixture, SpacerChangeIsTakenBack) {
  TMusicStaff& staff = Staff(0);
  staff.InsertItem(std::make_unique<TStaffSpacer>(10), 3);
  const std::string before = ScoreText(*score);
  ASSERT_TRUE(undoer.SaveUndoState(kUndoEditorAction, kUndoSpacerChange, 6, {0, 4, 4, 0}));
  ASSERT_EQ(staff.AdjustSpacer(6, 4), 6);
  undoer.EndUndoState();
  const std::string after = ScoreText(*score);
  ASSERT_TRUE(undoer.Undo({0, 4, 4, 0}).applied);
  EXPECT_EQ(ScoreText(*score), before);
  ASSERT_TRUE(undoer.Redo({0, 4, 4, 0}).applied);
  EXPECT_EQ(ScoreText(*score), after);
}

}  // namespace
}  // namespace kvt
