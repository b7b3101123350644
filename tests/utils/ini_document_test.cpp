#include "utils/ini_document.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace kvt {
namespace {

const char kHandMade[] =
    "; settings kept by hand\n"
    "top=level\n"
    "\n"
    "[Options]\n"
    "  Show Grid = yes  \n"
    "Name=\"quoted value\"\n"
    "; a comment with key=value inside\n"
    "no equals sign here\n"
    "Empty=\n"
    "\n"
    "[ Spaced Section ]\n"
    "a=1\n"
    "[Broken\n"
    "b=2\n";

TEST(IniDocumentTest, ReadsByThePrivateProfileRules) {
  TIniDocument doc = TIniDocument::Parse(kHandMade);
  struct Case {
    const char* section;
    const char* key;
    std::optional<std::string> value;
  } cases[] = {
      {"", "top", "level"},
      {"options", "show grid", "yes"},     // names without case, blanks around dropped
      {"OPTIONS", "  Show Grid ", "yes"},  // blanks around the asked name too
      {"Options", "Name", "\"quoted value\""},  // quotes are kept at this level
      {"Options", "Empty", ""},
      {"Options", "; a comment with key", std::nullopt},
      {"Options", "no equals sign here", std::nullopt},
      {"Spaced Section", "a", "1"},
      {"Broken", "b", "2"},  // a header without "]" runs to the end of its line
      {"Options", "a", std::nullopt},
      {"Missing", "a", std::nullopt},
  };
  for (const Case& c : cases) {
    std::optional<std::string_view> got = doc.Find(c.section, c.key);
    std::optional<std::string> value = got ? std::optional<std::string>(std::string(*got)) : std::nullopt;
    EXPECT_EQ(value, c.value) << c.section << "/" << c.key;
  }
  EXPECT_EQ(doc.SectionNames(), (std::vector<std::string>{"Options", "Spaced Section", "Broken"}));
  EXPECT_TRUE(doc.HasSection(""));
  EXPECT_TRUE(doc.HasSection("broken"));
}

TEST(IniDocumentTest, UnchangedTextWritesBackByteForByte) {
  EXPECT_EQ(TIniDocument::Parse(kHandMade).ToText(), kHandMade);
}

TEST(IniDocumentTest, UpdateKeepsCommentsOrderAndKeySpelling) {
  TIniDocument doc = TIniDocument::Parse(kHandMade);
  ASSERT_TRUE(doc.Set("OPTIONS", "show grid", "no"));
  std::string text = doc.ToText();
  EXPECT_NE(text.find("Show Grid=no\n"), std::string::npos) << text;
  EXPECT_NE(text.find("; settings kept by hand\n"), std::string::npos);
  EXPECT_NE(text.find("no equals sign here\n"), std::string::npos);
  EXPECT_EQ(text.find("yes"), std::string::npos);
}

TEST(IniDocumentTest, NewKeyGoesAfterTheSectionsLastValue) {
  TIniDocument doc = TIniDocument::Parse("[A]\nx=1\n; note\n\n[B]\ny=2\n");
  ASSERT_TRUE(doc.Set("a", "z", "3"));
  EXPECT_EQ(doc.ToText(), "[A]\nx=1\nz=3\n; note\n\n[B]\ny=2\n");
  // Without values: below the section's comments, above the blank line before the next header.
  TIniDocument bare = TIniDocument::Parse("[A]\n; only a comment\n\n[B]\n");
  ASSERT_TRUE(bare.Set("A", "k", "v"));
  EXPECT_EQ(bare.ToText(), "[A]\n; only a comment\nk=v\n\n[B]\n");
}

TEST(IniDocumentTest, NewSectionIsAddedAtTheEndAfterABlankLine) {
  TIniDocument doc = TIniDocument::Parse("[A]\nx=1\n");
  ASSERT_TRUE(doc.Set("New One", "k", "v"));
  EXPECT_EQ(doc.ToText(), "[A]\nx=1\n\n[New One]\nk=v\n");
  TIniDocument empty;
  ASSERT_TRUE(empty.Set("S", "k", "v"));
  EXPECT_EQ(empty.ToText(), "[S]\nk=v\n");
}

TEST(IniDocumentTest, ValuesBeforeTheFirstHeaderStayThere) {
  TIniDocument doc = TIniDocument::Parse("[A]\nx=1\n");
  ASSERT_TRUE(doc.Set("", "top", "1"));
  EXPECT_EQ(doc.ToText(), "top=1\n[A]\nx=1\n");
}

TEST(IniDocumentTest, CrLfFilesStayCrLfAndByteOrderMarkIsSkipped) {
  TIniDocument doc = TIniDocument::Parse("\xEF\xBB\xBF[A]\r\nx=1\r\n");
  EXPECT_EQ(doc.Find("A", "x"), std::optional<std::string_view>("1"));
  ASSERT_TRUE(doc.Set("A", "y", "2"));
  EXPECT_EQ(doc.ToText(), "[A]\r\nx=1\r\ny=2\r\n");
}

TEST(IniDocumentTest, DuplicatesReadFirstAndEraseAll) {
  TIniDocument doc = TIniDocument::Parse("[A]\nx=1\nX=2\n[a]\nx=3\ny=4\n[B]\nx=5\n");
  EXPECT_EQ(doc.Find("A", "x"), std::optional<std::string_view>("1"));
  EXPECT_EQ(doc.Entries("A"),
            (std::vector<std::pair<std::string, std::string>>{{"x", "1"}, {"y", "4"}}));
  EXPECT_TRUE(doc.Erase("A", "x"));
  EXPECT_FALSE(doc.Find("A", "x").has_value());
  EXPECT_EQ(doc.Find("B", "x"), std::optional<std::string_view>("5"));
  EXPECT_FALSE(doc.Erase("A", "x"));
  EXPECT_TRUE(doc.EraseSection("A"));
  EXPECT_EQ(doc.ToText(), "[B]\nx=5\n");
  EXPECT_EQ(doc.SectionNames(), std::vector<std::string>{"B"});
}

// Anything that would not read back as written is refused and changes nothing.
TEST(IniDocumentTest, RefusesNamesAndValuesThatWouldBreakTheFile) {
  struct Case {
    std::string section, key, value;
  } cases[] = {
      {"A", "k", "two\nlines"},  {"A", "k", "cr\rhere"},      {"A", "k", std::string("z\0z", 3)},
      {"A", "k=v", "x"},         {"A", ";k", "x"},            {"A", "[k", "x"},
      {"A", "", "x"},            {"A", "   ", "x"},           {"A]", "k", "x"},
      {"A\nB", "k", "x"},
  };
  for (const Case& c : cases) {
    TIniDocument doc = TIniDocument::Parse("[A]\nk=old\n");
    EXPECT_FALSE(doc.Set(c.section, c.key, c.value)) << c.section << "/" << c.key;
    EXPECT_EQ(doc.ToText(), "[A]\nk=old\n");
  }
}

// Every text parses, and what it writes back parses to the same values.
TEST(IniDocumentTest, GarbageParsesAndRoundTrips) {
  const std::string inputs[] = {
      std::string("\0\0[\0]=\0\n", 9), "[[[]]]\n=\n==\n", "\r\r\r\n\n", "[", "=", "]x=y",
      std::string(5000, '['),         "k=v",             "\xFF\xFE[A]\nk=v"};
  for (const std::string& input : inputs) {
    TIniDocument doc = TIniDocument::Parse(input);
    TIniDocument again = TIniDocument::Parse(doc.ToText());
    EXPECT_EQ(again.ToText(), doc.ToText());
    EXPECT_EQ(again.SectionNames(), doc.SectionNames());
  }
}

}  // namespace
}  // namespace kvt
