// Laid-out and drawn lyrics: under every alignment, at the end of a system, after an ending and
// on a last system left at its natural width, no syllable or hyphen runs into its neighbour.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "draw/layout/score_draw_info.h"
#include "draw/music_fonts.h"
#include "draw/recording_context.h"
#include "draw/staff_color_handles.h"
#include "notation/items/lyric_text.h"
#include "notation/staff/music_fonts_data.h"
#include "notation/staff/music_score.h"
#include "notation/staff/staff_lyrics.h"
#include "tests/notation/staff_builder.h"

namespace kvt {
namespace {

using test::TStaffBuilder;

struct TOverlapCase {
  const char* name;
  int align;
  // Wider than the music: one system; narrower: the first system breaks after a few bars.
  int width;
  bool extendLast;
  const char16_t* text;
  std::function<void(TStaffBuilder&)> build;
};

// Four quarter notes a bar, then an ending bar of quarter, quarter, half.
void Bars(TStaffBuilder& b, int bars, bool ending) {
  for (int bar = 0; bar < bars; ++bar) {
    for (int i = 0; i < 4; ++i) b.Note(0);
    b.Bar();
  }
  if (ending) b.Ending({2});
  b.Note(0);
  b.Note(1);
  b.Note(-1, kDurHalf);
}

constexpr const char16_t* kWords = u"homeward a-gain homeward a-gain homeward a-gain homeward a-gain";

const TOverlapCase kCases[] = {
    {"LastSystemNotExtendedFromNoteStart", kLyricsAlignNoteStart, 1 << 20, false, u"sun on the wa-ter homeward a-gain.",
     [](TStaffBuilder& b) { Bars(b, 1, false); }},
    {"LastSystemNotExtendedCentred", kLyricsAlignStandard, 1 << 20, false, u"sun on the wa-ter homeward a-gain.",
     [](TStaffBuilder& b) { Bars(b, 1, false); }},
    {"LastSystemExtendedFromNoteStart", kLyricsAlignNoteStart, 20000, true, u"sun on the wa-ter homeward a-gain.",
     [](TStaffBuilder& b) { Bars(b, 1, false); }},
    {"AfterAnEndingFromNoteStart", kLyricsAlignNoteStart, 1 << 20, false, u"sun on the wa-ter homeward a-gain.",
     [](TStaffBuilder& b) { Bars(b, 1, true); }},
    {"AfterAnEndingCentred", kLyricsAlignStandard, 1 << 20, false, u"sun on the wa-ter homeward a-gain.",
     [](TStaffBuilder& b) { Bars(b, 1, true); }},
    {"HyphenatedWordsFromNoteStart", kLyricsAlignNoteStart, 1 << 20, false, u"wa-ter-fall-ing-down-to-the-sea",
     [](TStaffBuilder& b) { Bars(b, 1, false); }},
    {"HyphenatedWordsCentred", kLyricsAlignStandard, 1 << 20, false, u"wa-ter-fall-ing-down-to-the-sea",
     [](TStaffBuilder& b) { Bars(b, 1, false); }},
    // Centred syllables stand under the head, after the accidentals in front of it.
    {"AccidentalsCentred", kLyricsAlignStandard, 1 << 20, false, u"homeward wa-ter homeward wa-ter",
     [](TStaffBuilder& b) {
       for (int i = 0; i < 4; ++i) b.Note(0, kDurQuarter, 0, i % 2 ? kAccNone : kAccSharp);
     }},
    {"LastBarOfABrokenSystemFromNoteStart", kLyricsAlignNoteStart, 1500, false, kWords,
     [](TStaffBuilder& b) {
       for (int i = 0; i < 4; ++i) {
         b.Note(0);
         b.Note(1);
         b.Note(-1, kDurHalf);
         b.Bar();
       }
       Bars(b, 0, true);
     }},
    {"LastBarOfABrokenSystemCentred", kLyricsAlignStandard, 1500, false, kWords,
     [](TStaffBuilder& b) {
       for (int i = 0; i < 4; ++i) {
         b.Note(0);
         b.Note(1);
         b.Note(-1, kDurHalf);
         b.Bar();
       }
       Bars(b, 0, true);
     }},
};

void PrintTo(const TOverlapCase& c, std::ostream* os) { *os << c.name; }

class LyricOverlapTest : public ::testing::TestWithParam<TOverlapCase> {
protected:
  void SetUp() override { fonts = std::make_unique<TMusicFonts>(data, colors, 20); }

  TMusicFontsData data;
  TStaffColorHandles colors;
  std::unique_ptr<TMusicFonts> fonts;
  TMusicScore score;
  TRecordingContext dc;
};

TEST_P(LyricOverlapTest, NeighbouringSyllablesKeepAGap) {
  const TOverlapCase& c = GetParam();
  score.AddStaff(std::make_unique<TMusicStaff>());
  TMusicStaff& staff = *score.GetStaff(0);
  TStaffBuilder b(staff);
  c.build(b);
  auto line = std::make_unique<TLyricText>();
  line->ReadFromEdit(c.text, false);
  staff.MakeLyrics().Add(std::move(line));
  staff.GetLyrics()->SetAlign(c.align);
  score.SetExtendLastSystem(c.extendLast);

  TScoreDrawInfo layout(score, *fonts, kDrawModePrint);
  layout.AddStaff(0);
  layout.LayoutStavesFromItems({}, c.width);
  layout.BreakAndJustify(c.width);
  fonts->BeginDrawing(&dc, &dc);
  layout.Draw(1 << 20, 100, 0);
  fonts->EndDrawing();

  // The lyric line is the lowest text; ending numbers and the like stand above the staff.
  double lyricY = -1e9;
  for (const TRecordedOp& op : dc.Ops())
    if (op.kind == TRecordedOp::TKind::kText) lyricY = std::max(lyricY, op.origin.y);
  std::vector<const TRecordedOp*> texts;
  for (const TRecordedOp& op : dc.Ops())
    if (op.kind == TRecordedOp::TKind::kText && op.origin.y == lyricY) texts.push_back(&op);
  ASSERT_GE(texts.size(), 4u);
  std::sort(texts.begin(), texts.end(),
            [](const TRecordedOp* a, const TRecordedOp* b) { return a->bounds.left < b->bounds.left; });
  for (size_t i = 0; i + 1 < texts.size(); ++i) {
    SCOPED_TRACE(std::string(texts[i]->text.begin(), texts[i]->text.end()) + " | " +
                 std::string(texts[i + 1]->text.begin(), texts[i + 1]->text.end()));
    EXPECT_LT(texts[i]->bounds.right, texts[i + 1]->bounds.left);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, LyricOverlapTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<TOverlapCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kvt
