#include "platform/qt_font_catalog.h"

#include <gtest/gtest.h>

namespace kvt {
namespace {

class QtFontCatalogTest : public testing::Test {
protected:
  void SetUp() override { SetFontCatalog(&catalog); }
  void TearDown() override { SetFontCatalog(nullptr); }
  TQtFontCatalog catalog;
};

TEST_F(QtFontCatalogTest, InstalledFaceIsFoundWithoutCase) {
  // fonts-liberation2 is part of the setup.
  EXPECT_TRUE(TFontSpec::IsFaceInstalled("Liberation Serif", 0));
  EXPECT_TRUE(TFontSpec::IsFaceInstalled("liberation serif", 0));
}

TEST_F(QtFontCatalogTest, UnknownOrEmptyFaceIsNotInstalled) {
  EXPECT_FALSE(TFontSpec::IsFaceInstalled("No Such Face Anywhere", 0));
  EXPECT_FALSE(TFontSpec::IsFaceInstalled("", 0));
}

TEST(NullFontCatalogTest, HeadlessAnswerIsNo) {
  SetFontCatalog(nullptr);
  EXPECT_FALSE(TFontSpec::IsFaceInstalled("Liberation Serif", 0));
}

}  // namespace
}  // namespace kvt
