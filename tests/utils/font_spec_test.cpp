#include "utils/font_spec.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace kvt {
namespace {

TEST(FontSpecTest, Defaults) {
  TFontSpec spec;
  EXPECT_STREQ(spec.Face(), "Times New Roman");
  EXPECT_FLOAT_EQ(spec.Size(), 12.0f);
  EXPECT_EQ(spec.Style(), 0);
  EXPECT_EQ(spec.CharSet(), 0);
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
    TFontSpec spec;
    spec.SetSize(c.in);
    EXPECT_FLOAT_EQ(spec.Size(), c.out) << c.in;
  }
}

TEST(FontSpecTest, NaNSizeIsRefused) {
  TFontSpec spec;
  spec.SetSize(9.0f);
  spec.SetSize(std::nanf(""));
  EXPECT_FLOAT_EQ(spec.Size(), 9.0f);
}

TEST(FontSpecTest, LogFontHeightFromPointsAndResolution) {
  TFontSpec spec;
  TLogFont font;
  spec.ToLogFont(font, 96);
  EXPECT_EQ(font.height, 16);
  EXPECT_EQ(font.weight, 400);
  spec.Set("Serif", TFontSpec::kBold | TFontSpec::kItalic, 2.0f, 0);
  spec.ToLogFont(font, 72);
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
  TFontSpec spec;
  spec.SetFromLogFontAtResolution(font, 96);
  EXPECT_FLOAT_EQ(spec.Size(), 12.0f);
  EXPECT_TRUE(spec.IsBold());
  EXPECT_FALSE(spec.IsItalic());
  EXPECT_STREQ(spec.Face(), "Arial");
}

TEST(FontSpecTest, StyleText) {
  const struct {
    const char* text;
    const char* style;
  } cases[] = {{"bi", "bi"}, {"", "r"}, {"Bold", "b"}, {"I", "i"}, {"xyz", "r"}};
  for (const auto& c : cases) {
    TFontSpec spec;
    spec.SetStyleFromText(c.text);
    char buffer[4];
    spec.StyleText(buffer);
    EXPECT_STREQ(buffer, c.style) << c.text;
  }
}

TEST(FontSpecTest, FaceIsCutToThirtyOneBytesOnACharacterBoundary) {
  TFontSpec spec;
  spec.SetFace(std::string(40, 'x').c_str());
  EXPECT_EQ(std::string(spec.Face()), std::string(31, 'x'));
  // 30 ASCII bytes and a two-byte character would need 32 bytes: the character goes whole.
  std::string face = std::string(30, 'a') + "\xC3\xA9";
  spec.SetFace(face.c_str());
  EXPECT_EQ(std::string(spec.Face()), std::string(30, 'a'));
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
