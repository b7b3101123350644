// Beam lines: slope limits, independent grace beams, bounded geometry, and the stubs drawn
// for dotted rhythms.

#include "draw/layout/beam_layout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "draw/layout/music_fonts_metrics.h"
#include "draw/layout/staff_draw_info.h"
#include "tests/draw/draw_fixture.h"
#include "tests/draw/layout/fake_layout_host.h"
#include "tests/notation/staff_builder.h"

namespace kvt {
namespace {

using test::TFakeLayoutHost;
using test::TStaffBuilder;

struct TBeamed {
  int pos;
  int duration;
  int flags;
};

class BeamLayoutTest : public testing::TDrawFixture {
protected:
  // Adds one beam group (stems as given) and returns the index of its first note.
  int AddGroup(const std::vector<TBeamed>& notes, int stem, bool grace = false) {
    int first = -1;
    for (size_t i = 0; i < notes.size(); ++i) {
      TMusicNote& n = b.Note(notes[i].pos, notes[i].duration, notes[i].flags | (grace ? kMaskGrace : 0));
      n.SetStemDir(stem);
      n.SetBeamState(i == 0 ? kGroupFirst : (i + 1 == notes.size() ? kGroupEnd : kGroupMiddle));
      if (i == 0) first = b.Last();
    }
    return first;
  }
  void Lay(bool withFonts = false) {
    if (withFonts) {
      Draw(40);
      metrics = std::make_unique<TMusicFontsMetrics>(*fonts);
      host.external = metrics.get();
    }
    layout = std::make_unique<TStaffDrawInfo>(host, 0);
    layout->SetStaffByPointer(&staff);
    layout->BuildPositions(0, 1 << 24);
  }
  bool Compute(int item, TStaffConnect& rec) {
    const int n = layout->FindDrawPosOfItem(item);
    return n > 0 && ComputeBeam(*layout, rec, n, layout->XOfPosition(n));
  }

  TMusicStaff staff;
  TStaffBuilder b{staff};
  TFakeLayoutHost host{kDrawModePrint};
  std::unique_ptr<TMusicFontsMetrics> metrics;
  std::unique_ptr<TStaffDrawInfo> layout;
};

TEST_F(BeamLayoutTest, OctaveRiseIsLimitedToHalfSlope) {
  const int first = AddGroup({{4, kDurEighth, 0}, {2, kDurEighth, 0}, {0, kDurEighth, 0}, {-3, kDurEighth, 0}}, kStemUp);
  Lay();
  TStaffConnect rec;
  ASSERT_TRUE(Compute(first, rec));
  EXPECT_FALSE(rec.IsDown());
  EXPECT_EQ(rec.first, first);
  EXPECT_EQ(rec.last, first + 3);
  EXPECT_LT(rec.slope, 0.0f);  // rising
  EXPECT_LE(std::fabs(rec.slope), 0.5f + 1e-6f);
  // Every stem reaches the line: the line lies above each head by at least the inner length.
  for (int i = 0; i < 4; ++i) {
    const TStaffDrawPos& pos = *layout->PositionAt(layout->FindDrawPosOfItem(first + i));
    const auto& note = static_cast<const TMusicNote&>(*staff.GetItem(first + i));
    EXPECT_LT(rec.LineYAt(layout->XOfPosition(layout->FindDrawPosOfItem(first + i))),
              layout->PositionToY(static_cast<float>(note.GetStaffPos())))
        << i;
    (void)pos;
  }
}

TEST_F(BeamLayoutTest, GraceBeamInsideNormalBeamIsIndependent) {
  const int normal = AddGroup({{0, kDurEighth, 0}}, kStemDown);
  const int grace = AddGroup({{-2, kDur16th, 0}, {-3, kDur16th, 0}}, kStemUp, true);
  TMusicNote& last = b.Note(1, kDurEighth);
  last.SetStemDir(kStemDown);
  last.SetBeamState(kGroupEnd);
  Lay();
  TStaffConnect outer, inner;
  ASSERT_TRUE(Compute(normal, outer));
  ASSERT_TRUE(Compute(grace, inner));
  EXPECT_EQ(outer.GraceClass(), 0);
  EXPECT_EQ(outer.last, b.Last());
  EXPECT_TRUE(outer.IsDown());
  EXPECT_EQ(inner.GraceClass(), 1);
  EXPECT_EQ(inner.last, grace + 1);
  EXPECT_FALSE(inner.IsDown());
}

TEST_F(BeamLayoutTest, ExtremeNotesKeepGeometryBounded) {
  // Far outside the staff, with explicit stem lengths: the line stays finite.
  const int first = AddGroup({{60, kDur64th, 0}, {-60, kDur64th, 0}}, kStemUp);
  static_cast<TMusicNote&>(*staff.GetItem(first)).SetStemLength(30);
  Lay();
  TStaffConnect rec;
  ASSERT_TRUE(Compute(first, rec));
  EXPECT_TRUE(std::isfinite(rec.slope));
  EXPECT_GT(rec.endX, rec.startX);
}

TEST_F(BeamLayoutTest, BeamStemLengths) {
  struct Case {
    const char* what;
    int pos, flags, dir;
    bool inner, accidental;
    int acc;
    int expected;
  } cases[] = {
      {"inner eighth on the middle line, up", 0, 1, 1, true, false, kAccNone, 5},
      {"inner eighth high, up", -4, 1, 1, true, false, kAccNone, 4},
      {"outer eighth high: the minimum less one", -4, 1, 1, false, false, kAccNone, 6},
      {"outer eighth on the middle line has the minimum", 0, 1, 1, false, false, kAccNone, 7},
      {"far above the staff, up, shortened minimum", -8, 1, 1, false, false, kAccNone, 5},
      {"flat on an up stem", 0, 1, 1, true, true, kAccFlat, 7},
      {"sharp on an up stem", 0, 1, 1, true, true, kAccSharp, 6},
      {"head far below, stem up reaches the middle", 9, 1, 1, true, false, kAccNone, 9},
  };
  for (const Case& c : cases) {
    TMusicNote note(c.pos, kDurEighth, 0, c.acc);
    EXPECT_EQ(GetBeamStemLength(note, c.flags, c.dir, false, c.inner, c.accidental), c.expected) << c.what;
  }
}

TEST_F(BeamLayoutTest, DottedRhythmGetsBackwardStub) {
  const int first = AddGroup({{0, kDurEighth, kMaskDotted}, {0, kDur16th, 0}}, kStemUp);
  Lay(true);
  TStaffConnect rec;
  ASSERT_TRUE(Compute(first, rec));
  ASSERT_TRUE(layout->Beams().Append(rec));
  fonts->SetStaffOrigin(0);
  const int n = layout->FindDrawPosOfItem(first);
  DrawBeamGroup(*fonts, *layout, n, layout->XOfPosition(n));
  std::vector<TDcRect> fills;
  for (const TRecordedOp* op : Paths())
    if (op->paint != TPathPaint::kStroke) fills.push_back(op->path.Bounds());
  // A one-level beam over most of the span and a two-level stub one head wide at the end.
  ASSERT_EQ(fills.size(), 3u);
  const int head = fonts->GetGlyphWidth(7);
  const int stubWidth = fills[2].right - fills[2].left;
  EXPECT_NEAR(stubWidth, head, 1);
  EXPECT_EQ(fills[1].right, fills[2].right);
  EXPECT_GT(fills[0].right - fills[0].left, 0);
}

}  // namespace
}  // namespace kvt

#include "draw/items/song_note_metrics.h"

namespace kvt {
namespace {

TEST_F(BeamLayoutTest, StemsRunFromTheHeadEdgeToTheBeam) {
  for (int stem : {kStemUp, kStemDown}) {
    SCOPED_TRACE(stem);
    staff.DeleteItems(1, staff.GetLastIndex());
    const int first = AddGroup({{3, kDurEighth, 0}, {-1, kDur16th, 0}, {1, kDur16th, 0}, {-2, kDurEighth, 0}}, stem);
    Lay(true);
    TStaffConnect rec;
    ASSERT_TRUE(Compute(first, rec));
    layout->Beams().Clear();
    ASSERT_TRUE(layout->Beams().Append(rec));
    fonts->SetStaffOrigin(0);
    const int n = layout->FindDrawPosOfItem(first);
    DrawBeamGroup(*fonts, *layout, n, layout->XOfPosition(n));
    std::vector<std::pair<TDcPointF, TDcPointF>> stems;
    for (const TRecordedOp* op : Paths())
      if (op->paint == TPathPaint::kStroke && op->path.Elements().size() == 2) stems.push_back(LineOf(*op));
    ASSERT_EQ(stems.size(), 4u);
    const int dir = stem == kStemUp ? 1 : -1;
    const int pen = fonts->GetStemPenWidth();
    for (int i = 0; i < 4; ++i) {
      const int p = layout->FindDrawPosOfItem(first + i);
      const auto& note = static_cast<const TMusicNote&>(*staff.GetItem(first + i));
      const int stemX = layout->XOfPosition(p) + SongNoteStemX(note, 0, 0, *metrics);
      // The stroke stands on the head's edge (its outer side on the stem x) ...
      EXPECT_NEAR(stems[i].first.x, stemX, pen) << i;
      // ... starts at the head and ends on the beam line.
      EXPECT_NEAR(stems[i].first.y,
                  fonts->PositionToYInt(note.GetStaffPos()) - dir * fonts->GetStemAttachOffset(0, 7, dir), 1) << i;
      EXPECT_NEAR(stems[i].second.y, rec.LineYAt(stemX), 1) << i;
    }
  }
}

}  // namespace
}  // namespace kvt
