#include "utils/text_copy.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kvt {
namespace {

struct CopyCase {
  const char* text;
  int size;
  const char* copied;
};

TEST(TextCopyTest, CopyStringMaxCutsOnCharacterBoundary) {
  const CopyCase cases[] = {
      {"abcdef", 4, "abc"},
      {"abc", 10, "abc"},
      {"abc", 1, ""},
      {nullptr, 5, ""},
      {"ab\xC3\xA9", 4, "ab"},              // "é" needs bytes 3 and 4
      {"ab\xC3\xA9", 5, "ab\xC3\xA9"},
      {"\xE2\x82\xAC\xE2\x82\xAC", 6, "\xE2\x82\xAC"},  // two euro signs, room for 5 bytes
      {"\xF0\x9D\x84\x9E!", 4, ""},          // a four-byte character never fits in 3
  };
  for (const CopyCase& c : cases) {
    std::vector<char> buffer(static_cast<size_t>(c.size), '#');
    EXPECT_STREQ(CopyStringMax(buffer.data(), c.text, c.size), c.copied) << c.size;
  }
  char untouched[2] = {'x', 'y'};
  CopyStringMax(untouched, "abc", 0);
  EXPECT_EQ(untouched[0], 'x');
}

TEST(TextCopyTest, CopyStringMaxAllowsOverlap) {
  char text[] = "0123456789";
  EXPECT_STREQ(CopyStringMax(text, text + 4, 4), "456");
}

TEST(TextCopyTest, CopyWideStringMaxNeverSplitsSurrogatePair) {
  const struct {
    const char16_t* text;
    int size;
    std::u16string copied;
  } cases[] = {
      {u"abcdef", 4, u"abc"},
      {u"ab\U0001D11E", 4, u"ab"},
      {u"ab\U0001D11E", 5, u"ab\U0001D11E"},
      {u"\U0001D11E", 2, u""},
      {nullptr, 3, u""},
  };
  for (const auto& c : cases) {
    std::vector<char16_t> buffer(static_cast<size_t>(c.size), u'#');
    EXPECT_EQ(std::u16string(CopyWideStringMax(buffer.data(), c.text, c.size)), c.copied) << c.size;
  }
}

TEST(TextCopyTest, EscapeAmpersandsWithinSize) {
  const CopyCase cases[] = {
      {"&File", 20, "&&File"},
      {"Save & Close &", 20, "Save && Close &&"},
      {"a&b&c", 7, "a&&b&c"},   // room for 6 bytes: the second one stays single
      {"&&", 3, "&&"},
      {"ab\xC3\xA9&", 5, "ab\xC3\xA9"},  // the cut keeps "é" whole
      {"\xC3\xA9&\xC3\xA9", 6, "\xC3\xA9&\xC3\xA9"},
      {"x&\xC3\xA9", 6, "x&&\xC3\xA9"},
  };
  for (const CopyCase& c : cases) {
    std::vector<char> buffer(static_cast<size_t>(c.size), '#');
    EXPECT_STREQ(EscapeAmpersands(buffer.data(), c.text, c.size), c.copied) << c.text << " " << c.size;
  }
}

}  // namespace
}  // namespace kvt
