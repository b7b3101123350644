// The keys of the editing view: the accelerator tables as data, typed characters and keys with
// modifiers on an offscreen view (caret, anchor, vertical position, active staff), and the
// edits the keys make directly (Delete, Backspace, Insert, Ctrl+Shift+Up/Down).

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <optional>
#include <string>

#include "app/editor/edit_key_table.h"
#include "app/editor/insertion_state.h"
#include "notation/items/song_note.h"
#include "tests/app/editor/edit_fixture.h"

namespace kvt::edit_test {
namespace {

struct TKeyRow {
  const char* name;
  int key;
  Qt::KeyboardModifiers modifiers;
  const char* text;
  int id;  // 0: no entry
  TKeyTable table;
};

class KeyTableTest : public ::testing::TestWithParam<TKeyRow> {};

TEST_P(KeyTableTest, Matches) {
  const TKeyRow& row = GetParam();
  const std::optional<TKeyHit> hit =
      MatchEditKey(row.key, row.modifiers, QString::fromLatin1(row.text));
  if (row.id == 0) {
    EXPECT_FALSE(hit.has_value());
    return;
  }
  ASSERT_TRUE(hit.has_value());
  EXPECT_EQ(*hit, (TKeyHit{row.id, row.table}));
}

constexpr auto kEdit = TKeyTable::kEditMenu;
constexpr auto kApp = TKeyTable::kApplication;

INSTANTIATE_TEST_SUITE_P(
    Rows, KeyTableTest,
    ::testing::Values(
        TKeyRow{"LessTypedWithShift", Qt::Key_Less, Qt::ShiftModifier, "<", 230, kEdit},
        TKeyRow{"ExclamationIsShiftOne", Qt::Key_Exclam, Qt::ShiftModifier, "!", 116, kEdit},
        TKeyRow{"LowerCaseLetter", Qt::Key_R, Qt::NoModifier, "r", 15, kEdit},
        TKeyRow{"UpperCaseLetter", Qt::Key_R, Qt::ShiftModifier, "R", 15, kEdit},
        TKeyRow{"KeypadDigit", Qt::Key_3, Qt::KeypadModifier, "3", 103, kEdit},
        TKeyRow{"CtrlLetterIsNotTheCharacter", Qt::Key_S, Qt::ControlModifier, "\x13", 4, kEdit},
        TKeyRow{"AltZ", Qt::Key_Z, Qt::AltModifier, "z", 19, kEdit},
        TKeyRow{"AltPlusWithoutText", Qt::Key_Plus, Qt::AltModifier | Qt::ShiftModifier, "", 48,
                kEdit},
        TKeyRow{"CtrlZ", Qt::Key_Z, Qt::ControlModifier, "\x1a", 40, kEdit},
        TKeyRow{"Enter", Qt::Key_Return, Qt::NoModifier, "\r", 128, kEdit},
        TKeyRow{"KeypadEnter", Qt::Key_Enter, Qt::KeypadModifier, "\r", 128, kEdit},
        TKeyRow{"CtrlEnter", Qt::Key_Return, Qt::ControlModifier, "", 130, kEdit},
        TKeyRow{"Space", Qt::Key_Space, Qt::NoModifier, " ", 129, kEdit},
        TKeyRow{"Tab", Qt::Key_Tab, Qt::NoModifier, "\t", 131, kEdit},
        TKeyRow{"ShiftUp", Qt::Key_Up, Qt::ShiftModifier, "", 111, kEdit},
        TKeyRow{"CtrlBackspace", Qt::Key_Backspace, Qt::ControlModifier, "", 212, kEdit},
        TKeyRow{"Backslash", Qt::Key_Backslash, Qt::NoModifier, "\\", 289, kEdit},
        TKeyRow{"CtrlV", Qt::Key_V, Qt::ControlModifier, "\x16", 34, kApp},
        TKeyRow{"ShiftInsert", Qt::Key_Insert, Qt::ShiftModifier, "", 34, kApp},
        TKeyRow{"Escape", Qt::Key_Escape, Qt::NoModifier, "\x1b", 83, kApp},
        TKeyRow{"CtrlShiftV", Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier, "", 54, kApp},
        TKeyRow{"CtrlQIsNone", Qt::Key_Q, Qt::ControlModifier, "\x11", 0, kEdit},
        TKeyRow{"PlainLeftIsNone", Qt::Key_Left, Qt::NoModifier, "", 0, kEdit},
        TKeyRow{"PlainDeleteIsNone", Qt::Key_Delete, Qt::NoModifier, "\x7f", 0, kEdit}),
    [](const ::testing::TestParamInfo<TKeyRow>& info) { return std::string(info.param.name); });

TEST(KeyTableTest, ApplicationKeysOwnTheirCommands) {
  for (const int id : {34, 54, 81, 83, 167, 2, 3, 192})
    EXPECT_TRUE(IsApplicationKeyCommand(id)) << id;
  for (const int id : {4, 32, 33, 128}) EXPECT_FALSE(IsApplicationKeyCommand(id)) << id;
}

class KeysTest : public EditFixture {
protected:
  void Type(int key, Qt::KeyboardModifiers modifiers, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(view.get(), &press);
  }
  void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(view.get(), static_cast<Qt::Key>(key), modifiers);
  }
};

TEST_F(KeysTest, TypedPhraseEntersNotesRestsAndBars) {
  Open("|Clef|Type:Treble\n", 2);
  Type(Qt::Key_3, Qt::NoModifier, "3");
  Type(Qt::Key_Return, Qt::NoModifier, "\r");
  Type(Qt::Key_Exclam, Qt::ShiftModifier, "!");
  Key(Qt::Key_Up);
  Type(Qt::Key_Return, Qt::NoModifier, "\r");
  Type(Qt::Key_Tab, Qt::NoModifier, "\t");
  Type(Qt::Key_Less, Qt::ShiftModifier, "<");
  Type(Qt::Key_5, Qt::NoModifier, "5");
  Type(Qt::Key_Space, Qt::NoModifier, " ");
  EXPECT_EQ(Text(),
            "|Clef|Type:Treble\n|Note|Dur:4th|Pos:0\n|Note|Dur:4th,Accent|Pos:1\n|Bar\n"
            "|Rest|Dur:16th|Opts:Crescendo\n");
  // The default persistent tools drop the accent after its note and keep the hairpin.
  EXPECT_EQ(host.insertion.attributes, kMaskCrescendo);
}

TEST_F(KeysTest, KeysPassedOnToTheApplication) {
  Open("", 1);
  Type(Qt::Key_S, Qt::ControlModifier, "\x13");  // save: the application's command
  Type(Qt::Key_V, Qt::ControlModifier, "\x16");  // paste: the application's table
  EXPECT_EQ(host.appCommands, (std::vector<int>{4, 34}));
}

TEST_F(KeysTest, ViewClaimsItsKeysBeforeMenuShortcuts) {
  Open("", 1);
  for (const auto& [key, text] : {std::pair{Qt::Key_A, "a"}, std::pair{Qt::Key_Left, ""}}) {
    QKeyEvent override(QEvent::ShortcutOverride, key, Qt::NoModifier, QString::fromLatin1(text));
    override.ignore();
    QApplication::sendEvent(view.get(), &override);
    EXPECT_TRUE(override.isAccepted()) << text;
  }
  QKeyEvent other(QEvent::ShortcutOverride, Qt::Key_Q, Qt::ControlModifier, QString());
  other.ignore();
  QApplication::sendEvent(view.get(), &other);
  EXPECT_FALSE(other.isAccepted());
}

constexpr char kBars[] =
    "|Note|Dur:4th|Pos:0\n|Note|Dur:4th|Pos:0\n|Bar\n|Note|Dur:4th|Pos:0\n|Note|Dur:4th|Pos:0\n"
    "|Bar\n|Note|Dur:4th|Pos:0\n";  // items 1..7, bar lines at 3 and 6, last index 8

TEST_F(KeysTest, ArrowsMoveTheCaretByItemAndByBar) {
  TScoreEdit& edit = Open(kBars, 2);
  Key(Qt::Key_Right, Qt::ControlModifier);
  EXPECT_EQ(edit.Caret().caret, 4);  // after the bar line at 3
  Key(Qt::Key_Right, Qt::ControlModifier);
  EXPECT_EQ(edit.Caret().caret, 7);
  Key(Qt::Key_Left, Qt::ControlModifier);
  EXPECT_EQ(edit.Caret().caret, 4);
  Key(Qt::Key_Left, Qt::ControlModifier);
  EXPECT_EQ(edit.Caret().caret, 1);
  Key(Qt::Key_Right, Qt::ShiftModifier);
  Key(Qt::Key_Right, Qt::ShiftModifier);
  EXPECT_EQ(edit.Caret().anchor, 1);
  EXPECT_EQ(edit.Caret().caret, 3);
  Key(Qt::Key_Left);  // the first press only collapses, at the arrow's side
  EXPECT_FALSE(edit.HasSelection());
  EXPECT_EQ(edit.Caret().caret, 1);
  edit.SetCaretIndex(5, false);
  edit.SetCaretIndex(3, true);
  Key(Qt::Key_Right);
  EXPECT_EQ(edit.Caret().caret, 5);
  EXPECT_FALSE(edit.HasSelection());
  Key(Qt::Key_End);
  EXPECT_EQ(edit.Caret().caret, 8);
  Key(Qt::Key_Home, Qt::ShiftModifier);
  EXPECT_EQ(edit.Caret().caret, 1);
  EXPECT_EQ(edit.Caret().anchor, 8);
}

TEST_F(KeysTest, UpAndDownMoveTheVerticalPosition) {
  TScoreEdit& edit = Open(kBars, 2);
  Key(Qt::Key_Up);
  EXPECT_EQ(edit.Caret().caretPos, -1);
  Key(Qt::Key_Down, Qt::ControlModifier);
  EXPECT_EQ(edit.Caret().caretPos, 6);
  Key(Qt::Key_Up, Qt::ControlModifier);
  EXPECT_EQ(edit.Caret().caretPos, -1);
  Key(Qt::Key_Up, Qt::ShiftModifier);  // Shift+Up is the stem tool
  EXPECT_EQ(edit.Caret().caretPos, -1);
  EXPECT_EQ(host.insertion.stem, kStemUp);
}

TEST_F(KeysTest, CtrlShiftUpMovesTheSelectionOrStepsTheDuration) {
  TScoreEdit& edit = Open("|Note|Dur:4th|Pos:0\n|Note|Dur:4th|Pos:2\n", 1, 2);
  Key(Qt::Key_Up, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(Text(), "|Note|Dur:4th|Pos:1\n|Note|Dur:4th|Pos:2\n");
  ASSERT_TRUE(edit.Undo());
  EXPECT_EQ(Text(), "|Note|Dur:4th|Pos:0\n|Note|Dur:4th|Pos:2\n");
  ASSERT_TRUE(edit.Redo());
  EXPECT_EQ(Text(), "|Note|Dur:4th|Pos:1\n|Note|Dur:4th|Pos:2\n");
  edit.SetCaretIndex(1, false);
  Key(Qt::Key_Down, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(host.insertion.duration, kDurEighth);
}

TEST_F(KeysTest, BackspaceAtTheStartAndDeleteAtTheEndBeep) {
  TScoreEdit& edit = Open("|Note|Dur:4th|Pos:0\n", 1);
  Key(Qt::Key_Backspace);
  EXPECT_EQ(host.beeps, 1);
  edit.SetCaretIndex(2, false);
  Key(Qt::Key_Delete);
  EXPECT_EQ(host.beeps, 2);
  EXPECT_FALSE(undo.CanUndo());
  EXPECT_EQ(Text(), "|Note|Dur:4th|Pos:0\n");
}

struct TDeleteRow {
  const char* name;
  int key;
  int caret, anchor;
  const char* after;
  int caretAfter;
};

class DeleteKeyTest : public KeysTest, public ::testing::WithParamInterface<TDeleteRow> {};

TEST_P(DeleteKeyTest, DeletesAndUndoes) {
  const TDeleteRow& row = GetParam();
  TScoreEdit& edit = Open(kBars, row.caret, row.anchor);
  Key(row.key);
  EXPECT_EQ(Text(), row.after);
  EXPECT_EQ(edit.Caret().caret, row.caretAfter);
  EXPECT_EQ(host.beeps, 0);
  ASSERT_TRUE(edit.Undo());
  EXPECT_EQ(Text(), kBars);
  ASSERT_TRUE(edit.Redo());
  EXPECT_EQ(Text(), row.after);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DeleteKeyTest,
    ::testing::Values(
        TDeleteRow{"DeleteTheItemAtTheCaret", Qt::Key_Delete, 3, 3,
                   "|Note|Dur:4th|Pos:0\n|Note|Dur:4th|Pos:0\n|Note|Dur:4th|Pos:0\n"
                   "|Note|Dur:4th|Pos:0\n|Bar\n|Note|Dur:4th|Pos:0\n",
                   3},
        TDeleteRow{"BackspaceTheItemBeforeTheCaret", Qt::Key_Backspace, 8, 8,
                   "|Note|Dur:4th|Pos:0\n|Note|Dur:4th|Pos:0\n|Bar\n|Note|Dur:4th|Pos:0\n"
                   "|Note|Dur:4th|Pos:0\n|Bar\n",
                   7},
        TDeleteRow{"DeleteTheSelection", Qt::Key_Delete, 4, 6,
                   "|Note|Dur:4th|Pos:0\n|Note|Dur:4th|Pos:0\n|Bar\n|Bar\n|Note|Dur:4th|Pos:0\n",
                   4},
        TDeleteRow{"BackspaceTheSelection", Qt::Key_Backspace, 6, 4,
                   "|Note|Dur:4th|Pos:0\n|Note|Dur:4th|Pos:0\n|Bar\n|Bar\n|Note|Dur:4th|Pos:0\n",
                   4}),
    [](const ::testing::TestParamInfo<TDeleteRow>& info) { return std::string(info.param.name); });

TEST_F(KeysTest, InsertAddsASpacerThenWidensIt) {
  TScoreEdit& edit = Open("|Note|Dur:4th|Pos:0\n", 2);
  Key(Qt::Key_Insert);
  EXPECT_EQ(Text(), "|Note|Dur:4th|Pos:0\n|Spacer|Width:50\n");
  Key(Qt::Key_Insert);
  EXPECT_EQ(Text(), "|Note|Dur:4th|Pos:0\n|Spacer|Width:75\n");
  ASSERT_TRUE(edit.Undo());
  EXPECT_EQ(Text(), "|Note|Dur:4th|Pos:0\n|Spacer|Width:50\n");
  ASSERT_TRUE(edit.Undo());
  EXPECT_EQ(Text(), "|Note|Dur:4th|Pos:0\n");
  ASSERT_TRUE(edit.Redo());
  ASSERT_TRUE(edit.Redo());
  EXPECT_EQ(Text(), "|Note|Dur:4th|Pos:0\n|Spacer|Width:75\n");
  edit.SetCaretIndex(1, true);
  Key(Qt::Key_Insert);  // not with a selection
  EXPECT_EQ(host.beeps, 1);
}

}  // namespace
}  // namespace kvt::edit_test
