// The undo history: pushes, undo, redo, rotation when full, cancelled pushes, clearing and the
// state serials that decide whether a window is modified.

#include "app/editor/undo_action_mgr.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kvt {
namespace {

// Runs a script of steps on a manager: P push (its command numbers the pushes 1, 2, 3 ...),
// C cancel the last push, U undo, R redo, X clear.
class TScript {
public:
  explicit TScript(int depth) : undo(depth, 16) {}

  void Run(const std::string& steps) {
    for (char step : steps) {
      switch (step) {
        case 'P': {
          ++pushes;
          TKRVStream& s = undo.Push(1, pushes);
          s.WriteShort(pushes);
          break;
        }
        case 'C': undo.CancelPush(); break;
        case 'U': {
          TKRVStream* read = nullptr;
          TKRVStream* write = nullptr;
          undo.Undo(read, write);
          // The snapshot read goes, as the data it replaced, into the redo entry.
          if (read) write->WriteShort(read->ReadShort());
          break;
        }
        case 'R': {
          TKRVStream* write = nullptr;
          TKRVStream* read = nullptr;
          undo.Redo(write, read);
          if (read) write->WriteShort(read->ReadShort());
          break;
        }
        case 'X': undo.Clear(); break;
        default: FAIL() << "unknown step " << step;
      }
    }
  }
  // Commands of the undo entries, next first.
  std::vector<int> UndoCommands() const {
    std::vector<int> out;
    for (int n = 0; n < undo.Top(); ++n) out.push_back(undo.PeekUndo(n).command);
    return out;
  }
  std::vector<int> RedoCommands() const {
    std::vector<int> out;
    for (int n = 0; n < undo.RedoCount(); ++n) out.push_back(undo.PeekRedo(n).command);
    return out;
  }

  TUndoActionMgr undo;
  int pushes = 0;
};

struct TStackCase {
  const char* name;
  int depth;
  const char* steps;
  std::vector<int> undo;  // next first
  std::vector<int> redo;  // next first
  int counter;
};

class UndoStackTest : public ::testing::TestWithParam<TStackCase> {};

TEST_P(UndoStackTest, HistoryAfterSteps) {
  const TStackCase& c = GetParam();
  TScript script(c.depth);
  script.Run(c.steps);
  EXPECT_EQ(script.UndoCommands(), c.undo);
  EXPECT_EQ(script.RedoCommands(), c.redo);
  EXPECT_EQ(script.undo.ChangeCounter(), c.counter);
  EXPECT_LE(script.undo.Top() + script.undo.RedoCount(), script.undo.Size() - 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UndoStackTest,
    ::testing::Values(TStackCase{"Empty", 3, "", {}, {}, 0},
                      TStackCase{"ThreePushes", 3, "PPP", {3, 2, 1}, {}, 3},
                      // Depth 3: five pushes keep the newest three.
                      TStackCase{"FullRotatesOutOldest", 3, "PPPPP", {5, 4, 3}, {}, 5},
                      TStackCase{"UndoThreeTimesWhenFull", 3, "PPPPPUUU", {}, {3, 4, 5}, 2},
                      TStackCase{"UndoPastEmptyDoesNothing", 3, "PUU", {}, {1}, 0},
                      TStackCase{"RedoWithoutEntryDoesNothing", 3, "PR", {1}, {}, 1},
                      TStackCase{"UndoRedo", 3, "PPUR", {2, 1}, {}, 2},
                      TStackCase{"PushAfterUndoDropsRedo", 3, "PPUP", {3, 1}, {}, 2},
                      TStackCase{"CancelRestoresRedo", 3, "PPUPC", {1}, {2}, 1},
                      TStackCase{"CancelWhenFullKeepsOldest", 3, "PPPPC", {3, 2, 1}, {}, 3},
                      TStackCase{"CancelTwiceCancelsOnce", 3, "PPCC", {1}, {}, 1},
                      TStackCase{"CancelAfterUndoDoesNothing", 3, "PPUC", {1}, {2}, 1},
                      TStackCase{"ClearForgetsAll", 3, "PPUX", {}, {}, 2},
                      TStackCase{"DepthZeroKeepsNothing", 0, "PPU", {}, {}, 2}),
    [](const ::testing::TestParamInfo<TStackCase>& info) { return std::string(info.param.name); });

TEST(UndoActionMgrTest, UndoAndRedoHandOverTheSnapshots) {
  TScript script(3);
  script.Run("PP");
  TKRVStream* read = nullptr;
  TKRVStream* write = nullptr;
  script.undo.Undo(read, write);
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->ReadShort(), 2);
  EXPECT_EQ(write->Size(), 0);
  write->WriteShort(77);
  script.undo.Redo(write, read);
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->ReadShort(), 77);
}

TEST(UndoActionMgrTest, CancelledFullPushKeepsTheOldestSnapshot) {
  TScript script(2);
  script.Run("PPPC");
  // Depth 2 is full after two pushes; the third was cancelled, so push 1, which it had rotated
  // out, is back with its data.
  script.Run("UU");
  EXPECT_EQ(script.RedoCommands(), (std::vector<int>{1, 2}));
  TKRVStream* write = nullptr;
  TKRVStream* read = nullptr;
  script.undo.Redo(write, read);
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->ReadShort(), 1);
}

TEST(UndoActionMgrTest, FailedApplyOffersTheEntryAgain) {
  TScript script(3);
  script.Run("PP");
  const uint64_t serial = script.undo.StateSerial();
  TKRVStream* read = nullptr;
  TKRVStream* write = nullptr;
  script.undo.Undo(read, write);
  script.undo.UndoFailed();
  EXPECT_EQ(script.UndoCommands(), (std::vector<int>{2, 1}));
  EXPECT_TRUE(script.RedoCommands().empty());
  EXPECT_EQ(script.undo.StateSerial(), serial);
  EXPECT_EQ(script.undo.ChangeCounter(), 2);
  script.undo.Undo(read, write);
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->ReadShort(), 2);

  write->WriteShort(2);
  script.undo.Redo(write, read);
  script.undo.RedoFailed();
  EXPECT_EQ(script.RedoCommands(), (std::vector<int>{2}));
  EXPECT_EQ(script.UndoCommands(), (std::vector<int>{1}));
}

// Saved at the step marked by 'S'; the window is modified when the serial differs from then.
struct TModifiedCase {
  const char* name;
  const char* steps;
  bool modified;
};

class ModifiedStateTest : public ::testing::TestWithParam<TModifiedCase> {};

TEST_P(ModifiedStateTest, SerialComparedWithTheSavedOne) {
  TScript script(10);
  uint64_t saved = script.undo.StateSerial();
  for (char step : std::string(GetParam().steps)) {
    if (step == 'S')
      saved = script.undo.StateSerial();
    else
      script.Run(std::string(1, step));
  }
  EXPECT_EQ(script.undo.StateSerial() != saved, GetParam().modified);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ModifiedStateTest,
    ::testing::Values(TModifiedCase{"Fresh", "", false}, TModifiedCase{"Edit", "P", true},
                      TModifiedCase{"EditSave", "PS", false},
                      TModifiedCase{"EditUndo", "PU", false},
                      TModifiedCase{"EditSaveUndo", "PSU", true},
                      TModifiedCase{"EditSaveUndoRedo", "PSUR", false},
                      // The counter is back at its saved value, but the score is another one.
                      TModifiedCase{"EditSaveUndoOtherEdit", "PSUP", true},
                      TModifiedCase{"EditSaveUndoOtherEditUndo", "PSUPU", true},
                      TModifiedCase{"CancelledEdit", "SPC", false},
                      TModifiedCase{"Clear", "SX", true}),
    [](const ::testing::TestParamInfo<TModifiedCase>& info) {
      return std::string(info.param.name);
    });

TEST(UndoActionMgrTest, ResizeKeepsCounterAndDropsEntries) {
  TScript script(3);
  script.Run("PPU");
  script.undo.Resize(5);
  EXPECT_EQ(script.undo.Size(), 6);
  EXPECT_EQ(script.undo.Top(), 0);
  EXPECT_EQ(script.undo.RedoCount(), 0);
  EXPECT_EQ(script.undo.ChangeCounter(), 1);
}

TEST(UndoActionMgrTest, SnapshotsGrowPastOneSegment) {
  TUndoActionMgr undo(2, 8);
  TKRVStream& s = undo.Push(1, 1);
  for (int i = 0; i < 100; ++i) s.WriteShort(i);
  TKRVStream* read = nullptr;
  TKRVStream* write = nullptr;
  undo.Undo(read, write);
  ASSERT_NE(read, nullptr);
  for (int i = 0; i < 100; ++i) ASSERT_EQ(read->ReadShort(), i);
  EXPECT_FALSE(read->IsError());
}

}  // namespace
}  // namespace kvt
