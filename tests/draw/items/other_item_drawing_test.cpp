// Widths and drawings of the other item kinds on the recording context, through a staff site
// with fixed answers.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "draw/items/item_draw_site.h"
#include "draw/items/other_item_drawing.h"
#include "draw/mul_div.h"
#include "notation/index/staff_draw_pos.h"
#include "notation/items/bar_line_data.h"
#include "notation/items/clef_data.h"
#include "notation/items/dynamic_level_data.h"
#include "notation/items/flow_direction.h"
#include "notation/items/key_data.h"
#include "notation/items/multi_measure_rest.h"
#include "notation/items/notation_marker.h"
#include "notation/items/repeat_ending.h"
#include "notation/items/staff_sizer.h"
#include "notation/items/staff_spacer.h"
#include "notation/items/tempo_data.h"
#include "notation/items/tempo_variance.h"
#include "notation/items/text_expression.h"
#include "notation/items/time_signature_data.h"
#include "notation/items/user_object.h"
#include "tests/draw/draw_fixture.h"

namespace kvt {
namespace {

// A five-line staff, not connected, whose layout answers with the fields below.
class TFakeSite final : public TItemDrawSite {
public:
  explicit TFakeSite(TMusicFonts& fonts) : fonts(fonts) {}
  TMusicFonts& Fonts() override { return fonts; }
  int DrawMode() const override { return mode; }
  bool IsActiveStaff() const override { return active; }
  int StaffColor() const override { return 0; }
  bool IsFirstStaff() const override { return true; }
  int TopLinePosition() const override { return -4; }
  int BottomLinePosition() const override { return 4; }
  int UpperExtent() const override { return 8; }
  int LowerExtent() const override { return 8; }
  bool ConnectsAbove() const override { return false; }
  bool ConnectsBelow() const override { return false; }
  int LineCount() const override { return 5; }
  int LastItemIndex() const override { return static_cast<int>(items.size()) - 1; }
  const TNotatedItem* ItemAt(int i) const override {
    return i >= 0 && i < static_cast<int>(items.size()) ? items[static_cast<size_t>(i)].get()
                                                        : nullptr;
  }
  const TStaffDrawPos* DrawPosAt(int pos) const override {
    return pos >= 0 && pos < static_cast<int>(positions.size())
               ? &positions[static_cast<size_t>(pos)]
               : nullptr;
  }
  int DistanceToBar(int, bool forward, int) override { return forward ? barAfter : barBefore; }
  int DistanceToPaddedNeighbour(int, bool forward) override { return forward ? 200 : -100; }
  int RunWidth(int) override { return runWidth; }
  int CountRestPositions(int) override { return restBars; }
  int AnchorOffset(int, int) override { return 50; }
  bool ClefAfterNoteInBar(int) override { return clefAfterNote; }
  int GetClefAt(int) override { return kClefBass; }
  bool NoteSincePreviousBar(int) override { return noteBefore; }
  int MeasureUserObject(int) override { return scriptWidth; }
  void DrawUserObject(int, int x) override { drawnAt.push_back(x); }

  // Adds an item with a draw position of the kind; answers the position index.
  int Add(std::unique_ptr<TNotatedItem> item, TDrawPosKind kind, int width = 0) {
    TStaffDrawPos pos;
    pos.Reset();
    pos.SetKind(kind);
    pos.SetItemIndex(static_cast<int>(items.size()));
    pos.SetWidth(width);
    items.push_back(std::move(item));
    positions.push_back(pos);
    return static_cast<int>(positions.size()) - 1;
  }
  const TNotatedItem& Item(int pos) const { return *items[static_cast<size_t>(pos)]; }

  TMusicFonts& fonts;
  int mode = kDrawModePrint;
  bool active = true;
  int barBefore = -40;
  int barAfter = 300;
  int runWidth = 400;
  int restBars = 0;
  bool clefAfterNote = false;
  bool noteBefore = true;
  int scriptWidth = 0;
  std::vector<int> drawnAt;
  std::vector<std::unique_ptr<TNotatedItem>> items;
  std::vector<TStaffDrawPos> positions;
};

class OtherItemDrawingTest : public testing::TDrawFixture {
protected:
  void SetUp() override {
    Draw(20);
    site = std::make_unique<TFakeSite>(*fonts);
  }
  int Width(int pos) {
    return GetOtherItemWidth(*site, site->Item(pos), pos,
                             site->positions[static_cast<size_t>(pos)]);
  }
  void DrawAt(int pos, int x) {
    DrawOtherItem(*site, site->Item(pos), pos, site->positions[static_cast<size_t>(pos)], x);
  }
  int W() const { return fonts->GetGlyphWidth(7); }

  std::unique_ptr<TFakeSite> site;
};

TEST_F(OtherItemDrawingTest, CueTrebleClefPullsItsOctaveEightTowardsStepTwo) {
  auto clef = std::make_unique<TClefData>(kClefTreble);
  clef->SetOctaveShift(kOctaveShiftUp);
  const int pos = site->Add(std::move(clef), kDrawClef);
  DrawAt(pos, 100);
  const auto full = Glyphs();
  ASSERT_EQ(full.size(), 2u);
  const double fullEightY = full[1]->origin.y;
  EXPECT_EQ(Width(pos), fonts->GetGlyphWidth(2));

  dc.Clear();
  site->clefAfterNote = true;
  DrawAt(pos, 100);
  const auto cue = Glyphs();
  ASSERT_EQ(cue.size(), 2u);
  const int eightY = fonts->PositionToYInt(-8), pullY = fonts->PositionToYInt(2);
  EXPECT_NEAR(fullEightY, eightY, 1.0);
  EXPECT_NEAR(cue[1]->origin.y, eightY + (pullY - eightY) / 3, 1.0);
  EXPECT_EQ(Width(pos), fonts->GetScaledGlyphWidth(1, 2));
  EXPECT_LT(Width(pos), fonts->GetGlyphWidth(2));
}

TEST_F(OtherItemDrawingTest, KeyCancelsTheOldSharpsBeforeItsFlats) {
  auto key = std::make_unique<TKeyData>(0, 0b0010011);
  key->SetPrevMasks(0b0100100, 0);
  const int pos = site->Add(std::move(key), kDrawKey);
  DrawAt(pos, 0);
  const auto glyphs = Glyphs();
  ASSERT_EQ(glyphs.size(), 5u);
  const int natural = fonts->GetGlyphWidth(10), flat = fonts->GetGlyphWidth(8), g = natural / 4;
  EXPECT_NEAR(glyphs[1]->origin.x - glyphs[0]->origin.x, natural + g, 1.0);
  EXPECT_NEAR(glyphs[2]->origin.x - glyphs[1]->origin.x, natural + 3 * g, 1.0);
  EXPECT_NEAR(glyphs[3]->origin.x - glyphs[2]->origin.x, flat + g, 1.0);
  EXPECT_NEAR(glyphs[0]->origin.y, fonts->PositionToYInt(-4), 1.0);  // F natural on the top line
  EXPECT_EQ(Width(pos), 2 * (natural + g) + 2 * g + 3 * (flat + g) - g);

  // Hidden cancellations: gone in print, in the hidden colour while editing.
  auto hiding = std::make_unique<TKeyData>(0, 0b0010011);
  hiding->SetPrevMasks(0b0100100, 0);
  hiding->SetHideCancels(true);
  const int hidden = site->Add(std::move(hiding), kDrawKey);
  dc.Clear();
  DrawAt(hidden, 0);
  EXPECT_EQ(Glyphs().size(), 3u);
  site->mode = kDrawModeEdit;
  dc.Clear();
  DrawAt(hidden, 0);
  ASSERT_EQ(Glyphs().size(), 5u);
  EXPECT_EQ(Glyphs()[0]->color, colors.GetColor(6));
  EXPECT_EQ(Glyphs()[4]->color, colors.GetColor(4));
}

TEST_F(OtherItemDrawingTest, EmptyKeyShowsOnlyWhileEditing) {
  const int pos = site->Add(std::make_unique<TKeyData>(), kDrawKey);
  EXPECT_EQ(Width(pos), 0);
  DrawAt(pos, 0);
  EXPECT_TRUE(Glyphs().empty());
  site->mode = kDrawModeEdit;
  EXPECT_EQ(Width(pos), fonts->GetGlyphWidth(10));
  DrawAt(pos, 0);
  ASSERT_EQ(Glyphs().size(), 1u);
  EXPECT_EQ(Glyphs()[0]->color, colors.GetColor(6));
}

TEST_F(OtherItemDrawingTest, TimeSignatureCentresTheNarrowerNumber) {
  auto time = std::make_unique<TTimeSignatureData>(12, 3);
  const int pos = site->Add(std::move(time), kDrawTimeSig);
  DrawAt(pos, 0);
  // Music text draws one glyph a digit: "1", "2" on the middle line, "8" two spaces below.
  const auto digits = Glyphs();
  ASSERT_EQ(digits.size(), 3u);
  const int top = fonts->GetTextWidth(0, "12");
  const int bottom = fonts->GetTextWidth(0, "8");
  EXPECT_NEAR(digits[2]->origin.x - digits[0]->origin.x, (top - bottom) / 2, 1.0);
  EXPECT_NEAR(digits[2]->origin.y - digits[0]->origin.y,
              fonts->PositionToYInt(4) - fonts->PositionToYInt(0), 1.0);
  EXPECT_EQ(Width(pos), top);

  auto common = std::make_unique<TTimeSignatureData>();
  common->SetStyle(kTimeSigCommon);
  const int c = site->Add(std::move(common), kDrawTimeSig);
  dc.Clear();
  DrawAt(c, 0);
  EXPECT_EQ(Glyphs().size(), 1u);
  EXPECT_EQ(Width(c), fonts->GetGlyphWidth(40));
}

TEST_F(OtherItemDrawingTest, SectionOpenAfterCloseMergesIntoOneDoubleBarInPrint) {
  site->Add(std::make_unique<TBarLineData>(kBarSingle), kDrawBarLine);
  site->Add(std::make_unique<TBarLineData>(kBarSectionClose), kDrawBarLine);
  const int open = site->Add(std::make_unique<TBarLineData>(kBarSectionOpen), kDrawBarLine);
  site->Add(std::make_unique<TBarLineData>(kBarSingle), kDrawBarLine);

  auto shapesOf = [&](int kind) {
    TRecordingContext reference;
    fonts->EndDrawing();
    fonts->BeginDrawing(&reference, &reference);
    fonts->DrawBarLine(kind, 500, -4, 4);
    fonts->EndDrawing();
    fonts->BeginDrawing(&dc, &dc);
    return reference.Ops().size();
  };
  DrawAt(open, 500);
  EXPECT_EQ(dc.Ops().size(), shapesOf(kBarDouble));
  EXPECT_EQ(Width(open), fonts->GetBarLineWidth(kBarDouble));
  site->mode = kDrawModeEdit;
  dc.Clear();
  DrawAt(open, 500);
  EXPECT_EQ(dc.Ops().size(), shapesOf(kBarSectionOpen));
  EXPECT_EQ(Width(open), fonts->GetBarLineWidth(kBarSectionOpen));
}

TEST_F(OtherItemDrawingTest, OpeningBarIsTransparentAndTakesNoWidthInPrint) {
  const int first = site->Add(std::make_unique<TBarLineData>(kBarDouble), kDrawBarLine);
  site->Add(std::make_unique<TBarLineData>(kBarSingle), kDrawBarLine);
  EXPECT_EQ(Width(first), 0);
  DrawAt(first, 0);
  EXPECT_TRUE(dc.Ops().empty());
  site->mode = kDrawModeEdit;
  DrawAt(first, 0);  // index 0 stays undrawn even with hidden items shown
  EXPECT_TRUE(dc.Ops().empty());
  EXPECT_EQ(Width(first), fonts->GetBarLineWidth(kBarTransparent));
}

TEST_F(OtherItemDrawingTest, LocalRepeatCloseShowsItsCountOnTheActiveStaff) {
  site->Add(std::make_unique<TBarLineData>(kBarSingle), kDrawBarLine);
  const int close =
      site->Add(std::make_unique<TBarLineData>(kBarLocalRepeatClose, 3), kDrawBarLine, 100);
  site->Add(std::make_unique<TBarLineData>(kBarSingle), kDrawBarLine);
  DrawAt(close, 0);
  ASSERT_EQ(Texts().size(), 1u);
  EXPECT_EQ(Texts()[0]->text, u"(3)");
  const double centre = (Texts()[0]->bounds.left + Texts()[0]->bounds.right) / 2.0;
  EXPECT_NEAR(centre, 50, 2.0);
  site->active = false;
  dc.Clear();
  DrawAt(close, 0);
  EXPECT_TRUE(Texts().empty());
}

TEST_F(OtherItemDrawingTest, EndingBracketRunsToTheNextBarWithHooks) {
  auto ending = std::make_unique<TSpecialEnding>();
  ending->SetEnding(1, true);
  ending->SetClosedBracket(true);
  const int pos = site->Add(std::move(ending), kDrawEnding);
  EXPECT_EQ(Width(pos), 0);
  DrawAt(pos, 100);
  ASSERT_EQ(Texts().size(), 1u);
  EXPECT_EQ(Texts()[0]->text, u" 1.");
  double left = 1e9, right = -1e9;
  for (const TRecordedOp* path : Paths()) {
    left = std::min<double>(left, path->bounds.left);
    right = std::max<double>(right, path->bounds.right);
  }
  EXPECT_NEAR(left, 100, 2.0);
  EXPECT_NEAR(right, 400, 2.0);
  EXPECT_EQ(Paths().size(), 3u);  // line, left hook, right hook

  // Nothing played since the bar: the bracket starts at that bar.
  site->noteBefore = false;
  dc.Clear();
  DrawAt(pos, 100);
  left = 1e9;
  for (const TRecordedOp* path : Paths()) left = std::min<double>(left, path->bounds.left);
  EXPECT_NEAR(left, 60, 2.0);
}

TEST_F(OtherItemDrawingTest, MultiBarRestWidthsAndNumbers) {
  auto rest = std::make_unique<TMultiMeasureRest>(12);
  const int pos = site->Add(std::move(rest), kDrawMultiBarRest);
  const int whole = fonts->GetGlyphWidth(20);
  EXPECT_EQ(Width(pos), 2 * whole + fonts->GetTextWidth(0, "12"));
  DrawAt(pos, 0);
  EXPECT_TRUE(dc.Ops().empty());  // no bars laid out here
  // The number is music text, a glyph a digit.
  site->restBars = 5;
  DrawAt(pos, 0);
  EXPECT_EQ(Glyphs().size(), 1u);  // the bars of this layout
  EXPECT_FALSE(Paths().empty());
  site->mode = kDrawModeEdit;
  dc.Clear();
  DrawAt(pos, 0);
  EXPECT_EQ(Glyphs().size(), 2u);  // the stored count while editing

  auto split = std::make_unique<TMultiMeasureRest>(12);
  split->SetShowBarsWhenHidden(true);
  const int continuation = site->Add(std::move(split), kDrawMultiBarRestContinuation);
  EXPECT_EQ(Width(continuation), 0);
  site->mode = kDrawModePrint;
  EXPECT_EQ(Width(continuation), fonts->GetBarLineWidth(kBarSingle));
}

TEST_F(OtherItemDrawingTest, EditorItemWidths) {
  const int spacer = site->Add(std::make_unique<TStaffSpacer>(150), kDrawSpacer);
  EXPECT_EQ(Width(spacer), MulDiv(150, W(), 100));
  auto gap = std::make_unique<TStaffSizer>();
  gap->SetStyle(kSizerGap);
  gap->SetGapWidth(300);
  const int sizer = site->Add(std::move(gap), kDrawGap);
  EXPECT_EQ(Width(sizer), MulDiv(300, W(), 100));
  auto reset = std::make_unique<TStaffSizer>();
  const int resetPos = site->Add(std::move(reset), kDrawSizer);
  EXPECT_EQ(Width(resetPos), fonts->GetSpace());
  site->positions[static_cast<size_t>(resetPos)].SetAutoInsert(true);
  EXPECT_EQ(Width(resetPos), 0);
  const int marker = site->Add(std::make_unique<TNotationMarker>(), kDrawMarker);
  EXPECT_EQ(Width(marker), 0);
  site->mode = kDrawModeEdit;
  EXPECT_EQ(Width(marker), 3 * fonts->GetSpace() / 4);
}

TEST_F(OtherItemDrawingTest, UserObjectMeasuresThroughItsScriptOnlyWhilePending) {
  auto object = std::make_unique<TKVTUserObject>();
  const int pos = site->Add(std::move(object), kDrawUserObject, 77);
  site->scriptWidth = 123;
  EXPECT_EQ(Width(pos), 77);
  site->positions[static_cast<size_t>(pos)].Reset();
  site->positions[static_cast<size_t>(pos)].SetKind(kDrawUserObject);
  EXPECT_EQ(Width(pos), 123);
  site->positions[static_cast<size_t>(pos)].SetWidth(60);
  DrawAt(pos, 10);
  ASSERT_EQ(site->drawnAt.size(), 1u);
  EXPECT_EQ(site->drawnAt[0], 70);
  EXPECT_TRUE(dc.Ops().empty());  // no marker in print
}

TEST_F(OtherItemDrawingTest, TempoWithoutTextShowsNoteDotEqualsValue) {
  auto tempo = std::make_unique<TTempoData>(90, kTempoQuarterDotted);
  tempo->SetWide(true);
  const int pos = site->Add(std::move(tempo), kDrawOther, 0);
  DrawAt(pos, 0);
  ASSERT_EQ(Glyphs().size(), 1u);
  ASSERT_EQ(Texts().size(), 1u);
  EXPECT_EQ(Texts()[0]->text, u".=90");
  EXPECT_GE(Texts()[0]->origin.x, Glyphs()[0]->origin.x + fonts->GetGlyphWidth(28) - 1);
  EXPECT_EQ(Width(pos), fonts->GetGlyphWidth(28) + fonts->GetBoldTextWidth(".=90"));
}

TEST_F(OtherItemDrawingTest, ExpressionWidthIsOwnWhenWideAnchorWhileEditingElseNothing) {
  auto owned = std::make_unique<TDynamicLevelData>(kDynFF);
  TDynamicLevelData& dynamic = *owned;
  const int pos = site->Add(std::move(owned), kDrawOther);
  EXPECT_EQ(Width(pos), 0);
  site->mode = kDrawModeEdit;
  EXPECT_EQ(Width(pos), fonts->GetGlyphWidth(50));
  site->mode = kDrawModePrint;
  dynamic.SetWide(true);
  EXPECT_EQ(Width(pos), fonts->GetGlyphWidth(73 + kDynFF));
}

TEST_F(OtherItemDrawingTest, CentredExpressionStandsOverTheMiddleOfItsPosition) {
  auto owned = std::make_unique<TDynamicLevelData>(kDynP);
  TDynamicLevelData& dynamic = *owned;
  dynamic.SetJustify(kJustifyCenter);
  const int pos = site->Add(std::move(owned), kDrawOther, 100);
  DrawAt(pos, 1000);
  ASSERT_EQ(Glyphs().size(), 1u);
  const double centred = Glyphs()[0]->origin.x;
  dynamic.SetJustify(kJustifyLeft);
  dc.Clear();
  DrawAt(pos, 1000);
  ASSERT_EQ(Glyphs().size(), 1u);
  const int f = fonts->GetGlyphWidth(73 + kDynP);
  EXPECT_NEAR(centred - Glyphs()[0]->origin.x, -f / 2 + 50, 1.0);
}

TEST_F(OtherItemDrawingTest, DalSegnoAlCodaCountsTheSegnoItDraws) {
  auto flow = std::make_unique<TFlowDirection>(kFlowDSalCoda);
  flow->SetWide(true);
  const int pos = site->Add(std::move(flow), kDrawOther);
  DrawAt(pos, 0);
  ASSERT_EQ(Glyphs().size(), 1u);
  ASSERT_EQ(Texts().size(), 2u);
  const int width = Width(pos);
  EXPECT_EQ(width, fonts->GetItalicTextWidth("D.S.") + fonts->GetGlyphWidth(33) +
                       fonts->GetItalicTextWidth(" al Coda"));
  EXPECT_NEAR(Texts()[1]->bounds.right, width, 2.0);
}

TEST_F(OtherItemDrawingTest, HiddenPositionsDrawInTheHiddenColour) {
  auto dynamic = std::make_unique<TDynamicLevelData>(kDynP);
  dynamic->SetColor(3);
  const int pos = site->Add(std::move(dynamic), kDrawOther);
  site->mode = kDrawModeEdit;
  DrawAt(pos, 0);
  ASSERT_FALSE(Glyphs().empty());
  EXPECT_EQ(Glyphs()[0]->color, colors.GetColor(11));
  site->positions[static_cast<size_t>(pos)].SetHidden(true);
  dc.Clear();
  DrawAt(pos, 0);
  ASSERT_FALSE(Glyphs().empty());
  EXPECT_EQ(Glyphs()[0]->color, colors.GetColor(6));
}

TEST_F(OtherItemDrawingTest, DamagedFieldsMeasureAndDrawInEveryMode) {
  auto clef = std::make_unique<TClefData>();
  clef->SetClefType(200);
  clef->SetOctaveShift(60);
  site->Add(std::move(clef), kDrawClef);
  auto key = std::make_unique<TKeyData>(0xFFFF, 0xFFFF);
  key->SetClef(250);
  key->SetPrevMasks(0xFFFF, 0xFFFF);
  site->Add(std::move(key), kDrawKey);
  site->Add(std::make_unique<TBarLineData>(31, 255), kDrawBarLine);
  auto ending = std::make_unique<TSpecialEnding>();
  ending->SetEndings(0xFF);
  ending->SetVertOffsetStore(-128);
  ending->SetBracketHeight(127);
  site->Add(std::move(ending), kDrawEnding);
  site->Add(std::make_unique<TMultiMeasureRest>(kMaxMultiRestBars), kDrawMultiBarRest);
  site->Add(std::make_unique<TStaffSpacer>(kMaxSpacerWidth), kDrawSpacer);
  auto sizer = std::make_unique<TStaffSizer>();
  sizer->SetStyle(kSizerGap);
  sizer->SetGapWidth(kMaxGapWidth);
  site->Add(std::move(sizer), kDrawGap);
  auto text = std::make_unique<TTextExpression>();
  text->SetFontIndex(250);
  text->SetScale(65535);
  text->SetText(u"x");
  site->Add(std::move(text), kDrawOther);
  site->Add(std::make_unique<TFlowDirection>(99), kDrawOther);
  site->Add(std::make_unique<TTempoVariance>(200), kDrawOther);
  site->restBars = 70000;
  for (int mode = 0; mode <= 4; ++mode) {
    site->mode = mode;
    for (int pos = 0; pos < static_cast<int>(site->positions.size()); ++pos) {
      EXPECT_GE(Width(pos), 0) << mode << " " << pos;
      DrawAt(pos, 0);
    }
  }
}

}  // namespace
}  // namespace kvt
