#include "draw/music_font_profile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace kvt {
namespace {

// Every code point the profile draws: the glyph table's and the music-text digits'.
std::vector<char32_t> MappedCodePoints() {
  std::vector<char32_t> out;
  for (int i = 0; i < kMusicGlyphCount; ++i) {
    if (MusicGlyphAt(i)->visible()) out.push_back(MusicGlyphAt(i)->codePoint);
  }
  for (int d = 0; d < 10; ++d) out.push_back(MusicDigitGlyph(d).codePoint);
  return out;
}

TEST(MusicFontProfileTest, EveryDrawnIndexHasAVisibleGlyph) {
  const std::set<int> blank = {0, 1, 35, kAnchorGlyph, 51};
  for (int i = 0; i < kMusicGlyphCount; ++i) {
    const TMusicGlyph* g = MusicGlyphAt(i);
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->visible(), blank.count(i) == 0) << i;
    if (i != 0) {
      EXPECT_GT(g->advance, 0) << i;
    }
    EXPECT_LT(g->box.swX, g->box.neX) << i;
  }
  EXPECT_EQ(MusicGlyphAt(82), nullptr);
  EXPECT_EQ(MusicGlyphAt(-1), nullptr);
}

TEST(MusicFontProfileTest, TableCodesMatchTheGlyphTable) {
  const std::pair<int, uint8_t> cases[] = {{1, 0x20},  {2, 0x61},  {7, 0x6B},  {11, 0x87}, {18, 0x85},
                                           {39, 0x27}, {50, 0x4F}, {53, 0x5D}, {57, 0x90}, {72, 0x9F},
                                           {73, 0x50}, {80, 0x57}, {81, 0x73}};
  for (auto [index, code] : cases) EXPECT_EQ(MusicGlyphAt(index)->code, code) << index;
  EXPECT_EQ(MusicGlyphAt(7)->name, "noteheadBlack");
  EXPECT_DOUBLE_EQ(MusicGlyphAt(43)->advance, 1.652);
}

TEST(MusicFontProfileTest, MusicTextMapping) {
  struct Case {
    char16_t ch;
    char32_t codePoint;  // 0: no glyph
  } cases[] = {
      {u'0', 0xE080},   {u'9', 0xE089},       {u'k', 0xE0A4},  {0xF06B, 0xE0A4},  // private-range form
      {0xF030, 0xE080}, {0x201A, 0xE240},     {0x0192, 0xE242},  // Windows-1252 0x82, 0x83
      {0x2021, 0xE241}, {0x0178, 0xE1BF},     {0x0090, 0xE1BA},  // 0x87, 0x9F, undefined 0x90
      {u'a', 0xE050},   {u'H', 0xECA7},       {u'x', 0xE047},
  };
  for (const Case& c : cases) {
    const TMusicGlyph* g = MusicTextGlyph(c.ch);
    ASSERT_NE(g, nullptr) << std::hex << int(c.ch);
    EXPECT_EQ(g->codePoint, c.codePoint) << std::hex << int(c.ch);
  }
  for (char16_t ch : {char16_t(u'!'), char16_t(0x4E00), char16_t(0xD800), char16_t(0xF000), char16_t(0xFFFF)}) {
    EXPECT_EQ(MusicTextGlyph(ch), nullptr) << std::hex << int(ch);
  }
  // The blank draws nothing but takes a filled head's room.
  EXPECT_FALSE(MusicTextGlyph(u' ')->visible());
  EXPECT_DOUBLE_EQ(MusicBlankAdvance(), 1.18);
  // Inline segno and coda are text-sized, the staff signs are not.
  EXPECT_LT(MusicTextGlyph(u'x')->advance, MusicGlyphAt(33)->advance);
}

TEST(MusicFontProfileTest, BoxesByCodePoint) {
  const TGlyphBox box = MusicGlyphBoxOf(0xE050);
  EXPECT_DOUBLE_EQ(box.neY, 4.392);
  EXPECT_DOUBLE_EQ(MusicGlyphBoxOf(0xECA5).neY, 2.752);  // unscaled
  EXPECT_DOUBLE_EQ(MusicGlyphBoxOf(0x41).neX, 0);
}

// fontconfig's own reading of the font file: every code point the profile draws is there.
TEST(MusicFontProfileTest, FontFileHasEveryMappedCodePoint) {
  const std::string command =
      std::string("fc-query --format '%{charset}' '") + KVT_SOURCE_DIR "/third_party/bravura/bravura.otf'";
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string text;
  char buffer[4096];
  while (size_t n = fread(buffer, 1, sizeof buffer, pipe)) text.append(buffer, n);
  ASSERT_EQ(pclose(pipe), 0) << "fc-query failed";
  std::vector<std::pair<unsigned long, unsigned long>> ranges;
  std::istringstream in(text);
  std::string range;
  while (in >> range) {
    const size_t dash = range.find('-');
    const unsigned long first = std::stoul(range.substr(0, dash), nullptr, 16);
    const unsigned long last = dash == std::string::npos ? first : std::stoul(range.substr(dash + 1), nullptr, 16);
    ranges.emplace_back(first, last);
  }
  ASSERT_FALSE(ranges.empty());
  for (char32_t cp : MappedCodePoints()) {
    bool found = false;
    for (auto [first, last] : ranges) found = found || (cp >= first && cp <= last);
    EXPECT_TRUE(found) << std::hex << static_cast<unsigned long>(cp);
  }
}

}  // namespace
}  // namespace kvt
