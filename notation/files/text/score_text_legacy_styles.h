#pragma once
// The conversion of legacy staff styles into staff connections, run after a text score is
// read. Files of older versions gave each staff a style (Standard, Upper Grand Staff, Lower
// Grand Staff, Orchestral) instead of brackets, braces and connected bar lines; a score that
// has no connection yet gets the ones its styles stood for.
//
// The staff keeps no style of its own, so the reader hands the styles it read over here.

#include <vector>

namespace kvt {

class TMusicScore;

enum TLegacyStaffStyleCode : int {
  kLegacyStaffStandard = 0,
  kLegacyStaffUpperGrand = 1,
  kLegacyStaffLowerGrand = 2,
  kLegacyStaffOrchestral = 3,
};

struct TLegacyStaffStyle {
  int style = kLegacyStaffStandard;
};

// styles[i] is the style read for staff i (missing entries count as Standard).
// 1. When any staff has a bracket, a brace or connected bar lines: nothing.
// 2. The set of styles of the visible (included) staves that are not Standard; empty: nothing.
// 3. Walking the staves with the last visible staff seen and a grand-staff flag: a visible
//    staff after a visible one turns the flag on after an Upper Grand Staff and off after a
//    Lower Grand Staff; with the flag on the previous staff gets a brace and connected bar
//    lines; with Orchestral in the set the previous staff gets a bracket when both share the
//    group name or it has a brace, and connected bar lines too when both are Orchestral. A
//    hidden staff that is not the last gets a bracket (Orchestral in the set or itself), a
//    brace (flag on or itself Upper Grand Staff) and connected bar lines (itself Orchestral or
//    Upper Grand Staff); it does not become the previous staff.
void ConvertLegacyStaffStylesOf(TMusicScore& score, const std::vector<TLegacyStaffStyle>& styles);

}  // namespace kvt
