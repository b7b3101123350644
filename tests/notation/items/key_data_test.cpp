#include "notation/items/key_data.h"

#include <gtest/gtest.h>

#include "midi/events/midi_file_buf.h"
#include "notation/context/staff_context_state.h"
#include "tests/notation/item_walk_fixture.h"

namespace kvt {
namespace {

// Letter masks (A 0 ... G 6).
constexpr int A = 1 << 0, B = 1 << 1, C = 1 << 2, D = 1 << 3, E = 1 << 4, F = 1 << 5, G = 1 << 6;
constexpr int kLetterC = 2, kLetterD = 3, kLetterE = 4, kLetterF = 5, kLetterG = 6, kLetterA = 0,
              kLetterB = 1;

TEST(KeyDataTest, KeyCountsFromMasks) {
  struct Case {
    int sharps, flats, count;
  };
  const Case cases[] = {
      {0, 0, 0},     {F, 0, 1},       {F | C, 0, 2},  {F | C | G | D | A | E | B, 0, 7},
      {0, B, -1},    {0, B | E | A, -3}, {C, 0, 0},   // C alone is no leading sharp
      {F | G, 0, 1}, {F, B | E, -2},  {F | C, B, 2},
  };
  for (const Case& c : cases)
    EXPECT_EQ(TKeyData::KeyCount(c.sharps, c.flats), c.count)
        << "sharps " << c.sharps << " flats " << c.flats;
}

TEST(KeyDataTest, MajorTonicOfKeyCounts) {
  EXPECT_EQ(TKeyData::MajorTonic(0), kLetterC);
  EXPECT_EQ(TKeyData::MajorTonic(1), kLetterG);
  EXPECT_EQ(TKeyData::MajorTonic(-1), kLetterF);
  EXPECT_EQ(TKeyData::MajorTonic(2), kLetterD);
  EXPECT_EQ(TKeyData::MajorTonic(-3), kLetterE);  // E flat
  EXPECT_EQ(TKeyData::MajorTonic(7), kLetterC);   // C sharp
}

TEST(KeyDataTest, LettersAreNeverInBothMasks) {
  TKeyData key;
  key.SetSharp(kLetterF);
  key.SetFlat(kLetterB);
  EXPECT_EQ(key.GetLetterAccidental(kLetterF), 0);
  EXPECT_EQ(key.GetLetterAccidental(kLetterB), 1);
  key.SetFlat(kLetterF);
  EXPECT_EQ(key.GetSharpsMask(), 0);
  EXPECT_EQ(key.GetFlatsMask(), F | B);
  key.SetNatural(kLetterB);
  EXPECT_EQ(key.GetFlatsMask(), F);
  EXPECT_EQ(key.GetLetterAccidental(kLetterB), 2);
  // Letters outside A..G change and report nothing.
  key.SetSharp(7);
  key.SetFlat(-1);
  EXPECT_EQ(key.GetSharpsMask(), 0);
  EXPECT_EQ(key.GetFlatsMask(), F);
  EXPECT_EQ(key.GetLetterAccidental(40), 2);
}

TEST(KeyDataTest, CancelledAccidentalsAndFlags) {
  TKeyData key(0, B | E | A, kLetterC);
  key.SetPrevMasks(F | C, B);
  EXPECT_EQ(key.GetCancelledSharps(), F | C);
  EXPECT_EQ(key.GetCancelledFlats(), 0);
  EXPECT_TRUE(key.IsAutoSys());
  key.SetHideCancels(true);
  key.SetAutoSys(false);
  EXPECT_TRUE(key.IsHideCancels());
  EXPECT_FALSE(key.IsAutoSys());
  key.SetTonic(-1);
  EXPECT_EQ(key.GetTonic(), kLetterG);
  key.SetTonic(9);
  EXPECT_EQ(key.GetTonic(), kLetterC);
}

TEST(KeyDataTest, ApplySetsKeyRunningAccidentalsAndTonic) {
  TStaffContextState state;
  state.SetRunningAccidental(kLetterC, kAccDoubleSharp);
  TKeyData key(F | C, 0, kLetterD);
  key.ApplyToContext(state);
  EXPECT_EQ(state.GetKeySharpsMask(), F | C);
  EXPECT_EQ(state.GetKeyFlatsMask(), 0);
  EXPECT_EQ(state.GetRunningSharpsMask(), F | C);
  EXPECT_EQ(state.GetRunningDoubleSharpsMask(), 0);
  EXPECT_EQ(state.GetKeyTonic(), kLetterD);
  EXPECT_EQ(state.GetKeySigCount(), 2);
}

TEST(KeyDataTest, PerformEmitsKeySignatureUnlessUnchanged) {
  struct Case {
    int position;
    bool sameKeyInState;
    int tonic;
    bool emits;
  };
  // The key is A major / F sharp minor: three sharps.
  const Case cases[] = {
      {0, true, kLetterA, true},    // at time 0 always
      {768, true, kLetterA, false}, // same count and tonic later: nothing
      {768, false, kLetterA, true},
      {768, true, kLetterF, true},  // same count, other tonic
  };
  for (const Case& c : cases) {
    TStaffContextState state;
    TKeyData key(F | C | G, 0, c.tonic);
    if (c.sameKeyInState) state.SetKey(0, F | C | G, kLetterA);
    state.SetSongPosition(c.position);
    TMidiFileBuf buffer(4);
    key.Perform(state, &buffer);
    const auto events = test::Events(buffer);
    ASSERT_EQ(events.size(), c.emits ? 1u : 0u) << "position " << c.position;
    if (!c.emits) continue;
    EXPECT_EQ(events[0].time, static_cast<uint32_t>(c.position));
    EXPECT_EQ(events[0].msg.GetKind(), kMidiKindKeySig);
    EXPECT_EQ(events[0].msg.GetKeySigCount(), 3);
    EXPECT_EQ(events[0].msg.IsKeySigMinor(), c.tonic == kLetterF);
  }
  TStaffContextState state;
  TKeyData(F, 0, kLetterG).Perform(state, nullptr);  // no buffer: nothing, no crash
}

TEST(KeyDataTest, MinorFlagForFlatKeys) {
  // Three flats: E flat major, C minor.
  EXPECT_FALSE(TKeyData(0, B | E | A, kLetterE).IsMinor());
  EXPECT_TRUE(TKeyData(0, B | E | A, kLetterC).IsMinor());
}

TEST(KeyDataTest, TransposeTable) {
  struct Case {
    int sharps, flats, tonic;
    int semitones, prefer;
    int count, steps, newTonic;
  };
  const Case cases[] = {
      // D major up a semitone: E flat major, one letter up (staff steps -1).
      {F | C, 0, kLetterD, 1, 0, -3, -1, kLetterE},
      // C major up a semitone: D flat, or C sharp when sharps are preferred.
      {0, 0, kLetterC, 1, 0, -5, -1, kLetterD},
      {0, 0, kLetterC, 1, 1, 7, 0, kLetterC},
      // C major down a semitone: B major, or C flat with flats preferred.
      {0, 0, kLetterC, -1, 0, 5, 1, kLetterB},
      {0, 0, kLetterC, -1, -1, -7, 0, kLetterC},
      // G major up a fifth and an octave: D major, 4 + 7 letters up.
      {F, 0, kLetterG, 19, 0, 2, -11, kLetterD},
      // E flat major down an octave: same key, 7 letters down.
      {0, B | E | A, kLetterE, -12, 0, -3, 7, kLetterE},
      // A minor (C major) up a whole tone: B minor (D major).
      {0, 0, kLetterA, 2, 0, 2, -1, kLetterB},
      // G flat major up a semitone: G major.
      {0, B | E | A | D | G | C, kLetterG, 1, 0, 1, 0, kLetterG},
  };
  for (const Case& c : cases) {
    TKeyData key(c.sharps, c.flats, c.tonic);
    int steps = 99;
    key.Transpose(c.semitones, steps, c.prefer, /*testOnly=*/true);
    EXPECT_EQ(steps, c.steps) << "semitones " << c.semitones << " prefer " << c.prefer;
    EXPECT_EQ(key.GetSharpsMask(), c.sharps);  // testOnly leaves the key alone
    key.Transpose(c.semitones, steps, c.prefer, /*testOnly=*/false);
    EXPECT_EQ(steps, c.steps);
    EXPECT_EQ(key.GetKeyCount(), c.count) << "semitones " << c.semitones << " prefer " << c.prefer;
    EXPECT_EQ(key.GetTonic(), c.newTonic) << "semitones " << c.semitones << " prefer " << c.prefer;
    int sharps = 0, flats = 0;
    TKeyData::MasksOfCount(c.count, sharps, flats);
    EXPECT_EQ(key.GetSharpsMask(), sharps);
    EXPECT_EQ(key.GetFlatsMask(), flats);
  }
}

TEST(KeyDataTest, TransposeByExtremeIntervalsStaysDefined) {
  for (int semitones : {INT32_MAX, INT32_MIN, 1200001, -1200001}) {
    TKeyData key(F, 0, kLetterG);
    int steps = 0;
    key.Transpose(semitones, steps, 0, false);
    EXPECT_GE(key.GetTonic(), 0);
    EXPECT_LE(key.GetTonic(), 6);
    EXPECT_GE(key.GetKeyCount(), -7);
    EXPECT_LE(key.GetKeyCount(), 7);
  }
}

}  // namespace
}  // namespace kvt
