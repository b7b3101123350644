#include "notation/files/text/score_text_legacy_styles.h"

#include <string_view>

#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"

namespace kvt {

void ConvertLegacyStaffStylesOf(TMusicScore& score, const std::vector<TLegacyStaffStyle>& styles) {
  const int count = score.GetStaffCount();
  auto styleOf = [&](int i) {
    return (i >= 0 && static_cast<size_t>(i) < styles.size()) ? styles[static_cast<size_t>(i)].style
                                                                : kLegacyStaffStandard;
  };
  for (int i = 0; i < count; ++i) {
    const TMusicStaff* staff = score.GetStaff(i);
    if (staff->GetBracketWithNext() || staff->GetBraceWithNext() || staff->GetConnectBarsWithNext()) return;
  }
  bool hasOrchestral = false;
  bool any = false;
  for (int i = 0; i < count; ++i) {
    if (!score.IsStaffIncluded(i) || styleOf(i) == kLegacyStaffStandard) continue;
    any = true;
    if (styleOf(i) == kLegacyStaffOrchestral) hasOrchestral = true;
  }
  if (!any) return;

  int previous = -1;
  bool grand = false;
  for (int i = 0; i < count; ++i) {
    TMusicStaff* staff = score.GetStaff(i);
    const int style = styleOf(i);
    if (score.IsStaffIncluded(i)) {
      if (previous >= 0) {
        TMusicStaff* prev = score.GetStaff(previous);
        const int prevStyle = styleOf(previous);
        if (prevStyle == kLegacyStaffUpperGrand) grand = true;
        if (prevStyle == kLegacyStaffLowerGrand) grand = false;
        if (grand) {
          prev->SetBraceWithNext(true);
          prev->SetConnectBarsWithNext(true);
        }
        if (hasOrchestral) {
          if (std::u16string_view(prev->GetGroup()) == std::u16string_view(staff->GetGroup()) ||
              prev->GetBraceWithNext()) {
            prev->SetBracketWithNext(true);
            if (prevStyle == kLegacyStaffOrchestral && style == kLegacyStaffOrchestral)
              prev->SetConnectBarsWithNext(true);
          }
        }
      }
      previous = i;
    } else if (i != count - 1) {
      if (hasOrchestral || style == kLegacyStaffOrchestral) staff->SetBracketWithNext(true);
      if (grand || style == kLegacyStaffUpperGrand) staff->SetBraceWithNext(true);
      if (style == kLegacyStaffOrchestral || style == kLegacyStaffUpperGrand) staff->SetConnectBarsWithNext(true);
    }
  }
}

}  // namespace kvt
