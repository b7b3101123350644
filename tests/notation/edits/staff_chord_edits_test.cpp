#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "notation/items/item_cast.h"
#include "notation/items/chord_data.h"
#include "notation/items/music_note.h"
#include "notation/staff/music_staff.h"
#include "notation/items/rest_chord.h"
#include "notation/items/rest_note.h"
#include "notation/edits/staff_edits.h"
#include "tests/notation/staff_edit_support.h"

namespace kvt {
namespace {

using test::Describe;
using test::Fill;

// Everything a merge could change on the note handed in.
struct NoteSnapshot {
  explicit NoteSnapshot(const TMusicNote& n)
      : pos(n.GetStaffPos()), acc(n.GetRawAccidental()), flags(n.GetFlags()),
        stem(n.GetStemSetting()), member(n.IsChordMember()), part(n.IsRestChordPart()),
        shift(n.GetHeadShift()) {}
  bool operator==(const NoteSnapshot&) const = default;
  int pos, acc, flags, stem;
  bool member, part;
  int shift;
};

// Merges a new note; a refused one is deleted.
bool Merge(TMusicStaff& staff, std::unique_ptr<TMusicNote> note, int i) {
  return MergeNoteAt(staff, note, i);
}

class MergeNoteTest : public testing::Test {
protected:
  // Merges a new note and expects a refusal that changes nothing at all.
  void ExpectRefused(int index, std::unique_ptr<TMusicNote> note) {
    const std::string before = Describe(staff);
    TNotatedItem* held = staff.GetItem(index);
    const bool heldIsNote = held && held->IsMusicNoteClass();
    const NoteSnapshot heldBefore = heldIsNote
                                        ? NoteSnapshot(*ItemAs<TMusicNote>(held))
                                        : NoteSnapshot(*note);
    const NoteSnapshot noteBefore(*note);
    EXPECT_FALSE(MergeNoteAt(staff, note, index));
    ASSERT_NE(note, nullptr);  // still the caller's
    EXPECT_EQ(Describe(staff), before);
    EXPECT_EQ(staff.GetItem(index), held);  // the same item, never freed and rebuilt
    EXPECT_TRUE(NoteSnapshot(*note) == noteBefore);
    if (heldIsNote) {
      EXPECT_TRUE(NoteSnapshot(*ItemAs<TMusicNote>(held)) == heldBefore);
    }
  }

  TMusicStaff staff;
};

TEST_F(MergeNoteTest, NoteAndNoteMakeAChord) {
  Fill(staff, "n2@4");
  EXPECT_TRUE(Merge(staff, std::make_unique<TMusicNote>(0, kDurQuarter, 0, kAccNone), 1));
  EXPECT_EQ(Describe(staff), "| C4,0:192 |5");
}

TEST_F(MergeNoteTest, ChordTakesAnotherNote) {
  Fill(staff, "n2@4");
  ASSERT_TRUE(Merge(staff, std::make_unique<TMusicNote>(0, kDurQuarter, 0, kAccNone), 1));
  EXPECT_TRUE(Merge(staff, std::make_unique<TMusicNote>(2, kDurQuarter, 0, kAccSharp), 1));
  EXPECT_EQ(Describe(staff), "| C4,2#,0:192 |5");
}

TEST_F(MergeNoteTest, RestTakesANoteAsRestChord) {
  Fill(staff, "r2");
  EXPECT_TRUE(Merge(staff, std::make_unique<TMusicNote>(-3, kDurQuarter, 0, kAccNone), 1));
  ASSERT_EQ(staff.GetItem(1)->GetType(), kItemRestChord);
  EXPECT_EQ(staff.GetItem(1)->GetMemberCount(), 1);
}

TEST_F(MergeNoteTest, StemAndGraceFollowTheTarget) {
  Fill(staff, "n3g@4");
  ItemAs<TMusicNote>(staff.GetItem(1))->SetStemDir(kStemDown);
  auto owned = std::make_unique<TMusicNote>(1, kDurEighth, 0, kAccNone);
  TMusicNote* note = owned.get();
  ASSERT_TRUE(MergeNoteAt(staff, owned, 1));
  EXPECT_EQ(owned, nullptr);
  EXPECT_TRUE(note->IsGrace());
  EXPECT_EQ(note->GetStemSetting(), kStemDown);
}

TEST_F(MergeNoteTest, NoteRefusedByTheChordItWouldMakeLeavesBothNotes) {
  Fill(staff, "n2@4");
  auto* held = ItemAs<TMusicNote>(staff.GetItem(1));
  held->SetStemDir(kStemUp);
  // A unison with the same explicit stem cannot stand in one chord.
  auto note = std::make_unique<TMusicNote>(4, kDurQuarter, 0, kAccNone);
  note->SetStemDir(kStemUp);
  ExpectRefused(1, std::move(note));
  // The new note's automatic stem was given the target's for the trial; it is back.
  auto automatic = std::make_unique<TMusicNote>(4, kDurQuarter, 0, kAccNone);
  ExpectRefused(1, std::move(automatic));
}

TEST_F(MergeNoteTest, RestChordRefusingANoteStaysAsItWas) {
  Fill(staff, "r2");
  ASSERT_TRUE(Merge(staff, std::make_unique<TMusicNote>(-3, kDurQuarter, 0, kAccNone), 1));
  // Merging into a rest that has a member at the same position fails.
  ExpectRefused(1, std::make_unique<TMusicNote>(-3, kDurQuarter, 0, kAccNone));
}

TEST_F(MergeNoteTest, RestRefusesAShorterNote) {
  Fill(staff, "r1");
  ExpectRefused(1, std::make_unique<TMusicNote>(-3, kDurQuarter, 0, kAccNone));
  EXPECT_EQ(staff.GetItem(1)->GetType(), kItemRest);
}

TEST_F(MergeNoteTest, OtherItemsAndBadArgumentsRefuse) {
  Fill(staff, "K1 n2");
  ExpectRefused(1, std::make_unique<TMusicNote>(0, kDurQuarter, 0, kAccNone));
  ExpectRefused(0, std::make_unique<TMusicNote>(0, kDurQuarter, 0, kAccNone));
  ExpectRefused(99, std::make_unique<TMusicNote>(0, kDurQuarter, 0, kAccNone));
  std::unique_ptr<TMusicNote> none;
  EXPECT_FALSE(MergeNoteAt(staff, none, 2));
}

TEST(RemoveMemberTest, ChordOfTwoBecomesTheOtherNote) {
  TMusicStaff staff;
  Fill(staff, "n2@4");
  ASSERT_TRUE(Merge(staff, std::make_unique<TMusicNote>(0, kDurQuarter, 0, kAccNone), 1));
  staff.GetItem(1)->SetVisibility(kVisAlways);
  std::unique_ptr<TMusicNote> removed = RemoveMemberAt(staff, 1, 0);
  ASSERT_TRUE(removed);
  EXPECT_EQ(removed->GetStaffPos(), 0);
  EXPECT_FALSE(removed->IsChordMember());
  EXPECT_EQ(Describe(staff), "| N4:192 |5");
  EXPECT_EQ(staff.GetItem(1)->GetVisibility(), kVisAlways);
  EXPECT_EQ(RemoveMemberAt(staff, 1, 4), nullptr);  // a plain note is no chord
}

TEST(RemoveMemberTest, RestChordWithoutNotesBecomesARest) {
  TMusicStaff staff;
  Fill(staff, "r2");
  ASSERT_TRUE(Merge(staff, std::make_unique<TMusicNote>(-3, kDurQuarter, 0, kAccNone), 1));
  EXPECT_EQ(RemoveMemberAt(staff, 1, 5), nullptr);  // no member there
  std::unique_ptr<TMusicNote> removed = RemoveMemberAt(staff, 1, -3);
  ASSERT_TRUE(removed);
  EXPECT_FALSE(removed->IsRestChordPart());
  EXPECT_EQ(Describe(staff), "| R:192 |5");
}

}  // namespace
}  // namespace kvt
