#pragma once
// TTextExpression (type code 17, "Text"): a text placed on the staff in one of the score's
// fonts, optionally scaled.

#include <string>
#include <string_view>

#include "notation/items/general_expression.h"

namespace kvt {

// Font slots of a text expression ("Font").
enum TTextFontIndex : int {
  kTextFontStaffSymbols = 0,
  kTextFontStaffCueSymbols = 1,
  kTextFontStaffItalic = 2,
  kTextFontStaffBold = 3,
  kTextFontStaffLyric = 4,
  kTextFontPageTitleText = 5,
  kTextFontPageText = 6,
  kTextFontPageSmallText = 7,
  kTextFontUser1 = 8,  // User1 to User6 are 8 to 13
};
inline constexpr int kTextFontCount = 14;
inline constexpr int kMaxTextExpressionMax = 255;
// Characters SetTextFromCodePage converts at most.
inline constexpr int kMaxConvertedTextChars = 1020;

class TTextExpression : public TNtnGeneralExpression {
public:
  // Font StaffItalic, Scale 100, empty text, Pos -8, Wide off.
  TTextExpression();

  static constexpr TNotatedItemType kType = kItemText;

  TNotatedItemType GetType() const override { return kType; }

  // The font slot (TTextFontIndex), masked to 8 bits. Users of the slot bound it to 0..13.
  int GetFontIndex() const { return fontIndex; }
  void SetFontIndex(int index) { fontIndex = static_cast<uint8_t>(index); }
  // Stores n + 2, for readers whose font numbers start at StaffItalic.
  void SetFontOffset(int n) { SetFontIndex(n + 2); }
  // Percent; limited to 1..65535.
  int GetScale() const { return scale; }
  void SetScale(int percent);

  const std::u16string& GetText() const { return text; }
  // max is limited to 1..255. A text of at most max - 1 units is stored whole; a longer one is
  // cut to its first max - 5 units (fewer when the cut would split a surrogate pair) followed
  // by "...".
  void SetText(std::u16string_view value, int max = kMaxTextExpressionMax);
  // Converts at most 1020 characters of the code page's text, then SetText.
  void SetTextFromCodePage(int codePage, std::string_view bytes, int max = kMaxTextExpressionMax);

private:
  uint8_t fontIndex;
  uint16_t scale;
  std::u16string text;
};

}  // namespace kvt
