#include "notation/files/text/score_text_tokenizer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "notation/items/name_lists.h"

namespace kvt {
namespace {

std::vector<std::string> Fields(TKVTTextImportTokenizer& tokens, std::string& line) {
  std::vector<std::string> out;
  const int count = tokens.SplitFields(line.data());
  for (int i = 0; i < count; ++i) out.emplace_back(tokens.GetField(i));
  return out;
}

TEST(ScoreTextTokenizerTest, SplitsFieldsAtUnescapedBars) {
  const struct {
    std::string line;
    std::vector<std::string> fields;
  } cases[] = {
      {"|Clef|Type:Bass", {"Clef", "Type:Bass"}},
      {"| Clef |\tType:Bass \r", {"Clef", "Type:Bass"}},
      {"|Text|Text:\"a\\}b\\\\|c\"", {"Text", "Text:\"a\\}b\\\\", "c\""}},
      {"|Bar|", {"Bar|"}},  // a bar at the very end starts no field
      {"|", {""}},
      {"no bar", {}},
      {"", {}},
      {"|A|B\\", {"A", "B\\"}},
  };
  for (const auto& c : cases) {
    TKVTTextImportTokenizer tokens;
    std::string line = c.line;
    EXPECT_EQ(Fields(tokens, line), c.fields) << c.line;
  }
}

TEST(ScoreTextTokenizerTest, KeepsAtMost512Fields) {
  std::string line;
  for (int i = 0; i < 600; ++i) line += "|f" + std::to_string(i);
  TKVTTextImportTokenizer tokens;
  ASSERT_EQ(tokens.SplitFields(line.data()), TKVTTextImportTokenizer::kMaxFields);
  EXPECT_EQ(std::string(tokens.GetField(511)).substr(0, 9), "f511|f512");
  EXPECT_STREQ(tokens.GetField(600), "");
}

TEST(ScoreTextTokenizerTest, FindsTheFirstFieldByPrefixWithoutCase) {
  TKVTTextImportTokenizer tokens;
  std::string line = "|Note|Pos2:5|pos: 3|POS:9|Dur:4th";
  tokens.SplitFields(line.data());
  ASSERT_TRUE(tokens.FindField("Pos:"));
  EXPECT_STREQ(tokens.FindField("Pos:"), "3");
  EXPECT_STREQ(tokens.FindField("Pos2:"), "5");
  EXPECT_EQ(tokens.FindField("Note:"), nullptr);  // the record name is no field
  EXPECT_EQ(tokens.FindField("Opts:"), nullptr);
  EXPECT_TRUE(tokens.IsRecord("NOTE"));
  EXPECT_FALSE(tokens.IsRecord("Not"));
}

TEST(ScoreTextTokenizerTest, SplitsValuesAndOptions) {
  TKVTTextImportTokenizer tokens;
  std::string value = " a , b\\,c,,d ";
  ASSERT_EQ(tokens.SplitValues(value.data()), 4);
  EXPECT_STREQ(tokens.GetValue(0), "a");
  EXPECT_STREQ(tokens.GetValue(1), "b\\,c");
  EXPECT_STREQ(tokens.GetValue(2), "");
  EXPECT_STREQ(tokens.GetValue(3), "d");
  EXPECT_STREQ(tokens.GetValue(4), "");
  std::string empty;
  EXPECT_EQ(tokens.SplitValues(empty.data()), 1);
  EXPECT_FALSE(tokens.IsCorrupt());

  // Values past the field's limit are lost: that is damage, not lenient reading.

  std::string many(700, ',');
  EXPECT_EQ(tokens.SplitValues(many.data()), TKVTTextImportTokenizer::kMaxValues);
  EXPECT_TRUE(tokens.IsCorrupt());

  std::string option = " Beam = First ";
  char* name = option.data();
  EXPECT_STREQ(TKVTTextImportTokenizer::SplitOption(name), "First");
  EXPECT_STREQ(name, "Beam");
  std::string word = " Muted ";
  char* alone = word.data();
  EXPECT_EQ(TKVTTextImportTokenizer::SplitOption(alone), nullptr);
  EXPECT_STREQ(alone, "Muted");
}

TEST(ScoreTextTokenizerTest, Unquotes) {
  const struct {
    std::string in;
    std::string out;
  } cases[] = {
      {"\"plain\"", "plain"},
      {"\"\"", ""},
      {"raw", "raw"},
      {"\"a\\]b\\}c\\nd\\re\\tf\\\"g\\'h\\qi\"", "a\\b|c\nd\re\tf\"g'hqi"},
      {"\"ends with escaped quote\\\"", "\"ends with escaped quote\""},  // closing quote escaped
      {"\"ends with backslash\\\\\"", "ends with backslash\\"},
      {"\"cut\\", "\"cut"},  // a backslash at the very end ends the text
      {"\"", "\""},
  };
  for (const auto& c : cases) {
    std::string text = c.in;
    EXPECT_EQ(std::string(TKVTTextImportTokenizer::Unquote(text.data())), c.out) << c.in;
  }
}

TEST(ScoreTextTokenizerTest, NumbersAndNamesMarkWhatTheyBound) {
  const struct {
    const char* value;
    int lo;
    int hi;
    int result;
    bool lenient;
  } cases[] = {
      {"12", 0, 100, 12, false},   {" -7xyz", -10, 10, -7, false}, {"+5", 0, 9, 5, false},
      {"101", 0, 100, 100, true},  {"-1", 0, 100, 0, true},        {"abc", 0, 100, 42, true},
      {"", 0, 100, 42, true},      {"99999999999999", 0, 100, 100, true},
  };
  for (const auto& c : cases) {
    TKVTTextImportTokenizer tokens;
    EXPECT_EQ(tokens.ReadIntClamped(c.value, c.lo, c.hi, 42), c.result) << c.value;
    EXPECT_EQ(tokens.IsLenient(), c.lenient) << c.value;
    EXPECT_FALSE(tokens.IsCorrupt()) << c.value;
  }
  TKVTTextImportTokenizer tokens;
  EXPECT_EQ(tokens.ReadName("treble", kNameListClefs, 0), 0);
  EXPECT_EQ(tokens.ReadName("pi\xC3\xB9 MOSSO", kNameListPerformanceStylesDisplay, -1), 12);
  EXPECT_EQ(tokens.ReadName("Pi\xF9 mosso", kNameListPerformanceStylesDisplay, -1), 12);
  EXPECT_FALSE(tokens.IsLenient());
  EXPECT_EQ(tokens.ReadName("Soprano", kNameListClefs, 3), 3);
  EXPECT_TRUE(tokens.IsLenient());
  EXPECT_FALSE(tokens.IsCorrupt());
}

}  // namespace
}  // namespace kvt
