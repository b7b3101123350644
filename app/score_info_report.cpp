#include "app/score_info_report.h"

#include <cstdio>
#include <string_view>
#include <vector>

#include "app/play_time.h"
#include "notation/staff/music_fonts_data.h"
#include "notation/staff/music_score.h"
#include "notation/files/binary/score_file_header.h"
#include "utils/text_case.h"
#include "utils/text_encoding.h"

namespace kvt {

namespace {

constexpr int kReportCodePage = 1252;
// From this format version on, the header's code page is the file's own.
constexpr int kFirstOwnCodePageVersion = 25;

std::string Ansi(const char16_t* text) {
  return Utf16ToMultiByte(kReportCodePage, text == nullptr ? u"" : text);
}

void AddFace(std::vector<std::string>& faces, const char* face) {
  if (face == nullptr || face[0] == '\0') return;
  for (const std::string& known : faces) {
    if (CompareTextIgnoreCase(known.c_str(), face) == 0) return;
  }
  faces.emplace_back(face);
}

}  // namespace

std::string ListScoreFonts(const TMusicScore& score) {
  const TMusicFontsData& fonts = score.GetFonts();
  std::vector<std::string> faces;
  AddFace(faces, fonts.GetMusicFontName());
  for (int i = 0; i < kScoreTextFontCount; ++i) {
    const TFontSpec* font = fonts.GetTextFont(i);
    if (font != nullptr) AddFace(faces, font->Face());
  }
  std::string list;
  for (const std::string& face : faces) {
    if (!list.empty()) list += ", ";
    list += face;
  }
  return list;
}

std::string WithCrLfLineEnds(const std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r') {
      // CR LF is one line end, not two.
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out += "\r\n";
    } else if (c == '\n') {
      out += "\r\n";
    } else {
      out += c;
    }
  }
  return out;
}

std::string FormatScoreInfoReport(const TMusicScore& score, const TScoreFileHeader* binaryHeader) {
  // Built with LF line ends and converted once at the end, so no line end is ever doubled.
  std::string text;
  text += "Title:\t" + Ansi(score.GetSongInfoText(kSongTitle));
  text += "\nAuthor:\t" + Ansi(score.GetSongInfoText(kSongAuthor));
  text += "\nLyricist:\t" + Ansi(score.GetSongInfoText(kSongLyricist));
  text += "\nCopyright1:\t" + Ansi(score.GetSongInfoText(kSongCopyright1));
  text += "\nCopyright2:\t" + Ansi(score.GetSongInfoText(kSongCopyright2));
  text += "\nKVT Play Time:\t" + FormatPlayTime(MeasurePlayTime(score, true));
  text += "\nSMF Play Time:\t" + FormatPlayTime(MeasurePlayTime(score, false));
  text += "\nFonts Used:\t" + Utf16ToMultiByte(kReportCodePage, Utf8ToUtf16(ListScoreFonts(score)));
  if (binaryHeader != nullptr) {
    const int version = binaryHeader->writerVersion & 0xFFFF;
    char line[64];
    std::snprintf(line, sizeof line, "\nKVT Version:\t%d.%d\n", version / 256, version % 256);
    text += line;
    if (binaryHeader->formatVersion >= kFirstOwnCodePageVersion) {
      std::snprintf(line, sizeof line, "ANSICodePage:\t%d\n",
                    static_cast<int>(binaryHeader->codePage));
      text += line;
    }
  }
  const char16_t* comments = score.GetSongInfoText(kSongComments);
  if (comments != nullptr && comments[0] != u'\0') {
    text += "\nComments:\n" + Ansi(comments) + "\n";
  }
  return WithCrLfLineEnds(text);
}

}  // namespace kvt
