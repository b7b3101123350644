#include "tools/kv_app_base.h"

#include "tests/tools/recording_message_box.h"
#include "tools/qt_message_box_service.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include <atomic>
#include <thread>

namespace kvt {
namespace {

TEST(KVAppBaseTest, RunningApplicationIsFound) {
  ASSERT_NE(GetKVAppBase(), nullptr);
  EXPECT_EQ(GetKVAppBase(), QCoreApplication::instance());
}

TEST(KVAppBaseTest, LockNestsInOneThreadAndIsFreeForOthersAfterward) {
  TKVAppBase::Lock();
  TKVAppBase::Lock();  // a non-recursive lock would hang here
  TKVAppBase::Unlock();
  TKVAppBase::Unlock();
  std::atomic<bool> entered{false};
  std::thread other([&] {
    TKVAppLock lock;
    entered = true;
  });
  other.join();
  EXPECT_TRUE(entered);
}

TEST(KVAppBaseTest, LockKeepsThreadsOutOfSharedData) {
  int shared = 0;  // only touched under the lock
  auto work = [&] {
    for (int i = 0; i < 20000; ++i) {
      TKVAppLock lock;
      TKVAppLock nested;
      ++shared;
    }
  };
  std::thread a(work), b(work), c(work);
  a.join();
  b.join();
  c.join();
  EXPECT_EQ(shared, 60000);
}

TEST(KVAppBaseTest, MessageBoxServiceIsReplacedAndRestored) {
  TKVAppBase& app = *GetKVAppBase();
  EXPECT_EQ(&app.MessageBoxService(), &QtMessageBoxService());
  {
    test::TRecordingMessageBoxService fake;
    EXPECT_EQ(&app.MessageBoxService(), &fake);
    EXPECT_EQ(&MessageBoxServiceOf(), &fake);
  }
  EXPECT_EQ(&app.MessageBoxService(), &QtMessageBoxService());
}

TEST(KVAppBaseTest, MainWindowIsForgottenWhenDestroyed) {
  TKVAppBase& app = *GetKVAppBase();
  {
    QWidget window;
    app.SetMainWindow(&window);
    EXPECT_EQ(app.MainWindow(), &window);
  }
  EXPECT_EQ(app.MainWindow(), nullptr);
}

}  // namespace
}  // namespace kvt
