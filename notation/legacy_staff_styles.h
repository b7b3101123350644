#pragma once
// The legacy staff styles of older files (Standard, Upper Grand Staff, Lower Grand Staff,
// Orchestral) turned into the staff connections that replaced them (bracket, brace and
// connected bar lines with the next staff). Run after reading score text and after reading an
// older layout of version below 28.

#include <cstdint>
#include <span>

namespace kvt {

class TMusicScore;

enum TLegacyStaffStyle : int {
  kLegacyStaffStandard = 0,
  kLegacyStaffUpperGrand = 1,
  kLegacyStaffLowerGrand = 2,
  kLegacyStaffOrchestral = 3,
};
inline constexpr int kLegacyStaffStyleCount = 4;

// styles[i] is the legacy style of staff i (entries past the span, and values outside 0..3,
// count as Standard; the reader has already bounded them). Nothing changes when any staff
// already has a connection or no visible staff has a style other than Standard. Visible means
// the score's include flag of the staff.
void ConvertLegacyStaffStyles(TMusicScore& score, std::span<const uint8_t> styles);

}  // namespace kvt
