#include "notation/context/staff_context_state.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace kvt {

namespace {

// Byte offsets of the fields.
constexpr int kSongPos = 0;
constexpr int kChanPort = 4;
constexpr int kTranspose = 5;
constexpr int kVelocity = 6;
constexpr int kBeats = 7;
constexpr int kStyleFlags = 8;
constexpr int kWalkSlurOctave = 9;
constexpr int kRampTicks = 10;
constexpr int kRampTarget = 12;
constexpr int kLocalPass = 13;
constexpr int kMasterPass = 15;
constexpr int kMasterCount = 16;
constexpr int kGraceClef = 17;
constexpr int kExpTonic = 18;
constexpr int kKeyFlats = 19;
constexpr int kKeySharps = 21;
constexpr int kRunFlats = 23;
constexpr int kRunSharps = 25;
constexpr int kRunDoubleFlats = 27;
constexpr int kRunDoubleSharps = 29;

constexpr int kMaxRampTicks = 65534;
constexpr int kLetterMask = 0x7F;

bool IsLetter(int letter) { return letter >= 0 && letter < 7; }

// Letters in the order a key signature adds them: F C G D A E B, and the reverse for flats.
constexpr int kSharpsOrder[7] = {5, 2, 6, 3, 0, 4, 1};
constexpr int kFlatsOrder[7] = {1, 4, 0, 3, 6, 2, 5};

// Number of leading letters of the order that are all in the mask.
int LeadingLettersInMask(const int (&order)[7], unsigned mask) {
  int n = 0;
  while (n < 7 && (mask & (1u << order[n]))) ++n;
  return n;
}

}  // namespace

TStaffContextState::TStaffContextState() {
  std::memset(bytes, 0, sizeof bytes);
  Reset();
}

void TStaffContextState::Reset() {
  const uint8_t chanPort = bytes[kChanPort];
  const bool dynamicChanged = IsDynamicChanged();
  std::memset(bytes, 0, sizeof bytes);
  bytes[kChanPort] = chanPort;
  SetDynamicChanged(dynamicChanged);
  SetNoteVelocity(110);
  SetTimeSig(4, 2);
  SetPerfStyle(kPerfStyleNone);
  SetLocalRepeatPass(1);
  SetMasterRepeatPass(1);
  SetMasterRepeatCount(2);
  SetBits(kExpTonic, 4, 4, 2);  // tonic C
}

unsigned TStaffContextState::GetBits(int byte, int shift, int width) const {
  return (bytes[byte] >> shift) & ((1u << width) - 1);
}

void TStaffContextState::SetBits(int byte, int shift, int width, unsigned value) {
  const unsigned mask = ((1u << width) - 1) << shift;
  bytes[byte] = static_cast<uint8_t>((bytes[byte] & ~mask) | ((value << shift) & mask));
}

int TStaffContextState::GetSignedBits(int byte, int shift, int width) const {
  const int value = static_cast<int>(GetBits(byte, shift, width));
  const int sign = 1 << (width - 1);
  return value >= sign ? value - (1 << width) : value;
}

unsigned TStaffContextState::GetU16(int byte) const {
  return bytes[byte] | (static_cast<unsigned>(bytes[byte + 1]) << 8);
}

void TStaffContextState::SetU16(int byte, unsigned value) {
  bytes[byte] = static_cast<uint8_t>(value & 0xFF);
  bytes[byte + 1] = static_cast<uint8_t>((value >> 8) & 0xFF);
}

bool operator==(const TStaffContextState& a, const TStaffContextState& b) {
  return std::memcmp(a.bytes, b.bytes, sizeof a.bytes) == 0;
}

// --- song position ---

int32_t TStaffContextState::GetSongPosition() const {
  uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | bytes[kSongPos + i];
  return static_cast<int32_t>(value);
}

void TStaffContextState::SetSongPosition(int32_t ticks) {
  const uint32_t value = static_cast<uint32_t>(ticks);
  for (int i = 0; i < 4; ++i) bytes[kSongPos + i] = static_cast<uint8_t>(value >> (8 * i));
}

void TStaffContextState::StepVelocityRamp(int32_t ticks) {
  const int remaining = GetVelocityRampTicks();
  if (remaining == 0 || ticks <= 0) return;
  const int velocity = GetNoteVelocity();
  const int target = GetVelocityRampTarget();
  if (velocity == target) {
    SetU16(kRampTicks, 0);
    return;
  }
  const int step = std::min<int32_t>(ticks, remaining);
  const float fraction = static_cast<float>(step) / static_cast<float>(remaining);
  const int change = static_cast<int>(static_cast<float>(target - velocity) * fraction);
  SetNoteVelocity(velocity + change);
  SetU16(kRampTicks, static_cast<unsigned>(remaining - step));
}

void TStaffContextState::AdvanceSongPosition(int32_t ticks) {
  StepVelocityRamp(ticks);
  // A very long walk stops at the largest position instead of wrapping to a negative one.
  const int64_t sum = static_cast<int64_t>(GetSongPosition()) + ticks;
  SetSongPosition(static_cast<int32_t>(std::clamp<int64_t>(
      sum, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max())));
}

// --- MIDI ---

int TStaffContextState::GetChannel() const { return static_cast<int>(GetBits(kChanPort, 0, 4)); }
void TStaffContextState::SetChannel(int channel) {
  SetBits(kChanPort, 0, 4, static_cast<unsigned>(channel));
}
int TStaffContextState::GetPort() const { return static_cast<int>(GetBits(kChanPort, 4, 4)); }
void TStaffContextState::SetPort(int port) { SetBits(kChanPort, 4, 4, static_cast<unsigned>(port)); }

int TStaffContextState::GetTransposition() const { return static_cast<int8_t>(bytes[kTranspose]); }
void TStaffContextState::SetTransposition(int semitones) {
  bytes[kTranspose] = static_cast<uint8_t>(static_cast<int8_t>(std::clamp(semitones, -128, 127)));
}

int TStaffContextState::GetNoteVelocity() const { return bytes[kVelocity]; }
void TStaffContextState::SetNoteVelocity(int velocity) {
  bytes[kVelocity] = static_cast<uint8_t>(std::clamp(velocity, 0, 127));
}

// --- velocity ramp and dynamics ---

void TStaffContextState::StartVelocityRamp(int current, int target, int ticks) {
  const int clampedTarget = std::clamp(target, 0, 127);
  SetBits(kRampTarget, 0, 7, static_cast<unsigned>(clampedTarget));
  const int remaining = current == target ? 0 : std::clamp(ticks, 0, kMaxRampTicks);
  SetU16(kRampTicks, static_cast<unsigned>(remaining));
}

int TStaffContextState::GetVelocityRampTicks() const { return static_cast<int>(GetU16(kRampTicks)); }
int TStaffContextState::GetVelocityRampTarget() const {
  return static_cast<int>(GetBits(kRampTarget, 0, 7));
}

void TStaffContextState::MarkDynamicChanged() {
  SetU16(kRampTicks, 0);
  SetDynamicChanged(true);
}

void TStaffContextState::SetDynamicChanged(bool flag) { SetBits(kBeats, 7, 1, flag ? 1 : 0); }
bool TStaffContextState::IsDynamicChanged() const { return GetBits(kBeats, 7, 1) != 0; }

// --- time signature ---

int TStaffContextState::GetTimeSigBeats() const { return static_cast<int>(GetBits(kBeats, 0, 7)) + 1; }
int TStaffContextState::GetTimeSigBeatExponent() const {
  return static_cast<int>(GetBits(kExpTonic, 0, 3));
}

void TStaffContextState::SetTimeSig(int beats, int exponent) {
  SetBits(kBeats, 0, 7, static_cast<unsigned>(std::clamp(beats, 1, 128) - 1));
  SetBits(kExpTonic, 0, 3, static_cast<unsigned>(std::clamp(exponent, 0, 7)));
}

int TStaffContextState::GetBeatValue() const { return 1 << GetTimeSigBeatExponent(); }

int TStaffContextState::GetBarLength() const {
  return std::max(GetTimeSigBeats(), 1) * (768 >> GetTimeSigBeatExponent());
}

// --- performance style ---

int TStaffContextState::GetPerfStyle() const { return GetSignedBits(kStyleFlags, 0, 6); }
void TStaffContextState::SetPerfStyle(int style) {
  SetBits(kStyleFlags, 0, 6, static_cast<unsigned>(std::clamp(style, -32, 31)));
}

// --- walk mode ---

int TStaffContextState::GetWalkMode() const { return static_cast<int>(GetBits(kWalkSlurOctave, 0, 4)); }
void TStaffContextState::SetWalkMode(int mode) {
  SetBits(kWalkSlurOctave, 0, 4, static_cast<unsigned>(mode));
}
bool TStaffContextState::IsWalkModeSet() const { return GetWalkMode() != 0; }
void TStaffContextState::SetAuditWalkMode() { SetWalkMode(1); }
void TStaffContextState::SetLinearWalkMode() { SetWalkMode(2); }
bool TStaffContextState::IsLinearWalk() const { return GetWalkMode() == 2; }

// --- slur state ---

bool TStaffContextState::HasSlurState() const { return GetBits(kWalkSlurOctave, 4, 2) != 0; }
bool TStaffContextState::IsSlurBit5() const { return GetBits(kWalkSlurOctave, 5, 1) != 0; }
void TStaffContextState::SetSlurState(int bit5) {
  SetBits(kWalkSlurOctave, 4, 2, bit5 == 1 ? 3u : 1u);
}
void TStaffContextState::ClearSlurState() { SetBits(kWalkSlurOctave, 4, 2, 0); }

// --- clef ---

int TStaffContextState::GetClef() const { return static_cast<int>(GetBits(kGraceClef, 4, 4)); }
int TStaffContextState::GetClefOctaveShift() const {
  return static_cast<int>(GetBits(kWalkSlurOctave, 6, 2));
}
void TStaffContextState::SetClef(int clef, int octaveShift) {
  SetBits(kGraceClef, 4, 4, static_cast<unsigned>(std::clamp(clef, 0, 15)));
  SetBits(kWalkSlurOctave, 6, 2, static_cast<unsigned>(std::clamp(octaveShift, 0, 3)));
}

int TStaffContextState::GetClefBase(int clef) {
  switch (clef) {
    case kClefTreble:
      return 29;
    case kClefAlto:
      return 23;
    case kClefTenor:
      return 21;
    default:
      return 17;  // bass, drum
  }
}

int TStaffContextState::GetLetterAt(int staffPos) const {
  const int64_t steps = static_cast<int64_t>(GetClefBase(GetClef())) - staffPos;
  return static_cast<int>(((steps % 7) + 7) % 7);
}

// --- repeats ---

int TStaffContextState::GetLocalRepeatPass() const { return static_cast<int16_t>(GetU16(kLocalPass)); }
void TStaffContextState::SetLocalRepeatPass(int pass) {
  SetU16(kLocalPass, static_cast<uint16_t>(static_cast<int16_t>(std::clamp(pass, -32768, 32767))));
}
void TStaffContextState::NextLocalRepeatPass() {
  SetLocalRepeatPass(std::min(GetLocalRepeatPass() + 1, 32767));
}

int TStaffContextState::GetMasterRepeatPass() const { return static_cast<int8_t>(bytes[kMasterPass]); }
void TStaffContextState::SetMasterRepeatPass(int pass) {
  bytes[kMasterPass] = static_cast<uint8_t>(static_cast<int8_t>(std::clamp(pass, -128, 127)));
}
void TStaffContextState::NextMasterRepeatPass() {
  SetMasterRepeatPass(std::min(GetMasterRepeatPass() + 1, 127));
}

int TStaffContextState::GetMasterRepeatCount() const { return bytes[kMasterCount]; }
void TStaffContextState::SetMasterRepeatCount(int count) {
  bytes[kMasterCount] = static_cast<uint8_t>(std::clamp(count, 0, 255));
}

int TStaffContextState::GetRepeatPass() const {
  return std::max(GetLocalRepeatPass(), GetMasterRepeatPass());
}

// --- flow ---

void TStaffContextState::SetFlowJumped() { SetBits(kStyleFlags, 6, 2, 3); }
void TStaffContextState::EnterCoda() {
  SetBits(kRampTarget, 7, 1, 1);
  SetBits(kStyleFlags, 6, 1, 0);
}
bool TStaffContextState::HasFlowJumped() const { return GetBits(kStyleFlags, 7, 1) != 0; }
bool TStaffContextState::IsInCoda() const { return GetBits(kRampTarget, 7, 1) != 0; }
bool TStaffContextState::RepeatsActive() const { return GetBits(kStyleFlags, 6, 1) == 0; }
void TStaffContextState::SetFirstEndingSeen(bool flag) { SetBits(kExpTonic, 3, 1, flag ? 1 : 0); }
bool TStaffContextState::IsFirstEndingSeen() const { return GetBits(kExpTonic, 3, 1) != 0; }

// --- grace count ---

int TStaffContextState::GetGraceCount() const { return static_cast<int>(GetBits(kGraceClef, 0, 4)); }
void TStaffContextState::IncGraceCount() {
  // A long run of grace notes stays counted as many rather than wrapping to none.
  SetBits(kGraceClef, 0, 4, static_cast<unsigned>(std::min(GetGraceCount() + 1, 15)));
}
void TStaffContextState::ClearGraceCount() { SetBits(kGraceClef, 0, 4, 0); }

// --- key ---

void TStaffContextState::SetKey(int flatsMask, int sharpsMask, int tonic) {
  SetU16(kKeyFlats, static_cast<unsigned>(flatsMask) & kLetterMask);
  SetU16(kKeySharps, static_cast<unsigned>(sharpsMask) & kLetterMask);
  SetBits(kExpTonic, 4, 4, static_cast<unsigned>(std::clamp(tonic, -8, 7)));
  ResetRunningKey();
}

int TStaffContextState::GetKeyFlatsMask() const { return static_cast<int>(GetU16(kKeyFlats)); }
int TStaffContextState::GetKeySharpsMask() const { return static_cast<int>(GetU16(kKeySharps)); }
int TStaffContextState::GetKeyTonic() const { return GetSignedBits(kExpTonic, 4, 4); }

int TStaffContextState::GetKeySigCount() const {
  const int sharps = LeadingLettersInMask(kSharpsOrder, GetU16(kKeySharps));
  const int flats = LeadingLettersInMask(kFlatsOrder, GetU16(kKeyFlats));
  return flats > sharps ? -flats : sharps;
}

int TStaffContextState::GetKeyAccidental(int letter) const {
  if (!IsLetter(letter)) return kAccNatural;
  const unsigned bit = 1u << letter;
  if (GetU16(kKeySharps) & bit) return kAccSharp;
  if (GetU16(kKeyFlats) & bit) return kAccFlat;
  return kAccNatural;
}

void TStaffContextState::ResetRunningKey() {
  SetU16(kRunFlats, GetU16(kKeyFlats));
  SetU16(kRunSharps, GetU16(kKeySharps));
  SetU16(kRunDoubleFlats, 0);
  SetU16(kRunDoubleSharps, 0);
}

// --- running accidentals ---

int TStaffContextState::GetRunningAccidental(int letter) const {
  if (!IsLetter(letter)) return kAccNatural;
  const unsigned bit = 1u << letter;
  if (GetU16(kRunSharps) & bit) return kAccSharp;
  if (GetU16(kRunFlats) & bit) return kAccFlat;
  if (GetU16(kRunDoubleSharps) & bit) return kAccDoubleSharp;
  if (GetU16(kRunDoubleFlats) & bit) return kAccDoubleFlat;
  return kAccNatural;
}

void TStaffContextState::SetRunningAccidental(int letter, int code) {
  if (!IsLetter(letter)) return;
  int field;
  switch (code) {
    case kAccSharp:
      field = kRunSharps;
      break;
    case kAccFlat:
      field = kRunFlats;
      break;
    case kAccDoubleSharp:
      field = kRunDoubleSharps;
      break;
    case kAccDoubleFlat:
      field = kRunDoubleFlats;
      break;
    case kAccNatural:
      field = -1;
      break;
    default:
      return;
  }
  const unsigned bit = 1u << letter;
  for (int f : {kRunFlats, kRunSharps, kRunDoubleFlats, kRunDoubleSharps})
    SetU16(f, f == field ? (GetU16(f) | bit) : (GetU16(f) & ~bit));
}

int TStaffContextState::GetRunningFlatsMask() const { return static_cast<int>(GetU16(kRunFlats)); }
int TStaffContextState::GetRunningSharpsMask() const { return static_cast<int>(GetU16(kRunSharps)); }
int TStaffContextState::GetRunningDoubleFlatsMask() const {
  return static_cast<int>(GetU16(kRunDoubleFlats));
}
int TStaffContextState::GetRunningDoubleSharpsMask() const {
  return static_cast<int>(GetU16(kRunDoubleSharps));
}

}  // namespace kvt
