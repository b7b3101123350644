#include "notation/items/text_expression.h"

#include <algorithm>

#include "utils/text_encoding.h"

namespace kvt {

TTextExpression::TTextExpression() : fontIndex(kTextFontStaffItalic), scale(100) {
  SetPos(-8);
  SetWide(false);
}

void TTextExpression::SetScale(int percent) {
  scale = static_cast<uint16_t>(std::clamp(percent, 1, 65535));
}

void TTextExpression::SetText(std::u16string_view value, int max) {
  const size_t limit = static_cast<size_t>(std::clamp(max, 1, kMaxTextExpressionMax));
  if (value.size() <= limit - 1) {
    text.assign(value);
    return;
  }
  const size_t keep = limit > 5 ? limit - 5 : 0;
  text.assign(value.substr(0, Utf16PrefixLength(value, keep)));
  text += u"...";
}

void TTextExpression::SetTextFromCodePage(int codePage, std::string_view bytes, int max) {
  const std::u16string wide = MultiByteToUtf16(codePage, bytes);
  const std::u16string_view view(wide);
  SetText(view.substr(0, Utf16PrefixLength(view, kMaxConvertedTextChars)), max);
}

}  // namespace kvt
