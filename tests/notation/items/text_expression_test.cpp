#include "notation/items/text_expression.h"

#include <gtest/gtest.h>

#include <string>

namespace kvt {
namespace {

TEST(TextExpressionTest, Defaults) {
  TTextExpression text;
  EXPECT_EQ(text.GetFontIndex(), kTextFontStaffItalic);
  EXPECT_EQ(text.GetScale(), 100);
  EXPECT_TRUE(text.GetText().empty());
  text.SetFontOffset(1);
  EXPECT_EQ(text.GetFontIndex(), kTextFontStaffBold);
  text.SetScale(0);
  EXPECT_EQ(text.GetScale(), 1);
  text.SetScale(100000);
  EXPECT_EQ(text.GetScale(), 65535);
}

TEST(TextExpressionTest, LongTextsAreCutWithAnEllipsis) {
  struct Case {
    size_t length;
    int max;
    size_t kept;  // units before "..."; npos: stored whole
  };
  const Case cases[] = {
      {300, 255, 250},
      {254, 255, std::u16string::npos},
      {255, 255, 250},
      {20, 10, 5},
      {9, 10, std::u16string::npos},
      {300, 1000, 250},  // max is at most 255
  };
  for (const Case& c : cases) {
    TTextExpression text;
    text.SetText(std::u16string(c.length, u'x'), c.max);
    if (c.kept == std::u16string::npos) {
      EXPECT_EQ(text.GetText().size(), c.length);
    } else {
      EXPECT_EQ(text.GetText(), std::u16string(c.kept, u'x') + u"...")
          << c.length << " units, max " << c.max;
    }
  }
}

TEST(TextExpressionTest, CutNeverSplitsASurrogatePair) {
  // 249 letters, then a character outside the basic plane: the cut at 250 would fall inside it.
  std::u16string value(249, u'a');
  value += u"\U0001D11E";  // musical G clef, two units
  value += std::u16string(60, u'b');
  TTextExpression text;
  text.SetText(value);
  EXPECT_EQ(text.GetText(), std::u16string(249, u'a') + u"...");
}

TEST(TextExpressionTest, TextFromCodePage) {
  TTextExpression text;
  text.SetTextFromCodePage(1252, "caf\xE9");
  EXPECT_EQ(text.GetText(), u"caf\u00E9");
  text.SetTextFromCodePage(65001, "D\xC3\xBC" "r");
  EXPECT_EQ(text.GetText(), u"D\u00FCr");
  text.SetTextFromCodePage(65001, std::string(2000, 'z'));
  EXPECT_EQ(text.GetText(), std::u16string(250, u'z') + u"...");
}

}  // namespace
}  // namespace kvt
