#include "utils/busy_cursor.h"

#include <gtest/gtest.h>

#include <string>

#include "utils/cursor_service.h"

namespace kvt {
namespace {

// Records calls as "S" (show) and "R" (restore); accepts a show only when `accepts` is set.
class TRecordingCursorService : public ICursorService {
public:
  bool ShowWaitCursor() override {
    calls += "S";
    return accepts;
  }
  void RestoreCursor() override { calls += "R"; }
  std::string calls;
  bool accepts = true;
};

class BusyCursorTest : public testing::Test {
protected:
  void SetUp() override { SetCursorService(&service); }
  void TearDown() override { SetCursorService(nullptr); }
  TRecordingCursorService service;
};

TEST_F(BusyCursorTest, NestedCursorsRestoreInnerFirst) {
  {
    TKVBusyCursor outer;
    {
      TKVBusyCursor inner;
      EXPECT_EQ(service.calls, "SS");
    }
    EXPECT_EQ(service.calls, "SSR");
  }
  EXPECT_EQ(service.calls, "SSRR");
}

TEST_F(BusyCursorTest, ShowIsIdempotentAndOffByDefaultWhenAsked) {
  TKVBusyCursor busy(false);
  EXPECT_FALSE(busy.IsOn());
  busy.Show(false);
  busy.Show(true);
  busy.Show(true);
  EXPECT_EQ(service.calls, "S");
  busy.Show(false);
  busy.Show(false);
  EXPECT_EQ(service.calls, "SR");
}

TEST_F(BusyCursorTest, DeclinedShowIsNeverRestored) {
  service.accepts = false;
  { TKVBusyCursor busy; }
  EXPECT_EQ(service.calls, "S");
}

TEST_F(BusyCursorTest, RestoresOnTheServiceThatShowed) {
  TRecordingCursorService later;
  {
    TKVBusyCursor busy;
    SetCursorService(&later);
  }
  EXPECT_EQ(service.calls, "SR");
  EXPECT_EQ(later.calls, "");
}

TEST(NullCursorServiceTest, HeadlessBusyCursorDoesNothing) {
  SetCursorService(nullptr);
  TKVBusyCursor busy;
  EXPECT_TRUE(busy.IsOn());
  EXPECT_FALSE(CursorService().ShowWaitCursor());
}

}  // namespace
}  // namespace kvt
