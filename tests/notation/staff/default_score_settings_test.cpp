#include "notation/staff/default_score_settings.h"

#include <gtest/gtest.h>

#include <string>

#include "notation/staff/music_score.h"

namespace kvt {
namespace {

class DefaultScoreSettingsTest : public ::testing::Test {
protected:
  void TearDown() override { ResetDefaultScoreSettings(); }
};

TEST_F(DefaultScoreSettingsTest, ANewScoreCopiesTheFilledBlock) {
  ResetDefaultScoreSettings();
  ASSERT_TRUE(SetDefaultScoreText(kSongCopyright1, u"Copyright \u00A9 2026 <Name>"));
  ASSERT_TRUE(SetDefaultScoreText(kSongCopyright2, u"Made with the editor"));

  TMusicScore score(&GetDefaultScoreSettings());
  EXPECT_EQ(std::u16string(score.GetSongInfoText(kSongCopyright1)), u"Copyright \u00A9 2026 <Name>");
  EXPECT_EQ(std::u16string(score.GetSongInfoText(kSongCopyright2)), u"Made with the editor");
  EXPECT_EQ(std::u16string(score.GetSongInfoText(kSongTitle)), u"");

  // The score holds a copy: later changes of the block do not reach it.
  SetDefaultScoreText(kSongCopyright1, u"Other");
  EXPECT_EQ(std::u16string(score.GetSongInfoText(kSongCopyright1)), u"Copyright \u00A9 2026 <Name>");
}

TEST_F(DefaultScoreSettingsTest, ResetZeroesEveryField) {
  for (int field = 0; field < kSongInfoFieldCount; ++field) SetDefaultScoreText(field, u"x");
  ResetDefaultScoreSettings();
  for (int field = 0; field < kSongInfoFieldCount; ++field)
    EXPECT_EQ(std::u16string(GetDefaultScoreSettings().Get(field)), u"") << field;
}

TEST_F(DefaultScoreSettingsTest, TextsAreCutToTheirFieldsAndUnknownFieldsRefused) {
  ResetDefaultScoreSettings();
  EXPECT_TRUE(SetDefaultScoreText(kSongCopyright1, std::u16string(300, u'c')));
  EXPECT_EQ(std::u16string(GetDefaultScoreSettings().Get(kSongCopyright1)).size(),
            static_cast<size_t>(kSongCopyrightUnits - 1));
  EXPECT_FALSE(SetDefaultScoreText(6, u"x"));
  EXPECT_FALSE(SetDefaultScoreText(-1, u"x"));
}

}  // namespace
}  // namespace kvt
