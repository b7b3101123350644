#include "notation/items/key_data.h"

#include <cstdlib>

#include "midi/events/midi_file_buf.h"
#include "notation/context/staff_context_state.h"

namespace kvt {

namespace {

// Letters (A 0 ... G 6) in the order a key signature adds them.
constexpr int kSharpsOrder[7] = {5, 2, 6, 3, 0, 4, 1};  // F C G D A E B
constexpr int kFlatsOrder[7] = {1, 4, 0, 3, 6, 2, 5};   // B E A D G C F

int LeadingLettersInMask(const int (&order)[7], int mask) {
  int n = 0;
  while (n < 7 && (mask & (1 << order[n]))) ++n;
  return n;
}

bool IsLetter(int letter) { return letter >= 0 && letter < 7; }

// a mod m in 0..m-1 for any sign of a.
int FloorMod(int a, int m) {
  const int r = a % m;
  return r < 0 ? r + m : r;
}

// The keys Transpose chooses between, with their pitch class, the letter of their tonic
// counted C 0 ... B 6, and their key count.
struct TKeyInfo {
  int pitchClass;
  int letterFromC;
  int count;
};

enum TKeyIndex : int { kC, kCs, kDb, kD, kEb, kE, kF, kFs, kGb, kG, kAb, kA, kBb, kB, kCb };

constexpr TKeyInfo kKeys[15] = {
    {0, 0, 0},   {1, 0, 7},   {1, 1, -5}, {2, 1, 2},   {3, 2, -3},
    {4, 2, 4},   {5, 3, -1},  {6, 3, 6},  {6, 4, -6},  {7, 4, 1},
    {8, 5, -4},  {9, 5, 3},   {10, 6, -2}, {11, 6, 5}, {11, 0, -7},
};

// Key index by sharp count 0..7 and by flat count 1..7 (index 0 unused).
constexpr int kKeyOfSharps[8] = {kC, kG, kD, kA, kE, kB, kFs, kCs};
constexpr int kKeyOfFlats[8] = {kC, kF, kBb, kEb, kAb, kDb, kGb, kCb};

// Key index by pitch class, before the preferred direction is applied.
constexpr int kKeyOfPitchClass[12] = {kC, kDb, kD, kEb, kE, kF, kGb, kG, kAb, kA, kBb, kB};

}  // namespace

TKeyData::TKeyData(int sharpsMask, int flatsMask, int tonicLetter)
    : flats(static_cast<uint16_t>(MaskTo16(flatsMask))),
      sharps(static_cast<uint16_t>(MaskTo16(sharpsMask))),
      clef(0),
      prevFlats(0),
      prevSharps(0),
      keyFlags(0),
      tonic(0) {
  SetTonic(tonicLetter);
}

void TKeyData::SetSharp(int letter) {
  if (!IsLetter(letter)) return;
  sharps = static_cast<uint16_t>(sharps | (1 << letter));
  flats = static_cast<uint16_t>(flats & ~(1 << letter));
}

void TKeyData::SetFlat(int letter) {
  if (!IsLetter(letter)) return;
  flats = static_cast<uint16_t>(flats | (1 << letter));
  sharps = static_cast<uint16_t>(sharps & ~(1 << letter));
}

void TKeyData::SetNatural(int letter) {
  if (!IsLetter(letter)) return;
  flats = static_cast<uint16_t>(flats & ~(1 << letter));
  sharps = static_cast<uint16_t>(sharps & ~(1 << letter));
}

int TKeyData::GetLetterAccidental(int letter) const {
  if (!IsLetter(letter)) return 2;
  if (sharps & (1 << letter)) return 0;
  if (flats & (1 << letter)) return 1;
  return 2;
}

void TKeyData::SetTonic(int letter) { tonic = FloorMod(letter, 7); }

void TKeyData::SetPrevMasks(int prevSharpsMask, int prevFlatsMask) {
  prevSharps = static_cast<uint16_t>(MaskTo16(prevSharpsMask));
  prevFlats = static_cast<uint16_t>(MaskTo16(prevFlatsMask));
}

void TKeyData::SetHideCancels(bool on) {
  keyFlags = static_cast<uint8_t>(on ? (keyFlags | 1) : (keyFlags & ~1));
}

void TKeyData::SetAutoSys(bool on) {
  keyFlags = static_cast<uint8_t>(on ? (keyFlags & ~2) : (keyFlags | 2));
}

int TKeyData::SharpCount(int sharpsMask) { return LeadingLettersInMask(kSharpsOrder, sharpsMask); }

int TKeyData::FlatCount(int flatsMask) { return LeadingLettersInMask(kFlatsOrder, flatsMask); }

int TKeyData::KeyCount(int sharpsMask, int flatsMask) {
  const int s = SharpCount(sharpsMask);
  const int f = FlatCount(flatsMask);
  return f > s ? -f : s;
}

int TKeyData::MajorTonic(int keyCount) {
  // The count is at most 7 in magnitude for any mask; limiting it keeps the products small.
  const int n = keyCount < -7 ? -7 : (keyCount > 7 ? 7 : keyCount);
  return n >= 0 ? (4 * n + 2) % 7 : (3 * -n + 2) % 7;
}

void TKeyData::MasksOfCount(int keyCount, int& sharpsMask, int& flatsMask) {
  const int n = keyCount < -7 ? -7 : (keyCount > 7 ? 7 : keyCount);
  sharpsMask = 0;
  flatsMask = 0;
  for (int i = 0; i < n; ++i) sharpsMask |= 1 << kSharpsOrder[i];
  for (int i = 0; i < -n; ++i) flatsMask |= 1 << kFlatsOrder[i];
}

bool TKeyData::IsMinor() const { return tonic == (MajorTonic(GetKeyCount()) + 5) % 7; }

void TKeyData::ApplyToContext(TStaffContextState& state) const {
  state.SetKey(flats, sharps, tonic);
}

void TKeyData::Perform(TStaffContextState& state, TMidiFileBuf* buffer) const {
  if (!buffer) return;
  const int32_t position = state.GetSongPosition();
  const int count = GetKeyCount();
  if (position != 0 && state.GetKeySigCount() == count && state.GetKeyTonic() == tonic) return;
  buffer->AddKeySignature(static_cast<uint32_t>(position < 0 ? 0 : position), count, IsMinor());
}

void TKeyData::Transpose(int semitones, int& steps, int preferDirection, bool testOnly) {
  const int sharpCount = SharpCount(sharps);
  const int flatCount = FlatCount(flats);
  const TKeyInfo& oldKey = kKeys[flatCount > sharpCount ? kKeyOfFlats[flatCount]
                                                        : kKeyOfSharps[sharpCount]];

  int newIndex = kKeyOfPitchClass[FloorMod(oldKey.pitchClass + semitones % 12, 12)];
  if (preferDirection < 0 && newIndex == kB) newIndex = kCb;
  if (preferDirection > 0 && newIndex == kGb) newIndex = kFs;
  if (preferDirection > 0 && newIndex == kDb) newIndex = kCs;
  const TKeyInfo& newKey = kKeys[newIndex];

  int letterSteps = FloorMod(newKey.letterFromC - oldKey.letterFromC, 7);
  if (semitones < 0 && letterSteps != 0) letterSteps -= 7;
  letterSteps += 7 * (semitones / 12);
  steps = -letterSteps;
  if (testOnly) return;

  int sharpsMask = 0;
  int flatsMask = 0;
  MasksOfCount(newKey.count, sharpsMask, flatsMask);
  sharps = static_cast<uint16_t>(sharpsMask);
  flats = static_cast<uint16_t>(flatsMask);
  tonic = FloorMod(tonic + letterSteps % 7, 7);
}

}  // namespace kvt
