#include "draw/music_fonts.h"

#include <gtest/gtest.h>

#include <cmath>

#include "draw/music_draw_settings.h"
#include "draw/music_font_profile.h"
#include "tests/draw/draw_fixture.h"
#include "utils/precondition.h"

namespace kvt {
namespace {

using testing::TDrawFixture;

class MusicFontsTest : public TDrawFixture {};

TEST_F(MusicFontsTest, SpaceFromResolutionAndBaseSize) {
  struct Case {
    int dpi;
    float base;
    int space;
  } cases[] = {
      {96, 16, 6},     // 5.33 rounds to 5, made even
      {600, 16, 34},   // 33.33 rounds to 33, made even
      {72, 16, 4},
      {96, 2, 2},      // never below 2
      {0, 16, 2},      // a context reporting no resolution
      {100000, 2000, kMaxSpace},
  };
  for (const Case& c : cases) {
    data.SetBaseSize(c.base);
    TRecordingContext sizing(c.dpi, c.dpi);
    TMusicFonts built(data, sizing, colors);
    EXPECT_EQ(built.GetSpace(), c.space) << c.dpi << " dpi, base " << c.base;
  }
}

TEST_F(MusicFontsTest, RequestedSpaceIsEvenAndAtLeastTwo) {
  const std::pair<int, int> cases[] = {{7, 8}, {0, 2}, {1, 2}, {2, 2}, {12, 12}, {-5, 2}, {1 << 30, kMaxSpace}};
  for (auto [requested, built] : cases) {
    Build(requested);
    EXPECT_EQ(fonts->GetSpace(), built) << requested;
    EXPECT_EQ(fonts->GetStepHeight(), built / 2);
  }
  fonts->Recreate(9);
  EXPECT_EQ(fonts->GetSpace(), 10);
}

TEST_F(MusicFontsTest, MusicFontIsFourSpacesAndCueTwoThirdsOfIt) {
  Build(6);
  EXPECT_EQ(fonts->GetMusicEm(0), 24);
  EXPECT_EQ(fonts->GetMusicEm(1), 16);
  EXPECT_TRUE(fonts->GetFontSlot(0).music);
  EXPECT_TRUE(fonts->GetFontSlot(1).music);
  EXPECT_DOUBLE_EQ(fonts->GetFontSlot(1).pixelSize, 16);
  fonts->BeginSizing();
  TLogFont full, cue;
  fonts->GetSlotLogFont(0, full);
  fonts->GetSlotLogFont(1, cue);
  EXPECT_EQ(full.height, -24);
  EXPECT_EQ(cue.height, -16);
  EXPECT_STREQ(full.faceName, "KVT2STDA");
  EXPECT_EQ(full.charSet, kSymbolCharSet);
  fonts->EndSizing();
}

TEST_F(MusicFontsTest, WidthsAreMetadataAdvancesTimesSpace) {
  Build(20);
  for (int i = 0; i < kMusicGlyphCount; ++i) {
    EXPECT_EQ(fonts->GetGlyphWidth(i), std::lround(MusicGlyphAt(i)->advance * 20)) << i;
  }
  EXPECT_EQ(fonts->GetGlyphWidth(7), 24);  // noteheadBlack 1.18
  EXPECT_EQ(fonts->GetGlyphWidth(0), 0);
  EXPECT_EQ(fonts->GetScaledGlyphWidth(1, 7), 16);
  EXPECT_EQ(fonts->GetGlyphWidthMulDiv(true, 7), 16);
  // Thicknesses keep the table's formulas over the new widths.
  EXPECT_EQ(fonts->GetStemThickness(), 24 / 14 + 1);
  EXPECT_EQ(fonts->GetStemPenWidth(), 24 / 16 + 1);
  EXPECT_EQ(fonts->GetStaffLineThickness(), 20 / 14 + 1);
}

TEST_F(MusicFontsTest, GlyphIndexOutsideTheTableHasNoWidthAndDrawsNothing) {
  Draw(10);
  for (int index : {-1, 82, 1000}) {
    EXPECT_EQ(fonts->GetGlyphWidth(index), 0);
    EXPECT_EQ(fonts->DrawGlyph(0, index, 0, 0), 0);
  }
  EXPECT_TRUE(dc.Ops().empty());
}

TEST_F(MusicFontsTest, AccidentalColumnHoldsTheDoubleFlat) {
  Build(10);
  // 5/4 of the double sharp (10) is 12; Bravura's double flat is 17 wide.
  EXPECT_EQ(fonts->GetGlyphWidth(42) * 5 / 4, 12);
  EXPECT_EQ(fonts->GetAccidentalColumnWidth(0), fonts->GetGlyphWidth(43));
  EXPECT_EQ(fonts->GetAccidentalColumnWidth(1), fonts->GetGlyphWidth(43) * 2 / 3);
}

TEST_F(MusicFontsTest, StaffLineFromMicrons) {
  data.SetBaseSize(16);
  TRecordingContext screen(96, 96);
  SetStaffLineMicrons(1000);
  TMusicFonts thick(data, screen, colors);
  EXPECT_EQ(thick.GetStaffLineThickness(), 3);  // min(4 pixels, space 6 / 2)
  SetStaffLineMicrons(0);
  TMusicFonts automatic(data, screen, colors);
  EXPECT_EQ(automatic.GetStaffLineThickness(), 6 / 14 + 1);
  // Out of range settings are clamped, never divided through.
  SetStaffLineMicrons(-5);
  EXPECT_EQ(GetStaffLineMicrons(), 0);
  SetStaffLineMicrons(1 << 30);
  EXPECT_EQ(GetStaffLineMicrons(), kMaxStaffLineMicrons);
  TMusicFonts clamped(data, screen, colors);
  EXPECT_EQ(clamped.GetStaffLineThickness(), 3);
  SetStaffLineMicrons(0);
}

TEST_F(MusicFontsTest, MicronsAndPixels) {
  data.SetBaseSize(16);
  TRecordingContext screen(96, 96);
  TMusicFonts built(data, screen, colors);
  EXPECT_EQ(built.MicronsToPixels(1000), 1);  // no sizing context
  TRecordingContext page(600, 600);
  built.BeginDrawing(&page, &page);
  // A 600-dpi page at the screen's 100 %: 600 x 6 x 1000 / (6 x 25400) = 23.6.
  EXPECT_EQ(built.MicronsToPixels(1000), 24);
  EXPECT_EQ(built.MicronsToPixels(0), 1);
  EXPECT_EQ(built.PixelsToMicrons(24, true), 1016);  // 24 x 6 x 25400 / (600 x 6)
  built.EndDrawing();
}

TEST_F(MusicFontsTest, ExtremeScoreSizesStayBounded) {
  data.SetBaseSize(0);  // refused below the smallest size
  data.GetTextFont(kFontStaffLyric)->SetSize(1e30f);
  data.GetTextFont(kFontPageText)->SetSize(-5);
  Build(1 << 30);
  EXPECT_EQ(fonts->GetSpace(), kMaxSpace);
  EXPECT_GT(fonts->GetLyricLineHeight(), 0);
  for (int slot = 2; slot < kFontSlotCount; ++slot) {
    EXPECT_GE(fonts->GetFontSlot(slot).pixelSize, 1) << slot;
    EXPECT_LE(fonts->GetFontSlot(slot).pixelSize, 1e7) << slot;
  }
  SetMarkerScale(0);
  EXPECT_EQ(GetMarkerScale(), 1);
  SetMarkerScale(1 << 30);
  EXPECT_EQ(GetMarkerScale(), kMaxMarkerScale);
  SetMarkerScale(kDefaultMarkerScale);
}

TEST_F(MusicFontsTest, TextSlotsAreFourSpacesPerBaseSize) {
  Build(10);
  // Staff Italic is 10 pt at base 16: 10 x 10 x 4 / 16 = 25 pixels.
  EXPECT_DOUBLE_EQ(fonts->GetFontSlot(2).pixelSize, 25);
  EXPECT_TRUE(fonts->GetFontSlot(2).italic);
  EXPECT_EQ(fonts->GetFontSlot(3).weight, 700);
  EXPECT_EQ(fonts->GetFontSlot(3).face, "Times New Roman");
  EXPECT_EQ(fonts->GetLyricLineHeight(), 4);  // 7.2 x 8 / 16 = 3.6
  fonts->BeginSizing();
  TLogFont half;
  fonts->GetSlotLogFont(2, half, 50);
  EXPECT_EQ(half.height, -13);  // 12.5 rounds up
  fonts->EndSizing();
}

TEST_F(MusicFontsTest, PhasesGuardTheirOperations) {
  Build(10);
  auto expectPrecondition = [](auto&& call, const char* expression) {
    try {
      call();
      ADD_FAILURE() << "no precondition error for " << expression;
    } catch (const TPreconditionError& e) {
      EXPECT_EQ(e.Expression(), expression);
    }
  };
  expectPrecondition([&] { fonts->DrawGlyph(0, 7, 0, 0); }, "DrawingActive");
  expectPrecondition([&] { fonts->GetTextWidth(2, "a"); }, "idcCreationCount");
  expectPrecondition([&] { fonts->SetColorIndex(1); }, "idcCreationCount > 0");
  expectPrecondition([&] { fonts->EndDrawing(); }, "idcCreationCount > 0");
  expectPrecondition([&] { fonts->BeginDrawing(nullptr, &dc); }, "drawDC && sizeDC");
  fonts->BeginSizing();
  fonts->BeginSizing();  // nests
  EXPECT_EQ(fonts->GetTextWidth(2, ""), 0);
  EXPECT_GT(fonts->GetTextWidth(2, "abc"), 0);
  expectPrecondition([&] { fonts->Recreate(8); }, "!DrawingActive && !idcCreationCount");
  expectPrecondition([&] { fonts->BeginDrawing(&dc, &dc); }, "idcCreationCount == 0");
  fonts->EndSizing();
  EXPECT_GT(fonts->GetTextWidth(2, "abc"), 0);
  fonts->EndSizing();
  expectPrecondition([&] { fonts->GetTextWidth(2, "abc"); }, "idcCreationCount");
}

TEST_F(MusicFontsTest, EndDrawingRestoresTheContext) {
  Build(10);
  dc.SetTextAlign(kAlignRight);
  dc.SetPen(TDcPen{TPenStyle::kDash, 7, 0x123456});
  fonts->BeginDrawing(&dc, &dc);
  fonts->SetColorIndex(9);
  fonts->DrawText(3, 1, 0, 0, "x");
  fonts->EndDrawing();
  EXPECT_EQ(dc.TextAlign(), kAlignRight);
  EXPECT_EQ(dc.Pen().width, 7);
  EXPECT_FALSE(fonts->IsDrawingActive());
}

TEST_F(MusicFontsTest, ItemColoursPickTheItemEntries) {
  Draw(10);
  fonts->SetItemColorIndex(3, 0);
  EXPECT_EQ(fonts->GetColorIndex(), 11);
  EXPECT_EQ(dc.TextColor(), colors.GetColor(11));
  fonts->SetItemColorIndex(0, 5);
  EXPECT_EQ(fonts->GetColorIndex(), 5);
  fonts->SetItemColorIndex(8, 4);
  EXPECT_EQ(fonts->GetColorIndex(), 4);
}

TEST(MusicFontInstalledTest, AsksTheCatalogForTheFace) {
  class TOnlyDefault final : public IFontCatalog {
  public:
    bool IsFaceInstalled(const char* face, int charSet) override {
      return std::string(face) == "KVT2STDA" && charSet == kSymbolCharSet;
    }
  } catalog;
  EXPECT_TRUE(IsMusicFontInstalled(nullptr, catalog));
  EXPECT_TRUE(IsMusicFontInstalled("", catalog));
  EXPECT_FALSE(IsMusicFontInstalled("Other", catalog));
  EXPECT_FALSE(IsFontFaceInstalled("", false, catalog));
  EXPECT_STREQ(GetDefaultMusicFontName(), "KVT2STDA");
}

}  // namespace
}  // namespace kvt
