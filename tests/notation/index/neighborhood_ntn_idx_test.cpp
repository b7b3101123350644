#include "notation/items/item_cast.h"
#include "notation/index/neighborhood_ntn_idx.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>

#include "notation/items/dynamic_level_data.h"
#include "notation/items/dynamic_variance.h"
#include "notation/items/patch_data.h"
#include "notation/items/tempo_data.h"
#include "notation/items/tempo_variance.h"
#include "tests/notation/staff_builder.h"

namespace kvt {
namespace {

using test::TStaffBuilder;

using Slots = std::array<int32_t, 12>;

Slots Read(const TNeighborhoodNtnIdx& idx) {
  return {idx.GetLastBarLineIndex(),     idx.GetLastClefIndex(),
          idx.GetLastKeyIndex(),         idx.GetLastTimeSigIndex(),
          idx.GetLastInstrumentIndex(),  idx.GetLastDynamicIndex(),
          idx.GetLastDynamicVarianceIndex(), idx.GetLastTempoIndex(),
          idx.GetLastTempoVarianceIndex(), idx.GetLastRestIndex(),
          idx.GetCurrentSongNoteIndex(), idx.GetPreviousSongNoteIndex()};
}

class NeighborhoodNtnIdxTest : public ::testing::Test {
protected:
  void SetUp() override {
    build.Note(0);                                                       // 1
    build.Clef(kClefBass);                                               // 2
    build.Key(-2);                                                       // 3
    build.TimeSig(3, 2);                                                 // 4
    build.Add(std::make_unique<TPatchData>());                           // 5
    build.Add(std::make_unique<TDynamicLevelData>(kDynP));               // 6
    build.Add(std::make_unique<TDynamicVariance>());                     // 7
    build.Add(std::make_unique<TTempoData>());                           // 8
    build.Add(std::make_unique<TTempoVariance>(kTempoVarFermata));       // 9: style 2, not kept
    build.Add(std::make_unique<TTempoVariance>(kTempoVarRitardando));    // 10
    build.Rest();                                                        // 11
    build.Bar();                                                         // 12
    build.Note(1);                                                       // 13
    build.Clef(kClefTreble);                                             // 14
    build.Note(2);                                                       // 15
    build.Add(std::make_unique<TTempoVariance>(kTempoVarCaesura));       // 16
  }

  TMusicStaff staff;
  TStaffBuilder build{staff};
};

TEST_F(NeighborhoodNtnIdxTest, RemembersTheLastItemOfEachKind) {
  TNeighborhoodNtnIdx idx(&staff, 1);
  EXPECT_EQ(idx.GetLastClefIndex(), 0);  // before any clef
  EXPECT_EQ(idx.GetLastBarLineIndex(), 0);  // the opening bar line reads as none
  idx.SetIndex(14);
  const Slots expected = {12, 2, 3, 4, 5, 6, 7, 8, 10, 11, 13, 11};
  EXPECT_EQ(Read(idx), expected);
  idx.SetIndex(17);
  EXPECT_EQ(idx.GetLastClefIndex(), 14);
  EXPECT_EQ(idx.GetCurrentSongNoteIndex(), 15);
  EXPECT_EQ(idx.GetPreviousSongNoteIndex(), 13);
  EXPECT_EQ(idx.GetLastTempoVarianceIndex(), 10);  // the caesura is not a gradual change
}

// Stepping back re-derives the slots: at every index they equal a fresh forward walk's.
TEST_F(NeighborhoodNtnIdxTest, StepsBackToTheSameSlots) {
  TNeighborhoodNtnIdx idx(&staff);
  idx.GoLast();
  for (int i = staff.GetLastIndex(); i >= 0; --i) {
    SCOPED_TRACE(i);
    ASSERT_EQ(idx.GetIndex(), i);
    EXPECT_EQ(Read(idx), Read(TNeighborhoodNtnIdx(&staff, i)));
    idx.Prev();
  }
}

TEST_F(NeighborhoodNtnIdxTest, InstrumentAndTimeSignature) {
  staff.GetInstrument().SetPatch(40);
  auto* patch = ItemAs<TPatchData>(staff.GetItem(5));
  patch->GetInstrument().SetPatch(12);
  TNeighborhoodNtnIdx idx(&staff, 2);
  EXPECT_EQ(idx.GetInstrumentDef()->GetPatch(), 40);
  int beats = 0;
  int exponent = 0;
  idx.GetTimeSignature(beats, exponent);
  EXPECT_EQ(beats, 4);
  EXPECT_EQ(exponent, 2);
  idx.SetIndex(6);
  EXPECT_EQ(idx.GetInstrumentDef()->GetPatch(), 12);
  idx.GetTimeSignature(beats, exponent);
  EXPECT_EQ(beats, 3);
  EXPECT_EQ(exponent, 2);
}

TEST_F(NeighborhoodNtnIdxTest, SetIndexOutOfRange) {
  TNeighborhoodNtnIdx idx(&staff, 10);
  EXPECT_FALSE(idx.SetIndex(-1));
  EXPECT_EQ(idx.GetIndex(), 0);
  EXPECT_EQ(Read(idx), Slots{});
  EXPECT_FALSE(idx.SetIndex(500));
  EXPECT_EQ(idx.GetIndex(), staff.GetLastIndex());
  EXPECT_EQ(idx.GetLastBarLineIndex(), 12);
}

}  // namespace
}  // namespace kvt
