#include "notation/context/instrument_def.h"

#include <algorithm>
#include <cstring>

namespace kvt {

namespace {

constexpr uint8_t kDefaultVelocities[kDynamicLevels] = {10, 30, 45, 60, 75, 92, 108, 127};
constexpr uint8_t kNoBendRange = 255;

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }

}  // namespace

TInstrumentDef::TInstrumentDef() { Reset(); }

void TInstrumentDef::Reset() {
  std::fill(std::begin(name), std::end(name), u'\0');
  bankSet = 0;
  bank = 0;
  patchPlus1 = 0;
  transposition = 0;
  std::copy(std::begin(kDefaultVelocities), std::end(kDefaultVelocities), velocities);
  bendRange = kNoBendRange;
}

void TInstrumentDef::SetName(std::u16string_view text) {
  const size_t end = text.find(u'\0');
  if (end != std::u16string_view::npos) text = text.substr(0, end);
  size_t n = std::min<size_t>(text.size(), kInstrumentNameUnits - 1);
  // Never keep half of a surrogate pair.
  if (n > 0 && n < text.size() && IsHighSurrogate(text[n - 1])) --n;
  std::fill(std::begin(name), std::end(name), u'\0');
  std::copy(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(n), name);
}

void TInstrumentDef::SetBank(int msb, int lsb) {
  bank = static_cast<uint16_t>(std::clamp(msb, 0, 127) * 128 + std::clamp(lsb, 0, 127));
  bankSet = 1;
}

void TInstrumentDef::ClearBank() {
  bankSet = 0;
  bank = 0;
}

void TInstrumentDef::SetPatch(int p) {
  if (p < 0) {
    ClearPatch();
    return;
  }
  patchPlus1 = static_cast<uint8_t>(std::min(p, 127) + 1);
}

void TInstrumentDef::SetTransposition(int semitones) {
  transposition = static_cast<int8_t>(std::clamp(semitones, -128, 127));
}

int TInstrumentDef::GetDynamicVelocity(int level) const {
  if (level < 0 || level >= kDynamicLevels) return 0;
  return velocities[level];
}

void TInstrumentDef::SetDynamicVelocity(int level, int velocity) {
  if (level < 0 || level >= kDynamicLevels) return;
  velocities[level] = static_cast<uint8_t>(std::clamp(velocity, 0, 127));
}

int TInstrumentDef::GetDefaultDynamicVelocity(int level) {
  if (level < 0 || level >= kDynamicLevels) return 0;
  return kDefaultVelocities[level];
}

void TInstrumentDef::SetBendRange(int semitones) {
  bendRange = semitones < 0 ? kNoBendRange : static_cast<uint8_t>(std::min(semitones, 127));
}

bool operator==(const TInstrumentDef& a, const TInstrumentDef& b) {
  return std::equal(std::begin(a.name), std::end(a.name), std::begin(b.name)) &&
         a.bankSet == b.bankSet && a.bank == b.bank && a.patchPlus1 == b.patchPlus1 &&
         a.transposition == b.transposition &&
         std::equal(std::begin(a.velocities), std::end(a.velocities), std::begin(b.velocities)) &&
         a.bendRange == b.bendRange;
}

}  // namespace kvt
