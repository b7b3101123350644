#pragma once
// TFontconfigFontCatalog: the installed-font catalog of the program. The music face
// "KVT2STDA" is installed once the music font is loaded; a text face is installed when
// fontconfig resolves it to itself or to its metric-compatible stand-in (Liberation Serif for
// "Times New Roman", Liberation Sans for "Arial", Liberation Mono for "Courier New"), so the
// default scores report no missing fonts. Faces are compared without case. Thread-safe.

#include <string>

#include "utils/font_description.h"

namespace kvt {

class TFontconfigFontCatalog final : public IFontCatalog {
public:
  bool IsFaceInstalled(const char* face, int charSet) override;
};

// The family fontconfig picks for a face name ("" when it finds none).
std::string ResolveFontFamily(const char* face);

}  // namespace kvt
