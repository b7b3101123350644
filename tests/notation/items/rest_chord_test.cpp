#include "notation/items/rest_chord.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "tests/notation/note_events.h"

namespace kvt {
namespace {

std::unique_ptr<TMusicNote> Note(int pos, int duration = kDurQuarter, uint16_t flags = 0,
                                 int stem = kStemAuto, int accidental = kAccNone) {
  auto note = std::make_unique<TMusicNote>(pos, duration, flags, accidental);
  note->SetStemDir(stem);
  return note;
}

// A refused note is deleted.
bool Attach(TRestChord& restChord, std::unique_ptr<TMusicNote> note) {
  return restChord.AttachNote(note);
}

TEST(RestChordTest, FirstNoteBecomesThePartWithOppositeStems) {
  TRestChord restChord(kDurQuarter, 0);
  EXPECT_FALSE(restChord.HasNotes());
  EXPECT_EQ(restChord.GetMemberCount(), 0);
  EXPECT_EQ(restChord.GetHeadColumns(), 0);
  std::unique_ptr<TMusicNote> owned = Note(-3, kDurQuarter, 0, kStemUp);
  TMusicNote* note = owned.get();
  ASSERT_TRUE(Attach(restChord, std::move(owned)));
  EXPECT_EQ(restChord.GetPart(), note);
  EXPECT_TRUE(note->IsRestChordPart());
  EXPECT_TRUE(note->GetArticulationsOnStem());
  EXPECT_EQ(restChord.GetStemSetting(), kStemDown);
  EXPECT_EQ(note->GetStemSetting(), kStemUp);
  EXPECT_TRUE(restChord.HasNotes());
  EXPECT_TRUE(restChord.HasSplitStem());
  EXPECT_EQ(restChord.GetMemberCount(), 1);
  EXPECT_EQ(restChord.GetMember(0), note);
  EXPECT_EQ(restChord.GetHeadColumns(), 1);
}

TEST(RestChordTest, RefusalsLeaveEverythingAsItWas) {
  TRestChord restChord(kDurHalf, 0);
  EXPECT_FALSE(Attach(restChord, Note(-3, kDurQuarter)));  // shorter than the rest
  TRestChord up(kDurQuarter, 0);
  up.SetStemDir(kStemUp);
  std::unique_ptr<TMusicNote> stray = Note(-3, kDurQuarter, 0, kStemUp);
  EXPECT_FALSE(up.AttachNote(stray));  // both stems up
  ASSERT_NE(stray, nullptr);
  EXPECT_FALSE(stray->IsRestChordPart());
  EXPECT_EQ(stray->GetStemSetting(), kStemUp);

  TRestChord withPart(kDurQuarter, 0);
  ASSERT_TRUE(Attach(withPart, Note(-3)));
  EXPECT_FALSE(Attach(withPart, Note(-5, kDurHalf)));  // another duration than the part
  EXPECT_FALSE(Attach(withPart, Note(-3)));             // the part has that position
  EXPECT_EQ(withPart.GetMemberCount(), 1);
}

TEST(RestChordTest, SecondNoteMakesAChordPart) {
  TRestChord restChord(kDurQuarter, 0);
  std::unique_ptr<TMusicNote> owned = Note(-3);
  TMusicNote* first = owned.get();
  ASSERT_TRUE(Attach(restChord, std::move(owned)));
  ASSERT_TRUE(Attach(restChord, Note(-5)));
  ASSERT_NE(restChord.GetPart(), nullptr);
  EXPECT_EQ(restChord.GetPart()->GetType(), kItemChord);
  EXPECT_TRUE(restChord.GetPart()->IsRestChordPart());
  EXPECT_EQ(restChord.GetMemberCount(), 2);
  EXPECT_EQ(restChord.GetMember(0), first);
  ASSERT_TRUE(Attach(restChord, Note(-7)));
  EXPECT_EQ(restChord.GetMemberCount(), 3);
}

TEST(RestChordTest, DetachingDownToOneNoteDissolvesThePartChord) {
  TRestChord restChord(kDurQuarter, 0);
  std::unique_ptr<TMusicNote> ownedA = Note(-3);
  std::unique_ptr<TMusicNote> ownedB = Note(-5);
  TMusicNote* a = ownedA.get();
  TMusicNote* b = ownedB.get();
  ASSERT_TRUE(Attach(restChord, std::move(ownedA)));
  ASSERT_TRUE(Attach(restChord, std::move(ownedB)));
  TMusicNote stranger(0, kDurQuarter, 0, kAccNone);
  EXPECT_EQ(restChord.DetachNote(&stranger), nullptr);
  ownedB = restChord.DetachNote(b);
  ASSERT_EQ(ownedB.get(), b);
  EXPECT_FALSE(b->IsRestChordPart());
  EXPECT_EQ(restChord.GetPart(), a);
  EXPECT_FALSE(a->IsChordMember());
  EXPECT_TRUE(a->IsRestChordPart());
  ownedA = restChord.DetachNote(a);
  ASSERT_EQ(ownedA.get(), a);
  EXPECT_FALSE(restChord.HasNotes());
}

TEST(RestChordTest, LengtheningTheRestLengthensThePart) {
  TRestChord restChord(kDurQuarter, 0);
  ASSERT_TRUE(Attach(restChord, Note(-3, kDurQuarter)));
  ASSERT_TRUE(Attach(restChord, Note(-5, kDurQuarter)));
  restChord.SetDuration(kDurHalf);
  EXPECT_EQ(restChord.GetPart()->GetDurationCode(), kDurHalf);
  for (int i = 0; i < restChord.GetMemberCount(); ++i)
    EXPECT_EQ(restChord.GetMember(i)->GetNotatedDuration(), 384);
  EXPECT_FALSE(restChord.HasTwoDurations());
  // A shorter rest leaves the part alone.
  restChord.SetDuration(kDurEighth);
  EXPECT_EQ(restChord.GetPart()->GetDurationCode(), kDurHalf);
  EXPECT_TRUE(restChord.HasTwoDurations());
}

TEST(RestChordTest, UpdateMovesArticulationsToThePart) {
  TRestChord restChord(kDurQuarter, kMaskStaccato | kMaskDotted | kMaskAccent);
  restChord.SetTickLength(4, 2);
  ASSERT_TRUE(Attach(restChord, Note(-3, kDurQuarter, kMaskDotted)));
  EXPECT_FALSE(restChord.HasTickLength());
  EXPECT_EQ(restChord.GetFlags() & kArticulationMask, 0);
  EXPECT_TRUE(restChord.IsDotted());
  EXPECT_TRUE(restChord.GetPart()->HasNoteFlag(kFlagStaccato));
  EXPECT_TRUE(restChord.GetPart()->HasNoteFlag(kFlagAccent));
}

TEST(RestChordTest, ApplyToContextTakesThePartsAccidentalsAndTheRestsDuration) {
  TRestChord restChord(kDurHalf, 0);
  ASSERT_TRUE(Attach(restChord, Note(3, kDurHalf, 0, kStemAuto, kAccSharp)));  // F sharp
  TStaffContextState state;
  restChord.ApplyToContext(state);
  EXPECT_EQ(state.GetSongPosition(), 384);
  EXPECT_EQ(state.GetRunningAccidental(5), kAccSharp);
}

TEST(RestChordTest, PerformPlaysThePart) {
  TRestChord empty(kDurQuarter, 0);
  TStaffContextState state;
  TMidiFileBuf buffer;
  empty.Perform(state, &buffer);
  EXPECT_EQ(buffer.GetEventCount(), 0);
  TRestChord restChord(kDurQuarter, 0);
  ASSERT_TRUE(Attach(restChord, Note(6)));
  restChord.Perform(state, &buffer);
  const std::vector<test::TNoteEvent> expected = {{0, true, 60, 110}, {160, false, 60, 0}};
  EXPECT_EQ(test::NoteEvents(buffer), expected);
}

TEST(RestChordTest, TieDirectionsFollowThePartStem) {
  TRestChord restChord(kDurQuarter, 0);
  restChord.SetStemDir(kStemUp);
  std::unique_ptr<TMusicNote> owned = Note(4, kDurQuarter, kMaskTieOut);
  TMusicNote* tied = owned.get();
  ASSERT_TRUE(Attach(restChord, std::move(owned)));
  EXPECT_EQ(tied->GetStemSetting(), kStemDown);
  EXPECT_TRUE(tied->IsTieDown());
}

TEST(RestChordTest, TransposeAndRespellWithoutAPartSucceed) {
  TRestChord restChord(kDurQuarter, 0);
  TStaffContextState state;
  EXPECT_TRUE(restChord.Transpose(state, 3, 2, false));
  restChord.Respell(state);
  EXPECT_FALSE(restChord.TakesLyricByDefault());
  ASSERT_TRUE(Attach(restChord, Note(6, kDurQuarter, 0, kStemAuto, kAccNatural)));
  EXPECT_TRUE(restChord.TakesLyricByDefault());
  EXPECT_TRUE(restChord.Transpose(state, 2, -1, false));
  EXPECT_EQ(restChord.GetPart()->GetPitch(state), 62);
}

}  // namespace
}  // namespace kvt
