#include "platform/qt_midi_ui_post.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include <thread>

namespace kvt {
namespace {

TEST(QtMidiUiPostTest, CallsFromAnotherThreadRunLaterOnTheUiThread) {
  TQtMidiUiPost post;
  const std::thread::id ui = std::this_thread::get_id();
  std::vector<int> order;
  std::thread::id ranOn;
  std::thread poster([&] {
    post.Post([&] { order.push_back(1); ranOn = std::this_thread::get_id(); });
    post.Post([&] { order.push_back(2); });
  });
  poster.join();
  EXPECT_TRUE(order.empty());  // queued, never inline
  QCoreApplication::processEvents();
  EXPECT_EQ(order, (std::vector<int>{1, 2}));
  EXPECT_EQ(ranOn, ui);
}

TEST(QtMidiUiPostTest, CallsStillQueuedAtDestructionAreDropped) {
  bool ran = false;
  {
    TQtMidiUiPost post;
    post.Post([&] { ran = true; });
  }
  QCoreApplication::processEvents();
  EXPECT_FALSE(ran);
}

}  // namespace
}  // namespace kvt
