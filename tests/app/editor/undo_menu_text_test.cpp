// The Undo and Redo menu texts and the names of undo entries.

#include "app/editor/undo_menu_text.h"

#include <gtest/gtest.h>

#include <map>

#include "app/editor/undo_action_mgr.h"
#include "app/editor/undo_snapshot.h"

namespace kvt {
namespace {

std::u16string Menu(int command) {
  static const std::map<int, std::u16string> texts = {
      {35, u"C&lear\tDel"},
      {11, u"Score &Info..."},
      {48, u"Zoom &In\tAlt+Plus"},
      {300, std::u16string(100, u'x')},
  };
  auto it = texts.find(command);
  return it == texts.end() ? std::u16string() : it->second;
}

struct TNameCase {
  int kind;
  int command;
  const char16_t* name;
};

class UndoEntryNameTest : public ::testing::TestWithParam<TNameCase> {};

TEST_P(UndoEntryNameTest, Name) {
  EXPECT_EQ(UndoEntryName(GetParam().kind, GetParam().command, Menu), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UndoEntryNameTest,
    ::testing::Values(TNameCase{7, 1, u"Delete"}, TNameCase{7, 2, u"Delete"},
                      TNameCase{7, 3, u"Remove Chord Note"}, TNameCase{7, 6, u"Spacer Change"},
                      TNameCase{7, 8, u"Property Change"}, TNameCase{7, 99, u"Action"},
                      TNameCase{1, 35, u"Clear"}, TNameCase{6, 11, u"Score Info"},
                      TNameCase{6, 48, u"Zoom In"}, TNameCase{1, 260, u"Selector Insert"},
                      TNameCase{8, 35, u"Action"}, TNameCase{0, 35, u"Action"}));

TEST(UndoEntryNameTest, LongMenuTextIsCut) { EXPECT_EQ(UndoEntryName(1, 300, Menu).size(), 79u); }

TEST(UndoMenuItemTest, TextsFollowTheHistoryAndTheEditor) {
  TUndoActionMgr undo(5, 64);
  EXPECT_EQ(UndoMenuItem(undo, true, Menu).text, u"&Undo\tCtrl+Z");
  EXPECT_FALSE(UndoMenuItem(undo, true, Menu).enabled);
  EXPECT_EQ(RedoMenuItem(undo, true, Menu).text, u"Re&do\tCtrl+Y");

  undo.Push(1, 35);
  undo.EndPush();
  EXPECT_EQ(UndoMenuItem(undo, true, Menu).text, u"&Undo Clear\tCtrl+Z");
  EXPECT_TRUE(UndoMenuItem(undo, true, Menu).enabled);
  // An editor that may not edit (another window active, playback followed) offers nothing.
  EXPECT_FALSE(UndoMenuItem(undo, false, Menu).enabled);

  TKRVStream* read = nullptr;
  TKRVStream* write = nullptr;
  undo.Undo(read, write);
  EXPECT_EQ(RedoMenuItem(undo, true, Menu).text, u"Redo Clear\tCtrl+Y");
  EXPECT_TRUE(RedoMenuItem(undo, true, Menu).enabled);
}

}  // namespace
}  // namespace kvt
