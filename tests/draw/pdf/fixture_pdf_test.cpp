// Small scores made for the page checks (tests/draw/pdf/data) through the page renderer to a
// PDF, checked with poppler's tools: the music font embedded and a head for every note drawn
// (seconds, clusters, beams, tuplets, a slur and a tie), the tuplet numbers, the syllables of
// a lyric staff of hidden notes under the melody's notes, and bar numbers at system starts.

#include <gtest/gtest.h>

#include <QString>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "notation/files/text/score_text_file.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "platform/music_font_loader.h"
#include "tests/draw/pdf/pdf_tools.h"

namespace kvt {
namespace {

using test::RunTool;
using test::TWord;

constexpr char32_t kWholeHead = 0xE0A2, kHalfHead = 0xE0A3, kBlackHead = 0xE0A4;
constexpr char32_t kTuplet3 = 0xE883;
constexpr char32_t kFirstFlag = 0xE240, kLastFlag = 0xE24F;

bool IsHead(char32_t c) { return c >= kWholeHead && c <= kBlackHead; }

class FixturePdfTest : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(LoadMusicFont()); }

  // Loads tests/draw/pdf/data/NAME.kvttxt and renders it; false when either fails.
  bool Render(const std::string& name) {
    score =
        LoadTextScoreFile(std::string(KVT_SOURCE_DIR) + "/tests/draw/pdf/data/" + name + ".kvttxt",
                          TServices())
            .score;
    if (!score) return false;
    file = dir.filePath(QString::fromStdString(name + ".pdf")).toStdString();
    return test::RenderScorePdf(*score, QString::fromStdString(file), page) >= 1;
  }
  std::u32string Text() const {
    return QString::fromUtf8(RunTool("pdftotext -raw -enc UTF-8 '" + file + "' -").c_str())
        .toStdU32String();
  }
  std::vector<TWord> PageWords() const {
    return test::Words(RunTool("pdftotext -bbox '" + file + "' -"));
  }
  // The notes the score draws: every member of every note and chord not hidden for good.
  int DrawnHeads() const {
    int heads = 0;
    for (int s = 0; s < score->GetStaffCount(); ++s) {
      const TMusicStaff& staff = *score->GetStaff(s);
      for (int i = 0; i < staff.GetItemCount(); ++i) {
        const TNotatedItem& item = *staff.GetItem(i);
        if (item.IsMusicNoteClass() && item.GetVisibility() != kVisNever)
          heads += item.GetMemberCount();
      }
    }
    return heads;
  }
  static char32_t CodeOf(const TWord& w) {
    const std::u32string text = QString::fromStdString(w.text).toStdU32String();
    return text.size() == 1 ? text[0] : 0;
  }

  QTemporaryDir dir;
  std::string file;
  std::unique_ptr<TMusicScore> score;
  TPageRect page;
};

TEST_F(FixturePdfTest, EveryFixtureEmbedsTheMusicFontAndDrawsAHeadPerNote) {
  for (const char* name :
       {"seconds", "clusters", "beams_tuplets", "slur_tie", "lyric_staff", "bar_numbers"}) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(Render(name));
    const std::string fonts = RunTool("pdffonts '" + file + "'");
    const size_t line = fonts.find("Bravura");
    ASSERT_NE(line, std::string::npos) << fonts;
    EXPECT_NE(fonts.substr(line, fonts.find('\n', line) - line).find(" yes "), std::string::npos)
        << fonts;
    const std::u32string text = Text();
    EXPECT_EQ(std::count_if(text.begin(), text.end(), IsHead), DrawnHeads());
  }
}

TEST_F(FixturePdfTest, BeamedNotesHaveNoFlagsAndTupletsShowTheirNumber) {
  ASSERT_TRUE(Render("beams_tuplets"));
  const std::u32string text = Text();
  EXPECT_EQ(std::count_if(text.begin(), text.end(),
                          [](char32_t c) { return c >= kFirstFlag && c <= kLastFlag; }),
            0);
  EXPECT_EQ(std::count(text.begin(), text.end(), kTuplet3), 2);
}

TEST_F(FixturePdfTest, SyllablesOfAHiddenLyricStaffStandUnderTheMelody) {
  ASSERT_TRUE(Render("lyric_staff"));
  std::vector<TWord> heads, syllables, hyphens;
  for (const TWord& w : PageWords()) {
    if (IsHead(CodeOf(w)))
      heads.push_back(w);
    else if (w.text == "-")
      hyphens.push_back(w);
    else if (CodeOf(w) < 0xE000)
      syllables.push_back(w);
  }
  auto byX = [](const TWord& a, const TWord& b) { return a.xMin < b.xMin; };
  std::sort(heads.begin(), heads.end(), byX);
  std::sort(syllables.begin(), syllables.end(), byX);
  // The title is above the music; the lyric line is below it.
  syllables.erase(std::remove_if(syllables.begin(), syllables.end(),
                                 [&](const TWord& w) { return w.yMin < heads.front().yMin; }),
                  syllables.end());
  ASSERT_EQ(heads.size(), 11u);
  ASSERT_EQ(syllables.size(), heads.size());  // the twelfth syllable has no note
  for (size_t i = 0; i < heads.size(); ++i) {
    SCOPED_TRACE(syllables[i].text);
    // Centred under the head ("Standard Rules"), a trailing comma aside.
    const double centre = (syllables[i].xMin + syllables[i].xMax) / 2;
    EXPECT_NEAR(centre, (heads[i].xMin + heads[i].xMax) / 2, 4.0);
    EXPECT_GT(syllables[i].yMin, heads[i].yMax - 40);  // below the staff
  }
  ASSERT_EQ(hyphens.size(), 5u);
  for (const TWord& h : hyphens) {
    const auto after = std::find_if(syllables.begin(), syllables.end(),
                                    [&](const TWord& s) { return s.xMin >= h.xMax; });
    ASSERT_TRUE(after != syllables.begin() && after != syllables.end()) << h.xMin;
    EXPECT_GE(h.xMin, (after - 1)->xMax);
  }
}

TEST_F(FixturePdfTest, BarNumbersStandAtEverySystemStartAfterTheFirst) {
  ASSERT_TRUE(Render("bar_numbers"));
  std::vector<TWord> numbers;
  std::vector<double> clefRows;
  for (const TWord& w : PageWords()) {
    if (CodeOf(w) == 0xE050) clefRows.push_back(w.yMin);  // a treble clef starts every system
    if (!w.text.empty() && w.text.find_first_not_of("0123456789") == std::string::npos)
      numbers.push_back(w);
  }
  ASSERT_GE(clefRows.size(), 3u);
  ASSERT_EQ(numbers.size(), clefRows.size() - 1);
  const double left = test::Pt(page.left);
  int previous = 1;
  for (size_t i = 0; i < numbers.size(); ++i) {
    SCOPED_TRACE(numbers[i].text);
    const int number = std::stoi(numbers[i].text);
    EXPECT_GT(number, previous);
    previous = number;
    EXPECT_LT(std::fabs((numbers[i].xMin + numbers[i].xMax) / 2 - left), 30);
    // Above the staff of the system it numbers.
    EXPECT_LT(numbers[i].yMax, clefRows[i + 1] + 40);
    EXPECT_GT(numbers[i].yMin, clefRows[i]);
  }
}

}  // namespace
}  // namespace kvt
