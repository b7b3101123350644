#include "platform/qt_font_catalog.h"

#include <gtest/gtest.h>

namespace kvt {
namespace {

class QtFontCatalogTest : public testing::Test {
protected:
  TQtFontCatalog catalog;
};

TEST_F(QtFontCatalogTest, InstalledFaceIsFoundWithoutCase) {
  // fonts-liberation2 is part of the setup.
  EXPECT_TRUE(TFontSpec::IsFaceInstalled("Liberation Serif", 0, catalog));
  EXPECT_TRUE(TFontSpec::IsFaceInstalled("liberation serif", 0, catalog));
}

TEST_F(QtFontCatalogTest, UnknownOrEmptyFaceIsNotInstalled) {
  EXPECT_FALSE(TFontSpec::IsFaceInstalled("No Such Face Anywhere", 0, catalog));
  EXPECT_FALSE(TFontSpec::IsFaceInstalled("", 0, catalog));
}

TEST(NullFontCatalogTest, HeadlessAnswerIsNo) {
  EXPECT_FALSE(TFontSpec::IsFaceInstalled("Liberation Serif", 0, NullFontCatalog()));
}

}  // namespace
}  // namespace kvt
