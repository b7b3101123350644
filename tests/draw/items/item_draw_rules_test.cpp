// The rules that decide colours, glyphs, positions and texts of the other item kinds.

#include <gtest/gtest.h>

#include "draw/items/bar_line_kind.h"
#include "draw/items/clef_placement.h"
#include "draw/items/expression_texts.h"
#include "draw/items/item_color.h"
#include "draw/items/key_signature_glyphs.h"
#include "notation/context/staff_context_state.h"
#include "notation/items/bar_line_data.h"
#include "notation/items/flow_direction.h"
#include "notation/items/generic_control.h"
#include "notation/items/key_data.h"
#include "notation/items/repeat_ending.h"
#include "notation/items/tempo_data.h"
#include "notation/items/tempo_variance.h"

namespace kvt {
namespace {

TEST(ItemColor, FollowsHiddenItemAndStaffColours) {
  struct Case {
    TItemColorFacts facts;
    int expected;
  };
  const Case cases[] = {
      {{true, 3, 2, true, true}, kColorActiveHidden},  // hidden beats every colour
      {{true, 3, 2, true, false}, kColorHidden},
      {{true, 0, 0, false, true}, kColorHidden},  // hidden colour 6 only while shown
      {{false, 3, 2, false, false}, 11},          // item colour 3
      {{false, 0, 2, false, false}, 10},          // staff colour 2
      {{false, 0, 0, false, true}, kColorInk},    // printing: default ink
      {{false, 0, 0, true, true}, kColorActiveStaff},
      {{false, 0, 0, true, false}, kColorInactiveStaff},
      {{false, 9, 0, false, false}, kColorInk},  // colour outside 0..7 counts as 0
  };
  for (const Case& c : cases) EXPECT_EQ(ItemColorIndex(c.facts), c.expected);
}

TEST(ClefPlacement, CueClefMovesAThirdTowardsItsPullPosition) {
  const TClefPlacement& treble = GetClefPlacement(kClefTreble);
  EXPECT_EQ(treble.glyph, 2);
  EXPECT_EQ(treble.octaveUpPosition, -8);
  // At step height 10: "8" above at y -80, pull position 2 at y 20; a third of 100 is 33.
  EXPECT_EQ(PulledClefY(-80, 20, 0), -80);
  EXPECT_EQ(PulledClefY(-80, 20, 1), -47);
  EXPECT_EQ(GetClefPlacement(kClefDrum).glyph, 53);
  EXPECT_EQ(GetClefPlacement(kClefTenor).position, 2);
  // A damaged clef type reads as treble rather than indexing outside the table.
  EXPECT_EQ(&GetClefPlacement(77), &treble);
  EXPECT_EQ(&GetClefPlacement(-1), &treble);
}

TEST(KeySignatureGlyphs, ThreeFlatsAfterTwoSharpsCancelFAndCFirst) {
  TKeyData key;
  key.SetFlatsMask(0b0010011);     // B, E, A
  key.SetPrevMasks(0b0100100, 0);  // F, C sharp
  const TKeyGlyphs glyphs = BuildKeyGlyphs(key, kClefTreble, true);
  ASSERT_EQ(glyphs.naturals.size(), 2u);
  EXPECT_EQ(glyphs.naturals[0].glyph, kGlyphNatural);
  EXPECT_EQ(glyphs.naturals[0].position, -4);  // F on the top line
  EXPECT_EQ(glyphs.naturals[1].position, -1);  // C
  ASSERT_EQ(glyphs.accidentals.size(), 3u);
  EXPECT_EQ(glyphs.accidentals[0].glyph, kGlyphFlat);
  EXPECT_EQ(glyphs.accidentals[0].position, 0);   // B
  EXPECT_EQ(glyphs.accidentals[1].position, -3);  // E
  EXPECT_EQ(glyphs.accidentals[2].position, 1);   // A
  // Natural 8 wide (g = 2), flats 6: 2 x (2 + 8) + 2g + 3 x (2 + 6) - g.
  EXPECT_EQ(KeySignatureWidth(glyphs, 8, 6, 7), 20 + 4 + 24 - 2);
  EXPECT_TRUE(BuildKeyGlyphs(key, kClefTreble, false).naturals.empty());
}

TEST(KeySignatureGlyphs, SharpsFollowTheClefTable) {
  TKeyData key(0b1111111, 0);
  const std::vector<int> bass{-2, 1, -3, 0, 3, -1, 2};  // F C G D A E B
  const TKeyGlyphs glyphs = BuildKeyGlyphs(key, kClefBass, true);
  ASSERT_EQ(glyphs.accidentals.size(), 7u);
  for (size_t i = 0; i < bass.size(); ++i) EXPECT_EQ(glyphs.accidentals[i].position, bass[i]) << i;
  EXPECT_EQ(KeyFlatPosition(kClefTenor, 5), 2);
  EXPECT_EQ(KeySharpPosition(99, 99), KeySharpPosition(kClefTreble, 0));
  EXPECT_EQ(KeySignatureWidth(BuildKeyGlyphs(TKeyData(), kClefTreble, true), 8, 6, 7), 0);
}

TEST(BarLineKind, MergesClosingAndOpeningBarsOnlyWhenPrinting) {
  struct Case {
    TBarKindFacts facts;
    int expected;
  };
  const Case cases[] = {
      {{kBarDouble, true, false, false, false, false, 0}, kBarTransparent},
      {{kBarDouble, false, true, true, false, false, 0}, kBarSingle},
      {{kBarDouble, false, true, false, false, false, 0}, kBarDouble},
      {{kBarSectionOpen, false, false, false, false, true, kBarSectionClose}, kBarDouble},
      {{kBarSectionOpen, false, false, false, true, true, kBarSectionClose}, kBarSectionOpen},
      {{kBarSectionOpen, false, false, false, false, false, kBarSectionClose}, kBarSectionOpen},
      {{kBarLocalRepeatOpen, false, false, false, false, true, kBarLocalRepeatClose},
       kBarKindCloseOpen},
      {{kBarMasterRepeatOpen, false, false, false, false, true, kBarMasterRepeatClose},
       kBarLocalRepeatOpen},
      {{kBarMasterRepeatOpen, false, false, false, false, true, kBarSectionClose},
       kBarMasterRepeatOpen},
      {{29, false, false, false, false, false, 0}, kBarSingle},
  };
  for (const Case& c : cases) EXPECT_EQ(DrawnBarKind(c.facts), c.expected) << c.facts.style;
}

TEST(ExpressionTexts, EndingNumbersAndEditingMarks) {
  TSpecialEnding ending;
  ending.SetEnding(1, true);
  ending.SetEnding(3, true);
  EXPECT_EQ(BuildEndingText(ending, true).numbers, " 1.3.");
  EXPECT_EQ(BuildEndingText(ending, true).marks, "");
  ending.SetDefaultEnding(true);
  EXPECT_EQ(BuildEndingText(ending, true).marks, "D.");
  EXPECT_EQ(BuildEndingText(ending, false).marks, "");
  TSpecialEnding none;
  EXPECT_EQ(BuildEndingText(none, true).numbers, " ");
  EXPECT_EQ(BuildEndingText(none, true).marks, "...");
}

TEST(ExpressionTexts, MpcLabelsByController) {
  TGenericControl control;
  control.SetController(kMpcPan);
  EXPECT_EQ(MpcLabel(control), "[mpc:pan]");
  control.SetController(kMpcPhaser);
  EXPECT_EQ(MpcLabel(control), "[mpc:phaser]");
  control.SetController(200);
  EXPECT_EQ(MpcLabel(control), "[mpc:?]");
}

TEST(ExpressionTexts, TempoMarkWithDottedBaseAndText) {
  TTempoData plain(90, kTempoQuarterDotted);
  TTempoMarkParts parts = BuildTempoMark(plain);
  EXPECT_FALSE(parts.hasText);
  EXPECT_EQ(parts.noteGlyph, kGlyphTempoNoteFirst + 1);  // the quarter note
  EXPECT_EQ(parts.tail, ".=90");
  TTempoData named(60, kTempoHalf);
  named.SetText(u"Largo");
  parts = BuildTempoMark(named);
  EXPECT_TRUE(parts.hasText);
  EXPECT_EQ(parts.noteGlyph, kGlyphTempoNoteFirst + 2);
  EXPECT_EQ(parts.tail, " =60)");
}

TEST(ExpressionTexts, FlowDirectionsCountTheSymbolTheyDraw) {
  struct Case {
    int style;
    const char* main;
    const char* suffix;
    int symbol;
    bool counts;
  };
  const Case cases[] = {
      {kFlowCoda, "Coda", "", kGlyphCoda, false},
      {kFlowSegno, "", "", kGlyphSegno, true},
      {kFlowFine, "Fine", "", 0, false},
      {kFlowToCoda, "To Coda ", "", kGlyphCoda, true},
      {kFlowDCalFine, "D.C. al Fine", "", 0, false},
      {kFlowDalSegno, "D.S.", "", kGlyphSegno, true},
      {kFlowDSalCoda, "D.S.", " al Coda", kGlyphSegno, true},
      {kFlowDSalFine, "D.S.", " al Fine", kGlyphSegno, true},
      {42, "", "", 0, false},
  };
  for (const Case& c : cases) {
    TFlowDirection flow(c.style);
    const TFlowParts parts = BuildFlowParts(flow);
    EXPECT_EQ(parts.main, c.main) << c.style;
    EXPECT_EQ(parts.suffix, c.suffix) << c.style;
    EXPECT_EQ(parts.symbol, c.symbol) << c.style;
    EXPECT_EQ(parts.symbolCounts, c.counts) << c.style;
  }
}

TEST(ExpressionTexts, FermataTurnsOverBelowTheStaff) {
  TTempoVariance fermata(kTempoVarFermata);
  EXPECT_EQ(TempoVarianceGlyph(fermata, -6.0f), kGlyphFermata);
  EXPECT_EQ(TempoVarianceGlyph(fermata, 1.0f), kGlyphFermataBelow);
  EXPECT_EQ(TempoVarianceGlyph(TTempoVariance(kTempoVarCaesura), 0), kGlyphCaesura);
  EXPECT_EQ(TempoVarianceGlyph(TTempoVariance(kTempoVarRubato), 0), 0);
}

}  // namespace
}  // namespace kvt
