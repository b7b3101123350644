// The editor's bar-number strip, with and without multi-bar-rest ranges.

#include "draw/layout/bar_number_strip.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "draw/layout/score_draw_info.h"
#include "draw/music_fonts.h"
#include "draw/recording_context.h"
#include "draw/staff_color_handles.h"
#include "notation/staff/music_fonts_data.h"
#include "notation/staff/music_score.h"
#include "tests/notation/staff_builder.h"

namespace kvt {
namespace {

class BarNumberStripTest : public ::testing::Test {
protected:
  void SetUp() override {
    fonts = std::make_unique<TMusicFonts>(data, colors, 20);
    score.AddStaff(std::make_unique<TMusicStaff>());
    test::TStaffBuilder b(*score.GetStaff(0));
    b.TimeSig(4, 2);
    for (int bar = 0; bar < 4; ++bar) {
      for (int i = 0; i < 4; ++i) b.Note(0);
      b.Bar();
    }
    b.MultiRest(4);
    b.Bar();
    b.Note(0, kDurWhole);
    layout = std::make_unique<TScoreDrawInfo>(score, *fonts, kDrawModeEdit);
    layout->AddStaff(0);
    layout->LayoutStavesFromItems({}, 1 << 24);
  }
  std::vector<std::u16string> Strip(bool ranges) {
    TRecordingContext dc;
    fonts->BeginDrawing(&dc, &dc);
    DrawBarNumberStrip(*layout, 0, {0, 1 << 24, 100, 10, 4, ranges});
    fonts->EndDrawing();
    std::vector<std::u16string> texts;
    for (const TRecordedOp& op : dc.Ops())
      if (op.kind == TRecordedOp::TKind::kText) texts.push_back(op.text);
    return texts;
  }

  TMusicFontsData data;
  TStaffColorHandles colors;
  std::unique_ptr<TMusicFonts> fonts;
  TMusicScore score;
  std::unique_ptr<TScoreDrawInfo> layout;
};

TEST_F(BarNumberStripTest, AFourBarRestFromBarFiveShowsOneRange) {
  const std::vector<std::u16string> expected{u"1", u"2", u"3", u"4", u"5 - 8", u"9"};
  EXPECT_EQ(Strip(true), expected);
}

TEST_F(BarNumberStripTest, WithoutRangesARestOfOnePositionHasRoomForItsFirstNumberOnly) {
  // The rest's later bars stand at one x: their numbers find no room.
  const std::vector<std::u16string> expected{u"1", u"2", u"3", u"4", u"5", u"9"};
  EXPECT_EQ(Strip(false), expected);
}

TEST_F(BarNumberStripTest, NumbersFollowTheStartingBar) {
  score.SetStartingBar(10);
  const std::vector<std::u16string> texts = Strip(true);
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(texts.front(), u"10");
  EXPECT_EQ(texts[4], u"14 - 17");
}

}  // namespace
}  // namespace kvt
