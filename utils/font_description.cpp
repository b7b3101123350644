#include "utils/font_description.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <string_view>

#include "utils/text_encoding.h"

namespace kvt {

namespace {

// Rounds through the decimal text "%01.2f" gives, as the stored files expect, without locale.
float RoundToTwoDecimals(float value) {
  char text[64];
  auto printed = std::to_chars(text, text + sizeof text, static_cast<double>(value),
                               std::chars_format::fixed, 2);
  if (printed.ec != std::errc()) return value;
  float parsed = value;
  std::from_chars(text, printed.ptr, parsed);
  return parsed;
}

void CopyFace(char (&target)[32], const char* face) {
  std::memset(target, 0, sizeof target);
  if (face == nullptr) return;
  std::string_view text(face, strnlen(face, 256));
  size_t keep = Utf8PrefixLength(text, sizeof target - 1);
  std::memcpy(target, text.data(), keep);
}

class TNullFontCatalog final : public IFontCatalog {
public:
  bool IsFaceInstalled(const char*, int) override { return false; }
};

}  // namespace

IFontCatalog& NullFontCatalog() {
  static TNullFontCatalog catalog;
  return catalog;
}

TFontSpec::TFontSpec() : size(12.0f), style(0), charSet(0) { CopyFace(face, "Times New Roman"); }

void TFontSpec::Set(const char* newFace, int newStyle, float newSize, int newCharSet) {
  CopyFace(face, newFace);
  style = static_cast<uint8_t>(newStyle & 3);
  charSet = static_cast<uint8_t>(newCharSet);
  SetSize(newSize);
}

void TFontSpec::SetFromLogFont(const TLogFont& font, float newSize) {
  char faceName[kLogFontFaceSize + 1] = {};
  std::memcpy(faceName, font.faceName, kLogFontFaceSize);
  CopyFace(face, faceName);
  style = static_cast<uint8_t>((font.weight >= 700 ? kBold : 0) | (font.italic ? kItalic : 0));
  charSet = font.charSet;
  SetSize(newSize);
}

void TFontSpec::SetFromLogFontAtResolution(const TLogFont& font, int verticalDpi) {
  float points = kMinFontPoints;
  if (verticalDpi > 0) {
    points = static_cast<float>(std::abs(static_cast<double>(font.height)) * 72.0 / verticalDpi);
  }
  SetFromLogFont(font, points < kMinFontPoints ? kMinFontPoints : points);
}

void TFontSpec::SetFace(const char* newFace) { CopyFace(face, newFace); }

void TFontSpec::SetSize(float points) {
  if (std::isnan(points)) return;
  if (points < kMinFontPoints) points = kMinFontPoints;
  if (points > kMaxFontPoints) points = kMaxFontPoints;
  size = RoundToTwoDecimals(points);
}

void TFontSpec::SetBold(bool on) { style = on ? (style | kBold) : (style & ~kBold); }

void TFontSpec::SetItalic(bool on) { style = on ? (style | kItalic) : (style & ~kItalic); }

void TFontSpec::StyleText(char* buffer) const {
  char* out = buffer;
  if (IsBold()) *out++ = 'b';
  if (IsItalic()) *out++ = 'i';
  if (out == buffer) *out++ = 'r';
  *out = 0;
}

void TFontSpec::SetStyleFromText(const char* text) {
  style = 0;
  for (; text && *text; ++text) {
    if (*text == 'b' || *text == 'B') style |= kBold;
    if (*text == 'i' || *text == 'I') style |= kItalic;
  }
}

void TFontSpec::ToLogFont(TLogFont& font, int verticalDpi) const {
  font = TLogFont{};
  std::memcpy(font.faceName, face, sizeof font.faceName);
  font.weight = IsBold() ? 700 : 400;
  font.italic = IsItalic() ? 1 : 0;
  font.charSet = charSet;
  double height = std::floor(static_cast<double>(verticalDpi) * size / 72.0 + 0.5);
  font.height = height < 2 ? 2 : static_cast<int32_t>(height);
}

bool TFontSpec::IsInstalled(IFontCatalog& catalog) const {
  return catalog.IsFaceInstalled(face, charSet);
}

bool TFontSpec::IsFaceInstalled(const char* faceName, int charSetValue, IFontCatalog& catalog) {
  TFontSpec fontSpec;
  fontSpec.SetFace(faceName);
  fontSpec.charSet = static_cast<uint8_t>(charSetValue);
  return fontSpec.IsInstalled(catalog);
}

bool TFontSpec::operator==(const TFontSpec& other) const {
  return std::strcmp(face, other.face) == 0 && size == other.size && style == other.style &&
         charSet == other.charSet;
}

}  // namespace kvt
