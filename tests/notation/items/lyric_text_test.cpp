#include "notation/items/lyric_text.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "utils/memory_block.h"
#include "utils/stream.h"

namespace kvt {
namespace {

// A byte stream over a string: what it writes, it can read back.
class StringStream : public TKRVStream {
public:
  StringStream() = default;
  explicit StringStream(std::string bytes) : bytes(std::move(bytes)) {}
  void PutByte(int byte) override { bytes.push_back(static_cast<char>(byte)); }
  int GetByte() override {
    if (pos >= bytes.size()) {
      SetError();
      return 0;
    }
    return static_cast<unsigned char>(bytes[pos++]);
  }
  std::string bytes;

private:
  size_t pos = 0;
};

using Syllables = std::vector<std::pair<int, std::u16string>>;

Syllables SyllablesOf(const TLyricText& text) {
  Syllables out;
  for (TLyricSyllableIter it(text, 0); it.IsValid(); it.Next())
    out.emplace_back(it.GetSeparator(), std::u16string(it.GetSyllable()));
  return out;
}

std::string FileText(const TLyricText& text) {
  StringStream stream;
  text.WriteToStream(stream, kCodePageUtf8);
  return stream.bytes;
}

struct ParseCase {
  const char* name;
  std::u16string line;
  bool underscoreAsSpace;
  Syllables syllables;
  std::string fileText;  // without the closing line feed and zero byte
};

class LyricParseTest : public testing::TestWithParam<ParseCase> {};

TEST_P(LyricParseTest, ParsesAndWritesBack) {
  const ParseCase& c = GetParam();
  TLyricText text;
  EXPECT_TRUE(text.ParseLine(c.line, false, c.underscoreAsSpace));
  EXPECT_EQ(SyllablesOf(text), c.syllables);
  EXPECT_EQ(FileText(text), c.fileText + std::string("\n", 1) + std::string(1, '\0'));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LyricParseTest,
    testing::Values(
        ParseCase{"Hyphens", u"Twin-kle twin-kle", true,
                  {{1, u"Twin"}, {45, u"kle"}, {32, u"twin"}, {45, u"kle"}},
                  "Twin-kle twin-kle"},
        ParseCase{"DoubledHyphen", u"well--known", true, {{1, u"well-"}, {45, u"known"}},
                  "well--known"},
        ParseCase{"HyphenAtLineEnd", u"so-  ", true, {{1, u"so-"}}, "so-"},
        ParseCase{"HyphenThenBlanks", u"a-   b", true, {{1, u"a"}, {45, u"b"}}, "a-b"},
        ParseCase{"LeadingHyphen", u"  -oh yes", true, {{1, u"-oh"}, {32, u"yes"}}, "-oh yes"},
        ParseCase{"UnderscoreAsSpace", u"a_b c", true, {{1, u"a b"}, {32, u"c"}}, "a_b c"},
        ParseCase{"UnderscoreKept", u"a_b", false, {{1, u"a_b"}}, "a_b"},
        ParseCase{"Tabs", u"\tone\ttwo\r", true, {{1, u"one"}, {32, u"two"}}, "one two"},
        ParseCase{"Astral", u"\U0001D11E-x", true, {{1, u"\U0001D11E"}, {45, u"x"}},
                  "\xF0\x9D\x84\x9E-x"}),
    [](const testing::TestParamInfo<ParseCase>& info) { return std::string(info.param.name); });

TEST(LyricTextTest, BlankLineParsesToNothing) {
  TLyricText text;
  EXPECT_FALSE(text.ParseLine(u" \t\r ", false, true));
  EXPECT_TRUE(text.IsEmpty());
}

TEST(LyricTextTest, EmptyTextWritesOnlyTheEnd) {
  const TLyricText text;
  EXPECT_EQ(FileText(text), std::string("\n\0", 2));
  EXPECT_EQ(text.WriteToEdit(), u"\r\n");
  EXPECT_EQ(text.GetUsed(), 1u);
  EXPECT_EQ(text.GetBuffer()[0], 0);
  EXPECT_EQ(text.GetBuffer()[1], 0);
}

TEST(LyricTextTest, VersesFromEditText) {
  TLyricText text;
  text.ReadFromEdit(u"\r\n\r\nOne two\r\nthree\r\n\r\n\r\nfour-teen\r\n", true);
  const Syllables want = {{1, u"One"}, {32, u"two"}, {13, u"three"}, {10, u"four"}, {45, u"teen"}};
  EXPECT_EQ(SyllablesOf(text), want);
  EXPECT_EQ(FileText(text), std::string("One two\nthree\n\nfour-teen\n\0", 26));
  EXPECT_EQ(text.WriteToEdit(), u"One two\r\nthree\r\n\r\nfour-teen\r\n");
}

TEST(LyricTextTest, StreamRoundTrip) {
  StringStream in(std::string("Ly-rics_here\nand \xC3\xA9t\xC3\xA9\n\nend\n\0", 29));
  TLyricText text;
  text.ReadFromStream(in, true, kCodePageUtf8);
  const Syllables want = {{1, u"Ly"}, {45, u"rics here"}, {13, u"and"}, {32, u"\u00E9t\u00E9"},
                          {10, u"end"}};
  EXPECT_EQ(SyllablesOf(text), want);
  EXPECT_EQ(FileText(text), in.bytes);
}

TEST(LyricTextTest, FirstSeparatorIsAlwaysOneAndLaterOnesNeverEndTheText) {
  TLyricText text;
  text.AddSyllable(kLyricNewVerse, u"a", false);
  text.AddSyllable(0, u"b", false);
  text.AddSyllable(kLyricFirst, u"c", false);
  text.AddSyllable(kLyricHyphen, std::u16string(u"d\0e", 3), false);
  const Syllables want = {{1, u"a"}, {32, u"b"}, {32, u"c"}, {45, u"d"}};
  EXPECT_EQ(SyllablesOf(text), want);
  EXPECT_EQ(text.GetSyllableCount(), 4);
}

TEST(LyricTextTest, BufferGrowsForLongSyllables) {
  TLyricText text;
  const std::u16string huge(20000, u'x');
  text.AddSyllable(1, u"short", false);
  text.AddSyllable(32, huge, false);
  text.AddSyllable(32, huge, false);
  EXPECT_GE(text.GetCapacity(), text.GetUsed() + 1);
  EXPECT_EQ(text.GetSyllableCount(), 3);
  EXPECT_EQ(SyllablesOf(text)[2].second, huge);
}

TEST(LyricTextTest, BufferGrowsForManySyllables) {
  TLyricText text;
  for (int i = 0; i < 5000; ++i) text.AddSyllable(32, u"la", false);
  EXPECT_EQ(text.GetSyllableCount(), 5000);
  EXPECT_EQ(text.GetUsed(), 1u + 5000u * 4u);
  EXPECT_EQ(text.GetBuffer()[text.GetUsed()], 0);
}

TEST(LyricTextTest, LongStreamLineIsCutOnACharacterBoundary) {
  struct Case {
    const char* name;
    std::string tail;  // starts at byte 31999
  };
  const Case cases[] = {
      {"two-byte character across the limit", "\xC3\xA9zz"},
      {"four-byte character across the limit", "\xF0\x9D\x84\x9Ezz"},
  };
  for (const Case& c : cases) {
    StringStream in(std::string(31999, 'a') + c.tail + "\nnext\n");
    TLyricText text;
    text.ReadFromStream(in, false, kCodePageUtf8);
    const Syllables got = SyllablesOf(text);
    ASSERT_EQ(got.size(), 2u) << c.name;
    EXPECT_EQ(got[0].second, std::u16string(31999, u'a')) << c.name;
    EXPECT_EQ(got[1], std::make_pair(13, std::u16string(u"next"))) << c.name;
  }
}

TEST(LyricTextTest, LongSyllableIsWrittenCutOnACharacterBoundary) {
  struct Case {
    const char* name;
    std::u16string unit;
    size_t count;
    size_t wantBytes;
  };
  const Case cases[] = {
      {"two-byte characters", u"\u00E9", 16001, 32000},
      {"three-byte characters", u"\u20AC", 10667, 31998},
      {"surrogate pairs", u"\U0001D11E", 8001, 32000},
  };
  for (const Case& c : cases) {
    std::u16string syllable;
    for (size_t i = 0; i < c.count; ++i) syllable += c.unit;
    TLyricText text;
    text.AddSyllable(1, syllable, false);
    const std::string bytes = FileText(text);
    ASSERT_EQ(bytes.size(), c.wantBytes + 2) << c.name;
    // What was written converts back without a damaged character.
    const std::u16string back = ConvertToWide(kCodePageUtf8, bytes.substr(0, c.wantBytes).c_str());
    EXPECT_EQ(back, syllable.substr(0, back.size())) << c.name;
    EXPECT_EQ(back.find(u'\uFFFD'), std::u16string::npos) << c.name;
  }
}

TEST(LyricTextTest, EditTextLeavesOutEntriesPastTheLimit) {
  TLyricText text;
  // Each entry is a space and 999 units; 61 of them would pass 60000.
  std::u16string syllable;
  for (int i = 0; i < 333; ++i) syllable += u"a\U0001D11E";
  ASSERT_EQ(syllable.size(), 999u);
  for (int i = 0; i < 70; ++i) text.AddSyllable(32, syllable, false);
  const std::u16string edit = text.WriteToEdit();
  EXPECT_EQ(edit.size(), 999u + 59u * 1000u + 2u);
  EXPECT_EQ(edit.substr(edit.size() - 2), u"\r\n");
  // The text before the line end ends with a whole surrogate pair.
  const char16_t last = edit[edit.size() - 3];
  EXPECT_TRUE(last >= 0xDC00 && last <= 0xDFFF);
}

TEST(LyricTextTest, EditOffsets) {
  TLyricText text;
  text.ReadFromEdit(u"Twin-kle twin-kle\r\nlit_tle\r\n\r\nstar", false);
  const int want[] = {0, 5, 9, 14, 19, 30};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(text.GetEditOffset(i), want[i]) << i;
  EXPECT_EQ(text.GetEditOffset(-3), 0);
  EXPECT_EQ(text.GetEditOffset(6), 34);
  EXPECT_EQ(text.WriteToEdit().substr(30, 4), u"star");
}

TEST(LyricSyllableIterTest, MovesAndStopsAtTheEnds) {
  TLyricText text;
  text.ParseLine(u"a b c", false, true);
  TLyricSyllableIter it(text, 0);
  it.Prev();
  EXPECT_EQ(it.GetIndex(), 0);
  EXPECT_EQ(it.GetSyllable(), u"a");
  EXPECT_TRUE(it.SeekTo(2));
  EXPECT_EQ(it.GetSyllable(), u"c");
  EXPECT_FALSE(it.SeekTo(9));
  EXPECT_FALSE(it.IsValid());
  EXPECT_EQ(it.GetSeparator(), 0);
  it.Next();
  EXPECT_EQ(it.GetIndex(), 3);
  it.Prev();
  EXPECT_EQ(it.GetSyllable(), u"c");
  EXPECT_TRUE(it.SeekTo(0));
  EXPECT_EQ(it.GetSyllable(), u"a");

  const TLyricText empty;
  TLyricSyllableIter none(empty, 0);
  EXPECT_FALSE(none.IsValid());
  none.Next();
  none.Prev();
  EXPECT_EQ(none.GetIndex(), 0);
  EXPECT_EQ(none.GetSyllable(), u"");
}

TEST(LyricTextTest, ClearFreesTheBuffer) {
  TLyricText text;
  text.ParseLine(u"la la", false, true);
  text.Clear();
  EXPECT_TRUE(text.IsEmpty());
  EXPECT_EQ(text.GetCapacity(), 0u);
  EXPECT_EQ(text.GetSyllableCount(), 0);
  text.ParseLine(u"again", true, true);
  EXPECT_EQ(SyllablesOf(text), (Syllables{{1, u"again"}}));
}

}  // namespace
}  // namespace kvt
