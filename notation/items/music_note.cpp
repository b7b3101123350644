#include "notation/items/music_note.h"

#include "notation/items/item_cast.h"
#include "notation/items/packed_field.h"

namespace kvt {

namespace {

// Semitone of each letter from A within an octave counted from A.
constexpr int kLetterSemitone[7] = {0, 2, 3, 5, 7, 8, 10};
// Offset added for each accidental code 0-4 (sharp, flat, natural, double sharp, double flat).
constexpr int kAccidentalOffset[5] = {22, 20, 21, 23, 19};
// Accidental glyphs for codes 0-4.
constexpr int kAccidentalGlyph[5] = {9, 8, 10, 42, 43};

constexpr int kLetterB = 1;
constexpr int kLetterC = 2;
constexpr int kLetterE = 4;
constexpr int kLetterF = 5;

// Places of the accidentals from double flat to double sharp, and back.
constexpr int kAccidentalPlace[5] = {3, 1, 2, 4, 0};  // by code
constexpr int kPlaceAccidental[5] = {kAccDoubleFlat, kAccFlat, kAccNatural, kAccSharp,
                                     kAccDoubleSharp};

int Mod(int a, int m) {
  const int r = a % m;
  return r < 0 ? r + m : r;
}

int BoundAccidental(int code) { return (code >= 0 && code <= kAccNone) ? code : kAccNone; }

}  // namespace

int TMusicNote::GetAccidentalSymbol(int accidental) {
  return (accidental >= 0 && accidental < 5) ? kAccidentalGlyph[accidental] : -1;
}

int TMusicNote::WrapPitch(int pitch) {
  if (pitch < 0) return 12 - Mod(-pitch, 12);
  if (pitch > 127) return 115 + Mod(pitch - 115, 12);
  return pitch;
}

void TMusicNote::SpellPitchOnStaff(int clef, int keyCount, int pitch, int& position,
                                   int& accidental) {
  if (pitch < 0) pitch = WrapPitch(pitch);
  if (pitch > 127) pitch = WrapPitch(pitch);  // by octaves: the pitch class stays
  const int pitchClass = (pitch + 3) % 12;  // counted from A
  int group = (pitch + 3) / 12 - 2;
  // Letter and accidental of each class from A with sharps, then with flats.
  static constexpr int kSharpLetter[12] = {0, 0, 1, 2, 2, 3, 3, 4, 5, 5, 6, 6};
  static constexpr int kFlatLetter[12] = {0, 1, 1, 2, 3, 3, 4, 4, 5, 6, 6, 0};
  static constexpr bool kBlack[12] = {false, true,  false, false, true,  false,
                                      true,  false, false, true,  false, true};
  int letter;
  if (kBlack[pitchClass]) {
    if (keyCount < 0) {
      letter = kFlatLetter[pitchClass];
      accidental = kAccFlat;
      if (pitchClass == 11) ++group;  // A flat belongs to the next group from A
    } else {
      letter = kSharpLetter[pitchClass];
      accidental = kAccSharp;
    }
  } else {
    letter = kSharpLetter[pitchClass];
    accidental = kAccNatural;
    if (keyCount < -5 && pitchClass == 2) {
      letter = kLetterC;  // C flat for B
      accidental = kAccFlat;
    } else if (keyCount < -6 && pitchClass == 7) {
      letter = kLetterF;  // F flat for E
      accidental = kAccFlat;
    } else if (keyCount > 5 && pitchClass == 8) {
      letter = kLetterE;  // E sharp for F
      accidental = kAccSharp;
    } else if (keyCount > 6 && pitchClass == 3) {
      letter = kLetterB;  // B sharp for C
      accidental = kAccSharp;
    }
  }
  position = TStaffContextState::GetClefBase(clef) - letter - 7 * group;
}

TMusicNote::TMusicNote(int pos, int durationCode, int flagWord, int acc)
    : TSongNote(durationCode, flagWord),
      accidental(0),
      accidentalAuto(0),
      tieDown(1),
      muted(0),
      noLegerLines(0),
      articulationsOnStem(0),
      stemLength(0),
      headShift(0) {
  SetStaffPos(pos);
  accidental = BoundAccidental(acc);
}

TMusicNote::~TMusicNote() = default;

void TMusicNote::Assign(const TNotatedItem& src) {
  TSongNote::Assign(src);
  if (!src.IsMusicNoteClass()) return;
  const auto& s = ItemRef<TMusicNote>(src);
  tieDown = s.tieDown;
  muted = s.muted;
  noLegerLines = s.noLegerLines;
  articulationsOnStem = s.articulationsOnStem;
  SetNoteHead(s.GetHeadShape());
  stemLength = s.stemLength;
}

TMusicNote* TMusicNote::GetMember(int i) const {
  return i == 0 ? const_cast<TMusicNote*>(this) : nullptr;
}

void TMusicNote::SetStaffPos(int pos) { staffPos = static_cast<int8_t>(SaturateSigned(pos, 8)); }

void TMusicNote::ApplyToContext(TStaffContextState& state) const {
  const int acc = GetAccidental();
  if (acc != kAccNone) state.SetRunningAccidental(GetNoteLetter(state), acc);
  if (IsChordMember() || IsRestChordPart()) return;
  ApplySongStep(state, !muted);
}

int TMusicNote::GetAccidentalSpace() const {
  return GetXAccSpace() + (accidental != kAccNone ? 1 : 0);
}

void TMusicNote::AuditStep(const TStaffContextState& state) {
  TSongNote::AuditStep(state);
  if (GetType() == kItemNote && IsTieOut() && !IsTieIn() && !(GetFlags() & kMaskTieDirection))
    tieDown = IsStemUp();
}

bool TMusicNote::TakesLyricByDefault() const { return !IsGrace() && !IsSlurIn() && !IsTieIn(); }

TMusicNote* TMusicNote::GetFirstNote() const { return const_cast<TMusicNote*>(this); }
TMusicNote* TMusicNote::GetLastNote() const { return const_cast<TMusicNote*>(this); }

int TMusicNote::GetFlagCount() const {
  const int code = GetDurationCode();
  return code >= kDurEighth ? code - kDurQuarter : 0;
}

bool TMusicNote::HasOwnStem() const {
  return !IsChordMember() && !IsBeamed() && GetDurationCode() > kDurWhole;
}

bool TMusicNote::HasShiftedHeads(int) const { return false; }

void TMusicNote::SetAccidental(int code) {
  accidental = BoundAccidental(code);
  accidentalAuto = 0;
}

void TMusicNote::SetRawAccidental(int code) { accidental = BoundAccidental(code); }

void TMusicNote::SetAutoAccidental(int code) {
  accidental = BoundAccidental(code);
  accidentalAuto = 1;
}

void TMusicNote::ClearAutoAccidental() {
  accidental = kAccNone;
  accidentalAuto = 0;
}

int TMusicNote::GetTieDirection() const {
  if (!(GetFlags() & kMaskTieDirection)) return kCurveDefault;
  return tieDown ? kCurveDown : kCurveUp;
}

void TMusicNote::SetTieDirection(int direction) {
  if (direction == kCurveDefault) {
    ClearNoteFlag(kFlagTieDirection);
    return;
  }
  SetNoteFlag(kFlagTieDirection);
  tieDown = direction == kCurveDown;
}

void TMusicNote::SetStemLength(int length) {
  stemLength = length == 0 ? kNoStem : ClampInt(length, 1, kNoStem - 1);
}

void TMusicNote::SetHeadShift(int shift) { headShift = SaturateUnsigned(shift, 3); }

int TMusicNote::GetNoteHeadSymbol() const {
  const bool isLong = GetDurationCode() <= kDurHalf;
  const int shape = GetHeadShape();
  switch (shape) {
    case 1: return 54;
    case 2: return 55;
    case 3: return 1;
    case 4: return isLong ? 55 : 54;
    default: break;
  }
  if (shape >= 5 && shape <= 13) return 55 + 2 * (shape - 5) + (isLong ? 0 : 1);
  if (GetDurationCode() == kDurWhole) return 5;
  return GetDurationCode() == kDurHalf ? 6 : 7;
}

TMusicNote* TMusicNote::GetStemEndNote(int stemDir) const {
  if (stemDir == 0) stemDir = GetStemDir();
  return stemDir < 0 ? GetFirstNote() : GetLastNote();
}

int TMusicNote::GetStemSideHeadShift(int stemDir) const {
  if (!HasSplitStem()) return 0;
  if (stemDir == 0) stemDir = GetStemDir();
  if (!HasShiftedHeads(stemDir)) {
    const TMusicNote* end = GetStemEndNote(stemDir);
    return end ? end->GetHeadShift() : 0;
  }
  const int count = GetMemberCount();
  if (count < 2) return 0;
  if (stemDir < 0) {
    const int a = GetMember(0)->GetHeadShift();
    const int b = GetMember(1)->GetHeadShift();
    return (a > b ? a : b) - 1;  // the down side's shift flag is set here
  }
  const int a = GetMember(count - 1)->GetHeadShift();
  const int b = GetMember(count - 2)->GetHeadShift();
  return a < b ? a : b;
}

int TMusicNote::GetNoteLetter(const TStaffContextState& state) const {
  return state.GetLetterAt(staffPos);
}

int TMusicNote::GetOctave(const TStaffContextState& state) const {
  int span = 56;
  if (state.GetClefOctaveShift() == 1)
    span = 63;
  else if (state.GetClefOctaveShift() == 2)
    span = 49;
  return (TStaffContextState::GetClefBase(state.GetClef()) + span - staffPos) / 7 - 8;
}

int TMusicNote::GetSoundingAccidental(const TStaffContextState& state) const {
  if (accidental != kAccNone) return accidental;
  const int bit = 1 << GetNoteLetter(state);
  if (state.GetRunningDoubleSharpsMask() & bit) return kAccDoubleSharp;
  if (state.GetRunningSharpsMask() & bit) return kAccSharp;
  if (state.GetRunningDoubleFlatsMask() & bit) return kAccDoubleFlat;
  if (state.GetRunningFlatsMask() & bit) return kAccFlat;
  return kAccNatural;
}

int TMusicNote::GetPitch(const TStaffContextState& state) const {
  const int pitch = kLetterSemitone[GetNoteLetter(state)] + 12 * GetOctave(state) +
                    kAccidentalOffset[GetSoundingAccidental(state)] + state.GetTransposition();
  return WrapPitch(pitch);
}

void TMusicNote::SpellPitch(const TStaffContextState& state, int soundingPitch) {
  const int pitch = WrapPitch(soundingPitch - state.GetTransposition());
  int pos = 0;
  int acc = kAccNatural;
  SpellPitchOnStaff(state.GetClef(), state.GetKeySigCount(), pitch, pos, acc);
  // A clef shifted an octave up sounds its notes an octave higher (GetOctave), so the written
  // note stands an octave lower on the staff: 7 steps down (larger), and up for a clef shifted
  // down. Moving the other way would respell an unchanged note two octaves off.
  if (state.GetClefOctaveShift() == 1)
    pos += 7;
  else if (state.GetClefOctaveShift() == 2)
    pos -= 7;
  SetRawAccidental(acc);
  SetStaffPos(pos);
}

void TMusicNote::Respell(const TStaffContextState& state) { SpellPitch(state, GetPitch(state)); }

bool TMusicNote::Transpose(const TStaffContextState& state, int semitones, int steps,
                           bool testOnly) {
  const int oldPos = staffPos;
  const int oldAcc = accidental;
  const int target = WrapPitch(GetPitch(state) + semitones);
  MoveStaffPos(steps);
  bool found = false;
  for (int acc = 0; acc < 5 && !found; ++acc) {
    SetRawAccidental(acc);
    found = GetPitch(state) == target;
  }
  if (testOnly) {
    SetStaffPos(oldPos);
    accidental = oldAcc;
    return found;
  }
  if (!found) SpellPitch(state, target);
  return found;
}

bool TMusicNote::ShiftSpelling(const TStaffContextState& state, int direction) {
  if (accidental == kAccNone || direction == 0) return false;
  const int letter = GetNoteLetter(state);
  const int place = kAccidentalPlace[accidental];
  int next;
  if (direction > 0)
    next = place - ((letter == kLetterB || letter == kLetterE) ? 1 : 2);
  else
    next = place + ((letter == kLetterC || letter == kLetterF) ? 1 : 2);
  if (next < 0 || next > 4) return false;
  accidental = kPlaceAccidental[next];
  MoveStaffPos(direction > 0 ? -1 : 1);
  return true;
}

}  // namespace kvt
