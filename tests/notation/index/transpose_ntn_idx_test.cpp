#include "notation/items/item_cast.h"
#include "notation/index/transpose_ntn_idx.h"

#include <gtest/gtest.h>

#include <memory>

#include "notation/items/user_object.h"
#include "notation/services/services.h"
#include "notation/services/user_object_host.h"
#include "tests/notation/staff_builder.h"

namespace kvt {
namespace {

using test::TStaffBuilder;

constexpr int kC5 = -1;  // treble clef

// Transposes every item of the staff, as the staff's transposition does.
void TransposeStaff(TMusicStaff& staff, int semitones, int steps) {
  TTransposeNtnIdx idx(&staff, semitones, steps, 0, TServices());
  do {
    idx.TransposeCurrent();
  } while (idx.Next());
}

int PitchAt(TMusicStaff& staff, int index) {
  TAuditNtnIdx idx(&staff, index);
  return ItemAs<TMusicNote>(staff.GetItem(index))->GetPitch(idx.GetRunningState());
}

struct IntervalCase {
  int semitones;
  int steps;  // key-spelling preference
  int position;
  int accidental;
};

class TransposeByIntervalTest : public ::testing::TestWithParam<IntervalCase> {};

// A C5 on a staff without key signature moves as C major does.
TEST_P(TransposeByIntervalTest, MovesAsTheKeyOfCWould) {
  const IntervalCase& c = GetParam();
  TMusicStaff staff;
  TStaffBuilder build(staff);
  auto& note = build.Note(kC5, kDurQuarter, 0, kAccNatural);
  const int before = PitchAt(staff, 1);
  TransposeStaff(staff, c.semitones, c.steps);
  EXPECT_EQ(note.GetStaffPos(), c.position);
  EXPECT_EQ(note.GetRawAccidental(), c.accidental);
  EXPECT_EQ(PitchAt(staff, 1), before + c.semitones);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TransposeByIntervalTest,
    ::testing::Values(IntervalCase{2, 0, kC5 - 1, kAccNatural},    // D
                      IntervalCase{1, 0, kC5 - 1, kAccFlat},       // Db major
                      IntervalCase{1, 1, kC5, kAccSharp},          // C# major preferred
                      IntervalCase{-1, 0, kC5 + 1, kAccNatural},   // B
                      IntervalCase{6, 0, kC5 - 4, kAccFlat},       // Gb
                      IntervalCase{12, 0, kC5 - 7, kAccNatural},   // an octave up
                      IntervalCase{-24, 0, kC5 + 14, kAccNatural}, // two octaves down
                      IntervalCase{19, 0, kC5 - 11, kAccNatural},  // octave and fifth up
                      IntervalCase{-13, 0, kC5 + 8, kAccNatural}));  // octave and semitone down

// By key: a key signature is transposed in place and sets the steps of the notes after it.
TEST(TransposeNtnIdxTest, KeySignatureSetsTheKeyOffset) {
  TMusicStaff staff;
  TStaffBuilder build(staff);
  build.Key(2);                                        // 1: D major
  auto& d = build.Note(kC5 - 1, kDurQuarter, 0, kAccNatural);  // 2: D5
  auto& fSharp = build.Note(kC5 - 3, kDurQuarter, 0, kAccSharp);  // 3: F#5
  TTransposeNtnIdx idx(&staff, 1, 0, 0, TServices());
  EXPECT_EQ(idx.GetKeyOffset(), -1);  // C major to Db major
  ASSERT_TRUE(idx.SetIndex(1));
  EXPECT_TRUE(idx.TransposeCurrent());
  auto* key = ItemAs<TKeyData>(staff.GetItem(1));
  EXPECT_EQ(key->GetKeyCount(), -3);  // Eb major
  EXPECT_EQ(idx.GetKeyOffset(), -1);
  while (idx.Next()) idx.TransposeCurrent();
  EXPECT_EQ(d.GetStaffPos(), kC5 - 2);
  EXPECT_EQ(d.GetRawAccidental(), kAccFlat);  // Eb
  EXPECT_EQ(fSharp.GetStaffPos(), kC5 - 4);
  EXPECT_EQ(fSharp.GetRawAccidental(), kAccNatural);  // G
}

// D flat major up a tritone is G major (three letters), while C major up a tritone is G flat
// major (four letters): the key offset follows the key in force.
using StaffFill = void (*)(TStaffBuilder&);

// The key offset at `index` while a fresh staff is transposed up a tritone item by item.
int OffsetAt(StaffFill fill, int index) {
  TMusicStaff staff;
  TStaffBuilder build(staff);
  fill(build);
  TTransposeNtnIdx idx(&staff, 6, 0, 0, TServices());
  idx.TransposeCurrent();
  while (idx.GetIndex() < index && idx.Next()) idx.TransposeCurrent();
  return idx.GetKeyOffset();
}

TEST(TransposeKeyOffsetTest, LaterEndingBringsBackTheFirstEndingOffset) {
  const StaffFill fill = [](TStaffBuilder& build) {
    build.Bar(kBarMasterRepeatOpen);   // 1
    build.Ending({1});                 // 2
    build.Key(-5);                     // 3
    build.Note(0);                     // 4
    build.Bar(kBarMasterRepeatClose);  // 5
    build.Ending({2});                 // 6
    build.Note(0);                     // 7
  };
  EXPECT_EQ(OffsetAt(fill, 2), -4);
  EXPECT_EQ(OffsetAt(fill, 3), -3);
  EXPECT_EQ(OffsetAt(fill, 6), -3);
  EXPECT_EQ(OffsetAt(fill, 7), -4);
}

TEST(TransposeKeyOffsetTest, LaterEndingWithoutAFirstKeepsTheOffset) {
  const StaffFill fill = [](TStaffBuilder& build) {
    build.Key(-5);      // 1
    build.Ending({2});  // 2
    build.Note(0);      // 3
  };
  EXPECT_EQ(OffsetAt(fill, 3), -3);
}

TEST(TransposeKeyOffsetTest, CodaBringsBackTheToCodaOffset) {
  const StaffFill fill = [](TStaffBuilder& build) {
    build.Flow(kFlowToCoda);    // 1
    build.Key(-5);              // 2
    build.Note(0);              // 3
    build.Flow(kFlowDCalCoda);  // 4
    build.Flow(kFlowCoda);      // 5
    build.Note(0);              // 6
  };
  EXPECT_EQ(OffsetAt(fill, 3), -3);
  EXPECT_EQ(OffsetAt(fill, 5), -3);
  EXPECT_EQ(OffsetAt(fill, 6), -4);
}

// Beyond the MIDI range a pitch folds by octaves, keeping its pitch class.
TEST(TransposeNtnIdxTest, FoldsPitchesBeyondTheRangeByOctaves) {
  struct Case {
    int position;
    int semitones;
  };
  const Case cases[] = {{-30, 12}, {-30, 7}, {40, -12}, {40, -30}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.position);
    TMusicStaff staff;
    TStaffBuilder build(staff);
    build.Clef(c.position > 0 ? kClefBass : kClefTreble);
    auto& note = build.Note(c.position, kDurQuarter, 0, kAccNatural);
    const int before = PitchAt(staff, 2);
    TTransposeNtnIdx idx(&staff, c.semitones, 0, 0, TServices());
    idx.SetIndex(2);
    idx.CanTransposeCurrent();
    EXPECT_EQ(note.GetStaffPos(), c.position);  // the test changed nothing
    idx.TransposeCurrent();
    const int after = PitchAt(staff, 2);
    EXPECT_GE(after, 0);
    EXPECT_LE(after, 127);
    EXPECT_EQ(((after - (before + c.semitones)) % 12 + 12) % 12, 0);
  }
}

TEST(TransposeNtnIdxTest, ChordMembersMoveTogether) {
  TMusicStaff staff;
  TStaffBuilder build(staff);
  auto c4 = std::make_unique<TMusicNote>(6, kDurQuarter, 0, kAccNatural);
  auto e4 = std::make_unique<TMusicNote>(4, kDurQuarter, 0, kAccNatural);
  auto& chord = build.Add(std::make_unique<TChordData>(std::move(c4), std::move(e4)));
  auto member = std::make_unique<TMusicNote>(2, kDurQuarter, 0, kAccNatural);
  ASSERT_TRUE(chord.AddNote(member));  // C E G
  TransposeStaff(staff, 2, 0);                                                  // D F# A
  const int expected[][2] = {{5, kAccNatural}, {3, kAccSharp}, {1, kAccNatural}};
  ASSERT_EQ(chord.GetMemberCount(), 3);
  for (int m = 0; m < 3; ++m) {
    EXPECT_EQ(chord.GetMember(m)->GetStaffPos(), expected[m][0]);
    EXPECT_EQ(chord.GetMember(m)->GetRawAccidental(), expected[m][1]);
  }
}

TEST(TransposeNtnIdxTest, OtherItemsAreLeftAloneAndAnswerTrue) {
  TMusicStaff staff;
  TStaffBuilder build(staff);
  build.Clef(kClefBass);
  TTransposeNtnIdx idx(&staff, 3, 0, 0, TServices());
  idx.SetIndex(1);
  EXPECT_TRUE(idx.CanTransposeCurrent());
  EXPECT_TRUE(idx.TransposeCurrent());
  EXPECT_EQ(ItemAs<TClefData>(staff.GetItem(1))->GetClefType(), kClefBass);
  EXPECT_TRUE(idx.GetRunningState().IsLinearWalk());
}

// The state brought back at a later ending keeps the linear walk mode.
TEST(TransposeNtnIdxTest, WalkStaysLinearThroughEndingsAndCodas) {
  TMusicStaff staff;
  TStaffBuilder build(staff);
  build.Ending({1});
  build.Note(0);
  build.Ending({2});
  build.Flow(kFlowToCoda);
  build.Flow(kFlowCoda);
  build.Note(0);
  TTransposeNtnIdx idx(&staff, 2, 0, 0, TServices());
  do {
    EXPECT_TRUE(idx.GetRunningState().IsLinearWalk()) << idx.GetIndex();
  } while (idx.Next());
}

class RecordingHost : public TUserObjectHost {
public:
  bool IsUserObjectTypeLoaded(const char*) override { return true; }
  void PlayUserObject(TSimpleNtnIdx&, TStaffContextState&, TMidiFileBuf*) override {}
  void RunUserObjectAudit(TSimpleNtnIdx&) override {}
  void SpinUserObject(TSimpleNtnIdx&, int) override {}
  void TransposeUserObject(TSimpleNtnIdx& index, const TStaffContextState&, int semitones,
                           int keyOffset, bool option) override {
    ++calls;
    seenIndex = index.GetIndex();
    seenSemitones = semitones;
    seenKeyOffset = keyOffset;
    seenOption = option;
  }
  int calls = 0;
  int seenIndex = -1;
  int seenSemitones = 0;
  int seenKeyOffset = 0;
  bool seenOption = false;
};

TEST(TransposeNtnIdxTest, UserObjectsGoToTheHost) {
  TMusicStaff staff;
  TStaffBuilder build(staff);
  build.Add(std::make_unique<TKVTUserObject>("Arrow"));
  RecordingHost host;
  TServices services;
  services.userObjectHost = &host;
  TTransposeNtnIdx idx(&staff, -5, 0, 1, services);
  idx.SetIndex(1);
  EXPECT_TRUE(idx.TransposeCurrent());
  EXPECT_EQ(host.calls, 1);
  EXPECT_EQ(host.seenIndex, 1);
  EXPECT_EQ(host.seenSemitones, -5);
  EXPECT_EQ(host.seenKeyOffset, 3);  // C major down a fourth is G major, three letters down
  EXPECT_TRUE(host.seenOption);
}

}  // namespace
}  // namespace kvt
