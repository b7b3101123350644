#pragma once
// TFontSpec: the device-independent description of a text font used by a score's fonts,
// drawing, the font dialogs and scripts: face name (UTF-8, at most 31 bytes), size in points
// (rounded to 2 decimals, from 2 to kMaxFontPoints), bold and italic bits and a character set.

#include <cstdint>

#include "utils/log_font.h"

namespace kvt {

// Answers whether a font face is installed. The window-system layer makes the real catalog and
// hands it to the font checks (through the core's services object); headless runs use the
// null catalog, whose every answer is false.
class IFontCatalog {
public:
  virtual ~IFontCatalog() = default;
  virtual bool IsFaceInstalled(const char* face, int charSet) = 0;
};

inline constexpr float kMinFontPoints = 2.0f;
// Far beyond any font a page can show; sizes from damaged files stop here.
inline constexpr float kMaxFontPoints = 2000.0f;

class TFontSpec {
public:
  enum : uint8_t { kBold = 1, kItalic = 2 };

  TFontSpec();

  // Face cut to 31 bytes on a character boundary, style = the low 2 bits, size as SetSize.
  void Set(const char* face, int style, float size, int charSet);
  void SetFromLogFont(const TLogFont& font, float size);
  // Size from the record's absolute height at the given vertical resolution (dots per inch).
  void SetFromLogFontAtResolution(const TLogFont& font, int verticalDpi);
  void SetFace(const char* face);
  // Rounded to 2 decimals and clamped to [kMinFontPoints, kMaxFontPoints]; NaN is refused and
  // keeps the current size.
  void SetSize(float points);
  void SetBold(bool on);
  void SetItalic(bool on);
  // "b" when bold, then "i" when italic; "r" when neither. buffer: at least 3 bytes.
  void StyleText(char* buffer) const;
  // Bold for every "b"/"B", italic for every "i"/"I"; other characters are ignored.
  void SetStyleFromText(const char* text);
  // Zero-filled record: face, weight 700 or 400, italic, character set, and
  // height = floor(dpi * size / 72 + 0.5), at least 2.
  void ToLogFont(TLogFont& font, int verticalDpi) const;

  // Whether the face (cut as SetFace cuts it) is installed, as the catalog answers (the null
  // catalog: never).
  bool IsInstalled(IFontCatalog& catalog) const;
  static bool IsFaceInstalled(const char* face, int charSet, IFontCatalog& catalog);

  const char* Face() const { return face; }
  float Size() const { return size; }
  uint8_t Style() const { return style; }
  bool IsBold() const { return (style & kBold) != 0; }
  bool IsItalic() const { return (style & kItalic) != 0; }
  uint8_t CharSet() const { return charSet; }

  bool operator==(const TFontSpec& other) const;

private:
  char face[32];
  float size;
  uint8_t style;
  uint8_t charSet;
};

// The process's null catalog (stateless): no face is installed.
IFontCatalog& NullFontCatalog();

}  // namespace kvt
