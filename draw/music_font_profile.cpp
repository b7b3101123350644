#include "draw/music_font_profile.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#include "utils/text_encoding.h"

namespace kvt {
namespace {

struct TMetricRow {
  std::string_view name;
  double advance;
  TGlyphBox box;
};

// Generated at build time from Bravura's metadata.json.
constexpr TMetricRow kMetrics[] = {
#include "draw/bravura_metrics.inc"
};

const TMetricRow& MetricsOf(std::string_view name) {
  for (const TMetricRow& row : kMetrics) {
    if (row.name == name) return row;
  }
  // noteheadNull has no metadata of its own: it is as wide as the filled head.
  return MetricsOf("noteheadBlack");
}

// index, SMuFL name, code point (0: draws nothing), table code, the table's own baseline
// offset and the offset that puts Bravura's origin where the table means the glyph (both in
// spaces at full size), scale.
struct TProfileRow {
  std::string_view name;
  char32_t codePoint;
  uint8_t code;
  double listedDy;
  double bravuraDy;
  double scale;
};

// Tempo notes and inline signs are staff-sized in Bravura; the table's are text-sized.
constexpr double kTextScale = 0.6;

constexpr TProfileRow kRows[kMusicGlyphCount] = {
    {"", 0, 0x00, 0, 0, 1},
    {"noteheadBlack", 0, 0x20, 0, 0, 1},  // blank head: a filled head's room, no ink
    {"gClef", 0xE050, 0x61, 0, -1, 1},
    {"fClef", 0xE062, 0x62, 0, -3, 1},
    {"cClef", 0xE05C, 0x63, 0, -2, 1},
    {"noteheadWhole", 0xE0A2, 0x69, 0, 0, 1},
    {"noteheadHalf", 0xE0A3, 0x6A, 0, 0, 1},
    {"noteheadBlack", 0xE0A4, 0x6B, 0, 0, 1},
    {"accidentalFlat", 0xE260, 0x66, 0, 0, 1},
    {"accidentalSharp", 0xE262, 0x64, 0, 0, 1},
    {"accidentalNatural", 0xE261, 0x65, 0, 0, 1},
    {"flag8thDown", 0xE241, 0x87, 0, 0.132, 1},
    {"flag16thDown", 0xE243, 0x88, 0, 0.128, 1},
    {"flag32ndDown", 0xE245, 0x89, 0, -0.448, 1},
    {"flag64thDown", 0xE247, 0x8A, 0, -1.244, 1},
    {"flag8thUp", 0xE240, 0x82, 2, -0.04, 1},
    {"flag16thUp", 0xE242, 0x83, 2, -0.088, 1},
    {"flag32ndUp", 0xE244, 0x84, 3, 0.376, 1},
    {"flag64thUp", 0xE246, 0x85, 4, 1.172, 1},
    {"augmentationDot", 0xE1E7, 0x7A, -0.25, -0.25, 1},
    {"restWhole", 0xE4E3, 0x6C, 0, 0, 1},
    {"restHalf", 0xE4E4, 0x6D, 0, 0, 1},
    {"restQuarter", 0xE4E5, 0x6E, 0, 0, 1},
    {"rest8th", 0xE4E6, 0x6F, 0, 0.5, 1},
    {"rest16th", 0xE4E7, 0x70, 0, -0.5, 1},
    {"rest32nd", 0xE4E8, 0x71, 0, -0.5, 1},
    {"rest64th", 0xE4E9, 0x72, 0, -1.5, 1},
    {"metNote8thUp", 0xECA7, 0x48, 0.667, 0.667, kTextScale},
    {"metNoteQuarterUp", 0xECA5, 0x47, 0.667, 0.667, kTextScale},
    {"metNoteHalfUp", 0xECA3, 0x46, 0.667, 0.667, kTextScale},
    {"repeatDots", 0xE043, 0x4A, 1, 2, 1},
    {"keyboardPedalPed", 0xE650, 0x75, 0, 1.11, 1},
    {"keyboardPedalUp", 0xE655, 0x76, 0, 0.9, 1},
    {"segno", 0xE047, 0x78, 0, 1.46, 1},
    {"coda", 0xE048, 0x77, 0, 1.48, 1},
    {"noteheadBlack", 0, 0x4B, 0, 0, 1},  // measured only
    {"fermataAbove", 0xE4C0, 0x79, 0, 0, 1},
    {"fermataBelow", 0xE4C1, 0x74, 0, 0, 1},
    {"breathMarkComma", 0xE4CE, 0x49, 0, 0, 1},
    {"caesura", 0xE4D1, 0x27, 0, 0, 1},
    {"timeSigCommon", 0xE08A, 0x44, 0, -1, 1},
    {"timeSigCutCommon", 0xE08B, 0x45, -0.25, -1, 1},
    {"accidentalDoubleSharp", 0xE263, 0x67, 0, 0, 1},
    {"accidentalDoubleFlat", 0xE264, 0x68, 0, 0, 1},
    {"articAccentAbove", 0xE4A0, 0x41, 0, 0.24, 1},
    {"articMarcatoAbove", 0xE4AC, 0x42, -0.5, 0.25, 1},
    {"articMarcatoBelow", 0xE4AD, 0x40, 0, -0.75, 1},
    {"articStaccatissimoAbove", 0xE4A6, 0x3B, -0.25, 0.34, 1},
    {"articStaccatissimoBelow", 0xE4A7, 0x3A, -0.25, -0.84, 1},
    {"articTenutoAbove", 0xE4A4, 0x43, -0.25, -0.15, 1},
    {"", 0, 0x4F, 1.625, 1.625, 1},  // anchor mark: an outline of our own
    {"noteheadBlack", 0, 0x4C, 0, 0, 1},  // measured only
    {"clef8", 0xE07D, 0x4D, 0, 0, 1},
    {"unpitchedPercussionClef1", 0xE069, 0x5D, 0, -2, 1},
    {"noteheadXBlack", 0xE0A9, 0x58, 0, 0, 1},
    {"noteheadDiamondWhite", 0xE0DD, 0x59, 0, 0, 1},
    {"noteheadDiamondBlack", 0xE0DB, 0x5A, 0, 0, 1},
    {"noteShapeTriangleUpWhite", 0xE1BA, 0x90, 0, 0, 1},
    {"noteShapeTriangleUpBlack", 0xE1BB, 0x91, 0, 0, 1},
    {"noteShapeMoonWhite", 0xE1BC, 0x92, 0, 0, 1},
    {"noteShapeMoonBlack", 0xE1BD, 0x93, 0, 0, 1},
    {"noteShapeDiamondWhite", 0xE1B8, 0x94, 0, 0, 1},
    {"noteShapeDiamondBlack", 0xE1B9, 0x95, 0, 0, 1},
    {"noteShapeTriangleRightWhite", 0xE1B4, 0x96, 0, 0, 1},
    {"noteShapeTriangleRightBlack", 0xE1B5, 0x97, 0, 0, 1},
    {"noteShapeTriangleLeftWhite", 0xE1B6, 0x98, 0, 0, 1},
    {"noteShapeTriangleLeftBlack", 0xE1B7, 0x99, 0, 0, 1},
    {"noteShapeRoundWhite", 0xE1B0, 0x9A, 0, 0, 1},
    {"noteShapeRoundBlack", 0xE1B1, 0x9B, 0, 0, 1},
    {"noteShapeSquareWhite", 0xE1B2, 0x9C, 0, 0, 1},
    {"noteShapeSquareBlack", 0xE1B3, 0x9D, 0, 0, 1},
    {"noteShapeTriangleRoundWhite", 0xE1BE, 0x9E, 0, 0, 1},
    {"noteShapeTriangleRoundBlack", 0xE1BF, 0x9F, 0, 0, 1},
    {"dynamicPPP", 0xE52A, 0x50, 0.667, 0.55, 1},
    {"dynamicPP", 0xE52B, 0x51, 0.667, 0.55, 1},
    {"dynamicPiano", 0xE520, 0x52, 0.667, 0.55, 1},
    {"dynamicMP", 0xE52C, 0x53, 0.667, 0.55, 1},
    {"dynamicMF", 0xE52D, 0x54, 0.667, 0.55, 1},
    {"dynamicForte", 0xE522, 0x55, 0.667, 0.55, 1},
    {"dynamicFF", 0xE52F, 0x56, 0.667, 0.55, 1},
    {"dynamicFFF", 0xE530, 0x57, 0.667, 0.55, 1},
    {"tuplet3", 0xE883, 0x73, 0.75, 0.75, 1},
};

TMusicGlyph Make(const TProfileRow& row, double scale, bool bravuraOffset) {
  TMusicGlyph glyph;
  glyph.name = row.name;
  glyph.codePoint = row.codePoint;
  glyph.code = row.code;
  glyph.scale = scale;
  if (row.name.empty()) {
    glyph.advance = row.code == 0 ? 0 : kAnchorAdvance;
    glyph.box = {0, 0, kAnchorAdvance, 0.75};
  } else {
    const TMetricRow& m = MetricsOf(row.name);
    glyph.advance = m.advance * scale;
    glyph.box = {m.box.swX * scale, m.box.swY * scale, m.box.neX * scale, m.box.neY * scale};
  }
  // DrawGlyph adds the table's own offset itself; the profile supplies the rest.
  glyph.dy = bravuraOffset ? row.bravuraDy - row.listedDy : row.bravuraDy;
  return glyph;
}

struct TTables {
  std::array<TMusicGlyph, kMusicGlyphCount> glyphs;
  std::array<TMusicGlyph, 10> digits;
  // Music text: glyphs of a text baseline (no table offset), indexed by table code.
  std::array<const TMusicGlyph*, 256> byCode{};
  std::array<TMusicGlyph, kMusicGlyphCount> textGlyphs;
  // The Unicode characters that Windows-1252 gives the bytes 0x80..0x9F.
  std::array<char16_t, 32> cp1252High{};
  // Unscaled boxes by code point, sorted.
  std::vector<std::pair<char32_t, TGlyphBox>> boxes;
};

const TTables& Tables() {
  static const TTables tables = [] {
    TTables t;
    for (int i = 0; i < kMusicGlyphCount; ++i) {
      t.glyphs[i] = Make(kRows[i], kRows[i].scale, true);
      // The inline segno and coda of a text are scaled to it like the tempo notes.
      const double textScale = (i == 33 || i == 34) ? kTextScale : kRows[i].scale;
      t.textGlyphs[i] = Make(kRows[i], textScale, false);
      // A text's glyphs sit on its baseline: only the origin correction applies, the
      // table offsets of DrawGlyph do not.
      t.textGlyphs[i].dy = (kRows[i].bravuraDy - kRows[i].listedDy) * textScale / kRows[i].scale;
      if (i != 0 && t.byCode[kRows[i].code] == nullptr) t.byCode[kRows[i].code] = &t.textGlyphs[i];
    }
    for (int d = 0; d < 10; ++d) {
      static constexpr std::string_view kNames[10] = {"timeSig0", "timeSig1", "timeSig2", "timeSig3",
                                                     "timeSig4", "timeSig5", "timeSig6", "timeSig7",
                                                     "timeSig8", "timeSig9"};
      const TProfileRow row{kNames[d], static_cast<char32_t>(0xE080 + d),
                            static_cast<uint8_t>('0' + d), 0, -1, 1};
      t.digits[d] = Make(row, 1, false);
    }
    for (int i = 0; i < kMusicGlyphCount; ++i) {
      if (kRows[i].codePoint != 0) t.boxes.emplace_back(kRows[i].codePoint, MetricsOf(kRows[i].name).box);
    }
    for (const TMusicGlyph& d : t.digits) t.boxes.emplace_back(d.codePoint, d.box);
    std::sort(t.boxes.begin(), t.boxes.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (int b = 0; b < 32; ++b) {
      const char byte = static_cast<char>(0x80 + b);
      const std::u16string u = MultiByteToUtf16(1252, std::string_view(&byte, 1));
      t.cp1252High[b] = u.size() == 1 ? u[0] : char16_t(0xFFFD);
    }
    return t;
  }();
  return tables;
}

}  // namespace

const TSpacePoint kAnchorOutline[kAnchorPointCount] = {{0, 0}, {kAnchorAdvance, 0}, {kAnchorAdvance / 2, -0.75}};

const TMusicGlyph* MusicGlyphAt(int index) {
  if (index < 0 || index >= kMusicGlyphCount) return nullptr;
  return &Tables().glyphs[index];
}

const TMusicGlyph& MusicDigitGlyph(int digit) { return Tables().digits[std::clamp(digit, 0, 9)]; }

const TMusicGlyph* MusicTextGlyph(char16_t ch) {
  const TTables& t = Tables();
  if (ch >= u'0' && ch <= u'9') return &t.digits[ch - u'0'];
  unsigned code = ch;
  if (ch >= 0xF020 && ch <= 0xF0FF) {
    code = ch - 0xF000;
  } else if (ch > 0xFF) {
    code = 0x100;
    for (int b = 0; b < 32; ++b) {
      if (t.cp1252High[b] == ch) code = 0x80 + b;
    }
  }
  if (code > 0xFF) return nullptr;
  if (code >= '0' && code <= '9') return &t.digits[code - '0'];
  return t.byCode[code];
}

TGlyphBox MusicGlyphBoxOf(char32_t codePoint) {
  const auto& boxes = Tables().boxes;
  const auto it = std::lower_bound(boxes.begin(), boxes.end(), codePoint,
                                   [](const auto& entry, char32_t cp) { return entry.first < cp; });
  return it != boxes.end() && it->first == codePoint ? it->second : TGlyphBox{};
}

double MusicBlankAdvance() { return Tables().glyphs[kBlankHeadGlyph].advance; }

}  // namespace kvt
