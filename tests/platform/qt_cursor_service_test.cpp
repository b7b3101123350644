#include "platform/qt_cursor_service.h"

#include <gtest/gtest.h>

#include <QCursor>
#include <QGuiApplication>

#include "utils/busy_cursor.h"

namespace kvt {
namespace {

// The shape of the cursor in force: the top override, or the arrow when none is set.
Qt::CursorShape Shown() {
  const QCursor* cursor = QGuiApplication::overrideCursor();
  return cursor ? cursor->shape() : Qt::ArrowCursor;
}

class QtCursorServiceTest : public testing::Test {
protected:
  void TearDown() override {
    while (QGuiApplication::overrideCursor()) QGuiApplication::restoreOverrideCursor();
  }
  TQtCursorService service;
};

TEST_F(QtCursorServiceTest, BusyCursorShowsWaitAndRestores) {
  {
    TKVBusyCursor busy(service);
    EXPECT_EQ(Shown(), Qt::WaitCursor);
  }
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(QtCursorServiceTest, NestedBusyCursorsRestoreWaitThenEarlierCursor) {
  QGuiApplication::setOverrideCursor(QCursor(Qt::CrossCursor));
  {
    TKVBusyCursor outer(service);
    {
      TKVBusyCursor inner(service);
      EXPECT_EQ(Shown(), Qt::WaitCursor);
    }
    EXPECT_EQ(Shown(), Qt::WaitCursor);
  }
  EXPECT_EQ(Shown(), Qt::CrossCursor);
}

TEST_F(QtCursorServiceTest, RepeatedShowInOneDirectionDoesNothing) {
  TKVBusyCursor busy(service, false);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
  busy.Show(true);
  busy.Show(true);
  busy.Show(false);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
  busy.Show(false);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace kvt
