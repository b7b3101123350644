// The example score through the page renderer to a PDF, checked with poppler's tools: the
// music font embedded, the title page in place on page 1 only, lyrics below their staff and
// bar numbers at the start of every later system.

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cmath>
#include <cstdio>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "notation/files/text/score_text_file.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "platform/music_font_loader.h"
#include "tests/draw/pdf/pdf_tools.h"

namespace kvt {
namespace {

using test::Pt;
using test::RunTool;
using test::TWord;
using test::Words;

class ScorePdfTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(LoadMusicFont());
    score = LoadTextScoreFile(std::string(KVT_SOURCE_DIR) + "/examples/example.kvttxt", TServices())
                .score;
    ASSERT_TRUE(score);
  }
  // Renders every page; answers the page count.
  int Render(const QString& file) { return test::RenderScorePdf(*score, file, page); }
  const TWord* Find(const std::vector<TWord>& words, const std::string& text,
                    int onPage = 1) const {
    for (const TWord& w : words)
      if (w.text == text && w.page == onPage) return &w;
    return nullptr;
  }
  std::unique_ptr<TMusicScore> score;
  TPageRect page;
};

TEST_F(ScorePdfTest, ExampleEmbedsTheMusicFontAndPlacesTheTitlePage) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("example.pdf"));
  ASSERT_GE(Render(file), 1);
  const std::string fonts = RunTool("pdffonts '" + file.toStdString() + "'");
  ASSERT_NE(fonts.find("Bravura"), std::string::npos) << fonts;
  const size_t line = fonts.find("Bravura");
  EXPECT_NE(fonts.substr(line, fonts.find('\n', line) - line).find(" yes "), std::string::npos)
      << fonts;

  const std::vector<TWord> words = Words(RunTool("pdftotext -bbox '" + file.toStdString() + "' -"));
  const TWord* title = Find(words, "Evening");
  // Author and lyricist are the same people here: the author's stands at the right.
  const TWord* author = nullptr;
  for (const TWord& w : words)
    if (w.page == 1 && w.text == "developers" && (!author || w.xMax > author->xMax)) author = &w;
  const TWord* copyright = Find(words, "Example");
  ASSERT_TRUE(title && author && copyright);
  const double left = Pt(page.left), right = Pt(page.left + page.width);
  const double top = Pt(page.top), bottom = Pt(page.top + page.height);
  EXPECT_NEAR(title->yMin, top, 12);
  EXPECT_GT(title->xMin, left + 50);  // centred, not at the margin
  EXPECT_GT(author->yMin, title->yMax - 2);
  EXPECT_NEAR(author->xMax, right, 3);  // the author's last word ends at the right margin
  EXPECT_NEAR(copyright->yMax, bottom, 12);

  // Lyrics stand under the voice staff, below the title block.
  const TWord* sun = Find(words, "Sun");
  ASSERT_NE(sun, nullptr);
  EXPECT_GT(sun->yMin, author->yMax);
}

TEST_F(ScorePdfTest, EveryNoteHeadOfTheExampleIsInThePdf) {
  int heads = 0;
  for (int s = 0; s < score->GetStaffCount(); ++s) {
    const TMusicStaff& staff = *score->GetStaff(s);
    for (int i = 0; i < staff.GetItemCount(); ++i)
      if (staff.GetItem(i)->IsMusicNoteClass()) heads += staff.GetItem(i)->GetMemberCount();
  }
  ASSERT_GT(heads, 0);
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("heads.pdf"));
  Render(file);
  const std::string utf8 = RunTool("pdftotext -raw -enc UTF-8 '" + file.toStdString() + "' -");
  int found = 0;
  for (char32_t c : QString::fromUtf8(utf8.c_str()).toStdU32String())
    if (c >= 0xE0A2 && c <= 0xE0A4) ++found;  // whole, half and black note heads
  EXPECT_EQ(found, heads);
}

TEST_F(ScorePdfTest, BarNumbersStandAtTheStartOfLaterSystems) {
  score->SetBarNumbers(1);
  // A narrow page makes several systems.
  TPageMargins margins = score->GetMargins();
  margins.left = 2.5f;
  margins.right = 2.5f;
  score->SetMargins(margins);
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("bars.pdf"));
  Render(file);
  const std::vector<TWord> words = Words(RunTool("pdftotext -bbox '" + file.toStdString() + "' -"));
  const double left = Pt(page.left);
  int numbers = 0;
  for (const TWord& w : words) {
    if (w.page != 1 || w.text.empty() ||
        w.text.find_first_not_of("0123456789") != std::string::npos)
      continue;
    if (std::stoi(w.text) < 2) continue;
    ++numbers;
    // Centred on the system's left edge (the bracket room of the braced piano staves).
    EXPECT_LT(std::fabs((w.xMin + w.xMax) / 2 - left), 30) << w.text;
  }
  EXPECT_GE(numbers, 1);
}

}  // namespace
}  // namespace kvt
