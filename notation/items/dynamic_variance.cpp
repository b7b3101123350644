#include "notation/items/dynamic_variance.h"

namespace kvt {

namespace {

constexpr std::string_view kDisplayTexts[kDynamicVarianceStyleCount] = {"cresc.", "decresc.",
                                                                         "dim.", "rfz", "sfz"};

}  // namespace

TDynamicVariance::TDynamicVariance(int value) : style(static_cast<uint8_t>(value)) {
  SetWide(false);
}

int TDynamicVariance::GetRampDirection() const {
  switch (style) {
    case kDynVarCrescendo: return 1;
    case kDynVarDecrescendo:
    case kDynVarDiminuendo: return 2;
    default: return 0;
  }
}

std::string_view TDynamicVariance::DisplayText(int value) {
  if (value < 0 || value >= kDynamicVarianceStyleCount) return "***";
  return kDisplayTexts[value];
}

}  // namespace kvt
