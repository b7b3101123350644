// The marks around heads drawn on a recording context with the music font's boxes: the dots
// of chords (seconds and clusters, both stem directions) stand right of every head and stem,
// each on its own space, and articulations go opposite the stem or where a marker puts them.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "draw/items/song_note_drawing.h"
#include "draw/layout/music_fonts_metrics.h"
#include "draw/layout/staff_draw_info.h"
#include "draw/music_font_profile.h"
#include "notation/items/chord_data.h"
#include "notation/items/notation_marker.h"
#include "notation/items/rest_note.h"
#include "tests/draw/draw_fixture.h"
#include "tests/draw/layout/fake_layout_host.h"
#include "tests/notation/staff_builder.h"

namespace kvt {
namespace {

bool IsCodeOf(char32_t code, std::initializer_list<int> glyphs) {
  for (int g : glyphs)
    if (MusicGlyphAt(g) && MusicGlyphAt(g)->codePoint == code) return true;
  return false;
}

constexpr int kSpace = 40;

class NoteMarksTest : public testing::TDrawFixture {
protected:
  void SetUp() override { Draw(kSpace); }

  // Lays the staff out and draws the item at itemIndex at x 1000 with the staff origin at 0.
  void DrawItem(int itemIndex, int mode = kDrawModePrint) {
    dc.Clear();
    host.mode = mode;
    metrics = std::make_unique<TMusicFontsMetrics>(*fonts);
    host.external = metrics.get();
    layout = std::make_unique<TStaffDrawInfo>(host, 0);
    layout->SetStaffByPointer(&staff);
    layout->BuildPositions(0, 1 << 20);
    const int n = layout->FindDrawPosOfItem(itemIndex);
    ASSERT_GT(n, 0);
    fonts->SetStaffOrigin(0);
    DrawSongNote(*fonts, *layout, *layout->PositionAt(n),
                 static_cast<const TSongNote&>(*staff.GetItem(itemIndex)), 1000);
  }
  std::vector<TDcRect> BoxesOf(std::initializer_list<int> glyphs) const {
    std::vector<TDcRect> out;
    for (const TRecordedOp* op : Glyphs())
      if (IsCodeOf(op->codePoint, glyphs)) out.push_back(op->bounds);
    return out;
  }
  // The y of staff position p.
  double Y(double p) const { return p * kSpace / 2.0; }

  TMusicStaff staff;
  test::TStaffBuilder b{staff};
  test::TFakeLayoutHost host{kDrawModePrint};
  std::unique_ptr<TMusicFontsMetrics> metrics;
  std::unique_ptr<TStaffDrawInfo> layout;
};

TEST_F(NoteMarksTest, ChordDotsStandClearOfHeadsAndStemsOnSeparateSpaces) {
  struct Case {
    const char* name;
    std::vector<int> positions;  // lowest first
    std::set<int> up, down;      // the dots' staff positions
  } cases[] = {
      // A head on a line whose space holds the other head of a second dots the line's other side.
      {"second on a space and a line", {1, 0}, {-1, 1}, {-1, 1}},
      {"second on a line and a space", {0, -1}, {-1, 1}, {-1, 1}},
      {"cluster of four", {2, 1, 0, -1}, {-3, -1, 1, 3}, {-1, 1, 3, 5}},
      {"third and second", {4, 2, 1}, {-1, 1, 3}, {1, 3, 5}},
  };
  for (const Case& c : cases) {
    for (int stem : {kStemUp, kStemDown}) {
      for (int dots : {kMaskDotted, kMaskDblDotted}) {
        SCOPED_TRACE(std::string(c.name) + (stem == kStemUp ? " up" : " down") +
                     (dots == kMaskDotted ? " dotted" : " double"));
        staff.DeleteItems(1, staff.GetLastIndex());
        auto chord = std::make_unique<TChordData>();
        for (int p : c.positions) {
          auto note = std::make_unique<TMusicNote>(p, kDurQuarter, dots, kAccNone);
          note->SetStemDir(stem);
          ASSERT_TRUE(chord->AddNote(note));
        }
        b.Add(std::move(chord));
        DrawItem(b.Last());
        const std::vector<TDcRect> heads = BoxesOf({7});
        const std::vector<TDcRect> dotBoxes = BoxesOf({19});
        ASSERT_EQ(heads.size(), c.positions.size());
        ASSERT_EQ(dotBoxes.size(), c.positions.size() * (dots == kMaskDotted ? 1 : 2));
        double right = -1e9;
        for (const TDcRect& h : heads) right = std::max<double>(right, h.right);
        // Stems are the tall strokes drawn with the chord.
        for (const TRecordedOp* op : Paths()) {
          const TDcRect box = op->path.Bounds();
          if (box.bottom - box.top > kSpace) right = std::max<double>(right, box.right);
        }
        std::set<int> rows;
        for (const TDcRect& d : dotBoxes) {
          EXPECT_GT(d.left, right - 1);
          rows.insert(static_cast<int>(std::lround(((d.top + d.bottom) / 2.0) / (kSpace / 2.0))));
        }
        EXPECT_EQ(rows, stem == kStemUp ? c.up : c.down);
      }
    }
  }
}

TEST_F(NoteMarksTest, ArticulationsGoOppositeTheStemOrToTheirMarker) {
  struct Case {
    const char* name;
    int stem;
    bool marker;
    float markerPos;
    bool below;  // the staccato dot lies below the head
  } cases[] = {
      {"stem up: below", kStemUp, false, 0, true},
      {"stem down: above", kStemDown, false, 0, false},
      {"marker above a stem-up note", kStemUp, true, -9.0f, false},
      {"marker below a stem-down note", kStemDown, true, 9.0f, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    staff.DeleteItems(1, staff.GetLastIndex());
    if (c.marker) {
      auto marker = std::make_unique<TNotationMarker>();
      marker->SetPos(c.markerPos);
      marker->SetTarget(kMarkerArticulation);
      b.Add(std::move(marker));
    }
    TMusicNote& note = b.Note(0, kDurQuarter, kMaskStaccato | kMaskAccent);
    note.SetStemDir(c.stem);
    DrawItem(b.Last());
    const std::vector<TDcRect> heads = BoxesOf({7});
    const std::vector<TDcRect> staccato = BoxesOf({19});
    const std::vector<TDcRect> accent = BoxesOf({44});
    ASSERT_EQ(heads.size(), 1u);
    ASSERT_EQ(staccato.size(), 1u);
    ASSERT_EQ(accent.size(), 1u);
    if (c.below) {
      EXPECT_GT(staccato[0].top, heads[0].bottom - 1);
      EXPECT_GT(accent[0].top, staccato[0].bottom - 1) << "the accent beyond the staccato";
    } else {
      EXPECT_LT(staccato[0].bottom, heads[0].top + 1);
      EXPECT_LT(accent[0].bottom, staccato[0].top + 1);
    }
    if (c.marker) {
      // The column starts at the marker.
      EXPECT_NEAR((staccato[0].top + staccato[0].bottom) / 2.0, Y(c.markerPos + (c.below ? 1 : 0)),
                  kSpace / 2.0);
    }
  }
}

TEST_F(NoteMarksTest, ArticulationsOnStemStandBeyondTheStemsEnd) {
  for (int stem : {kStemUp, kStemDown}) {
    SCOPED_TRACE(stem == kStemUp ? "up" : "down");
    staff.DeleteItems(1, staff.GetLastIndex());
    TMusicNote& note = b.Note(0, kDurQuarter, kMaskStaccato);
    note.SetStemDir(stem);
    note.SetArticulationsOnStem(true);
    DrawItem(b.Last());
    const std::vector<TDcRect> staccato = BoxesOf({19});
    ASSERT_EQ(staccato.size(), 1u);
    const double centre = (staccato[0].top + staccato[0].bottom) / 2.0;
    // A quarter's stem is 7 steps (less one drawn inside the head) long.
    if (stem == kStemUp) {
      EXPECT_LT(centre, Y(-6));
    } else {
      EXPECT_GT(centre, Y(6));
    }
  }
}

TEST_F(NoteMarksTest, AHiddenArticulationMarkerHidesTheMarksWhenPrinting) {
  auto marker = std::make_unique<TNotationMarker>();
  marker->SetPos(-9.0f);
  marker->SetTarget(kMarkerArticulation);
  marker->SetVisibility(kVisNever);
  b.Add(std::move(marker));
  b.Note(0, kDurQuarter, kMaskStaccato);
  const int note = b.Last();
  DrawItem(note, kDrawModePrint);
  EXPECT_TRUE(BoxesOf({19}).empty());
  DrawItem(note, kDrawModeEdit);
  const std::vector<const TRecordedOp*> glyphs = Glyphs();
  const auto dot = std::find_if(glyphs.begin(), glyphs.end(),
                                [](auto* op) { return IsCodeOf(op->codePoint, {19}); });
  ASSERT_NE(dot, glyphs.end());
  EXPECT_EQ((*dot)->color, colors.GetColor(6));  // the active staff's hidden colour
}

TEST_F(NoteMarksTest, ARestFillingItsBarStandsInTheBarsMiddle) {
  TRestNote& rest = b.Rest(kDurWhole);
  rest.SetTickLength(4, 2);  // four quarters
  const int item = b.Last();
  b.Bar();
  for (int mode : {kDrawModePrint, kDrawModeEdit}) {
    SCOPED_TRACE(mode);
    DrawItem(item, mode);
    const std::vector<TDcRect> rests = BoxesOf({20});
    ASSERT_EQ(rests.size(), 1u);
    const int n = layout->FindDrawPosOfItem(item);
    const double room = layout->DistanceToPaddedNeighbour(n, 1);
    ASSERT_GT(room, 3 * metrics->GlyphWidth(0, 20) / 2);
    const double centre = (rests[0].left + rests[0].right) / 2.0;
    if (mode == kDrawModePrint) {
      EXPECT_NEAR(centre, 1000 + room / 2, 3);
    } else {
      // Editing keeps every rest at its own place.
      EXPECT_LT(centre, 1000 + metrics->GlyphWidth(0, 20));
    }
  }
}

}  // namespace
}  // namespace kvt
