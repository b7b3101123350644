#include "notation/index/find_error_ntn_idx.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "tests/notation/staff_builder.h"

namespace kvt {
namespace {

using test::TStaffBuilder;

// Treble clef positions.
constexpr int kF5 = -4;
constexpr int kF4 = 3;

struct Case {
  const char* name;
  std::function<void(TStaffBuilder&)> build;  // the last item added is the one tested
  bool mismatch;
};

class FindErrorNtnIdxTest : public ::testing::TestWithParam<Case> {};

TEST_P(FindErrorNtnIdxTest, ReportsAccidentalsAReaderMayMisread) {
  TMusicStaff staff;
  TStaffBuilder build(staff);
  GetParam().build(build);
  TFindErrorNtnIdx idx(&staff);
  ASSERT_TRUE(idx.SetIndex(build.Last()));
  EXPECT_EQ(idx.HasAccidentalMismatch(), GetParam().mismatch);
  // A muted staff never reports one.
  staff.SetMuted(true);
  EXPECT_FALSE(idx.HasAccidentalMismatch());
}

const Case kCases[] = {
    {"sharp in another octave",
     [](TStaffBuilder& b) {
       b.Note(kF5, kDurQuarter, 0, kAccSharp);
       b.Note(kF4);
     },
     true},
    {"sharp at the same position",
     [](TStaffBuilder& b) {
       b.Note(kF5, kDurQuarter, 0, kAccSharp);
       b.Note(kF5);
     },
     false},
    {"sharp from the key", [](TStaffBuilder& b) {
       b.Key(1);
       b.Note(kF4);
     },
     false},
    {"natural against the key in another octave",
     [](TStaffBuilder& b) {
       b.Key(1);
       b.Note(kF5, kDurQuarter, 0, kAccNatural);
       b.Note(kF4);
     },
     true},
    {"bar line resets",
     [](TStaffBuilder& b) {
       b.Note(kF5, kDurQuarter, 0, kAccSharp);
       b.Bar();
       b.Note(kF4);
     },
     false},
    {"tied-in note is left alone",
     [](TStaffBuilder& b) {
       b.Note(kF5, kDurQuarter, 0, kAccSharp);
       b.Note(kF4).SetTieIn(true);
     },
     false},
    {"muted note is left alone",
     [](TStaffBuilder& b) {
       b.Note(kF5, kDurQuarter, 0, kAccSharp);
       b.Note(kF4).SetMuted(true);
     },
     false},
    {"explicit accidental is no error",
     [](TStaffBuilder& b) {
       b.Note(kF5, kDurQuarter, 0, kAccSharp);
       b.Note(kF4, kDurQuarter, 0, kAccSharp);
     },
     false},
    {"not a song note",
     [](TStaffBuilder& b) {
       b.Note(kF5, kDurQuarter, 0, kAccSharp);
       b.Clef(kClefTreble);
     },
     false},
    {"chord member",
     [](TStaffBuilder& b) {
       b.Note(kF5, kDurQuarter, 0, kAccSharp);
       b.Add(std::make_unique<TChordData>(std::make_unique<TMusicNote>(kF4, kDurQuarter, 0, kAccNone),
                                          std::make_unique<TMusicNote>(0, kDurQuarter, 0, kAccNone)));
     },
     true},
};

INSTANTIATE_TEST_SUITE_P(Cases, FindErrorNtnIdxTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& info) {
                           std::string name = info.param.name;
                           for (char& c : name)
                             if (!isalnum(static_cast<unsigned char>(c))) c = '_';
                           return name;
                         });

TEST(FindErrorNtnIdxMemoryTest, EmptiedAtBarsClefsKeysAndEndings) {
  struct Step {
    std::function<void(TStaffBuilder&)> add;
    bool empties;
  };
  const Step steps[] = {{[](TStaffBuilder& b) { b.Bar(); }, true},
                        {[](TStaffBuilder& b) { b.Clef(kClefBass); }, true},
                        {[](TStaffBuilder& b) { b.Key(2); }, true},
                        {[](TStaffBuilder& b) { b.Ending({2}); }, true},
                        {[](TStaffBuilder& b) { b.Add(std::make_unique<TSpecialEnding>()); },
                         false},
                        {[](TStaffBuilder& b) { b.Rest(); }, false}};
  for (const Step& step : steps) {
    TMusicStaff staff;
    TStaffBuilder b(staff);
    b.Note(kF5, kDurQuarter, 0, kAccFlat);
    step.add(b);
    b.Note(0);
    TFindErrorNtnIdx idx(&staff);
    idx.SetIndex(2);
    EXPECT_EQ(idx.GetRememberedAccidental(kF5), kAccFlat);
    idx.SetIndex(3);
    EXPECT_EQ(idx.GetRememberedAccidental(kF5), step.empties ? kAccNone : kAccFlat);
    // Reset empties it as well.
    idx.Reset();
    EXPECT_EQ(idx.GetRememberedAccidental(kF5), kAccNone);
  }
}

// Staff positions span the signed 8-bit range; the memory holds every one of them.
TEST(FindErrorNtnIdxMemoryTest, CoversEveryStaffPosition) {
  TMusicStaff staff;
  TStaffBuilder b(staff);
  for (const int pos : {-128, -101, 101, 127}) b.Note(pos, kDurQuarter, 0, kAccDoubleSharp);
  b.Note(127);
  TFindErrorNtnIdx idx(&staff);
  idx.GoLast();
  for (const int pos : {-128, -101, 101, 127})
    EXPECT_EQ(idx.GetRememberedAccidental(pos), kAccDoubleSharp);
  EXPECT_EQ(idx.GetRememberedAccidental(100), kAccNone);
  // Positions outside the range read as the nearest end.
  EXPECT_EQ(idx.GetRememberedAccidental(100000), kAccDoubleSharp);
  idx.SetIndex(5);
  EXPECT_FALSE(idx.HasAccidentalMismatch());

  std::unique_ptr<TSimpleNtnIdx> base = std::make_unique<TFindErrorNtnIdx>(&staff);
  base->GoLast();
  base.reset();  // destroyed through the base
}

}  // namespace
}  // namespace kvt
