// Chords drawn with the music font's metadata on a recording context: whatever the seconds,
// clusters, accidentals, stem direction and size, no two heads overlap, no two accidentals
// overlap, and no accidental touches a head.

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "draw/items/chord_accidentals.h"
#include "draw/items/song_note_drawing.h"
#include "draw/layout/music_fonts_metrics.h"
#include "draw/layout/staff_draw_info.h"
#include "draw/music_font_profile.h"
#include "notation/items/chord_data.h"
#include "tests/draw/draw_fixture.h"
#include "tests/draw/layout/fake_layout_host.h"
#include "tests/notation/staff_builder.h"

namespace kvt {
namespace {

struct TMember {
  int pos;
  int accidental;
};

// Glyph boxes are rounded outwards to whole pixels, so boxes that abut share their edge
// pixel: that pixel is not an overlap.
bool Overlap(const TDcRect& a, const TDcRect& b) {
  return a.left < b.right - 1 && b.left < a.right - 1 && a.top < b.bottom - 1 && b.top < a.bottom - 1;
}

// Touching counts: boxes that meet, beyond the shared rounding pixel.
bool Touch(const TDcRect& a, const TDcRect& b) {
  return a.left <= b.right - 1 && b.left <= a.right - 1 && a.top <= b.bottom - 1 && b.top <= a.bottom - 1;
}

bool IsCodeOf(char32_t code, std::initializer_list<int> glyphs) {
  for (int g : glyphs)
    if (MusicGlyphAt(g) && MusicGlyphAt(g)->codePoint == code) return true;
  return false;
}

class ChordDrawingTest : public testing::TDrawFixture {
protected:
  // Lays a chord out on a staff and draws it; returns the head and accidental boxes.
  void DrawChord(const std::vector<TMember>& members, int stem, bool grace, int duration = kDurQuarter) {
    Draw(40);
    staff = std::make_unique<TMusicStaff>();
    test::TStaffBuilder b(*staff);
    auto chord = std::make_unique<TChordData>();
    for (const TMember& m : members) {
      auto note = std::make_unique<TMusicNote>(m.pos, duration, grace ? kMaskGrace : 0, m.accidental);
      note->SetStemDir(stem);
      ASSERT_TRUE(chord->AddNote(note)) << m.pos;
    }
    const TChordData& ref = b.Add(std::move(chord));
    const int item = b.Last();
    metrics = std::make_unique<TMusicFontsMetrics>(*fonts);
    host.external = metrics.get();
    layout = std::make_unique<TStaffDrawInfo>(host, 0);
    layout->SetStaffByPointer(staff.get());
    layout->BuildPositions(0, 1 << 20);
    const int n = layout->FindDrawPosOfItem(item);
    ASSERT_GT(n, 0);
    fonts->SetStaffOrigin(0);
    DrawSongNote(*fonts, *layout, *layout->PositionAt(n), ref, 1000);
    heads.clear();
    accidentals.clear();
    for (const TRecordedOp* op : Glyphs()) {
      if (IsCodeOf(op->codePoint, {5, 6, 7})) heads.push_back(op->bounds);
      if (IsCodeOf(op->codePoint, {8, 9, 10, 42, 43})) accidentals.push_back(op->bounds);
    }
  }

  std::unique_ptr<TMusicStaff> staff;
  test::TFakeLayoutHost host{kDrawModePrint};
  std::unique_ptr<TMusicFontsMetrics> metrics;
  std::unique_ptr<TStaffDrawInfo> layout;
  std::vector<TDcRect> heads;
  std::vector<TDcRect> accidentals;
};

TEST_F(ChordDrawingTest, NothingCollidesInTheChordTable) {
  struct Case {
    const char* name;
    std::vector<TMember> members;
    int headCount;
    int accidentalCount;
  };
  const Case cases[] = {
      {"second", {{0, kAccNone}, {-1, kAccNone}}, 2, 0},
      {"second with accidentals", {{0, kAccSharp}, {-1, kAccFlat}}, 2, 2},
      {"cluster of four", {{2, kAccNone}, {1, kAccNone}, {0, kAccNone}, {-1, kAccNone}}, 4, 0},
      {"cluster with accidentals",
       {{2, kAccSharp}, {1, kAccSharp}, {0, kAccFlat}, {-1, kAccNatural}, {-2, kAccDoubleFlat}}, 5, 5},
      {"mixed with double flats", {{4, kAccDoubleFlat}, {2, kAccDoubleFlat}, {0, kAccFlat}, {-3, kAccDoubleSharp},
                                   {-5, kAccNatural}}, 5, 5},
      {"triad of sharps", {{4, kAccSharp}, {2, kAccSharp}, {0, kAccSharp}}, 3, 3},
      {"octave with naturals and flats", {{3, kAccNatural}, {-4, kAccFlat}, {-2, kAccNatural}}, 3, 3},
  };
  for (const Case& c : cases) {
    for (int stem : {kStemUp, kStemDown}) {
      for (bool grace : {false, true}) {
        SCOPED_TRACE(std::string(c.name) + (stem == kStemUp ? " stem up" : " stem down") + (grace ? " grace" : ""));
        DrawChord(c.members, stem, grace);
        ASSERT_EQ(static_cast<int>(heads.size()), c.headCount);
        ASSERT_EQ(static_cast<int>(accidentals.size()), c.accidentalCount);
        for (size_t i = 0; i < heads.size(); ++i)
          for (size_t j = i + 1; j < heads.size(); ++j) EXPECT_FALSE(Overlap(heads[i], heads[j])) << i << " " << j;
        for (size_t i = 0; i < accidentals.size(); ++i) {
          for (size_t j = i + 1; j < accidentals.size(); ++j)
            EXPECT_FALSE(Overlap(accidentals[i], accidentals[j])) << "accidentals " << i << " " << j;
          for (const TDcRect& head : heads) EXPECT_FALSE(Touch(accidentals[i], head)) << "accidental " << i;
        }
      }
    }
  }
}

TEST(ChordAccidentalColumnsTest, ColumnsByDistance) {
  struct Case {
    const char* name;
    std::vector<TMember> members;  // lowest first
    std::vector<int> columns;      // per member, lowest first
  };
  const Case cases[] = {
      {"two sharps six steps apart share the first column", {{3, kAccSharp}, {-3, kAccSharp}}, {1, 1}},
      {"two sharps two steps apart take two columns", {{1, kAccSharp}, {-1, kAccSharp}}, {2, 1}},
      {"three in a zone running to the lowest: 1, 3, 2", {{2, kAccSharp}, {0, kAccSharp}, {-2, kAccSharp}}, {2, 3, 1}},
      {"three in a zone above a far member: 1, 2, 3",
       {{9, kAccNone}, {2, kAccSharp}, {0, kAccSharp}, {-2, kAccSharp}}, {0, 3, 2, 1}},
      {"a member without accidental takes none", {{2, kAccNone}, {0, kAccFlat}}, {0, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TChordData chord;
    for (const TMember& m : c.members) {
      auto note = std::make_unique<TMusicNote>(m.pos, kDurQuarter, 0, m.accidental);
      ASSERT_TRUE(chord.AddNote(note));
    }
    const TChordAccidentalLayout layout = LayoutChordAccidentals(chord);
    EXPECT_EQ(layout.column, c.columns);
  }
}

TEST(ChordAccidentalColumnsTest, MinimumSeparations) {
  EXPECT_EQ(MinAccidentalSeparation(kAccNatural, kAccFlat, false), 6);
  EXPECT_EQ(MinAccidentalSeparation(kAccNatural, kAccNatural, false), 5);
  EXPECT_EQ(MinAccidentalSeparation(kAccDoubleSharp, kAccDoubleSharp, false), 3);
  EXPECT_EQ(MinAccidentalSeparation(kAccSharp, kAccSharp, false), 6);
  EXPECT_EQ(MinAccidentalSeparation(kAccFlat, kAccSharp, false), 5);
  EXPECT_EQ(MinAccidentalSeparation(kAccSharp, kAccSharp, true), 4);
}

}  // namespace
}  // namespace kvt
