#pragma once
// TStaffContextState: the packed running musical state of one walk through a staff. Every item
// applies itself to it (ApplyToContext); bar lines, endings and flow marks consult it to choose
// the next item to play. A plain value of exactly 31 bytes, copied by assignment.
//
// Layout (bit 0 the lowest bit of a byte, multi-byte fields little-endian):
//   0-3   song position in ticks, signed          17 0-3 grace notes since the last note
//   4     0-3 channel, 4-7 port                   17 4-7 clef code
//   5     transposition, signed                   18 0-2 beat-value exponent
//   6     note velocity                           18 3   first-ending-seen flag
//   7     0-6 beats - 1, 7 dynamic-changed         18 4-7 key tonic letter, signed
//   8     0-5 perf style (signed), 6 after-jump,  19-20 key flats mask
//         7 jumped                                21-22 key sharps mask
//   9     0-3 walk mode, 4-5 slur, 6-7 octave     23-24 running flats
//   10-11 velocity ramp ticks remaining           25-26 running sharps
//   12    0-6 ramp target, 7 in-coda              27-28 running double flats
//   13-14 local repeat pass, signed               29-30 running double sharps
//   15    master repeat pass, signed
//   16    master repeat count
//
// Setters never wrap a value into a field: values beyond a field's range are saturated to its
// nearest end (the velocity and ramp target to 0..127, so they are always valid MIDI data);
// counters that step (song position, repeat passes, grace count) stop at their largest value.
// Letter masks are indexed by note letter (bit 0 A ... bit 6 G); letter arguments outside
// 0..6 read as natural and change nothing.

#include <cstdint>

namespace kvt {

// Clef codes.
enum TClefCode : int {
  kClefTreble = 0,
  kClefBass = 1,
  kClefAlto = 2,
  kClefTenor = 3,
  kClefDrum = 4,
};

// Accidental codes.
enum TAccidentalCode : int {
  kAccSharp = 0,
  kAccFlat = 1,
  kAccNatural = 2,
  kAccDoubleSharp = 3,
  kAccDoubleFlat = 4,
  kAccNone = 5,  // automatic, or "any" in searches
};

inline constexpr int kPerfStyleNone = 23;
inline constexpr int kContextStateSize = 31;

class TStaffContextState {
public:
  // Zero-filled, then Reset (port and channel 0).
  TStaffContextState();

  // Everything to its start value except port, channel and the dynamic-changed flag.
  void Reset();

  // The 31 packed bytes.
  const uint8_t* GetBytes() const { return bytes; }

  // --- song position ---
  int32_t GetSongPosition() const;
  void SetSongPosition(int32_t ticks);
  // Steps the velocity ramp when one runs, then adds the ticks (saturating).
  void AdvanceSongPosition(int32_t ticks);

  // --- MIDI ---
  int GetChannel() const;
  void SetChannel(int channel);  // masked to 0-15
  int GetPort() const;
  void SetPort(int port);        // masked to 0-15
  int GetTransposition() const;
  void SetTransposition(int semitones);  // saturated to -128..127
  int GetNoteVelocity() const;
  void SetNoteVelocity(int velocity);    // saturated to 0..127

  // --- velocity ramp and dynamics ---
  // Target saturated to 0..127; ticks remaining = ticks, 0..65534; no ramp when current
  // equals target.
  void StartVelocityRamp(int current, int target, int ticks);
  int GetVelocityRampTicks() const;
  int GetVelocityRampTarget() const;
  // Clears the ramp and sets the dynamic-changed flag.
  void MarkDynamicChanged();
  void SetDynamicChanged(bool flag);
  bool IsDynamicChanged() const;

  // --- time signature ---
  int GetTimeSigBeats() const;          // stored value + 1: 1..128
  int GetTimeSigBeatExponent() const;   // 0..7
  // Beats saturated to 1..128, exponent to 0..7.
  void SetTimeSig(int beats, int exponent);
  int GetBeatValue() const;             // 2 to the exponent
  // max(beats, 1) x (768 >> exponent) ticks.
  int GetBarLength() const;

  // --- performance style (6 bits signed; 23 = none) ---
  int GetPerfStyle() const;
  void SetPerfStyle(int style);  // saturated to -32..31

  // --- walk mode: 0 play order, 1 audit walk, 2 linear walk ---
  bool IsWalkModeSet() const;
  void SetAuditWalkMode();
  void SetLinearWalkMode();
  bool IsLinearWalk() const;
  int GetWalkMode() const;

  // --- slur state ---
  bool HasSlurState() const;
  bool IsSlurBit5() const;
  // Sets bit 4, and bit 5 when bit5 is 1.
  void SetSlurState(int bit5);
  void ClearSlurState();

  // --- clef ---
  int GetClef() const;
  int GetClefOctaveShift() const;  // 0 none, 1 octave up, 2 octave down
  // Clef saturated to 0..15, shift to 0..3.
  void SetClef(int clef, int octaveShift);
  // Letter (0 A ... 6 G) of a staff position under the current clef: (clef base - position)
  // mod 7 with the bases Treble 29, Bass 17, Alto 23, Tenor 21, Drum and others 17. Defined
  // for every int position.
  int GetLetterAt(int staffPos) const;
  static int GetClefBase(int clef);

  // --- repeats ---
  int GetLocalRepeatPass() const;
  void SetLocalRepeatPass(int pass);   // saturated to 16 bits signed
  void NextLocalRepeatPass();          // stops at 32767
  int GetMasterRepeatPass() const;
  void SetMasterRepeatPass(int pass);  // saturated to -128..127
  void NextMasterRepeatPass();         // stops at 127
  int GetMasterRepeatCount() const;
  void SetMasterRepeatCount(int count);  // saturated to 0..255
  // The larger of the local and master pass.
  int GetRepeatPass() const;

  // --- flow ---
  // Sets the after-jump and jumped flags.
  void SetFlowJumped();
  // Sets in-coda, clears after-jump.
  void EnterCoda();
  bool HasFlowJumped() const;
  bool IsInCoda() const;
  // The after-jump flag is clear.
  bool RepeatsActive() const;
  void SetFirstEndingSeen(bool flag);
  bool IsFirstEndingSeen() const;

  // --- grace notes since the last non-grace note (4 bits) ---
  int GetGraceCount() const;
  void IncGraceCount();  // stops at 15
  void ClearGraceCount();

  // --- key ---
  // Also copies both masks into the running flats and sharps and clears the double masks.
  // Masks keep their low 7 bits (one per letter); tonic saturated to -8..7.
  void SetKey(int flatsMask, int sharpsMask, int tonic);
  int GetKeyFlatsMask() const;
  int GetKeySharpsMask() const;
  int GetKeyTonic() const;
  // Sharps (positive) or flats (negative) of the key masks.
  int GetKeySigCount() const;
  // 0 when the key sharpens the letter, 1 when it flattens it, else 2.
  int GetKeyAccidental(int letter) const;
  // Running sharps and flats become the key's; doubles cleared.
  void ResetRunningKey();

  // --- running accidentals of the bar ---
  // 0 in running sharps, else 1 in flats, else 3 in double sharps, else 4 in double flats,
  // else 2.
  int GetRunningAccidental(int letter) const;
  // 0, 1, 3, 4 set the letter's sharp, flat, double sharp or double flat bit and clear its
  // other three; 2 clears all four; any other code changes nothing.
  void SetRunningAccidental(int letter, int code);
  int GetRunningFlatsMask() const;
  int GetRunningSharpsMask() const;
  int GetRunningDoubleFlatsMask() const;
  int GetRunningDoubleSharpsMask() const;

  friend bool operator==(const TStaffContextState& a, const TStaffContextState& b);

private:
  unsigned GetBits(int byte, int shift, int width) const;
  void SetBits(int byte, int shift, int width, unsigned value);
  int GetSignedBits(int byte, int shift, int width) const;
  unsigned GetU16(int byte) const;
  void SetU16(int byte, unsigned value);
  void SetWalkMode(int mode);
  void StepVelocityRamp(int32_t ticks);

  uint8_t bytes[kContextStateSize];
};

static_assert(sizeof(TStaffContextState) == kContextStateSize);

}  // namespace kvt
