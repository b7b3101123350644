// Drawing a laid-out staff: staff-line segments, item colours, lyrics, the system start.

#include "draw/layout/staff_drawing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "draw/layout/score_draw_info.h"
#include "draw/music_fonts.h"
#include "draw/recording_context.h"
#include "draw/staff_color_handles.h"
#include "notation/items/dynamic_level_data.h"
#include "notation/items/lyric_text.h"
#include "notation/items/staff_sizer.h"
#include "notation/staff/music_fonts_data.h"
#include "notation/staff/music_score.h"
#include "notation/staff/staff_lyrics.h"
#include "tests/notation/staff_builder.h"

namespace kvt {
namespace {

using test::TStaffBuilder;

// Records which note positions were drawn, where and in which colour.
class TRecordingNotes final : public TSongNoteDrawer {
public:
  struct TCall {
    int pos, x, color;
  };
  void DrawSongNote(TScoreDrawInfo& score, TStaffDrawInfo&, int pos, int x) override {
    calls.push_back({pos, x, score.Fonts().GetColorIndex()});
  }
  std::vector<TCall> calls;
};

class StaffDrawingTest : public ::testing::Test {
protected:
  void SetUp() override {
    fonts = std::make_unique<TMusicFonts>(data, colors, 20);
    score.AddStaff(std::make_unique<TMusicStaff>());
    staff = score.GetStaff(0);
  }
  void LayOut(int mode) {
    layout = std::make_unique<TScoreDrawInfo>(score, *fonts, mode);
    layout->SetSongNoteDrawer(notes);
    layout->AddStaff(0);
    layout->LayoutStavesFromItems({}, 1 << 20);
    layout->AlignStaves();
  }
  void DrawAll() {
    dc.Clear();
    fonts->BeginDrawing(&dc, &dc);
    layout->Draw(1 << 20, 100, 0);
    fonts->EndDrawing();
  }
  // Horizontal lines (staff lines) drawn: [left, right] of each.
  std::vector<std::pair<double, double>> HorizontalLines() const {
    std::vector<std::pair<double, double>> out;
    for (const TRecordedOp& op : dc.Ops()) {
      if (op.kind != TRecordedOp::TKind::kPath) continue;
      const auto& e = op.path.Elements();
      if (e.size() != 2 || e[0].p[0].y != e[1].p[0].y || e[0].p[0].x == e[1].p[0].x) continue;
      out.push_back({std::min(e[0].p[0].x, e[1].p[0].x), std::max(e[0].p[0].x, e[1].p[0].x)});
    }
    return out;
  }
  std::vector<const TRecordedOp*> Texts() const {
    std::vector<const TRecordedOp*> out;
    for (const TRecordedOp& op : dc.Ops())
      if (op.kind == TRecordedOp::TKind::kText) out.push_back(&op);
    return out;
  }

  TMusicFontsData data;
  TStaffColorHandles colors;
  std::unique_ptr<TMusicFonts> fonts;
  TMusicScore score;
  TMusicStaff* staff = nullptr;
  TRecordingContext dc{96, 96};
  TRecordingNotes notes;
  std::unique_ptr<TScoreDrawInfo> layout;
};

TEST_F(StaffDrawingTest, GapBreaksTheStaffLinesIntoTwoSegments) {
  TStaffBuilder b(*staff);
  b.Note(0);
  b.Bar();
  auto& gap = b.Add(std::make_unique<TStaffSizer>());
  gap.SetStyle(kSizerGap);
  gap.SetGapWidth(400);
  const int gapItem = b.Last();
  b.Note(0);
  LayOut(kDrawModePrint);
  DrawAll();
  const TStaffDrawInfo& s = *layout->GetStaffDrawInfo(0);
  const int n = s.FindDrawPosOfItem(gapItem);
  ASSERT_GT(n, 0);
  const double gapLeft = 100 + s.XOfPosition(n);
  const double gapRight = gapLeft + s.PositionAt(n)->GetWidth();
  const auto lines = HorizontalLines();
  ASSERT_EQ(lines.size(), 10u);
  int before = 0, after = 0;
  for (const auto& [l, r] : lines) {
    EXPECT_TRUE(r <= gapLeft + 1 || l >= gapRight - 1) << l << " " << r;
    (r <= gapLeft + 1 ? before : after)++;
  }
  EXPECT_EQ(before, 5);
  EXPECT_EQ(after, 5);
}

TEST_F(StaffDrawingTest, HiddenNoteIsDrawnOnlyWhileEditingInTheHiddenColour) {
  TStaffBuilder b(*staff);
  b.Note(0);
  b.Note(2).SetVisibility(kVisNever);
  const int hidden = b.Last();
  LayOut(kDrawModeView);
  DrawAll();
  ASSERT_EQ(notes.calls.size(), 1u);
  notes.calls.clear();
  LayOut(kDrawModeEdit);
  DrawAll();
  ASSERT_EQ(notes.calls.size(), 2u);
  const int pos = layout->GetStaffDrawInfo(0)->FindDrawPosOfItem(hidden);
  EXPECT_EQ(notes.calls[1].pos, pos);
  EXPECT_EQ(notes.calls[1].color, 6);
  EXPECT_EQ(notes.calls[0].color, 4);
}

TEST_F(StaffDrawingTest, SyllablesStandUnderTheirNotesWithHyphens) {
  TStaffBuilder b(*staff);
  b.Note(0);
  const int first = b.Last();
  b.Note(0);
  const int second = b.Last();
  b.Note(0);
  auto line = std::make_unique<TLyricText>();
  line->AddSyllable(1, u"Hel", false);
  line->AddSyllable(45, u"lo", false);
  line->AddSyllable(32, u"world", false);
  staff->MakeLyrics().Add(std::move(line));
  staff->GetLyrics()->SetAlign(kLyricsAlignStandard);
  LayOut(kDrawModePrint);
  DrawAll();
  const auto texts = Texts();
  ASSERT_EQ(texts.size(), 4u);
  EXPECT_EQ(texts[0]->text, u"Hel");
  EXPECT_EQ(texts[1]->text, u"lo");
  EXPECT_EQ(texts[2]->text, u"-");
  EXPECT_EQ(texts[3]->text, u"world");
  const TStaffDrawInfo& s = *layout->GetStaffDrawInfo(0);
  const int unit = fonts->GetGlyphWidth(7);
  for (auto [item, text] : {std::pair{first, texts[0]}, std::pair{second, texts[1]}}) {
    const int n = s.FindDrawPosOfItem(item);
    const double head = 100 + s.XOfPosition(n) + s.GetLeadWidth(*s.PositionAt(n));
    const double centre = (text->bounds.left + text->bounds.right) / 2.0;
    EXPECT_NEAR(centre, head + unit / 2.0, 2.0);
  }
  // The hyphen stands between the syllables, below the staff.
  EXPECT_GT(texts[2]->bounds.left, texts[0]->bounds.right);
  EXPECT_LT(texts[2]->bounds.right, texts[1]->bounds.left);
  EXPECT_GT(texts[0]->origin.y, fonts->PositionToYInt(4));
}

TEST_F(StaffDrawingTest, AWordGoingOnInTheNextSystemEndsWithAHyphen) {
  TStaffBuilder b(*staff);
  b.Note(0);
  b.Bar();
  b.Note(0);
  auto line = std::make_unique<TLyricText>();
  line->AddSyllable(1, u"Hel", false);
  line->AddSyllable(45, u"lo", false);
  staff->MakeLyrics().Add(std::move(line));
  layout = std::make_unique<TScoreDrawInfo>(score, *fonts, kDrawModePrint);
  layout->AddStaff(0);
  layout->LayoutStavesFromItems({}, 1 << 20);
  // Keep the first bar only, as a break there would.
  layout->GetStaffDrawInfo(0)->TruncateAt(192);
  layout->GetStaffDrawInfo(0)->CloseSystem();
  DrawAll();
  const auto texts = Texts();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0]->text, u"Hel");
  EXPECT_EQ(texts[1]->text, u"-");
  EXPECT_GT(texts[1]->bounds.left, texts[0]->bounds.right);
}

TEST_F(StaffDrawingTest, ACrescendoRunDrawsOneHairpinAtTheDynamicsHeight) {
  TStaffBuilder b(*staff);
  auto& dynamic = b.Add(std::make_unique<TDynamicLevelData>(kDynP));
  dynamic.SetPos(7.0);
  b.Note(0);
  for (int i = 0; i < 3; ++i) b.Note(0).SetFlags(kMaskCrescendo);
  b.Note(0, kDurQuarter, kMaskCrescendo);
  b.Note(0);
  LayOut(kDrawModePrint);
  DrawAll();
  // Two slanted strokes of one wedge, opening to the right.
  std::vector<const TRecordedOp*> wedge;
  for (const TRecordedOp& op : dc.Ops()) {
    if (op.kind != TRecordedOp::TKind::kPath || op.path.Elements().size() != 2) continue;
    const auto& e = op.path.Elements();
    if (e[0].p[0].y != e[1].p[0].y && e[0].p[0].x != e[1].p[0].x) wedge.push_back(&op);
  }
  ASSERT_EQ(wedge.size(), 2u);
  const auto& a = wedge[0]->path.Elements();
  const auto& c = wedge[1]->path.Elements();
  EXPECT_EQ(a[0].p[0].x, c[0].p[0].x);  // the tip
  EXPECT_EQ(a[0].p[0].y, c[0].p[0].y);
  EXPECT_NEAR(a[0].p[0].y, fonts->PositionToY(7.0f), 1.0);
  EXPECT_GT(a[1].p[0].x, a[0].p[0].x);
}

TEST_F(StaffDrawingTest, AStaffDrawnInARectangleHangsFromItsTopExtent) {
  TStaffBuilder b(*staff);
  b.Note(0);
  b.Note(2);
  LayOut(kDrawModeEdit);
  dc.Clear();
  fonts->BeginDrawing(&dc, &dc);
  const TDcRect rect{40, 500, 4000, 900};
  DrawStaffInRect(*layout, 0, rect);
  fonts->EndDrawing();
  const TStackedStaff& stack = layout->GetStack(0);
  const int middle = rect.top + stack.upper * layout->GetStepHeight();
  // The staff's middle line lies upper-extent steps below the rectangle's top, and the lines
  // start at its left edge.
  double topLine = 1e9, bottomLine = -1e9;
  for (const TRecordedOp& op : dc.Ops()) {
    if (op.kind != TRecordedOp::TKind::kPath || op.path.Elements().size() != 2) continue;
    const auto& e = op.path.Elements();
    if (e[0].p[0].y != e[1].p[0].y) continue;
    EXPECT_EQ(std::min(e[0].p[0].x, e[1].p[0].x), rect.left);
    topLine = std::min(topLine, e[0].p[0].y);
    bottomLine = std::max(bottomLine, e[0].p[0].y);
  }
  EXPECT_NEAR((topLine + bottomLine) / 2, middle, 1.0);
  ASSERT_EQ(notes.calls.size(), 2u);
  EXPECT_EQ(notes.calls[0].x,
            rect.left + layout->GetStaffDrawInfo(0)->XOfPosition(notes.calls[0].pos));
}

TEST_F(StaffDrawingTest, OneItemIsRedrawnWithItsSyllableInTheColourAsked) {
  TStaffBuilder b(*staff);
  b.Note(0);
  b.Note(0);
  const int second = b.Last();
  b.Note(0).SetVisibility(kVisNever);
  const int hidden = b.Last();
  auto line = std::make_unique<TLyricText>();
  line->AddSyllable(1, u"one", false);
  line->AddSyllable(32, u"two", false);
  line->AddSyllable(32, u"three", false);
  staff->MakeLyrics().Add(std::move(line));
  LayOut(kDrawModeView);
  const TStaffDrawInfo& s = *layout->GetStaffDrawInfo(0);
  auto redraw = [&](int item, int color, int lines) {
    dc.Clear();
    notes.calls.clear();
    fonts->BeginDrawing(&dc, &dc);
    DrawItemAt(*layout, 0, {item, 0}, 30, 0, color, lines);
    fonts->EndDrawing();
  };
  redraw(second, 12, 1);
  ASSERT_EQ(notes.calls.size(), 1u);
  EXPECT_EQ(notes.calls[0].pos, s.FindDrawPosOfItem(second));
  EXPECT_EQ(notes.calls[0].x, 30 + s.ItemIndexToX(second));
  EXPECT_EQ(notes.calls[0].color, 12);
  auto texts = Texts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0]->text, u"two");
  EXPECT_EQ(texts[0]->color, colors.GetColor(12));
  // Without lyric lines asked, no syllable; without an override, the item's own colour.
  redraw(second, -1, 0);
  EXPECT_TRUE(Texts().empty());
  ASSERT_EQ(notes.calls.size(), 1u);
  EXPECT_EQ(notes.calls[0].color, 0);
  // A hidden item stays hidden in viewing mode, and an item not laid out draws nothing.
  redraw(hidden, 12, 1);
  EXPECT_TRUE(notes.calls.empty());
  redraw(staff->GetItemCount() + 3, 12, 1);
  EXPECT_TRUE(notes.calls.empty());
  EXPECT_TRUE(dc.Ops().empty());
  EXPECT_EQ(fonts->GetColorIndex(), 0);
}

TEST_F(StaffDrawingTest, BracedStavesWithOneNameShowItOnceBetweenTheirOuterLines) {
  struct Case {
    const char16_t* second;
    size_t labels;
  };
  const Case cases[] = {{u"Piano", 1}, {u"Left", 2}};
  for (const Case& c : cases) {
    TMusicScore two;
    for (const char16_t* name : {u"Piano", c.second}) {
      two.AddStaff(std::make_unique<TMusicStaff>());
      TMusicStaff& added = *two.GetStaff(two.GetLastIndex());
      added.SetLabel(name);
      TStaffBuilder(added).Note(0);
    }
    two.GetStaff(0)->SetBraceWithNext(true);
    TScoreDrawInfo l(two, *fonts, kDrawModePrint);
    l.AddStaff(0);
    l.AddStaff(1);
    l.LayoutStavesFromItems({}, 1 << 20);
    dc.Clear();
    fonts->BeginDrawing(&dc, &dc);
    l.DrawStaffLabels(0, 1000, 3000);
    fonts->EndDrawing();
    const auto texts = Texts();
    ASSERT_EQ(texts.size(), c.labels) << c.labels;
    if (c.labels != 1) continue;
    const double centre = (texts[0]->bounds.top + texts[0]->bounds.bottom) / 2.0;
    const double top = 1000 + l.GetStaffY(0);
    const double bottom = 1000 + l.GetStaffY(1);
    EXPECT_NEAR(centre, (top + bottom) / 2, (bottom - top) / 4);
  }
}

}  // namespace
}  // namespace kvt
