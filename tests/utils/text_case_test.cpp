#include "utils/text_case.h"

#include <gtest/gtest.h>

namespace kvt {
namespace {

int SignOf(int v) { return (v > 0) - (v < 0); }

TEST(TextCaseTest, FoldsAsciiAndLatinLetters) {
  const struct {
    char32_t upper;
    char32_t lower;
  } pairs[] = {{U'A', U'a'}, {U'Z', U'z'}, {0xC0, 0xE0}, {0xDE, 0xFE}, {0x100, 0x101},
               {0x139, 0x13A}, {0x147, 0x148}, {0x14A, 0x14B}, {0x178, 0xFF}, {0x17D, 0x17E}};
  for (const auto& p : pairs) {
    EXPECT_EQ(FoldCase(p.upper), p.lower) << std::hex << static_cast<uint32_t>(p.upper);
    EXPECT_EQ(FoldCase(p.lower), p.lower) << std::hex << static_cast<uint32_t>(p.lower);
  }
  // Not letters, or letters without a partner here.
  for (char32_t c : {U'@', U'[', char32_t{0xD7}, char32_t{0xDF}, char32_t{0x131}, char32_t{0x138},
                     char32_t{0x17F}, char32_t{0x391}}) {
    EXPECT_EQ(FoldCase(c), c) << std::hex << static_cast<uint32_t>(c);
  }
}

TEST(TextCaseTest, NarrowAndWideCompareAlike) {
  const struct {
    const char* a;
    const char* b;
    const char16_t* wa;
    const char16_t* wb;
    int order;
  } cases[] = {
      {"abc", "ABC", u"abc", u"ABC", 0},
      {"abc", "abd", u"abc", u"abd", -1},
      {"ab", "abc", u"ab", u"abc", -1},
      {"10", "9", u"10", u"9", -1},
      {"\xC3\x89t\xC3\xA9", "\xC3\xA9T\xC3\x89", u"\u00C9t\u00E9", u"\u00E9T\u00C9", 0},
      {"\xC5\xBD", "\xC5\xBE", u"\u017D", u"\u017E", 0},
      {"Z", "\xC3\xA0", u"Z", u"\u00E0", -1},  // by code point: z before à
      {"", "", u"", u"", 0},
      {nullptr, "", nullptr, u"", 0},
      {nullptr, "a", nullptr, u"a", -1},
      {"\xF0\x9D\x84\x9E", "\xEF\xBF\xBF", u"\U0001D11E", u"\uFFFF", 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SignOf(CompareTextIgnoreCase(c.a, c.b)), c.order) << (c.a ? c.a : "(null)");
    EXPECT_EQ(SignOf(CompareTextIgnoreCase(c.b, c.a)), -c.order) << (c.a ? c.a : "(null)");
    EXPECT_EQ(SignOf(CompareWideIgnoreCase(c.wa, c.wb)), c.order) << (c.a ? c.a : "(null)");
  }
}

TEST(TextCaseTest, InvalidBytesAreComparedNotSkipped) {
  EXPECT_NE(CompareTextIgnoreCase("a\xFF", "a"), 0);
  EXPECT_NE(CompareTextIgnoreCase("a\xC3", "a\xE3"), 0);
  EXPECT_GT(CompareTextIgnoreCase("\x80", "\xF4\x8F\xBF\xBF"), 0);  // invalid sorts last
}

TEST(TextCaseTest, EqualityAndPrefix) {
  EXPECT_TRUE(TextEquals("Abc", "aBC", true));
  EXPECT_FALSE(TextEquals("Abc", "aBC", false));
  EXPECT_TRUE(TextEquals(nullptr, "", false));
  EXPECT_TRUE(StartsWithIgnoreCase("Hello", "hE"));
  EXPECT_TRUE(StartsWithIgnoreCase("Hello", ""));
  EXPECT_FALSE(StartsWithIgnoreCase("He", "hello"));
}

TEST(TextCaseTest, FindTextIgnoreCaseReturnsPlaceInText) {
  const char text[] = "Der \xC3\x84rger mit \xC3\xA4RGER";
  EXPECT_EQ(FindTextIgnoreCase(text, "\xC3\xA4rger"), text + 4);
  EXPECT_EQ(FindTextIgnoreCase(text, "MIT"), text + 11);
  EXPECT_EQ(FindTextIgnoreCase(text, "rgerx"), nullptr);
  EXPECT_EQ(FindTextIgnoreCase(text, ""), text);
  EXPECT_EQ(FindTextIgnoreCase(nullptr, "a"), nullptr);
  EXPECT_EQ(FindTextIgnoreCase("abc", nullptr), nullptr);
}

}  // namespace
}  // namespace kvt
