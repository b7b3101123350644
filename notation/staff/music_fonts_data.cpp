#include "notation/staff/music_fonts_data.h"

#include <cmath>
#include <cstring>
#include <string_view>

#include "utils/text_encoding.h"

namespace kvt {

namespace {

float RoundTo(float value, int decimals) {
  const double scale = decimals == 1 ? 10.0 : 100.0;
  return static_cast<float>(std::floor(static_cast<double>(value) * scale + 0.5) / scale);
}

}  // namespace

TMusicFontsData::TMusicFontsData() { SetDefaults(kDefaultMusicFontBase); }

void TMusicFontsData::SetDefaults(float base) {
  musicFace[0] = '\0';
  baseSize = kDefaultMusicFontBase;
  SetBaseSize(base);
  const float b = baseSize;
  const char* face = "Times New Roman";
  textFonts[kFontStaffItalic].Set(face, TFontSpec::kBold | TFontSpec::kItalic, RoundTo(b * 0.625f, 1), 0);
  textFonts[kFontStaffBold].Set(face, TFontSpec::kBold, RoundTo(b * 0.5f, 2), 0);
  textFonts[kFontStaffLyric].Set(face, 0, RoundTo(b * 9 * 0.05f, 1), 0);
  textFonts[kFontPageTitleText].Set(face, TFontSpec::kBold, 24.0f, 0);
  textFonts[kFontPageText].Set(face, 0, 12.0f, 0);
  textFonts[kFontPageSmallText].Set(face, 0, 8.0f, 0);
  for (int i = kFontUser1; i < kScoreTextFontCount; ++i) textFonts[i].Set(face, 0, RoundTo(b * 0.5f, 2), 0);
}

const char* TMusicFontsData::GetMusicFontName() const {
  return musicFace[0] ? musicFace : kDefaultMusicFontName;
}

void TMusicFontsData::SetMusicFontFace(const char* face) {
  std::memset(musicFace, 0, sizeof musicFace);
  if (!face) return;
  const std::string_view text(face, strnlen(face, 256));
  std::memcpy(musicFace, text.data(), Utf8PrefixLength(text, sizeof musicFace - 1));
}

void TMusicFontsData::SetBaseSize(float points) {
  if (std::isnan(points)) return;
  if (points < kMinFontPoints) points = kMinFontPoints;
  if (points > kMaxFontPoints) points = kMaxFontPoints;
  baseSize = RoundTo(points, 2);
}

const TFontSpec* TMusicFontsData::GetTextFont(int index) const {
  if (index < 0 || index >= kScoreTextFontCount) return nullptr;
  return &textFonts[index];
}

TFontSpec* TMusicFontsData::GetTextFont(int index) {
  if (index < 0 || index >= kScoreTextFontCount) return nullptr;
  return &textFonts[index];
}

bool TMusicFontsData::operator==(const TMusicFontsData& other) const {
  if (std::strcmp(musicFace, other.musicFace) != 0 || baseSize != other.baseSize) return false;
  for (int i = 0; i < kScoreTextFontCount; ++i) {
    if (!(textFonts[i] == other.textFonts[i])) return false;
  }
  return true;
}

}  // namespace kvt
