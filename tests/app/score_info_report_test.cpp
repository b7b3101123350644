#include "app/score_info_report.h"

#include <gtest/gtest.h>

#include "notation/staff/music_fonts_data.h"
#include "notation/staff/music_score.h"
#include "notation/files/binary/score_file_header.h"
#include "tests/app/convert_fixture.h"

namespace kvt {
namespace {

TEST(ScoreInfoReportTest, TextScoreReportWhole) {
  std::unique_ptr<TMusicScore> score = test::MakeSmallScore();
  score->SetSongInfoText(kSongLyricist, u"B. Poet");
  score->SetSongInfoText(kSongCopyright1, u"(c) 2024 Someone");
  EXPECT_EQ(FormatScoreInfoReport(*score, nullptr),
            "Title:\tSmall Tune\r\n"
            "Author:\tA. Writer\r\n"
            "Lyricist:\tB. Poet\r\n"
            "Copyright1:\t(c) 2024 Someone\r\n"
            "Copyright2:\t\r\n"
            "KVT Play Time:\t0:05\r\n"
            "SMF Play Time:\t0:02\r\n"
            "Fonts Used:\tKVT2STDA, Times New Roman");
}

TEST(ScoreInfoReportTest, BinaryScoreAddsVersionAndCodePage) {
  std::unique_ptr<TMusicScore> score = test::MakeSmallScore();
  struct Case {
    int writerVersion;
    int formatVersion;
    int codePage;
    const char* tail;
  } cases[] = {
      {0x024B, 36, 1252, "\r\nKVT Version:\t2.75\r\nANSICodePage:\t1252\r\n"},
      {0x0200, 25, 1250, "\r\nKVT Version:\t2.0\r\nANSICodePage:\t1250\r\n"},
      // Before format version 25 the file kept no code page of its own.
      {0x0132, 24, 1252, "\r\nKVT Version:\t1.50\r\n"},
  };
  for (const Case& c : cases) {
    TScoreFileHeader header;
    header.writerVersion = c.writerVersion;
    header.formatVersion = c.formatVersion;
    header.codePage = c.codePage;
    const std::string report = FormatScoreInfoReport(*score, &header);
    const std::string fonts = "Fonts Used:\tKVT2STDA, Times New Roman";
    ASSERT_NE(report.find(fonts), std::string::npos);
    EXPECT_EQ(report.substr(report.find(fonts) + fonts.size()), c.tail) << c.formatVersion;
  }
}

TEST(ScoreInfoReportTest, CommentsEndEveryLineWithOneCrLf) {
  // The comments may carry CR LF (typed in the editor), bare LF or bare CR: each is one line
  // end in the report, never CR CR LF.
  std::unique_ptr<TMusicScore> score = test::MakeSmallScore();
  score->SetSongInfoText(kSongComments, u"one\r\ntwo\nthree\rfour");
  TScoreFileHeader header;
  header.writerVersion = 0x024B;
  header.formatVersion = 36;
  const std::string report = FormatScoreInfoReport(*score, &header);
  EXPECT_EQ(report.find("\r\r"), std::string::npos);
  for (size_t i = 0; i < report.size(); ++i) {
    if (report[i] == '\n') {
      EXPECT_TRUE(i > 0 && report[i - 1] == '\r') << i;
    }
    if (report[i] == '\r') {
      EXPECT_TRUE(i + 1 < report.size() && report[i + 1] == '\n') << i;
    }
  }
  const std::string tail =
      "ANSICodePage:\t1252\r\n\r\nComments:\r\none\r\ntwo\r\nthree\r\nfour\r\n";
  ASSERT_GE(report.size(), tail.size());
  EXPECT_EQ(report.substr(report.size() - tail.size()), tail);
}

TEST(ScoreInfoReportTest, WideTextsInTheAnsiCodePage) {
  std::unique_ptr<TMusicScore> score = test::MakeSmallScore();
  score->SetSongInfoText(kSongTitle, u"Caf\u00e9 \u2603");
  const std::string report = FormatScoreInfoReport(*score, nullptr);
  EXPECT_EQ(report.substr(0, report.find('\r')), "Title:\tCaf\xE9 ?");
}

TEST(ScoreInfoReportTest, FontsListedOnceEachInOrderOfFirstUse) {
  std::unique_ptr<TMusicScore> score = test::MakeSmallScore();
  TMusicFontsData& fonts = score->GetFonts();
  fonts.SetMusicFontFace("Bravura");
  fonts.GetTextFont(kFontStaffBold)->SetFace("Liberation Sans");
  fonts.GetTextFont(kFontPageText)->SetFace("times new roman");  // the same face as the others
  fonts.GetTextFont(kFontUser1 + 5)->SetFace("BRAVURA");
  fonts.GetTextFont(kFontUser1)->SetFace("DejaVu Serif");
  EXPECT_EQ(ListScoreFonts(*score), "Bravura, Times New Roman, Liberation Sans, DejaVu Serif");
}

TEST(ScoreInfoReportTest, LineEndsBecomeOneCrLfEach) {
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {
      {"", ""},           {"a", "a"},           {"a\nb", "a\r\nb"},         {"a\r\nb", "a\r\nb"},
      {"a\rb", "a\r\nb"}, {"\n\n", "\r\n\r\n"}, {"a\r\r\nb", "a\r\n\r\nb"}, {"end\r", "end\r\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(WithCrLfLineEnds(c.in), c.out) << c.in;
}

}  // namespace
}  // namespace kvt
