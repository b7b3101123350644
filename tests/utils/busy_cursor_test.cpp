#include "utils/busy_cursor.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/utils/recording_cursor_service.h"
#include "utils/cursor_service.h"

namespace kvt {
namespace {

using test::TRecordingCursorService;

class BusyCursorTest : public testing::Test {
protected:
  TRecordingCursorService service;
};

TEST_F(BusyCursorTest, NestedCursorsRestoreInnerFirst) {
  {
    TKVBusyCursor outer(service);
    {
      TKVBusyCursor inner(service);
      EXPECT_EQ(service.calls, "SS");
    }
    EXPECT_EQ(service.calls, "SSR");
  }
  EXPECT_EQ(service.calls, "SSRR");
}

TEST_F(BusyCursorTest, ShowIsIdempotentAndOffByDefaultWhenAsked) {
  TKVBusyCursor busy(service, false);
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
  { TKVBusyCursor busy(service); }
  EXPECT_EQ(service.calls, "S");
}

TEST_F(BusyCursorTest, EachRestoresOnTheServiceItWasGiven) {
  TRecordingCursorService other;
  {
    TKVBusyCursor first(service);
    TKVBusyCursor second(other);
    other.accepts = false;  // a later refusal does not cancel the restore owed
  }
  EXPECT_EQ(service.calls, "SR");
  EXPECT_EQ(other.calls, "SR");
}

TEST(NullCursorServiceTest, HeadlessBusyCursorDoesNothing) {
  TKVBusyCursor busy(NullCursorService());
  EXPECT_TRUE(busy.IsOn());
  EXPECT_FALSE(NullCursorService().ShowWaitCursor());
}

}  // namespace
}  // namespace kvt
