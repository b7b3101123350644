// Printing's tests run under the UI control library's application base, so message boxes go
// through its service; QT_QPA_PLATFORM=offscreen lets them run without a display.
#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/tools/test_app.h"

int main(int argc, char** argv) {
  // Test discovery runs the program without the test environment: default to no display.
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  kvt::test::TTestApp app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
