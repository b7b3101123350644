// The UI control library's tests run under the application base of the library, so the
// message-box service, the help hooks and GetKVAppBase behave as in the program;
// QT_QPA_PLATFORM=offscreen lets them run without a display.
#include "tests/tools/test_app.h"

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
  // Test discovery runs the program without the test environment: default to no display.
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  kvt::test::TTestApp app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
