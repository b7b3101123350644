#include "notation/index/rel_ntn_idx.h"

#include <gtest/gtest.h>

#include <vector>

#include "notation/staff/music_score.h"
#include "notation/index/staff_draw_pos.h"
#include "tests/notation/index/fake_staff_layout_view.h"
#include "tests/notation/staff_builder.h"

namespace kvt {
namespace {

using test::TFakeStaffLayoutView;
using test::TStaffBuilder;

struct Counters {
  int index;
  int64_t ticks;
  int bars;
  int leftOut;
  int syllables;
  int restBar;
  friend bool operator==(const Counters&, const Counters&) = default;
};

Counters Read(const TRelNtnIdx& idx) {
  return {idx.GetIndex(),         idx.GetTicks(),         idx.GetBarCount(true),
          idx.GetLeftOutBars(),   idx.GetSyllableCount(), idx.GetMultiBarRestBar()};
}

std::ostream& operator<<(std::ostream& os, const Counters& c) {
  return os << "{index " << c.index << ", ticks " << c.ticks << ", bars " << c.bars
            << ", left out " << c.leftOut << ", syllables " << c.syllables << ", rest bar "
            << c.restBar << "}";
}

class RelNtnIdxTest : public ::testing::Test {
protected:
  TMusicStaff staff;
  TStaffBuilder build{staff};
};

TEST_F(RelNtnIdxTest, ClosingBarLineOfTwoBars) {
  build.Note(0, kDurQuarter);
  build.Bar(kBarSingle);
  build.Note(0, kDurHalf);
  TRelNtnIdx idx(&staff);
  EXPECT_TRUE(idx.GoLast());
  EXPECT_EQ(idx.GetIndex(), 4);
  EXPECT_EQ(idx.GetTicks(), 576);
  EXPECT_EQ(idx.GetBarCount(true), 2);
  EXPECT_EQ(idx.GetTicks(), idx.GetTickTime());
}

TEST_F(RelNtnIdxTest, CountsBarsLeftOutBarsNotABarsAndSyllables) {
  build.Note(0);                              // 1 syllable
  build.Bar().SetXBarCnt(true);               // 2 counted, left out
  build.Note(0).SetLyric(kLyricNever);        // 3 no syllable
  build.Bar().SetNotABar(true);               // 4 not counted
  build.Rest().SetLyric(kLyricAlways);        // 5 syllable
  build.MultiRest(5, 3, 2);                   // 6 adds 4 bars of 576
  build.Note(0, kDurQuarter, kMaskGrace);     // 7 grace: no syllable, no time
  TRelNtnIdx idx(&staff, 8);
  EXPECT_EQ(idx.GetBarCount(true), 1 + 1 + 4);
  EXPECT_EQ(idx.GetBarCount(false), 1 + 4);
  EXPECT_EQ(idx.GetLeftOutBars(), 1);
  EXPECT_EQ(idx.GetSyllableCount(), 2);
  EXPECT_EQ(idx.GetTicks(), 192 * 3 + 5 * 576);
  TMusicScore score;
  score.SetStartingBar(10);
  EXPECT_EQ(idx.GetBarNumber(&score), 6 + 10 - 1 - 1);
  EXPECT_EQ(idx.GetBarNumber(nullptr), 6 + 1 - 1 - 1);
}

// Walking back and forth, by item and bar by bar, the counters at each place equal those of
// a fresh index walked forward to it.
TEST_F(RelNtnIdxTest, WalkingBackAndForthKeepsTheCounters) {
  build.Note(0).SetLyric(kLyricAlways);
  build.Bar().SetXBarCnt(true);
  build.MultiRest(3);
  build.Bar();
  build.Note(0, kDurHalf);
  build.MultiRest(2);
  build.Note(0);
  std::vector<Counters> forward;
  TRelNtnIdx idx(&staff);
  forward.push_back(Read(idx));
  while (idx.CanStepBar(1)) {
    ASSERT_TRUE(idx.StepBar(1));
    forward.push_back(Read(idx));
  }
  for (size_t k = forward.size(); k-- > 0;) {
    SCOPED_TRACE(k);
    EXPECT_EQ(Read(idx), forward[k]);
    if (k > 0) {
      ASSERT_TRUE(idx.StepBar(-1));
    }
  }
  EXPECT_FALSE(idx.CanStepBar(-1));

  // Item by item the same, and SetIndex from anywhere lands on the same counters.
  for (int i = 0; i <= staff.GetLastIndex(); ++i) {
    SCOPED_TRACE(i);
    TRelNtnIdx fresh(&staff, i);
    TRelNtnIdx back(&staff, staff.GetLastIndex());
    ASSERT_TRUE(back.SetIndex(i));
    EXPECT_EQ(Read(back), Read(fresh));
    EXPECT_EQ(fresh.GetTicks(), fresh.GetTickTime());
  }
}

TEST_F(RelNtnIdxTest, MultiBarRestWalkedBarwise) {
  build.MultiRest(4);  // 1
  TRelNtnIdx idx(&staff, 1);
  std::vector<TPackedNtnPos> packed;
  std::vector<int64_t> ticks;
  while (idx.GetIndex() == 1) {
    packed.push_back(idx.GetPackedPosition());
    ticks.push_back(idx.GetTicks());
    ASSERT_TRUE(idx.NextBarwise(true));
  }
  ASSERT_EQ(packed.size(), 4u);
  for (int b = 0; b < 4; ++b) {
    EXPECT_EQ(packed[static_cast<size_t>(b)], (TPackedNtnPos{1} << kPackedBarShift) + b);
    EXPECT_EQ(ticks[static_cast<size_t>(b)], 768 * b);
  }
  EXPECT_EQ(idx.GetTicks(), 4 * 768);
  EXPECT_EQ(idx.GetBarCount(true), 1 + 3);

  // Entering the rest backwards lands on its last bar.
  ASSERT_TRUE(idx.PrevBarwise(true));
  EXPECT_EQ(idx.GetMultiBarRestBar(), 3);
  EXPECT_EQ(idx.GetTicks(), 3 * 768);
  // Not bar-wise, it steps to the rest's start.
  ASSERT_TRUE(idx.Next());
  ASSERT_TRUE(idx.PrevBarwise(false));
  EXPECT_EQ(idx.GetMultiBarRestBar(), 0);
  EXPECT_EQ(idx.GetTicks(), 0);
}

// A rest of more bars than fit in 8 bits keeps its bar in the packed position.
TEST_F(RelNtnIdxTest, PackedPositionKeepsRestBarsBeyond255) {
  build.Note(0);
  build.MultiRest(300);  // 2
  build.Note(0);
  TRelNtnIdx idx(&staff);
  const TPackedNtnPos target = (TPackedNtnPos{2} << kPackedBarShift) + 299;
  ASSERT_TRUE(idx.SeekPackedPosition(target));
  EXPECT_EQ(idx.GetIndex(), 2);
  EXPECT_EQ(idx.GetMultiBarRestBar(), 299);
  EXPECT_EQ(idx.GetPackedPosition(), target);
  EXPECT_EQ(idx.GetTicks(), 192 + 299 * 768);
  EXPECT_EQ(idx.GetBarCount(true), 1 + 299);

  TRelNtnIdx other(&staff);
  ASSERT_TRUE(other.SeekPosition({2, 256}));
  EXPECT_EQ(other.GetMultiBarRestBar(), 256);
}

TEST_F(RelNtnIdxTest, SeekingFailsOutsideTheStaffOrTheRest) {
  build.Note(0);
  build.MultiRest(3);  // 2
  TRelNtnIdx idx(&staff);
  struct Case {
    const char* name;
    TNtnIdxPosition position;
  };
  const Case cases[] = {{"index beyond", {9, 0}},
                        {"negative index", {-1, 0}},
                        {"bar beyond the rest", {2, 3}},
                        {"bar on a note", {1, 1}},
                        {"negative bar", {2, -1}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_FALSE(idx.SeekPosition(c.position));
  }
  EXPECT_FALSE(idx.SeekPackedPosition(-5));
  EXPECT_FALSE(idx.SeekPackedPosition(TPackedNtnPos{1} << 62));
  EXPECT_TRUE(idx.SeekPosition({2, 2}));
}

TEST_F(RelNtnIdxTest, SeekTimeFindsTheFirstItemAtOrAfterTheTime) {
  build.Note(0, kDurHalf);   // 1 at 0
  build.Bar();               // 2 at 384
  build.Clef(kClefBass);     // 3 at 384
  build.Note(0);             // 4 at 384
  build.MultiRest(3);        // 5 at 576
  build.Note(0);             // 6 at 576 + 3 x 768
  struct Case {
    int64_t time;
    bool barwise;
    int index;
    int restBar;
    bool found;
  };
  const Case cases[] = {
      {0, false, 0, 0, true},    {-5, false, 0, 0, true},   {1, false, 2, 0, true},
      {384, false, 2, 0, true},  {385, false, 5, 0, true},  {576 + 768, true, 5, 1, true},
      {576 + 768, false, 6, 0, true}, {576 + 3 * 768, true, 6, 0, true},
      {99999, false, 7, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.time);
    // From both ends, so backing off is exercised as well as stepping on.
    for (const int from : {0, staff.GetLastIndex()}) {
      TRelNtnIdx idx(&staff, from);
      EXPECT_EQ(idx.SeekTime(c.time, c.barwise), c.found);
      EXPECT_EQ(idx.GetIndex(), c.index);
      EXPECT_EQ(idx.GetMultiBarRestBar(), c.restBar);
    }
  }
}

TEST_F(RelNtnIdxTest, SeekBarCountAndStepToOtherBar) {
  build.Note(0);       // 1
  build.Bar();         // 2
  build.Clef(1);       // 3
  build.Note(0);       // 4
  build.MultiRest(3);  // 5
  build.Note(0);       // 6
  TRelNtnIdx idx(&staff);
  ASSERT_TRUE(idx.SeekBarCount(2, true, false));
  EXPECT_EQ(idx.GetIndex(), 3);
  ASSERT_TRUE(idx.SeekBarCount(3, true, true));
  EXPECT_EQ(idx.GetIndex(), 5);
  EXPECT_EQ(idx.GetMultiBarRestBar(), 1);

  idx.SetIndex(1);
  ASSERT_TRUE(idx.StepToOtherBar(1));
  EXPECT_EQ(idx.GetIndex(), 3);  // past the bar line the bar count differs
  ASSERT_TRUE(idx.StepToOtherBar(1));
  EXPECT_EQ(idx.GetIndex(), 5);
  EXPECT_EQ(idx.GetMultiBarRestBar(), 1);
  EXPECT_TRUE(idx.StepUntilTimeChanges(-1));
  EXPECT_EQ(idx.GetMultiBarRestBar(), 0);
}

TEST_F(RelNtnIdxTest, SeekDrawPosTakesTheRestBar) {
  build.Note(0);
  build.MultiRest(4);  // 2
  TStaffDrawPos pos;
  pos.Reset();
  pos.SetKind(kDrawMultiBarRest);
  pos.SetItemIndex(2);
  pos.SetAutoInsert(true);
  pos.SetCounter(2);
  TRelNtnIdx idx(&staff, pos);
  EXPECT_EQ(idx.GetIndex(), 2);
  EXPECT_EQ(idx.GetMultiBarRestBar(), 2);
  EXPECT_EQ(idx.GetTicks(), 192 + 2 * 768);

  TStaffDrawPos start;
  start.Reset();
  start.SetKind(kDrawStaffStart);
  start.SetItemIndex(2);
  EXPECT_TRUE(idx.SeekDrawPos(start));
  EXPECT_EQ(idx.GetIndex(), 0);
}

// Built on a layout view and one of its positions, the indices stand on the view's staff at
// that position's item; the relative one also in the rest bar the position stands for.
TEST_F(RelNtnIdxTest, BuiltOnALayoutViewTakesItsStaff) {
  build.Note(0);
  build.MultiRest(4);  // 2
  TFakeStaffLayoutView view(staff);
  view.Add(kDrawNote, 1);
  view.Add(kDrawMultiBarRest, 2, 1);
  const TStaffDrawPos& thirdBar = view.Add(kDrawMultiBarRestContinuation, 2, 2);

  const TRelNtnIdx rel(view, thirdBar);
  EXPECT_EQ(rel.GetStaff(), &staff);
  EXPECT_EQ(rel.GetIndex(), 2);
  EXPECT_EQ(rel.GetMultiBarRestBar(), 2);
  EXPECT_EQ(rel.GetTicks(), 192 + 2 * 768);

  const TSimpleNtnIdx simple(view, thirdBar);
  EXPECT_EQ(simple.GetStaff(), &staff);
  EXPECT_EQ(simple.GetIndex(), 2);
  const TSimpleNtnIdx atStart(view, *view.GetDrawPosAt(0));
  EXPECT_EQ(atStart.GetIndex(), 0);

  TNullStaffLayoutView none;
  const TRelNtnIdx nowhere(none, thirdBar);
  EXPECT_EQ(nowhere.GetStaff(), nullptr);
  EXPECT_EQ(nowhere.GetItem(), nullptr);
}

TEST_F(RelNtnIdxTest, SyncWithAnotherStaff) {
  // This staff: a half note, a bar line, a key, a quarter.
  build.Note(0, kDurHalf);  // 1
  build.Bar();              // 2
  build.Key(1);             // 3
  build.Note(0);            // 4
  // The other: two quarters, a bar line, a key, a quarter.
  TMusicStaff other;
  TStaffBuilder b(other);
  b.Note(0);   // 1
  b.Note(0);   // 2
  b.Bar();     // 3
  b.Key(1);    // 4
  b.Note(0);   // 5
  struct Case {
    int otherIndex;
    int index;
    bool sameTime;
  };
  const Case cases[] = {
      {1, 1, true},   // time 0
      {2, 2, false},  // time 192 is inside the half note: the first item after it
      {3, 2, true},   // a bar line at 384
      {4, 3, true},   // on to the key this staff has after its bar line
      {5, 3, true},   // a note after a bar: the first item of that bar at that time
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.otherIndex);
    const TRelNtnIdx leader(&other, c.otherIndex);
    TRelNtnIdx follower(&staff);
    EXPECT_EQ(follower.SyncWith(leader, false), c.sameTime);
    EXPECT_EQ(follower.GetIndex(), c.index);
  }
}

}  // namespace
}  // namespace kvt
