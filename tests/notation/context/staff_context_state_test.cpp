#include "notation/context/staff_context_state.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <vector>

namespace kvt {
namespace {

TEST(StaffContextStateTest, IsThirtyOneBytes) { EXPECT_EQ(sizeof(TStaffContextState), 31u); }

TEST(StaffContextStateTest, ResetValues) {
  const TStaffContextState s;
  EXPECT_EQ(s.GetSongPosition(), 0);
  EXPECT_EQ(s.GetTimeSigBeats(), 4);
  EXPECT_EQ(s.GetBeatValue(), 4);
  EXPECT_EQ(s.GetBarLength(), 768);
  EXPECT_EQ(s.GetNoteVelocity(), 110);
  EXPECT_EQ(s.GetKeyTonic(), 2);
  EXPECT_EQ(s.GetPerfStyle(), kPerfStyleNone);
  EXPECT_EQ(s.GetLocalRepeatPass(), 1);
  EXPECT_EQ(s.GetMasterRepeatPass(), 1);
  EXPECT_EQ(s.GetMasterRepeatCount(), 2);
  EXPECT_EQ(s.GetClef(), kClefTreble);
  EXPECT_TRUE(s.RepeatsActive());
  EXPECT_FALSE(s.IsWalkModeSet());
  EXPECT_EQ(s.GetKeySigCount(), 0);
}

TEST(StaffContextStateTest, ResetKeepsPortChannelAndDynamicChanged) {
  TStaffContextState s;
  s.SetPort(13);
  s.SetChannel(9);
  s.MarkDynamicChanged();
  s.SetTimeSig(3, 3);
  s.AdvanceSongPosition(500);
  s.Reset();
  EXPECT_EQ(s.GetPort(), 13);
  EXPECT_EQ(s.GetChannel(), 9);
  EXPECT_TRUE(s.IsDynamicChanged());
  EXPECT_EQ(s.GetTimeSigBeats(), 4);
  EXPECT_EQ(s.GetSongPosition(), 0);
}

// Each packed field with a getter, a setter and two values far apart: writing one field must
// leave every other field as it was.
struct Field {
  const char* name;
  std::function<int(const TStaffContextState&)> get;
  std::function<void(TStaffContextState&, int)> set;
  int low;
  int high;
};

std::vector<Field> Fields() {
  using S = TStaffContextState;
  return {
      {"song position", [](const S& s) { return s.GetSongPosition(); },
       [](S& s, int v) { s.SetSongPosition(v); }, std::numeric_limits<int32_t>::min(),
       std::numeric_limits<int32_t>::max()},
      {"channel", [](const S& s) { return s.GetChannel(); }, [](S& s, int v) { s.SetChannel(v); },
       0, 15},
      {"port", [](const S& s) { return s.GetPort(); }, [](S& s, int v) { s.SetPort(v); }, 0, 15},
      {"transposition", [](const S& s) { return s.GetTransposition(); },
       [](S& s, int v) { s.SetTransposition(v); }, -128, 127},
      {"velocity", [](const S& s) { return s.GetNoteVelocity(); },
       [](S& s, int v) { s.SetNoteVelocity(v); }, 0, 127},
      {"beats", [](const S& s) { return s.GetTimeSigBeats(); },
       [](S& s, int v) { s.SetTimeSig(v, s.GetTimeSigBeatExponent()); }, 1, 128},
      {"exponent", [](const S& s) { return s.GetTimeSigBeatExponent(); },
       [](S& s, int v) { s.SetTimeSig(s.GetTimeSigBeats(), v); }, 0, 7},
      {"dynamic changed", [](const S& s) { return int(s.IsDynamicChanged()); },
       [](S& s, int v) { s.SetDynamicChanged(v != 0); }, 0, 1},
      {"perf style", [](const S& s) { return s.GetPerfStyle(); },
       [](S& s, int v) { s.SetPerfStyle(v); }, -32, 31},
      {"walk mode", [](const S& s) { return s.GetWalkMode(); },
       [](S& s, int v) { v == 1 ? s.SetAuditWalkMode() : s.SetLinearWalkMode(); }, 1, 2},
      {"slur state", [](const S& s) { return int(s.HasSlurState()) + 2 * int(s.IsSlurBit5()); },
       [](S& s, int v) { v ? s.SetSlurState(1) : s.ClearSlurState(); }, 0, 3},
      {"grace count", [](const S& s) { return s.GetGraceCount(); },
       [](S& s, int v) {
         s.ClearGraceCount();
         for (int i = 0; i < v; ++i) s.IncGraceCount();
       },
       0, 15},
      {"clef", [](const S& s) { return s.GetClef(); },
       [](S& s, int v) { s.SetClef(v, s.GetClefOctaveShift()); }, 0, 15},
      {"octave shift", [](const S& s) { return s.GetClefOctaveShift(); },
       [](S& s, int v) { s.SetClef(s.GetClef(), v); }, 0, 3},
      {"ramp target", [](const S& s) { return s.GetVelocityRampTarget(); },
       [](S& s, int v) { s.StartVelocityRamp(-1, v, s.GetVelocityRampTicks()); }, 0, 127},
      {"ramp ticks", [](const S& s) { return s.GetVelocityRampTicks(); },
       [](S& s, int v) { s.StartVelocityRamp(-1, s.GetVelocityRampTarget(), v); }, 0, 65534},
      {"local pass", [](const S& s) { return s.GetLocalRepeatPass(); },
       [](S& s, int v) { s.SetLocalRepeatPass(v); }, -32768, 32767},
      {"master pass", [](const S& s) { return s.GetMasterRepeatPass(); },
       [](S& s, int v) { s.SetMasterRepeatPass(v); }, -128, 127},
      {"master count", [](const S& s) { return s.GetMasterRepeatCount(); },
       [](S& s, int v) { s.SetMasterRepeatCount(v); }, 0, 255},
      {"first ending", [](const S& s) { return int(s.IsFirstEndingSeen()); },
       [](S& s, int v) { s.SetFirstEndingSeen(v != 0); }, 0, 1},
      {"tonic", [](const S& s) { return s.GetKeyTonic(); },
       [](S& s, int v) { s.SetKey(s.GetKeyFlatsMask(), s.GetKeySharpsMask(), v); }, -8, 7},
      {"key flats", [](const S& s) { return s.GetKeyFlatsMask(); },
       [](S& s, int v) { s.SetKey(v, s.GetKeySharpsMask(), s.GetKeyTonic()); }, 0, 0x7F},
      {"key sharps", [](const S& s) { return s.GetKeySharpsMask(); },
       [](S& s, int v) { s.SetKey(s.GetKeyFlatsMask(), v, s.GetKeyTonic()); }, 0, 0x7F},
  };
}

TEST(StaffContextStateTest, FieldsDoNotOverlap) {
  const std::vector<Field> fields = Fields();
  for (const Field& target : fields) {
    for (int value : {target.low, target.high}) {
      // Every other field at one end, then the target at the other.
      for (bool othersHigh : {false, true}) {
        TStaffContextState s;
        for (const Field& other : fields)
          if (&other != &target) other.set(s, othersHigh ? other.high : other.low);
        std::vector<int> before;
        for (const Field& other : fields) before.push_back(other.get(s));
        target.set(s, value);
        EXPECT_EQ(target.get(s), value) << target.name;
        for (size_t i = 0; i < fields.size(); ++i) {
          if (&fields[i] != &target) {
            EXPECT_EQ(fields[i].get(s), before[i]) << target.name << " changed " << fields[i].name;
          }
        }
      }
    }
  }
}

struct SaturationCase {
  const char* name;
  std::function<void(TStaffContextState&)> action;
  std::function<int(const TStaffContextState&)> get;
  int want;
};

TEST(StaffContextStateTest, ValuesSaturateInsteadOfWrapping) {
  using S = TStaffContextState;
  const SaturationCase cases[] = {
      {"beats 128", [](S& s) { s.SetTimeSig(128, 2); }, [](const S& s) { return s.GetTimeSigBeats(); },
       128},
      {"beats 200", [](S& s) { s.SetTimeSig(200, 2); }, [](const S& s) { return s.GetTimeSigBeats(); },
       128},
      {"beats 0", [](S& s) { s.SetTimeSig(0, 2); }, [](const S& s) { return s.GetTimeSigBeats(); }, 1},
      {"exponent 9", [](S& s) { s.SetTimeSig(4, 9); },
       [](const S& s) { return s.GetTimeSigBeatExponent(); }, 7},
      {"exponent -1", [](S& s) { s.SetTimeSig(4, -1); },
       [](const S& s) { return s.GetTimeSigBeatExponent(); }, 0},
      {"transposition 300", [](S& s) { s.SetTransposition(300); },
       [](const S& s) { return s.GetTransposition(); }, 127},
      {"transposition -300", [](S& s) { s.SetTransposition(-300); },
       [](const S& s) { return s.GetTransposition(); }, -128},
      {"velocity 200", [](S& s) { s.SetNoteVelocity(200); },
       [](const S& s) { return s.GetNoteVelocity(); }, 127},
      {"velocity -3", [](S& s) { s.SetNoteVelocity(-3); },
       [](const S& s) { return s.GetNoteVelocity(); }, 0},
      {"perf style 40", [](S& s) { s.SetPerfStyle(40); }, [](const S& s) { return s.GetPerfStyle(); },
       31},
      {"ramp target 300", [](S& s) { s.StartVelocityRamp(0, 300, 10); },
       [](const S& s) { return s.GetVelocityRampTarget(); }, 127},
      {"ramp ticks 100000", [](S& s) { s.StartVelocityRamp(0, 90, 100000); },
       [](const S& s) { return s.GetVelocityRampTicks(); }, 65534},
      {"ramp ticks -5", [](S& s) { s.StartVelocityRamp(0, 90, -5); },
       [](const S& s) { return s.GetVelocityRampTicks(); }, 0},
      {"20 grace notes", [](S& s) { for (int i = 0; i < 20; ++i) s.IncGraceCount(); },
       [](const S& s) { return s.GetGraceCount(); }, 15},
      {"master pass past 127",
       [](S& s) { s.SetMasterRepeatPass(127); s.NextMasterRepeatPass(); },
       [](const S& s) { return s.GetMasterRepeatPass(); }, 127},
      {"local pass past 32767",
       [](S& s) { s.SetLocalRepeatPass(40000); s.NextLocalRepeatPass(); },
       [](const S& s) { return s.GetLocalRepeatPass(); }, 32767},
      {"master count 300", [](S& s) { s.SetMasterRepeatCount(300); },
       [](const S& s) { return s.GetMasterRepeatCount(); }, 255},
      {"song position past the end",
       [](S& s) { s.SetSongPosition(std::numeric_limits<int32_t>::max() - 10); s.AdvanceSongPosition(768); },
       [](const S& s) { return s.GetSongPosition(); }, std::numeric_limits<int32_t>::max()},
      {"clef 20", [](S& s) { s.SetClef(20, 9); }, [](const S& s) { return s.GetClef(); }, 15},
      {"octave shift 9", [](S& s) { s.SetClef(0, 9); },
       [](const S& s) { return s.GetClefOctaveShift(); }, 3},
      {"tonic 12", [](S& s) { s.SetKey(0, 0, 12); }, [](const S& s) { return s.GetKeyTonic(); }, 7},
  };
  for (const SaturationCase& c : cases) {
    TStaffContextState s;
    c.action(s);
    EXPECT_EQ(c.get(s), c.want) << c.name;
  }
}

TEST(StaffContextStateTest, BarLength) {
  TStaffContextState s;
  s.SetTimeSig(6, 3);
  EXPECT_EQ(s.GetBarLength(), 576);
  EXPECT_EQ(s.GetBeatValue(), 8);
  s.SetTimeSig(128, 7);
  EXPECT_EQ(s.GetBarLength(), 128 * 6);
}

TEST(StaffContextStateTest, VelocityRamp) {
  TStaffContextState s;
  s.StartVelocityRamp(80, 80, 100);
  EXPECT_EQ(s.GetVelocityRampTicks(), 0);

  s.SetNoteVelocity(40);
  s.StartVelocityRamp(40, 80, 100);
  s.AdvanceSongPosition(50);
  EXPECT_EQ(s.GetNoteVelocity(), 60);
  EXPECT_EQ(s.GetVelocityRampTicks(), 50);
  EXPECT_EQ(s.GetSongPosition(), 50);
  s.AdvanceSongPosition(80);  // more than remains
  EXPECT_EQ(s.GetNoteVelocity(), 80);
  EXPECT_EQ(s.GetVelocityRampTicks(), 0);

  s.SetNoteVelocity(100);
  s.StartVelocityRamp(100, 20, 3);
  s.AdvanceSongPosition(1);
  EXPECT_EQ(s.GetNoteVelocity(), 74);  // 100 - 26.67, truncated toward zero
}

TEST(StaffContextStateTest, MarkDynamicChangedEndsTheRamp) {
  TStaffContextState s;
  s.StartVelocityRamp(40, 80, 100);
  s.MarkDynamicChanged();
  EXPECT_EQ(s.GetVelocityRampTicks(), 0);
  EXPECT_TRUE(s.IsDynamicChanged());
  s.SetDynamicChanged(false);
  EXPECT_FALSE(s.IsDynamicChanged());
}

TEST(StaffContextStateTest, LettersOfStaffPositions) {
  struct Case {
    int clef;
    int position;
    int letter;
  };
  const Case cases[] = {
      {kClefTreble, 0, 1},  // B on the middle line
      {kClefTreble, -1, 2},
      {kClefTreble, 6, 2},  // middle C below the staff
      {kClefBass, 0, 3},
      {kClefAlto, 0, 2},
      {kClefTenor, 0, 0},
      {kClefDrum, 0, 3},
  };
  for (const Case& c : cases) {
    TStaffContextState s;
    s.SetClef(c.clef, 0);
    EXPECT_EQ(s.GetLetterAt(c.position), c.letter) << c.clef << " " << c.position;
  }
}

TEST(StaffContextStateTest, RunningAccidentalsAtEveryStaffPosition) {
  for (int clef = 0; clef <= kClefDrum; ++clef) {
    TStaffContextState s;
    s.SetClef(clef, 0);
    for (int position = -128; position <= 127; ++position) {
      const int letter = s.GetLetterAt(position);
      ASSERT_GE(letter, 0) << position;
      ASSERT_LT(letter, 7) << position;
      EXPECT_EQ(letter, s.GetLetterAt(position + 7)) << position;
      for (int code : {kAccSharp, kAccFlat, kAccDoubleSharp, kAccDoubleFlat, kAccNatural}) {
        s.SetRunningAccidental(letter, code);
        ASSERT_EQ(s.GetRunningAccidental(letter), code) << clef << " " << position;
      }
    }
  }
}

TEST(StaffContextStateTest, RunningAccidentalCodes) {
  TStaffContextState s;
  s.SetRunningAccidental(3, kAccDoubleSharp);
  s.SetRunningAccidental(3, kAccFlat);  // replaces, never adds
  EXPECT_EQ(s.GetRunningFlatsMask(), 1 << 3);
  EXPECT_EQ(s.GetRunningDoubleSharpsMask(), 0);
  s.SetRunningAccidental(3, 7);  // not a code: nothing changes
  s.SetRunningAccidental(3, kAccNone);
  EXPECT_EQ(s.GetRunningAccidental(3), kAccFlat);
  const TStaffContextState before = s;
  for (int letter : {-1, 7, 100, -100}) {
    s.SetRunningAccidental(letter, kAccSharp);
    EXPECT_EQ(s.GetRunningAccidental(letter), kAccNatural);
    EXPECT_EQ(s.GetKeyAccidental(letter), kAccNatural);
  }
  EXPECT_TRUE(s == before);
}

TEST(StaffContextStateTest, KeySignature) {
  struct Case {
    int flats;
    int sharps;
    int count;
  };
  const Case cases[] = {
      {0, 1 << 5 | 1 << 2, 2},                  // F# C#: D major
      {1 << 1 | 1 << 4 | 1 << 0, 0, -3},        // Bb Eb Ab
      {0, 1 << 2, 0},                           // C# without F#: not a signature
      {0, 0x7F, 7},
      {0x7F, 0, -7},
  };
  for (const Case& c : cases) {
    TStaffContextState s;
    s.SetKey(c.flats, c.sharps, 2);
    EXPECT_EQ(s.GetKeySigCount(), c.count) << c.flats << " " << c.sharps;
  }

  TStaffContextState s;
  s.SetRunningAccidental(6, kAccDoubleFlat);
  s.SetKey(1 << 1, 1 << 5, 3);
  EXPECT_EQ(s.GetKeyAccidental(5), kAccSharp);
  EXPECT_EQ(s.GetKeyAccidental(1), kAccFlat);
  EXPECT_EQ(s.GetKeyAccidental(0), kAccNatural);
  EXPECT_EQ(s.GetRunningSharpsMask(), 1 << 5);
  EXPECT_EQ(s.GetRunningFlatsMask(), 1 << 1);
  EXPECT_EQ(s.GetRunningDoubleFlatsMask(), 0);
  s.SetRunningAccidental(5, kAccNatural);
  s.SetRunningAccidental(0, kAccDoubleSharp);
  s.ResetRunningKey();
  EXPECT_EQ(s.GetRunningAccidental(5), kAccSharp);
  EXPECT_EQ(s.GetRunningAccidental(0), kAccNatural);
}

TEST(StaffContextStateTest, FlowAndRepeats) {
  TStaffContextState s;
  s.SetFlowJumped();
  EXPECT_TRUE(s.HasFlowJumped());
  EXPECT_FALSE(s.RepeatsActive());
  EXPECT_FALSE(s.IsInCoda());
  s.EnterCoda();
  EXPECT_TRUE(s.IsInCoda());
  EXPECT_TRUE(s.RepeatsActive());
  EXPECT_TRUE(s.HasFlowJumped());
  EXPECT_EQ(s.GetVelocityRampTarget(), 0);  // shares its byte with the in-coda flag

  s.SetLocalRepeatPass(3);
  s.SetMasterRepeatPass(2);
  EXPECT_EQ(s.GetRepeatPass(), 3);
  s.NextMasterRepeatPass();
  s.NextMasterRepeatPass();
  EXPECT_EQ(s.GetRepeatPass(), 4);
}

TEST(StaffContextStateTest, WalkModeAndSlurState) {
  TStaffContextState s;
  s.SetAuditWalkMode();
  EXPECT_TRUE(s.IsWalkModeSet());
  EXPECT_FALSE(s.IsLinearWalk());
  s.SetLinearWalkMode();
  EXPECT_TRUE(s.IsLinearWalk());

  s.SetSlurState(0);
  EXPECT_TRUE(s.HasSlurState());
  EXPECT_FALSE(s.IsSlurBit5());
  s.SetSlurState(1);
  EXPECT_TRUE(s.IsSlurBit5());
  s.ClearSlurState();
  EXPECT_FALSE(s.HasSlurState());
  EXPECT_TRUE(s.IsLinearWalk());
}

}  // namespace
}  // namespace kvt
