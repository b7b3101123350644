#include "draw/items/key_signature_glyphs.h"

#include <array>
#include <cstddef>
#include <cstdint>

#include "notation/items/key_data.h"

namespace kvt {

namespace {
using TLetterRow = std::array<int, 7>;  // A B C D E F G

// Treble, Bass, Alto, Tenor, Percussion.
constexpr std::array<TLetterRow, 5> kSharpPositions{{
    {1, 0, -1, -2, -3, -4, -5},
    {3, 2, 1, 0, -1, -2, -3},
    {2, 1, 0, -1, -2, -3, -4},
    {0, -1, -2, -3, -4, 2, 1},
    {3, 2, 1, 0, -1, -2, -3},
}};
constexpr std::array<TLetterRow, 5> kFlatPositions{{
    {1, 0, -1, -2, -3, 3, 2},
    {3, 2, 1, 0, -1, 5, 4},
    {2, 1, 0, -1, -2, 4, 3},
    {0, -1, -2, -3, -4, 2, 1},
    {3, 2, 1, 0, -1, 5, 4},
}};

constexpr std::array<int, 7> kFlatOrder{1, 4, 0, 3, 6, 2, 5};   // B E A D G C F
constexpr std::array<int, 7> kSharpOrder{5, 2, 6, 3, 0, 4, 1};  // F C G D A E B

std::size_t Row(int clefType) {
  return clefType >= 0 && clefType < 5 ? static_cast<std::size_t>(clefType) : 0;
}
std::size_t Column(int letter) {
  return letter >= 0 && letter < 7 ? static_cast<std::size_t>(letter) : 0;
}

void Append(std::vector<TKeyGlyph>& out, int mask, const std::array<int, 7>& order, int glyph,
            int clefType, bool sharpTable) {
  for (int letter : order) {
    if ((mask & (1 << letter)) == 0) continue;
    const int position =
        sharpTable ? KeySharpPosition(clefType, letter) : KeyFlatPosition(clefType, letter);
    out.push_back({glyph, position});
  }
}
}  // namespace

int KeySharpPosition(int clefType, int letter) {
  return kSharpPositions[Row(clefType)][Column(letter)];
}

int KeyFlatPosition(int clefType, int letter) {
  return kFlatPositions[Row(clefType)][Column(letter)];
}

TKeyGlyphs BuildKeyGlyphs(const TKeyData& key, int clefType, bool withNaturals) {
  TKeyGlyphs glyphs;
  if (withNaturals) {
    Append(glyphs.naturals, key.GetCancelledFlats(), kFlatOrder, kGlyphNatural, clefType, false);
    Append(glyphs.naturals, key.GetCancelledSharps(), kSharpOrder, kGlyphNatural, clefType, true);
  }
  Append(glyphs.accidentals, key.GetFlatsMask(), kFlatOrder, kGlyphFlat, clefType, false);
  Append(glyphs.accidentals, key.GetSharpsMask(), kSharpOrder, kGlyphSharp, clefType, true);
  return glyphs;
}

int KeySignatureWidth(const TKeyGlyphs& glyphs, int naturalWidth, int flatWidth, int sharpWidth) {
  if (glyphs.naturals.empty() && glyphs.accidentals.empty()) return 0;
  const int g = naturalWidth / 4;
  int64_t width = static_cast<int64_t>(glyphs.naturals.size()) * (g + naturalWidth);
  if (!glyphs.naturals.empty() && !glyphs.accidentals.empty()) width += 2 * g;
  for (const TKeyGlyph& glyph : glyphs.accidentals)
    width += g + (glyph.glyph == kGlyphFlat ? flatWidth : sharpWidth);
  return static_cast<int>(width - g);
}

}  // namespace kvt
