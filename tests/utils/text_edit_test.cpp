#include "utils/text_edit.h"

#include <gtest/gtest.h>

#include <string>

namespace kvt {
namespace {

std::string Edited(std::string text, char* (*edit)(char*)) {
  text.push_back(0);
  edit(text.data());
  return text.c_str();
}

TEST(TextEditTest, TrimsBlanksTabsAndLineEnds) {
  const struct {
    const char* text;
    const char* left;
    const char* right;
    const char* both;
  } cases[] = {
      {" \t\r\nab c\n ", "ab c\n ", " \t\r\nab c", "ab c"},
      {"abc", "abc", "abc", "abc"},
      {"   ", "", "", ""},
      {"", "", "", ""},
      {"\xC2\xA0x\xC2\xA0", "\xC2\xA0x\xC2\xA0", "\xC2\xA0x\xC2\xA0", "\xC2\xA0x\xC2\xA0"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Edited(c.text, TrimLeft), c.left);
    EXPECT_EQ(Edited(c.text, TrimRight), c.right);
    EXPECT_EQ(Edited(c.text, TrimSpaces), c.both);
  }
  EXPECT_EQ(TrimSpaces(nullptr), nullptr);
}

TEST(TextEditTest, TrimWithSetNeverCutsMultiByteCharacter) {
  // A set holding bytes of "é" (C3 A9) trims only its ASCII members.
  char text[] = "x\xC3\xA9--";
  EXPECT_STREQ(TrimRight(text, "-\xA9\xC3"), "x\xC3\xA9");
  char other[] = "**a*";
  EXPECT_STREQ(TrimSpaces(other, "*"), "a");
}

TEST(TextEditTest, WideTrimsKeepSurrogatePairs) {
  char16_t text[] = u" \t\U0001D11E x\U0001D11E\r\n";
  EXPECT_EQ(std::u16string(TrimWideLeft(text)), u"\U0001D11E x\U0001D11E\r\n");
  EXPECT_EQ(std::u16string(TrimWideRight(text)), u"\U0001D11E x\U0001D11E");
  // Surrogate units in a set are never trimmed, so a pair is never split.
  const char16_t set[] = {0xD834, 0xDD1E, u'x', 0};
  char16_t pairs[] = u"\U0001D11Ex\U0001D11E";
  EXPECT_EQ(std::u16string(TrimWideRight(pairs, set)), u"\U0001D11Ex\U0001D11E");
  char16_t plain[] = u"xxay";
  EXPECT_EQ(std::u16string(TrimWideLeft(plain, u"x")), u"ay");
}

TEST(TextEditTest, ReplaceCharsFirstPairWinsAndZeroDeletes) {
  const char pairs[] = {'a', 'b', 'a', 'c', '-', 0, '\xA9', 'X'};
  char text[] = "a-a\xC3\xA9-z";
  EXPECT_STREQ(ReplaceChars(text, pairs, 4), "bb\xC3\xA9z");
}

TEST(TextEditTest, CollapseRepeatsOfSetCharacters) {
  const struct {
    const char* text;
    const char* set;
    const char* result;
  } cases[] = {
      {"a   b\t\tc", " ", "a b\t\tc"},
      {"a   b\t\tc", " \t", "a b\tc"},
      {"aa--bb", "-", "aa-bb"},
      {"\xE2\x80\x80\x80", "\x80", "\xE2\x80\x80\x80"},  // bytes of multi-byte characters never collapse
      {"", " ", ""},
  };
  for (const auto& c : cases) {
    std::string text = c.text;
    text.push_back(0);
    EXPECT_STREQ(CollapseRepeats(text.data(), c.set), c.result) << c.text;
  }
}

}  // namespace
}  // namespace kvt
