// The platform tests need a GUI application object; QT_QPA_PLATFORM=offscreen lets it run
// without a display.
#include <gtest/gtest.h>

#include <QGuiApplication>

#include <cstdlib>

int main(int argc, char** argv) {
  // Test discovery runs the program without the test environment: default to no display.
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QGuiApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
