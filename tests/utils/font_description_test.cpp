#include "utils/font_description.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace kvt {
namespace {

TEST(FontSpecTest, Defaults) {
  TFontSpec fontSpec;
  EXPECT_STREQ(fontSpec.Face(), "Times New Roman");
  EXPECT_FLOAT_EQ(fontSpec.Size(), 12.0f);
  EXPECT_EQ(fontSpec.Style(), 0);
  EXPECT_EQ(fontSpec.CharSet(), 0);
}

TEST(FontSpecTest, SizeIsRoundedAndBounded) {
  const struct {
    float in;
    float out;
  } cases[] = {
      {1.5f, 2.0f},      {10.456f, 10.46f}, {10.454f, 10.45f}, {-3.0f, 2.0f},
      {1e9f, 2000.0f},   {std::numeric_limits<float>::infinity(), 2000.0f},
      {-std::numeric_limits<float>::infinity(), 2.0f},
  };
  for (const auto& c : cases) {
    TFontSpec fontSpec;
    fontSpec.SetSize(c.in);
    EXPECT_FLOAT_EQ(fontSpec.Size(), c.out) << c.in;
  }
}

TEST(FontSpecTest, NaNSizeIsRefused) {
  TFontSpec fontSpec;
  fontSpec.SetSize(9.0f);
  fontSpec.SetSize(std::nanf(""));
  EXPECT_FLOAT_EQ(fontSpec.Size(), 9.0f);
}

TEST(FontSpecTest, LogFontHeightFromPointsAndResolution) {
  TFontSpec fontSpec;
  TLogFont font;
  fontSpec.ToLogFont(font, 96);
  EXPECT_EQ(font.height, 16);
  EXPECT_EQ(font.weight, 400);
  fontSpec.Set("Serif", TFontSpec::kBold | TFontSpec::kItalic, 2.0f, 0);
  fontSpec.ToLogFont(font, 72);
  EXPECT_EQ(font.height, 2);
  EXPECT_EQ(font.weight, 700);
  EXPECT_EQ(font.italic, 1);
  EXPECT_STREQ(font.faceName, "Serif");
}

TEST(FontSpecTest, SizeFromLogFontHeight) {
  TLogFont font;
  font.height = -16;
  font.weight = 700;
  std::strcpy(font.faceName, "Arial");
  TFontSpec fontSpec;
  fontSpec.SetFromLogFontAtResolution(font, 96);
  EXPECT_FLOAT_EQ(fontSpec.Size(), 12.0f);
  EXPECT_TRUE(fontSpec.IsBold());
  EXPECT_FALSE(fontSpec.IsItalic());
  EXPECT_STREQ(fontSpec.Face(), "Arial");
}

TEST(FontSpecTest, StyleText) {
  const struct {
    const char* text;
    const char* style;
  } cases[] = {{"bi", "bi"}, {"", "r"}, {"Bold", "b"}, {"I", "i"}, {"xyz", "r"}};
  for (const auto& c : cases) {
    TFontSpec fontSpec;
    fontSpec.SetStyleFromText(c.text);
    char buffer[4];
    fontSpec.StyleText(buffer);
    EXPECT_STREQ(buffer, c.style) << c.text;
  }
}

TEST(FontSpecTest, FaceIsCutToThirtyOneBytesOnACharacterBoundary) {
  TFontSpec fontSpec;
  fontSpec.SetFace(std::string(40, 'x').c_str());
  EXPECT_EQ(std::string(fontSpec.Face()), std::string(31, 'x'));
  // 30 ASCII bytes and a two-byte character would need 32 bytes: the character goes whole.
  std::string face = std::string(30, 'a') + "\xC3\xA9";
  fontSpec.SetFace(face.c_str());
  EXPECT_EQ(std::string(fontSpec.Face()), std::string(30, 'a'));
}

TEST(LogFontTest, WideConversionKeepsFieldsAndSetsDefaultCharSet) {
  TLogFont narrow;
  narrow.height = 20;
  narrow.weight = 700;
  narrow.charSet = 77;
  std::strcpy(narrow.faceName, "Caf\xC3\xA9");
  TLogFontW wide;
  LogFontToWide(wide, narrow);
  EXPECT_EQ(wide.height, 20);
  EXPECT_EQ(wide.weight, 700);
  EXPECT_EQ(wide.charSet, kDefaultCharSet);
  EXPECT_EQ(std::u16string(wide.faceName), u"Caf\u00e9");
  TLogFont back;
  LogFontFromWide(back, wide);
  EXPECT_STREQ(back.faceName, "Caf\xC3\xA9");
}

TEST(LogFontTest, LongWideFaceIsCutOnACharacterBoundary) {
  TLogFontW wide;
  for (int i = 0; i < 31; ++i) wide.faceName[i] = u'\u00e9';  // 2 UTF-8 bytes each
  TLogFont narrow;
  LogFontFromWide(narrow, wide);
  EXPECT_EQ(std::strlen(narrow.faceName), 30u);
}

}  // namespace
}  // namespace kvt

namespace kvt {
namespace {

TEST(LogFontTest, CodePageOfCharSet) {
  const struct {
    int charSet;
    int codePage;
  } cases[] = {{2, 1252}, {128, 932}, {204, 1251}, {238, 1250}, {0, -1}, {1, 7}, {255, 7}};
  for (const auto& c : cases) {
    EXPECT_EQ(CodePageOfCharSet(c.charSet, c.codePage == -1 ? -1 : 7), c.codePage) << c.charSet;
  }
}

}  // namespace
}  // namespace kvt
