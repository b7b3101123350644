// The score window's widget tests need an application object; QT_QPA_PLATFORM=offscreen lets
// them run without a display.
#include <gtest/gtest.h>

#include <QApplication>

#include <cstdlib>

int main(int argc, char** argv) {
  // Test discovery runs the program without the test environment: default to no display.
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
