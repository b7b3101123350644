#pragma once
// The installed-font catalog on Qt: a face counts as installed when the font database knows a
// family of that name (compared without case). Needs a QGuiApplication.

#include "utils/font_description.h"

namespace kvt {

class TQtFontCatalog : public IFontCatalog {
public:
  bool IsFaceInstalled(const char* face, int charSet) override;
};

}  // namespace kvt
