// Lyrics laid out and drawn with the rest of a score: a lyric staff whose notes are all hidden
// (as the MIDI import makes them) still sets every syllable under its note, and dynamics below
// a staff with lyrics keep clear of the lines.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "draw/layout/music_fonts_metrics.h"
#include "draw/layout/score_draw_info.h"
#include "draw/music_font_profile.h"
#include "draw/music_fonts.h"
#include "draw/recording_context.h"
#include "draw/staff_color_handles.h"
#include "notation/items/dynamic_level_data.h"
#include "notation/items/lyric_text.h"
#include "notation/staff/music_fonts_data.h"
#include "notation/staff/music_score.h"
#include "notation/staff/staff_lyrics.h"
#include "tests/notation/staff_builder.h"

namespace kvt {
namespace {

using test::TStaffBuilder;

bool IsGlyph(const TRecordedOp& op, int glyph) {
  return op.kind == TRecordedOp::TKind::kGlyph && MusicGlyphAt(glyph) &&
         MusicGlyphAt(glyph)->codePoint == op.codePoint;
}
double CentreX(const TDcRect& r) { return (r.left + r.right) / 2.0; }

class LyricPlacementTest : public ::testing::Test {
protected:
  void SetUp() override { fonts = std::make_unique<TMusicFonts>(data, colors, 20); }

  TMusicStaff& AddStaff() {
    score->AddStaff(std::make_unique<TMusicStaff>());
    return *score->GetStaff(score->GetStaffCount() - 1);
  }
  static void AddLyrics(TMusicStaff& staff, const char16_t* text, int align) {
    auto line = std::make_unique<TLyricText>();
    line->ReadFromEdit(text, false);
    staff.MakeLyrics().Add(std::move(line));
    staff.GetLyrics()->SetAlign(align);
  }
  void LayOutAndDraw(int mode = kDrawModePrint) {
    layout = std::make_unique<TScoreDrawInfo>(*score, *fonts, mode);
    for (int s = 0; s < score->GetStaffCount(); ++s) layout->AddStaff(s);
    layout->LayoutStavesFromItems({}, 1 << 20);
    layout->BreakAndJustify(1 << 20);
    fonts->BeginDrawing(&dc, &dc);
    layout->Draw(1 << 20, 100, 0);
    fonts->EndDrawing();
  }
  std::vector<const TRecordedOp*> Texts() const {
    std::vector<const TRecordedOp*> out;
    for (const TRecordedOp& op : dc.Ops())
      if (op.kind == TRecordedOp::TKind::kText && op.text != u"-") out.push_back(&op);
    std::sort(out.begin(), out.end(),
              [](auto* a, auto* b) { return a->bounds.left < b->bounds.left; });
    return out;
  }

  TMusicFontsData data;
  TStaffColorHandles colors;
  std::unique_ptr<TMusicFonts> fonts;
  std::unique_ptr<TMusicScore> score = std::make_unique<TMusicScore>();
  TRecordingContext dc;
  std::unique_ptr<TScoreDrawInfo> layout;
};

// A melody of eight notes over two bars and a lyric staff of hidden notes at the same times.
TEST_F(LyricPlacementTest, SyllablesOfHiddenNotesStandUnderTheirNotes) {
  for (int align : {kLyricsAlignStandard, kLyricsAlignNoteStart}) {
    for (int mode : {kDrawModePrint, kDrawModeEdit}) {
      SCOPED_TRACE(std::to_string(align) + " mode " + std::to_string(mode));
      layout.reset();
      score = std::make_unique<TMusicScore>();
      TStaffBuilder melody(AddStaff());
      TMusicStaff& words = AddStaff();
      words.SetLines(0);
      TStaffBuilder sung(words);
      for (int bar = 0; bar < 2; ++bar) {
        for (int i = 0; i < 4; ++i) {
          melody.Note(i - 2);
          sung.Note(0).SetVisibility(kVisNever);
        }
        melody.Bar();
        sung.Bar().SetVisibility(kVisNever);
      }
      AddLyrics(words, u"Wan-der-ing home-ward-ly sing-ing a-gain", align);
      dc.Clear();
      LayOutAndDraw(mode);

      std::vector<double> heads;
      for (const TRecordedOp& op : dc.Ops())
        if (IsGlyph(op, 7)) heads.push_back(CentreX(op.bounds));
      std::sort(heads.begin(), heads.end());
      const std::vector<const TRecordedOp*> syllables = Texts();
      // Editing shows the hidden heads too: the melody's are the first of each pair in time.
      ASSERT_EQ(syllables.size(), 8u);
      ASSERT_GE(heads.size(), 8u);
      std::vector<double> melodyHeads;
      for (size_t i = 0; i < heads.size(); i += heads.size() / 8) melodyHeads.push_back(heads[i]);
      const double unit = fonts->GetGlyphWidth(7);
      for (size_t i = 0; i < syllables.size(); ++i) {
        SCOPED_TRACE(i);
        if (align == kLyricsAlignStandard) {
          EXPECT_NEAR(CentreX(syllables[i]->bounds), melodyHeads[i], unit / 2 + 1);
        } else {
          EXPECT_NEAR(syllables[i]->bounds.left, melodyHeads[i] - unit / 2, unit / 2 + 1);
        }
        if (i > 0) {
          EXPECT_LT(syllables[i - 1]->bounds.right, syllables[i]->bounds.left);
        }
      }
      // Every hyphen stands between the syllables it joins.
      int hyphens = 0;
      for (const TRecordedOp& op : dc.Ops()) {
        if (op.kind != TRecordedOp::TKind::kText || op.text != u"-") continue;
        ++hyphens;
        const auto after = std::find_if(syllables.begin(), syllables.end(),
                                        [&](auto* s) { return s->bounds.left >= op.bounds.right; });
        ASSERT_NE(after, syllables.begin());
        ASSERT_NE(after, syllables.end());
        EXPECT_GE(op.bounds.left, (*(after - 1))->bounds.right);
      }
      EXPECT_EQ(hyphens, 5);
    }
  }
}

TEST_F(LyricPlacementTest, DynamicsBelowTheStaffKeepClearOfTheLyrics) {
  TMusicStaff& staff = AddStaff();
  staff.SetBoundaries(-12, 12);
  TStaffBuilder b(staff);
  for (int i = 0; i < 4; ++i) {
    // Each dynamic at the default place below the staff, where the lyric line stands.
    auto dynamic = std::make_unique<TDynamicLevelData>(i % 2 ? kDynMF : kDynP);
    dynamic->SetPos(8);
    b.Add(std::move(dynamic));
    b.Note(0, kDurQuarter, i == 1 ? kMaskCrescendo : 0);
  }
  AddLyrics(staff, u"sing-ing home a-gain", kLyricsAlignStandard);
  LayOutAndDraw();
  const std::vector<const TRecordedOp*> syllables = Texts();
  ASSERT_EQ(syllables.size(), 4u);
  double lyricTop = 1e9, lyricBottom = -1e9;
  for (const TRecordedOp* s : syllables) {
    lyricTop = std::min<double>(lyricTop, s->bounds.top);
    lyricBottom = std::max<double>(lyricBottom, s->bounds.bottom);
  }
  int dynamics = 0;
  for (const TRecordedOp& op : dc.Ops()) {
    if (!IsGlyph(op, 73 + kDynP) && !IsGlyph(op, 73 + kDynMF)) continue;
    ++dynamics;
    // The glyph's ink (its metadata box) stands between the staff and the lyrics when it fits
    // there, else beyond them.
    EXPECT_TRUE(op.bounds.bottom <= lyricTop || op.bounds.top >= lyricBottom)
        << op.bounds.top << ".." << op.bounds.bottom << " lyrics " << lyricTop << ".."
        << lyricBottom;
  }
  EXPECT_EQ(dynamics, 4);
}

}  // namespace
}  // namespace kvt
