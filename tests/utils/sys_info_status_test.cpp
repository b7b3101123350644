#include "utils/sys_info.h"

#include "utils/cursor_service.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace kvt {
namespace {

// A cursor that remembers what is shown: 1 the arrow, 2 the wait cursor.
class TFakeCursor : public ICursorService {
public:
  static constexpr int kArrow = 1;
  static constexpr int kWait = 2;

  bool ShowWaitCursor() override {
    replaced.push_back(shown);
    shown = kWait;
    return true;
  }
  void RestoreCursor() override {
    shown = replaced.back();
    replaced.pop_back();
    ++restores;
  }

  std::vector<int> replaced;
  int shown = kArrow;
  int restores = 0;
};

class TFakeStatusBar : public TSysStatusBar {
public:
  void ShowStatusText(const std::string& text, bool repaint) override {
    shown.emplace_back(text, repaint);
  }
  std::vector<std::pair<std::string, bool>> shown;
};

class SysInfoStatusTest : public ::testing::Test {
protected:
  TFakeCursor cursor;
  TFakeStatusBar bar;
  TSysInfo store{nullptr, &bar, &cursor};
};

TEST_F(SysInfoStatusTest, NestedWaitsRestoreTheCursorShownBeforeTheFirst) {
  store.BeginWait();
  store.BeginWait();
  EXPECT_EQ(cursor.shown, TFakeCursor::kWait);
  EXPECT_EQ(store.GetWaitCount(), 2);
  store.EndWait();
  EXPECT_EQ(cursor.shown, TFakeCursor::kWait);
  store.EndWait();
  EXPECT_EQ(cursor.shown, TFakeCursor::kArrow);
  EXPECT_EQ(store.GetWaitCount(), 0);
}

TEST_F(SysInfoStatusTest, UnmatchedEndWaitRestoresNothing) {
  store.EndWait();
  EXPECT_EQ(cursor.restores, 0);
  EXPECT_EQ(store.GetWaitCount(), 0);
}

TEST_F(SysInfoStatusTest, PushShowsAtOnceAndPopShowsTheStateBelow) {
  ASSERT_TRUE(store.PushStatus("Ready", false));
  ASSERT_TRUE(store.PushStatus("Saving...", true));
  EXPECT_EQ(cursor.shown, TFakeCursor::kWait);
  store.PopStatus();
  EXPECT_EQ(cursor.shown, TFakeCursor::kArrow);
  EXPECT_EQ(bar.shown, (std::vector<std::pair<std::string, bool>>{
                           {"Ready", true}, {"Saving...", true}, {"Ready", false}}));
}

TEST_F(SysInfoStatusTest, PopWithOnlyTheBottomStateOnlyShowsItAgain) {
  ASSERT_TRUE(store.PushStatus("Ready", false));
  store.PopStatus();
  EXPECT_EQ(store.GetStatusCount(), 1);
  ASSERT_EQ(bar.shown.size(), 2u);
  EXPECT_EQ(bar.shown.back(), std::make_pair(std::string("Ready"), false));
}

TEST_F(SysInfoStatusTest, FullStackDropsThePush) {
  for (int i = 0; i < TSysInfo::kStatusStackLimit; ++i)
    ASSERT_TRUE(store.PushStatus(std::to_string(i).c_str(), false));
  size_t shownBefore = bar.shown.size();
  EXPECT_FALSE(store.PushStatus("one too many", true));
  EXPECT_EQ(store.GetStatusCount(), TSysInfo::kStatusStackLimit);
  EXPECT_EQ(store.GetWaitCount(), 0);  // the dropped state took no wait
  EXPECT_EQ(bar.shown.size(), shownBefore);
  store.PopStatus();
  EXPECT_EQ(bar.shown.back().first, "18");
}

TEST_F(SysInfoStatusTest, PopAllKeepsTheBottomStateAndRestoresTheCursor) {
  ASSERT_TRUE(store.PushStatus("Ready", false));
  ASSERT_TRUE(store.PushStatus("Loading", true));
  ASSERT_TRUE(store.PushStatus("Converting", true));
  store.BeginWait();  // a wait of someone else's
  EXPECT_EQ(store.GetWaitCount(), 3);
  store.PopAllStatus();
  EXPECT_EQ(store.GetStatusCount(), 1);
  EXPECT_EQ(store.GetWaitCount(), 0);
  EXPECT_EQ(cursor.shown, TFakeCursor::kArrow);
  EXPECT_EQ(cursor.restores, 1);
  EXPECT_EQ(bar.shown.back(), std::make_pair(std::string("Ready"), false));
}

TEST_F(SysInfoStatusTest, NullTextShowsEmpty) {
  ASSERT_TRUE(store.PushStatus(nullptr, false));
  EXPECT_EQ(bar.shown.back().first, "");
}

TEST(SysInfoStatusLifetimeTest, StatesLeftOnTheStackEndTheirWaits) {
  TFakeCursor cursor;
  {
    TSysInfo store(nullptr, nullptr, &cursor);
    ASSERT_TRUE(store.PushStatus("Ready", false));
    ASSERT_TRUE(store.PushStatus("Busy", true));
  }
  EXPECT_EQ(cursor.shown, TFakeCursor::kArrow);
}

TEST(SysInfoStatusLifetimeTest, WithoutAnInstalledBarOrCursorNothingHappens) {
  TSysInfo store;
  ASSERT_TRUE(store.PushStatus("Busy", true));
  store.BeginWait();
  store.EndWait();
  store.PopAllStatus();
  EXPECT_EQ(store.GetStatusCount(), 1);
}

}  // namespace
}  // namespace kvt
