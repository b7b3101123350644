#pragma once
// TMusicFontsData: a score's persistent font settings: the music font face, the base size (the
// height of a five-line staff in points) and the twelve text fonts. Plain data; the drawing
// code builds its font objects from it.
//
// Text font roles, in order: Staff Italic, Staff Bold, Staff Lyric, Page Title Text, Page Text,
// Page Small Text, User 1 ... User 6. The score-font role list that names fonts in files and
// text items puts the music font at full and at two-thirds size before them, so role r >= 2 is
// text font r - 2.

#include "utils/font_description.h"

namespace kvt {

inline constexpr int kScoreTextFontCount = 12;
inline constexpr int kMusicFontFaceBytes = 32;  // with the terminator
inline constexpr float kDefaultMusicFontBase = 16.0f;
inline constexpr char kDefaultMusicFontName[] = "KVT2STDA";

enum TScoreTextFont : int {
  kFontStaffItalic = 0,
  kFontStaffBold = 1,
  kFontStaffLyric = 2,
  kFontPageTitleText = 3,
  kFontPageText = 4,
  kFontPageSmallText = 5,
  kFontUser1 = 6,  // ... kFontUser1 + 5 is User 6
};

class TMusicFontsData {
public:
  // SetDefaults(16).
  TMusicFontsData();

  // Empty music face; base size rounded to 2 decimals; every text font "Times New Roman",
  // character set 0, with the role's style and size: Staff Italic bold italic base x 0.625 (one
  // decimal), Staff Bold bold base x 0.5, Staff Lyric base x 0.45 (one decimal), Page Title
  // Text bold 24, Page Text 12, Page Small Text 8, User 1-6 base x 0.5.
  void SetDefaults(float baseSize = kDefaultMusicFontBase);

  // The stored face, or "KVT2STDA" when it is empty.
  const char* GetMusicFontName() const;
  // The stored face as it is ("" for the default).
  const char* GetMusicFontFace() const { return musicFace; }
  // Cut to 31 bytes on a character boundary; null stores "".
  void SetMusicFontFace(const char* face);

  float GetBaseSize() const { return baseSize; }
  // Rounded to 2 decimals and limited to the font size range; NaN keeps the size.
  void SetBaseSize(float points);

  // Text font by role 0..11; an index outside gives null.
  const TFontSpec* GetTextFont(int index) const;
  TFontSpec* GetTextFont(int index);

  bool operator==(const TMusicFontsData& other) const;

private:
  char musicFace[kMusicFontFaceBytes] = {};
  float baseSize = kDefaultMusicFontBase;
  TFontSpec textFonts[kScoreTextFontCount];
};

}  // namespace kvt
