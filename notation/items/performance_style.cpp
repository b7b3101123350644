#include "notation/items/performance_style.h"

#include "notation/context/staff_context_state.h"

namespace kvt {

namespace {

constexpr std::string_view kDisplayTexts[kPerformanceStyleCount] = {
    "ad lib.",   "animato",    "cantabile",   "con brio",    "dolce",    "espress.",
    "grazioso",  "legato",     "maestoso",    "marc.",       "meno mosso", "poco a poco",
    "più mosso", "semplice",   "simile",      "solo",        "sostenuto", "sotto voce",
    "staccato",  "subito",     "tenuto",      "tutti",       "volta subito"};

}  // namespace

TPerformanceStyle::TPerformanceStyle(int value) : style(static_cast<uint8_t>(value)) {
  SetWide(false);
}

std::string_view TPerformanceStyle::DisplayText(int value) {
  if (value < 0 || value >= kPerformanceStyleCount) return "***";
  return kDisplayTexts[value];
}

void TPerformanceStyle::ApplyToContext(TStaffContextState& state) const {
  state.SetPerfStyle(style < kPerformanceStyleCount ? style : kPerfStyleNone);
}

}  // namespace kvt
