#pragma once
// The glyphs of a key signature in drawing order: the naturals that cancel the previous key
// (cancelled flats, then cancelled sharps), then the flats in the order B E A D G C F and the
// sharps in the order F C G D A E B, each at its staff position for the clef in force.
//
// Spacing, with g = a quarter of the natural's width: each glyph is followed by g; after the
// naturals, when flats or sharps follow, a further 2g. The width is the sum of glyphs and gaps
// minus the last g; an empty key is 0 wide.

#include <vector>

#include "draw/layout/layout_metrics.h"

namespace kvt {

class TKeyData;

struct TKeyGlyph {
  int glyph;
  int position;
};

struct TKeyGlyphs {
  std::vector<TKeyGlyph> naturals;
  std::vector<TKeyGlyph> accidentals;  // flats, then sharps
};

// Staff position of a sharp or flat on a letter (0 A .. 6 G) for a clef type (outside 0..4:
// Treble); letters outside 0..6 read as A.
int KeySharpPosition(int clefType, int letter);
int KeyFlatPosition(int clefType, int letter);

// withNaturals: whether the cancelling naturals are drawn at all.
TKeyGlyphs BuildKeyGlyphs(const TKeyData& key, int clefType, bool withNaturals);

// Width from the glyph widths (natural, flat, sharp).
int KeySignatureWidth(const TKeyGlyphs& glyphs, int naturalWidth, int flatWidth, int sharpWidth);

}  // namespace kvt
