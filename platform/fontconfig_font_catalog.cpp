#include "platform/fontconfig_font_catalog.h"

#include <fontconfig/fontconfig.h>
#include <strings.h>

#include <mutex>
#include <string>

#include "notation/staff/music_fonts_data.h"
#include "platform/music_font_loader.h"

namespace kvt {
namespace {

struct TAlias {
  const char* face;
  const char* family;
};
constexpr TAlias kMetricAliases[] = {
    {"Times New Roman", "Liberation Serif"},
    {"Arial", "Liberation Sans"},
    {"Courier New", "Liberation Mono"},
};

bool SameName(const std::string& a, const char* b) { return strcasecmp(a.c_str(), b) == 0; }

}  // namespace

std::string ResolveFontFamily(const char* face) {
  // Fontconfig's default configuration is built once and shared; guard its first use.
  static std::mutex mutex;
  std::lock_guard<std::mutex> lock(mutex);
  std::string family;
  FcPattern* pattern = FcPatternCreate();
  if (pattern == nullptr) return family;
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(face));
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  if (match != nullptr) {
    FcChar8* name = nullptr;
    if (FcPatternGetString(match, FC_FAMILY, 0, &name) == FcResultMatch && name != nullptr) {
      family = reinterpret_cast<const char*>(name);
    }
    FcPatternDestroy(match);
  }
  FcPatternDestroy(pattern);
  return family;
}

bool TFontconfigFontCatalog::IsFaceInstalled(const char* face, int) {
  if (face == nullptr || *face == 0) return false;
  if (strcasecmp(face, kDefaultMusicFontName) == 0) return IsMusicFontLoaded();
  const std::string family = ResolveFontFamily(face);
  if (family.empty()) return false;
  if (SameName(family, face)) return true;
  for (const TAlias& alias : kMetricAliases) {
    if (strcasecmp(face, alias.face) == 0 && SameName(family, alias.family)) return true;
  }
  return false;
}

}  // namespace kvt
