// Beams, tuplet marks and slurs are laid out within their system and drawn where the system
// stands on the page: drawn lower down the page, they stay with their notes.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "draw/layout/score_draw_info.h"
#include "draw/music_font_profile.h"
#include "draw/music_fonts.h"
#include "draw/recording_context.h"
#include "draw/staff_color_handles.h"
#include "notation/staff/music_fonts_data.h"
#include "notation/staff/music_score.h"
#include "tests/notation/staff_builder.h"

namespace kvt {
namespace {

TEST(SystemOffsetTest, ConnectionsAndCurvesStayWithTheirNotes) {
  TMusicFontsData data;
  TStaffColorHandles colors;
  TMusicFonts fonts(data, colors, 20);
  TMusicScore score;
  score.AddStaff(std::make_unique<TMusicStaff>());
  test::TStaffBuilder b(*score.GetStaff(0));
  // A beamed triplet of eighths under a slur, then a bracketed triplet of quarters.
  for (int i = 0; i < 3; ++i) {
    TMusicNote& n = b.Note(i - 2, kDurEighth);
    n.SetBeamState(i == 0 ? kGroupFirst : i == 2 ? kGroupEnd : kGroupMiddle);
    n.SetTripletState(i == 0 ? kGroupFirst : i == 2 ? kGroupEnd : kGroupMiddle);
    if (i < 2) n.SetNoteFlag(kFlagSlur);
  }
  for (int i = 0; i < 3; ++i)
    b.Note(i, kDurQuarter)
        .SetTripletState(i == 0   ? kGroupFirst
                         : i == 2 ? kGroupEnd
                                  : kGroupMiddle);
  b.Note(0, kDurHalf);

  for (int yOffset : {0, 30000}) {
    SCOPED_TRACE(yOffset);
    TScoreDrawInfo layout(score, fonts, kDrawModePrint);
    layout.AddStaff(0);
    layout.LayoutStavesFromItems({}, 1 << 20);
    layout.BreakAndJustify(1 << 20);
    TRecordingContext dc;
    fonts.BeginDrawing(&dc, &dc);
    layout.Draw(1 << 20, 100, yOffset);
    fonts.EndDrawing();
    ASSERT_EQ(layout.GetStaffDrawInfo(0)->Beams().Count(), 1);
    ASSERT_EQ(layout.GetStaffDrawInfo(0)->Slurs().Count(), 1);
    ASSERT_EQ(layout.GetStaffDrawInfo(0)->Brackets().Count(), 1);
    double top = 1e18, bottom = -1e18;
    for (const TRecordedOp& op : dc.Ops()) {
      if (op.kind != TRecordedOp::TKind::kGlyph || op.codePoint != MusicGlyphAt(7)->codePoint)
        continue;
      top = std::min<double>(top, op.bounds.top);
      bottom = std::max<double>(bottom, op.bounds.bottom);
    }
    ASSERT_LT(top, bottom);
    // Every stroke and figure lies within a few spaces of the heads.
    const double reach = 8.0 * fonts.GetSpace();
    int paths = 0;
    for (const TRecordedOp& op : dc.Ops()) {
      if (op.kind != TRecordedOp::TKind::kPath) continue;
      ++paths;
      const TDcRect box = op.path.Bounds();
      EXPECT_GT(box.top, top - reach);
      EXPECT_LT(box.bottom, bottom + reach);
    }
    EXPECT_GT(paths, 8);
  }
}

}  // namespace
}  // namespace kvt
