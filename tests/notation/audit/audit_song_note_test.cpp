// The staff audit's step for notes, rests, chords and rest chords.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "notation/audit/audit_item.h"
#include "notation/items/key_data.h"
#include "notation/items/rest_chord.h"
#include "notation/context/staff_context_state.h"
#include "notation/items/time_signature_data.h"
#include "tests/notation/audit_staff_fixture.h"

namespace kvt {
namespace {

using test::TAuditStaff;

// Treble staff positions.
constexpr int kC5 = -1;
constexpr int kD5 = -2;
constexpr int kF5 = -4;
constexpr int kF4 = 3;
constexpr int kE4 = 4;

constexpr int kTied = kMaskTieOut;
// Letter bits of the key masks.
constexpr int kLetterC = 1 << 2;
constexpr int kLetterF = 1 << 5;

// --- ties ---

struct TTieCase {
  const char* name;
  // Builds the staff and returns the note whose TieIn is checked.
  std::function<TMusicNote*(TAuditStaff&)> build;
  bool tieIn;
};

const TTieCase kTieCases[] = {
    {"TiedNoteContinuesIntoTheSamePosition",
     [](TAuditStaff& s) {
       s.Note(kC5, kDurQuarter, kTied);
       return s.Note(kC5);
     },
     true},
    {"TieCrossesABarLine",
     [](TAuditStaff& s) {
       s.Note(kC5, kDurHalf, kTied);
       s.Bar();
       return s.Note(kC5);
     },
     true},
    {"AStaleTieInWithoutATieIsCleared",
     [](TAuditStaff& s) {
       s.Note(kC5);
       TMusicNote* n = s.Note(kC5);
       n->SetTieIn(true);
       return n;
     },
     false},
    {"AnotherPositionDoesNotContinue",
     [](TAuditStaff& s) {
       s.Note(kC5, kDurQuarter, kTied);
       return s.Note(kD5);
     },
     false},
    {"AnExplicitAccidentalMustMatchTheTiedNote",
     [](TAuditStaff& s) {
       s.Note(kC5, kDurQuarter, kTied, kAccSharp);
       return s.Note(kC5, kDurQuarter, 0, kAccNatural);
     },
     false},
    {"AMatchingExplicitAccidentalContinues",
     [](TAuditStaff& s) {
       s.Note(kC5, kDurQuarter, kTied, kAccSharp);
       return s.Note(kC5, kDurQuarter, 0, kAccSharp);
     },
     true},
    {"ARestBetweenEndsNothing",
     [](TAuditStaff& s) {
       s.Note(kC5, kDurQuarter, kTied);
       s.Rest();
       return s.Note(kC5);
     },
     true},
    {"ATieIsContinuedOnlyOnce",
     [](TAuditStaff& s) {
       s.Note(kC5, kDurQuarter, kTied);
       s.Note(kC5);
       return s.Note(kC5);
     },
     false},
};

TEST(AuditTiesTest, TieInFollowsThePendingTies) {
  for (const TTieCase& c : kTieCases) {
    SCOPED_TRACE(c.name);
    TAuditStaff built;
    TMusicNote* checked = c.build(built);
    built.AuditAll();
    EXPECT_EQ(checked->IsTieIn(), c.tieIn);
  }
}

TEST(AuditTiesTest, ChordMembersContinueTheirOwnTies) {
  TAuditStaff built;
  TChordData* from = built.Chord({kE4, kC5});
  from->GetMember(1)->SetNoteFlag(kFlagTieOut);  // only the C is tied
  from->Update();
  TChordData* to = built.Chord({kE4, kC5});
  built.AuditAll();
  EXPECT_FALSE(to->GetMember(0)->IsTieIn());
  EXPECT_TRUE(to->GetMember(1)->IsTieIn());
  EXPECT_TRUE(to->IsTieIn());
}

TEST(AuditTiesTest, TheContinuationCurvesAsTheTieItContinues) {
  // Without an explicit direction a tie curves away from the stem: an E4 has its stem up, an
  // F5 down.
  for (int pos : {kE4, kF5}) {
    TAuditStaff built;
    TMusicNote* from = built.Note(pos, kDurQuarter, kTied);
    TMusicNote* to = built.Note(pos);
    to->SetTieDown(!from->IsStemUp());  // the wrong way before the audit
    built.Note(pos, kDurQuarter, kTied);
    TMusicNote* explicitTo = built.Note(pos);
    explicitTo->SetTieDirection(from->IsStemUp() ? kCurveUp : kCurveDown);
    built.AuditAll();
    EXPECT_EQ(from->IsTieDown(), from->IsStemUp());
    EXPECT_EQ(to->IsTieDown(), from->IsTieDown());
    ASSERT_TRUE(explicitTo->IsTieIn());
    EXPECT_EQ(explicitTo->IsTieDown(), !from->IsStemUp()) << "explicit direction kept";
  }
}

// --- accidentals of tie continuations, through a bar and across bar lines ---

struct TTiedAccidentalCase {
  const char* name;
  int keySharps;     // key mask of sharps
  int tiedAccidental;
  bool barBetween;
  bool autoAccidental;  // the continuation shows an automatic accidental
  int sounding;         // accidental the continuation sounds with
};

const TTiedAccidentalCase kTiedAccidentalCases[] = {
    {"SharpTiedWithinTheBar", 0, kAccSharp, false, false, kAccSharp},
    {"SharpTiedAcrossABarLine", 0, kAccSharp, true, true, kAccSharp},
    {"FlatTiedAcrossABarLine", 0, kAccFlat, true, true, kAccFlat},
    {"KeySharpTiedAcrossABarLine", kLetterF | kLetterC, kAccNone, true, false, kAccSharp},
    {"NaturalAgainstTheKeyAcrossABarLine", kLetterF | kLetterC, kAccNatural, true, true,
     kAccNatural},
    {"PlainNoteAcrossABarLine", 0, kAccNone, true, false, kAccNatural},
};

TEST(AuditTiedAccidentalTest, ContinuationsSoundWithTheTiedNotesAccidental) {
  for (const TTiedAccidentalCase& c : kTiedAccidentalCases) {
    SCOPED_TRACE(c.name);
    TAuditStaff built;
    built.Add<TKeyData>(c.keySharps, 0);
    built.Note(kF5, kDurHalf, kTied, c.tiedAccidental);
    if (c.barBetween) built.Bar();
    TMusicNote* to = built.Note(kF5);
    TMusicNote* after = built.Note(kF5);
    built.AuditAll();

    ASSERT_TRUE(to->IsTieIn());
    EXPECT_EQ(to->IsAccidentalAuto(), c.autoAccidental);
    EXPECT_EQ(to->GetAccidental(), kAccNone) << "the continuation writes no accidental";
    if (c.autoAccidental) EXPECT_EQ(to->GetRawAccidental(), c.sounding);

    // The sounding accidental under the context a walk has at the note.
    TStaffContextState state;
    built.staff.GetPlayStateAt(built.IndexOf(to), state);
    EXPECT_EQ(to->GetSoundingAccidental(state), c.sounding);
    // A tie continuation's accidental does not carry on through the bar after a bar line: the
    // next F sounds as the key has it (in the bar of the tie, as the tied note set it).
    built.staff.GetPlayStateAt(built.IndexOf(after), state);
    const int expectedAfter = c.barBetween ? state.GetKeyAccidental(5) : c.sounding;
    EXPECT_EQ(after->GetSoundingAccidental(state), expectedAfter);
  }
}

TEST(AuditTiedAccidentalTest, AStaleAutomaticAccidentalGoesBackToAutomatic) {
  TAuditStaff built;
  built.Note(kC5);
  TMusicNote* note = built.Note(kF4);
  note->SetAutoAccidental(kAccSharp);
  built.AuditAll();
  EXPECT_FALSE(note->IsAccidentalAuto());
  EXPECT_EQ(note->GetRawAccidental(), kAccNone);
}

// --- stems of split voices ---

TEST(AuditStemTest, NotesUnderASoundingSplitVoiceOnItsSideMarkTheirStems) {
  TAuditStaff built;
  TChordData* split = built.Add<TChordData>();
  {
    auto low = std::make_unique<TMusicNote>(kE4, kDurHalf, 0, kAccNone);
    auto high = std::make_unique<TMusicNote>(kD5, kDurQuarter, 0, kAccNone);
    // The quarter first: the half then opens the lower voice.
    ASSERT_TRUE(split->AddNote(high));
    ASSERT_TRUE(split->AddNote(low));
  }
  ASSERT_TRUE(split->HasSplitStem());
  ASSERT_TRUE(split->HasTwoDurations());
  const int voiceDir = split->GetStemDir();
  auto stemmed = [&](int dir) {
    TMusicNote* n = built.Note(kC5, kDurQuarter);
    n->SetStemDirFromSign(dir);
    return n;
  };
  TMusicNote* sameSide = stemmed(voiceDir);
  TMusicNote* otherSide = stemmed(-voiceDir);
  built.Bar();
  TMusicNote* nextBar = stemmed(voiceDir);
  nextBar->SetAuditStem(true);  // stale
  built.AuditAll();

  EXPECT_TRUE(sameSide->GetAuditStem());
  EXPECT_FALSE(otherSide->GetAuditStem());
  EXPECT_FALSE(nextBar->GetAuditStem()) << "a bar line ends the voice";
}

// --- rests ---

struct TWholeRestCase {
  const char* name;
  int beats;
  int exponent;
  bool alone;   // nothing else takes time in the bar
  int flags;
  int duration;  // of the rest after the audit
  bool explicitLength;
};

const TWholeRestCase kWholeRestCases[] = {
    {"AloneIn4_4", 4, 2, true, 0, 768, true},
    {"AloneIn3_4LastsTheBar", 3, 2, true, 0, 576, true},
    {"AloneIn6_8LastsTheBar", 6, 3, true, 0, 576, true},
    {"AloneIn2_2", 2, 1, true, 0, 768, true},
    {"WithANoteInTheBarKeepsItsValue", 3, 2, false, 0, 768, false},
    {"ADottedWholeRestIsNoPlainWholeRest", 3, 2, true, kMaskDotted, 1152, false},
};

TEST(AuditRestTest, AWholeRestAloneInItsBarLastsTheBar) {
  for (const TWholeRestCase& c : kWholeRestCases) {
    SCOPED_TRACE(c.name);
    TAuditStaff built;
    built.Add<TTimeSignatureData>(c.beats, c.exponent);
    built.Note(0);
    built.Bar();
    TRestNote* rest = built.Rest(kDurWhole, c.flags);
    rest->SetTickLength(1, 6);  // stale
    if (!c.alone) built.Note(0, kDurEighth);
    built.Bar();
    built.AuditAll();
    EXPECT_EQ(rest->HasTickLength(), c.explicitLength);
    EXPECT_EQ(rest->GetDuration(), c.duration);
  }
}

TEST(AuditRestTest, RestsKeepOnlyTheFlagsARestShows) {
  const int all = 0xFFFF & ~kMaskGrace;  // a grace rest would take no time
  TAuditStaff built;
  TRestNote* rest = built.Rest(kDurQuarter, all);
  built.AuditAll();
  EXPECT_EQ(rest->GetFlags(), all & 0x3B17);
  EXPECT_FALSE(rest->HasNoteFlag(kFlagTenuto));
  EXPECT_FALSE(rest->HasNoteFlag(kFlagTieOut));
  EXPECT_TRUE(rest->HasNoteFlag(kFlagAccent));
  EXPECT_TRUE(rest->HasNoteFlag(kFlagSlur));
}

TEST(AuditRestTest, ARestChordsPartTakesNoColourOfItsOwn) {
  TAuditStaff built;
  TRestChord* restChord = built.Add<TRestChord>(kDurQuarter, 0);
  auto note = std::make_unique<TMusicNote>(kC5, kDurQuarter, 0, kAccNone);
  ASSERT_TRUE(restChord->AttachNote(note));
  restChord->GetPart()->SetColor(3);
  restChord->SetTickLength(2, 2);
  built.AuditAll();
  EXPECT_EQ(restChord->GetPart()->GetColor(), 0);
  EXPECT_FALSE(restChord->HasTickLength());
}

// --- colours ---

TEST(AuditColorTest, MemberColoursFollowTheItem) {
  TAuditStaff built;
  TChordData* chord = built.Chord({kE4, kC5});
  chord->SetColor(2);
  chord->GetMember(0)->SetColor(5);
  chord->GetMember(0)->SetNoteColor(2);
  chord->GetMember(1)->SetNoteColor(4);
  TMusicNote* note = built.Note(kC5);
  note->SetColor(3);
  note->SetNoteColor(3);
  TMusicNote* other = built.Note(kC5);
  other->SetColor(3);
  other->SetNoteColor(6);
  built.AuditAll();

  EXPECT_EQ(chord->GetMember(0)->GetColor(), 0);
  EXPECT_EQ(chord->GetMember(0)->GetNoteColor(), 0) << "the chord's own colour";
  EXPECT_EQ(chord->GetMember(1)->GetNoteColor(), 4);
  EXPECT_EQ(note->GetNoteColor(), 0);
  EXPECT_EQ(other->GetNoteColor(), 6);
  EXPECT_EQ(other->GetColor(), 3) << "a single note keeps its colour";
}

// --- the item's own step ---

TEST(AuditStepTest, SlursAreLinkedFromTheRunningState) {
  TAuditStaff built;
  built.Note(kC5, kDurQuarter, kMaskSlur);
  TMusicNote* inSlur = built.Note(kC5);
  TMusicNote* after = built.Note(kC5);
  after->SetSlurIn(true);  // stale
  built.AuditAll();
  EXPECT_TRUE(inSlur->IsSlurIn());
  EXPECT_FALSE(after->IsSlurIn());
}

}  // namespace
}  // namespace kvt
