#include "platform/fontconfig_font_catalog.h"

#include <gtest/gtest.h>

#include "platform/music_font_loader.h"

namespace kvt {
namespace {

TEST(FontconfigFontCatalogTest, MetricCompatibleStandInsCountAsInstalled) {
  TFontconfigFontCatalog catalog;
  for (const char* face : {"Times New Roman", "times new roman", "Arial", "Courier New", "Liberation Serif"}) {
    EXPECT_TRUE(catalog.IsFaceInstalled(face, 1)) << face;
  }
  // Substituted by some other face: not installed.
  EXPECT_FALSE(catalog.IsFaceInstalled("No Such Face 4711", 1));
  EXPECT_FALSE(catalog.IsFaceInstalled("", 1));
  EXPECT_FALSE(catalog.IsFaceInstalled(nullptr, 1));
}

TEST(FontconfigFontCatalogTest, MusicFaceOnceTheMusicFontIsLoaded) {
  TFontconfigFontCatalog catalog;
  ASSERT_TRUE(LoadMusicFont());
  EXPECT_TRUE(catalog.IsFaceInstalled("KVT2STDA", 2));
  EXPECT_TRUE(catalog.IsFaceInstalled("kvt2stda", 2));
  EXPECT_TRUE(IsMusicFontLoaded());
  EXPECT_FALSE(MusicFontFile().empty());
}

}  // namespace
}  // namespace kvt

#include "notation/services/services.h"
#include "notation/staff/music_score.h"
#include "utils/string_list.h"

namespace kvt {
namespace {

TEST(FontconfigFontCatalogTest, DefaultScoreMissesNoFont) {
  ASSERT_TRUE(LoadMusicFont());
  TFontconfigFontCatalog catalog;
  TServices services;
  services.fontCatalog = &catalog;
  TMusicScore score;
  TKVStringList missing(32, true);
  score.CollectMissingFonts(missing, services);
  EXPECT_EQ(missing.GetCount(), 0);
}

}  // namespace
}  // namespace kvt
