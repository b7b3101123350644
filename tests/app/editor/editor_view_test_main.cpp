// The editing view's tests run under a QApplication on the offscreen platform, with the music
// font loaded as the program loads it.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "platform/music_font_loader.h"

int main(int argc, char** argv) {
  // Test discovery runs the program without the test environment: default to no display.
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  kvt::LoadMusicFont();
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
