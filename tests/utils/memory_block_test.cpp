#include "utils/memory_block.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "utils/precondition.h"
#include "utils/text_encoding.h"

namespace kvt {
namespace {

TEST(MemoryBlockTest, ResizeKeepsTheCommonPrefixAndZeroFills) {
  TKVMemoryBlock block("abcdefghi");
  ASSERT_EQ(block.Size(), 10u);
  block.Resize(4);
  EXPECT_EQ(std::string(block.Text(), 4), "abcd");
  block.Resize(10);
  EXPECT_EQ(std::string(block.Text(), 10), std::string("abcd\0\0\0\0\0\0", 10));
  block.Resize(0);
  EXPECT_EQ(block.Data(), nullptr);
}

TEST(MemoryBlockTest, SetTextOfEmptyTextZeroesWithoutShrinking) {
  TKVMemoryBlock block("xyz");
  block.SetText("");
  EXPECT_EQ(block.Size(), 4u);
  EXPECT_EQ(std::string(block.Text(), 4), std::string(4, '\0'));
  block.SetText("longer text");
  EXPECT_STREQ(block.Text(), "longer text");
}

TEST(MemoryBlockTest, WideTextCopiesTerminator) {
  TKVMemoryBlock block(u"ab");
  EXPECT_EQ(block.Size(), 6u);
  block.SetWideText(u"abcd");
  EXPECT_EQ(std::u16string(block.WideText()), u"abcd");
}

TEST(MemoryBlockTest, DetachHandsOverTheStorage) {
  TKVMemoryBlock block("hi");
  uint8_t* data = block.Detach();
  EXPECT_EQ(block.Size(), 0u);
  EXPECT_EQ(block.Data(), nullptr);
  EXPECT_STREQ(reinterpret_cast<char*>(data), "hi");
  delete[] data;
}

TEST(MemoryBlockTest, ConvertingFromOwnStorageIsAPreconditionFault) {
  TKVMemoryBlock block("abc");
  EXPECT_THROW(block.FromMultiByte(65001, block.Text(), 0), TPreconditionError);
}

struct CutCase {
  const char* utf8;
  int maxChars;
  std::u16string expected;
};

TEST(MemoryBlockTest, ToWideCutsToMaxCharsMinusOne) {
  const CutCase cases[] = {
      {"hello", 3, u"he"},
      {"hello", -1, u"hello"},
      {"hello", 0, u"hello"},
      {"hello", 6, u"hello"},
      {"hello", 99, u"hello"},
      // A character outside the basic plane is never split: 2 units would cut the pair.
      {"a\xF0\x9D\x84\x9E", 3, u"a"},
      {"a\xF0\x9D\x84\x9E", 4, u"a\U0001D11E"},
  };
  for (const CutCase& c : cases) {
    EXPECT_EQ(std::u16string(ConvertToWide(65001, c.utf8, c.maxChars)), c.expected)
        << c.utf8 << " max " << c.maxChars;
  }
}

TEST(MemoryBlockTest, FromWideCutsOnACharacterBoundary) {
  EXPECT_STREQ(ConvertFromWide(65001, u"a\u00e9b", 2), "a");
  EXPECT_STREQ(ConvertFromWide(65001, u"\u00e9a", 2), "");
  EXPECT_STREQ(ConvertFromWide(65001, u"\u00e9a", 3), "\xC3\xA9");
  EXPECT_STREQ(ConvertFromWide(65001, u"\u00e9a", 0), "\xC3\xA9" "a");
}

TEST(MemoryBlockTest, SuccessiveConversionsShareTheScratch) {
  const char16_t* first = ConvertToWide(65001, "one", 0);
  const char16_t* second = ConvertToWide(65001, "two", 0);
  EXPECT_EQ(first, second);
  EXPECT_EQ(std::u16string(first), u"two");
}

struct EncodingCase {
  const char* name;
  std::string bytes;
  std::u16string wide;
};

TEST(TextEncodingTest, Utf8DecodingReplacesMalformedInput) {
  const EncodingCase cases[] = {
      {"ascii", "abc", u"abc"},
      {"two-byte", "\xC3\xA9", u"\u00e9"},
      {"three-byte", "\xE2\x82\xAC", u"\u20ac"},
      {"four-byte", "\xF0\x9D\x84\x9E", u"\U0001D11E"},
      {"stray continuation", "a\x80" "b", u"a\uFFFD" "b"},
      {"overlong slash", "\xC0\xAF", u"\uFFFD\uFFFD"},
      {"encoded surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
      {"cut sequence", "a\xE2\x82", u"a\uFFFD\uFFFD"},
      {"past U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
  };
  for (const EncodingCase& c : cases) {
    EXPECT_EQ(Utf8ToUtf16(c.bytes), c.wide) << c.name;
  }
}

TEST(TextEncodingTest, LoneSurrogatesBecomeReplacementCharacters) {
  std::u16string lone = u"a";
  lone.push_back(0xD800);
  lone += u"b";
  EXPECT_EQ(Utf16ToUtf8(lone), "a\xEF\xBF\xBD" "b");
}

TEST(TextEncodingTest, Windows1252RoundTrip) {
  const EncodingCase cases[] = {
      {"euro and quotes", "\x80\x93\x94", u"\u20ac\u201c\u201d"},
      {"latin-1 range", "\xE9\xFF", u"\u00e9\u00ff"},
      {"undefined byte", "\x81", u"\u0081"},
  };
  for (const EncodingCase& c : cases) {
    EXPECT_EQ(MultiByteToUtf16(1252, c.bytes), c.wide) << c.name;
    EXPECT_EQ(Utf16ToMultiByte(0, c.wide), c.bytes) << c.name;
  }
  EXPECT_EQ(Utf16ToMultiByte(1252, u"\u4e2d\U0001D11E"), "??");
}

// Every code page of a score converts through its own table, not as Windows-1252: single-byte
// pages, the double-byte pages of East Asia, "?" for what a page cannot hold and U+FFFD for a
// byte that starts no character.
TEST(TextEncodingTest, CodePagesOfOlderScores) {
  const struct {
    const char* name;
    int codePage;
    std::string bytes;
    std::u16string wide;
  } cases[] = {
      {"Cyrillic", 1251, "\xCF\xF0\xE8\xE2\xE5\xF2", u"\u041f\u0440\u0438\u0432\u0435\u0442"},
      {"Greek", 1253, "\xE1\xE2\xE3", u"\u03b1\u03b2\u03b3"},
      {"Central European", 1250, "\x8A\xE8", u"\u0160\u010d"},
      {"Thai", 874, "\xA1", u"\u0e01"},
      {"Japanese", 932, "\x93\xFA\x96\x7B\x8C\xEA", u"\u65e5\u672c\u8a9e"},
      {"Japanese half-width kana", 932, "\xB1", u"\uff71"},
      {"Simplified Chinese", 936, "\xD6\xD0\xCE\xC4", u"\u4e2d\u6587"},
      {"Korean", 949, "\xC7\xD1", u"\ud55c"},
      {"Traditional Chinese", 950, "\xA4\xA4", u"\u4e2d"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MultiByteToUtf16(c.codePage, c.bytes), c.wide) << c.name;
    EXPECT_EQ(Utf16ToMultiByte(c.codePage, c.wide), c.bytes) << c.name;
  }
  EXPECT_EQ(Utf16ToMultiByte(1251, u"a\u65e5\U0001D11E\u0416"), "a??\xC6");
  // A lead byte without its trail byte, and one before a byte that cannot follow it.
  EXPECT_EQ(MultiByteToUtf16(932, "\x93"), u"\ufffd");
  EXPECT_EQ(MultiByteToUtf16(932, "\x93 "), u"\ufffd ");
}

TEST(TextEncodingTest, PrefixLengthsRespectCharacterBoundaries) {
  EXPECT_EQ(Utf8PrefixLength("a\xE2\x82\xAC" "b", 3), 1u);
  EXPECT_EQ(Utf8PrefixLength("a\xE2\x82\xAC" "b", 4), 4u);
  EXPECT_EQ(Utf8PrefixLength("abc", 10), 3u);
  EXPECT_EQ(Utf8CompleteLength("ab\xE2\x82"), 2u);
  EXPECT_EQ(Utf8CompleteLength("ab\xE2\x82\xAC"), 5u);
  EXPECT_EQ(Utf8CompleteLength("ab\xC3"), 2u);
  EXPECT_EQ(Utf8CompleteLength("abc"), 3u);
  std::u16string pair = u"x\U0001D11E";
  EXPECT_EQ(Utf16PrefixLength(pair, 2), 1u);
  EXPECT_EQ(Utf16PrefixLength(pair, 3), 3u);
}

}  // namespace
}  // namespace kvt

#include "utils/resource_table.h"

namespace kvt {
namespace {

TEST(MemoryBlockResourceTest, ResourceCopyIsFollowedByTenZeroBytes) {
  static const char kData[] = "seven!!";
  RegisterResource("memblock-test", "TEXT", kData, 7);
  TKVMemoryBlock block("memblock-test", "TEXT");
  ASSERT_EQ(block.Size(), 17u);
  EXPECT_EQ(std::string(block.Text(), 7), "seven!!");
  EXPECT_EQ(block.Data()[7], 0);
  TKVMemoryBlock missing("no-such-resource", "TEXT");
  EXPECT_EQ(missing.Size(), 0u);
}

}  // namespace
}  // namespace kvt
