#include "notation/items/music_note.h"

#include <gtest/gtest.h>

#include <ostream>

namespace kvt {
namespace {

TStaffContextState StateWithClef(int clef, int octaveShift = 0, int transposition = 0) {
  TStaffContextState state;
  state.SetClef(clef, octaveShift);
  state.SetTransposition(transposition);
  return state;
}

struct PitchCase {
  const char* name;
  int clef;
  int shift;
  int transposition;
  int staffPos;
  int accidental;
  int pitch;
};

std::ostream& operator<<(std::ostream& os, const PitchCase& c) { return os << c.name; }

class PitchTest : public ::testing::TestWithParam<PitchCase> {};

TEST_P(PitchTest, FromClefPositionAccidentalAndTransposition) {
  const PitchCase& c = GetParam();
  const TStaffContextState state = StateWithClef(c.clef, c.shift, c.transposition);
  TMusicNote note(c.staffPos, kDurQuarter, 0, c.accidental);
  EXPECT_EQ(note.GetPitch(state), c.pitch);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PitchTest,
    ::testing::Values(PitchCase{"treble middle line is B4", kClefTreble, 0, 0, 0, kAccNone, 71},
                      PitchCase{"treble middle C", kClefTreble, 0, 0, 6, kAccNone, 60},
                      PitchCase{"treble A5", kClefTreble, 0, 0, -6, kAccNone, 81},
                      PitchCase{"bass middle line D3", kClefBass, 0, 0, 0, kAccNone, 50},
                      PitchCase{"alto middle line C4", kClefAlto, 0, 0, 0, kAccNone, 60},
                      PitchCase{"tenor middle line A3", kClefTenor, 0, 0, 0, kAccNone, 57},
                      PitchCase{"drum staff reads as bass", kClefDrum, 0, 0, 0, kAccNone, 50},
                      PitchCase{"octave-up clef", kClefTreble, 1, 0, 0, kAccNone, 83},
                      PitchCase{"octave-down clef", kClefTreble, 2, 0, 0, kAccNone, 59},
                      PitchCase{"sharp", kClefTreble, 0, 0, 0, kAccSharp, 72},
                      PitchCase{"flat", kClefTreble, 0, 0, 0, kAccFlat, 70},
                      PitchCase{"double sharp", kClefTreble, 0, 0, 0, kAccDoubleSharp, 73},
                      PitchCase{"double flat", kClefTreble, 0, 0, 0, kAccDoubleFlat, 69},
                      PitchCase{"natural", kClefTreble, 0, 0, 0, kAccNatural, 71},
                      PitchCase{"transposed down a tone", kClefTreble, 0, -2, 0, kAccNone, 69},
                      PitchCase{"below 0 folds into the bottom octave", kClefTreble, 0, 0, 127,
                                kAccNone, 9},
                      PitchCase{"above 127 folds into the top octave", kClefTreble, 0, 0, -128,
                                kAccNone, 122},
                      PitchCase{"transposition past the top folds too", kClefTreble, 0, 127,
                                -10, kAccNone, 119}));

TEST(MusicNoteTest, WrapPitch) {
  const int cases[][2] = {{0, 0}, {127, 127}, {-1, 11}, {-12, 12}, {-13, 11},
                          {128, 116}, {139, 115}, {500, 116}};
  for (const auto& c : cases) {
    EXPECT_EQ(TMusicNote::WrapPitch(c[0]), c[1]) << c[0];
  }
}

TEST(MusicNoteTest, RunningAccidentalsSoundOnUnmarkedNotes) {
  TStaffContextState state = StateWithClef(kClefTreble);
  TMusicNote b(0, kDurQuarter, 0, kAccNone);
  state.SetRunningAccidental(1, kAccFlat);  // B
  EXPECT_EQ(b.GetSoundingAccidental(state), kAccFlat);
  EXPECT_EQ(b.GetPitch(state), 70);
  state.SetRunningAccidental(1, kAccDoubleSharp);
  EXPECT_EQ(b.GetPitch(state), 73);
  // The note's own accidental wins over the bar's.
  b.SetAccidental(kAccNatural);
  EXPECT_EQ(b.GetPitch(state), 71);
  // The key fills the running accidentals.
  TStaffContextState fMajor = StateWithClef(kClefTreble);
  fMajor.SetKey(1 << 1, 0, 5);
  EXPECT_EQ(TMusicNote(0, kDurQuarter, 0, kAccNone).GetPitch(fMajor), 70);
}

struct SpellCase {
  int clef;
  int key;
  int pitch;
  int position;
  int accidental;
};

TEST(MusicNoteTest, SpellPitchOnStaff) {
  const SpellCase cases[] = {
      {kClefTreble, 0, 60, 6, kAccNatural},    {kClefTreble, -2, 70, 0, kAccFlat},
      {kClefTreble, 2, 70, 1, kAccSharp},      {kClefTreble, 0, 70, 1, kAccSharp},
      {kClefTreble, -6, 71, -1, kAccFlat},     {kClefTreble, -5, 71, 0, kAccNatural},
      {kClefTreble, 7, 60, 7, kAccSharp},      {kClefTreble, 6, 65, 4, kAccSharp},
      {kClefTreble, -7, 64, 3, kAccFlat},      {kClefBass, -1, 68, -11, kAccFlat},
      {kClefBass, 1, 68, -10, kAccSharp},
  };
  for (const auto& c : cases) {
    int position = 99;
    int accidental = 99;
    TMusicNote::SpellPitchOnStaff(c.clef, c.key, c.pitch, position, accidental);
    EXPECT_EQ(position, c.position) << "pitch " << c.pitch << " key " << c.key;
    EXPECT_EQ(accidental, c.accidental) << "pitch " << c.pitch << " key " << c.key;
    // Spelling and pitch arithmetic agree.
    TMusicNote note(position, kDurQuarter, 0, accidental);
    EXPECT_EQ(note.GetPitch(StateWithClef(c.clef)), c.pitch);
  }
}

TEST(MusicNoteTest, SpellingAbove127FoldsByOctavesKeepingThePitchClass) {
  for (int pitch : {128, 131, 139, 200, 1000}) {
    int position = 0;
    int accidental = 0;
    TMusicNote::SpellPitchOnStaff(kClefTreble, 0, pitch, position, accidental);
    TMusicNote note(position, kDurQuarter, 0, accidental);
    int spelled = note.GetPitch(StateWithClef(kClefTreble));
    EXPECT_GE(spelled, 115) << pitch;
    EXPECT_LE(spelled, 127) << pitch;
    EXPECT_EQ(spelled % 12, pitch % 12) << pitch;
  }
}

TEST(MusicNoteTest, RespellUsesKeyClefShiftAndTransposition) {
  TStaffContextState state = StateWithClef(kClefTreble);
  state.SetKey(1 << 1, 0, 5);  // one flat
  TMusicNote aSharp(1, kDurQuarter, 0, kAccSharp);
  aSharp.Respell(state);
  EXPECT_EQ(aSharp.GetStaffPos(), 0);
  EXPECT_EQ(aSharp.GetRawAccidental(), kAccFlat);

  // Under an octave-up clef the written note stands an octave lower than it sounds.
  TStaffContextState up = StateWithClef(kClefTreble, 1, 0);
  TMusicNote c(6, kDurQuarter, 0, kAccSharp);
  const int pitch = c.GetPitch(up);
  c.Respell(up);
  EXPECT_EQ(c.GetPitch(up), pitch);
  EXPECT_EQ(c.GetStaffPos(), 6);
  TStaffContextState down = StateWithClef(kClefBass, 2, 0);
  TMusicNote e(-3, kDurQuarter, 0, kAccNatural);
  const int low = e.GetPitch(down);
  e.Respell(down);
  EXPECT_EQ(e.GetPitch(down), low);
  EXPECT_EQ(e.GetStaffPos(), -3);

  // A transposing instrument respells from the written pitch.
  TStaffContextState horn = StateWithClef(kClefTreble, 0, -7);
  TMusicNote g(2, kDurQuarter, 0, kAccNatural);
  const int sounding = g.GetPitch(horn);
  g.Respell(horn);
  EXPECT_EQ(g.GetPitch(horn), sounding);
  EXPECT_EQ(g.GetStaffPos(), 2);
}

TEST(MusicNoteTest, RespellKeepsAnAutomaticAccidentalMark) {
  TStaffContextState state = StateWithClef(kClefTreble);
  TMusicNote note(1, kDurQuarter, 0, kAccNone);
  note.SetAutoAccidental(kAccSharp);
  note.Respell(state);
  EXPECT_TRUE(note.IsAccidentalAuto());
  EXPECT_EQ(note.GetPitch(state), 70);
}

TEST(MusicNoteTest, TransposeFindsAnAccidentalOrRespells) {
  const TStaffContextState state = StateWithClef(kClefTreble);
  TMusicNote c(6, kDurQuarter, 0, kAccNatural);
  EXPECT_TRUE(c.Transpose(state, 1, -1, true));
  EXPECT_EQ(c.GetStaffPos(), 6);  // test only: nothing moved
  EXPECT_EQ(c.GetRawAccidental(), kAccNatural);

  EXPECT_TRUE(c.Transpose(state, 1, -1, false));
  EXPECT_EQ(c.GetStaffPos(), 5);
  EXPECT_EQ(c.GetRawAccidental(), kAccFlat);  // D flat
  EXPECT_EQ(c.GetPitch(state), 61);

  TMusicNote d(6, kDurQuarter, 0, kAccNatural);
  EXPECT_FALSE(d.Transpose(state, 6, -1, true));
  EXPECT_FALSE(d.Transpose(state, 6, -1, false));
  EXPECT_EQ(d.GetPitch(state), 66);
  EXPECT_EQ(d.GetStaffPos(), 3);
  EXPECT_EQ(d.GetRawAccidental(), kAccSharp);
}

struct ShiftCase {
  int staffPos;
  int accidental;
  int direction;
  bool ok;
  int newPos;
  int newAccidental;
};

TEST(MusicNoteTest, ShiftSpellingKeepsThePitch) {
  const TStaffContextState state = StateWithClef(kClefTreble);
  const ShiftCase cases[] = {
      {6, kAccNatural, 1, true, 5, kAccDoubleFlat},     // C to D double flat
      {0, kAccNatural, 1, true, -1, kAccFlat},          // B to C flat
      {4, kAccSharp, 1, true, 3, kAccNatural},          // E sharp to F
      {6, kAccSharp, -1, true, 7, kAccDoubleSharp},     // C sharp to B double sharp
      {5, kAccNatural, -1, true, 6, kAccDoubleSharp},   // D to C double sharp
      {3, kAccFlat, -1, true, 4, kAccNatural},          // F flat to E
      {5, kAccDoubleFlat, 1, false, 5, kAccDoubleFlat},
      {5, kAccDoubleSharp, -1, false, 5, kAccDoubleSharp},
      {5, kAccNone, 1, false, 5, kAccNone},
  };
  for (const auto& c : cases) {
    TMusicNote note(c.staffPos, kDurQuarter, 0, c.accidental);
    const int pitch = note.GetPitch(state);
    EXPECT_EQ(note.ShiftSpelling(state, c.direction), c.ok) << c.staffPos << "/" << c.accidental;
    EXPECT_EQ(note.GetStaffPos(), c.newPos);
    EXPECT_EQ(note.GetRawAccidental(), c.newAccidental);
    if (c.ok) {
      EXPECT_EQ(note.GetPitch(state), pitch);
    }
  }
}

TEST(MusicNoteTest, AccidentalCodesAndTheAutomaticMark) {
  TMusicNote note(0, kDurQuarter, 0, 7);
  EXPECT_EQ(note.GetRawAccidental(), kAccNone);  // outside 0-5: automatic
  note.SetAutoAccidental(kAccSharp);
  EXPECT_EQ(note.GetAccidental(), kAccNone);
  EXPECT_EQ(note.GetRawAccidental(), kAccSharp);
  EXPECT_EQ(note.GetPitch(StateWithClef(kClefTreble)), 72);  // the stored code sounds
  note.SetRawAccidental(kAccFlat);
  EXPECT_TRUE(note.IsAccidentalAuto());
  note.SetAccidental(kAccFlat);
  EXPECT_FALSE(note.IsAccidentalAuto());
  EXPECT_EQ(note.GetAccidental(), kAccFlat);
  note.SetAutoAccidental(kAccSharp);
  note.ClearAutoAccidental();
  EXPECT_EQ(note.GetAccidental(), kAccNone);
  EXPECT_EQ(note.GetRawAccidental(), kAccNone);
}

TEST(MusicNoteTest, GlyphIndexesStayInsideTheGlyphTable) {
  const int accidentalGlyphs[] = {9, 8, 10, 42, 43};
  for (int code = 0; code < 5; ++code)
    EXPECT_EQ(TMusicNote::GetAccidentalSymbol(code), accidentalGlyphs[code]);
  // The automatic accidental (and any code from damaged data) draws no glyph.
  for (int code : {5, 6, 7, -1, 255}) {
    EXPECT_EQ(TMusicNote::GetAccidentalSymbol(code), -1);
  }

  struct HeadCase {
    int shape;
    int duration;
    int glyph;
  };
  const HeadCase heads[] = {
      {0, kDurWhole, 5}, {0, kDurHalf, 6},  {0, kDurEighth, 7}, {1, kDurWhole, 54},
      {2, kDur16th, 55}, {3, kDurHalf, 1},  {4, kDurHalf, 55},  {4, kDurQuarter, 54},
      {5, kDurWhole, 55}, {5, kDurQuarter, 56}, {13, kDurHalf, 71}, {13, kDur64th, 72},
      {14, kDurQuarter, 7}, {15, kDurWhole, 5},
  };
  for (const auto& h : heads) {
    TMusicNote note(0, h.duration, 0, kAccNone);
    note.SetNoteHead(h.shape);
    EXPECT_EQ(note.GetNoteHeadSymbol(), h.glyph) << "shape " << h.shape;
  }
}

TEST(MusicNoteTest, StemLengthCodes) {
  TMusicNote note(0, kDurQuarter, 0, kAccNone);
  EXPECT_FALSE(note.HasStemLength());
  EXPECT_TRUE(note.IsStemShown());
  note.SetStemLength(0);
  EXPECT_EQ(note.GetStemLength(), 0);
  EXPECT_TRUE(note.HasStemLength());
  EXPECT_FALSE(note.IsStemShown());
  EXPECT_FALSE(note.HasVisibleStem());
  note.SetStemLength(9);
  EXPECT_EQ(note.GetStemLength(), 9);
  note.SetStemLength(40);
  EXPECT_EQ(note.GetStemLength(), 30);  // saturates below the no-stem code
  EXPECT_TRUE(note.IsStemShown());
  note.ClearStemLength();
  EXPECT_FALSE(note.HasStemLength());
  EXPECT_FALSE(TMusicNote(0, kDurWhole, 0, kAccNone).HasVisibleStem());
}

TEST(MusicNoteTest, StaffPositionAndHeadShiftSaturate) {
  TMusicNote note(200, kDurQuarter, 0, kAccNone);
  EXPECT_EQ(note.GetStaffPos(), 127);
  note.MoveStaffPos(-300);
  EXPECT_EQ(note.GetStaffPos(), -128);
  note.SetHeadShift(12);
  EXPECT_EQ(note.GetHeadShift(), 7);
}

TEST(MusicNoteTest, AssignCopiesOptionsNotPitch) {
  TMusicNote src(-3, kDurEighth, kMaskAccent, kAccSharp);
  src.SetMuted(true);
  src.SetNoLegerLines(true);
  src.SetArticulationsOnStem(true);
  src.SetNoteHead(4);
  src.SetStemLength(12);
  src.SetTieDown(false);
  src.SetHeadShift(2);
  TMusicNote dst(5, kDurHalf, 0, kAccFlat);
  dst.Assign(src);
  EXPECT_EQ(dst.GetStaffPos(), 5);
  EXPECT_EQ(dst.GetRawAccidental(), kAccFlat);
  EXPECT_EQ(dst.GetHeadShift(), 0);
  EXPECT_EQ(dst.GetDurationCode(), kDurEighth);
  EXPECT_EQ(dst.GetFlags(), kMaskAccent);
  EXPECT_TRUE(dst.IsMuted());
  EXPECT_TRUE(dst.GetNoLegerLines());
  EXPECT_TRUE(dst.GetArticulationsOnStem());
  EXPECT_EQ(dst.GetHeadShape(), 4);
  EXPECT_EQ(dst.GetStemLength(), 12);
  EXPECT_FALSE(dst.IsTieDown());
}

TEST(MusicNoteTest, TieDirection) {
  TMusicNote note(0, kDurQuarter, 0, kAccNone);
  EXPECT_TRUE(note.IsTieDown());  // a new note
  EXPECT_EQ(note.GetTieDirection(), kCurveDefault);
  note.SetTieDirection(kCurveUp);
  EXPECT_EQ(note.GetTieDirection(), kCurveUp);
  EXPECT_FALSE(note.IsTieDown());
  note.SetTieDirection(kCurveDefault);
  EXPECT_FALSE(note.HasNoteFlag(kFlagTieDirection));
}

TEST(MusicNoteTest, FlagsAndOwnStem) {
  const int flagCounts[kDurationCodeCount] = {0, 0, 0, 1, 2, 3, 4};
  for (int code = 0; code < kDurationCodeCount; ++code) {
    TMusicNote note(0, code, 0, kAccNone);
    EXPECT_EQ(note.GetFlagCount(), flagCounts[code]);
    EXPECT_EQ(note.HasOwnStem(), code > kDurWhole);
  }
  TMusicNote beamed(0, kDurEighth, 0, kAccNone);
  beamed.SetBeamState(kGroupFirst);
  EXPECT_FALSE(beamed.HasOwnStem());
}

TEST(MusicNoteTest, ApplyToContextRecordsAccidentalThenSteps) {
  TStaffContextState state = StateWithClef(kClefTreble);
  TMusicNote fSharp(3, kDurQuarter, kMaskSlur, kAccSharp);  // F4
  fSharp.ApplyToContext(state);
  EXPECT_EQ(state.GetRunningAccidental(5), kAccSharp);
  EXPECT_EQ(state.GetSongPosition(), 192);
  EXPECT_TRUE(state.HasSlurState());
  EXPECT_FALSE(state.IsSlurBit5());

  // An accidental filled in automatically is not recorded.
  TMusicNote autoFlat(0, kDurQuarter, 0, kAccNone);
  autoFlat.SetAutoAccidental(kAccFlat);
  autoFlat.ApplyToContext(state);
  EXPECT_EQ(state.GetRunningAccidental(1), kAccNatural);

  // A chord member records its accidental and nothing more.
  TMusicNote member(0, kDurQuarter, 0, kAccFlat);
  member.SetChordMember(true);
  member.ApplyToContext(state);
  EXPECT_EQ(state.GetRunningAccidental(1), kAccFlat);
  EXPECT_EQ(state.GetSongPosition(), 384);
}

TEST(MusicNoteTest, GraceNotesCountUnlessMutedAndSaturate) {
  TStaffContextState state;
  TMusicNote grace(0, kDurEighth, kMaskGrace, kAccNone);
  TMusicNote mutedGrace(0, kDurEighth, kMaskGrace, kAccNone);
  mutedGrace.SetMuted(true);
  grace.ApplyToContext(state);
  mutedGrace.ApplyToContext(state);
  EXPECT_EQ(state.GetGraceCount(), 1);
  EXPECT_EQ(state.GetSongPosition(), 0);
  // A long run of grace notes stays at the largest count instead of starting over.
  for (int i = 0; i < 20; ++i) grace.ApplyToContext(state);
  EXPECT_EQ(state.GetGraceCount(), 15);
  TMusicNote quarter(0, kDurQuarter, 0, kAccNone);
  quarter.SetSlurIn(true);
  state.SetSlurState(1);
  quarter.ApplyToContext(state);
  EXPECT_EQ(state.GetGraceCount(), 0);
  EXPECT_FALSE(state.HasSlurState());
}

TEST(MusicNoteTest, AuditStepSetsSlurInAndAutomaticDirections) {
  TStaffContextState state;
  TMusicNote tied(-3, kDurQuarter, kMaskTieOut | kMaskSlur, kAccNone);  // stem down
  tied.AuditStep(state);
  EXPECT_FALSE(tied.IsSlurIn());
  EXPECT_FALSE(tied.IsTieDown());  // curves away from the down stem
  EXPECT_FALSE(tied.IsSlurDown());

  state.SetSlurState(1);
  TMusicNote inside(3, kDurQuarter, kMaskTieOut, kAccNone);
  inside.AuditStep(state);
  EXPECT_TRUE(inside.IsSlurIn());
  EXPECT_TRUE(inside.IsSlurDown());  // the running slur's direction
  EXPECT_TRUE(inside.IsTieDown());

  TMusicNote explicitTie(3, kDurQuarter, kMaskTieOut, kAccNone);
  explicitTie.SetTieDirection(kCurveUp);
  explicitTie.AuditStep(state);
  EXPECT_FALSE(explicitTie.IsTieDown());
}

}  // namespace
}  // namespace kvt
