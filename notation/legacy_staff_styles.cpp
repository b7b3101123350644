#include "notation/legacy_staff_styles.h"

#include <string_view>

#include "notation/music_score.h"
#include "notation/music_staff.h"

namespace kvt {
namespace {

int StyleOf(std::span<const uint8_t> styles, int i) {
  if (i < 0 || static_cast<size_t>(i) >= styles.size()) return kLegacyStaffStandard;
  int style = styles[static_cast<size_t>(i)];
  return style < kLegacyStaffStyleCount ? style : kLegacyStaffStandard;
}

}  // namespace

void ConvertLegacyStaffStyles(TMusicScore& score, std::span<const uint8_t> styles) {
  const int count = score.GetStaffCount();
  constexpr uint8_t kConnections =
      kStaffBracketWithNext | kStaffBraceWithNext | kStaffConnectBarsWithNext;
  for (int i = 0; i < count; ++i)
    if (score.GetStaff(i)->GetConnectionBits() & kConnections) return;

  bool anyStyle = false;
  bool hasOrchestral = false;
  for (int i = 0; i < count; ++i) {
    int style = StyleOf(styles, i);
    if (!score.IsStaffIncluded(i) || style == kLegacyStaffStandard) continue;
    anyStyle = true;
    if (style == kLegacyStaffOrchestral) hasOrchestral = true;
  }
  if (!anyStyle) return;

  int prev = -1;
  bool grand = false;
  for (int i = 0; i < count; ++i) {
    TMusicStaff& staff = *score.GetStaff(i);
    const int style = StyleOf(styles, i);
    if (score.IsStaffIncluded(i)) {
      if (prev >= 0) {
        TMusicStaff& before = *score.GetStaff(prev);
        const int prevStyle = StyleOf(styles, prev);
        if (prevStyle == kLegacyStaffUpperGrand) grand = true;
        if (prevStyle == kLegacyStaffLowerGrand) grand = false;
        if (grand) {
          before.SetBraceWithNext(true);
          before.SetConnectBarsWithNext(true);
        }
        if (hasOrchestral && (std::u16string_view(before.GetGroup()) == staff.GetGroup() ||
                              before.GetBraceWithNext())) {
          before.SetBracketWithNext(true);
          if (prevStyle == kLegacyStaffOrchestral && style == kLegacyStaffOrchestral)
            before.SetConnectBarsWithNext(true);
        }
      }
      prev = i;
    } else if (i < count - 1) {
      if (hasOrchestral || style == kLegacyStaffOrchestral) staff.SetBracketWithNext(true);
      if (grand || style == kLegacyStaffUpperGrand) staff.SetBraceWithNext(true);
      if (style == kLegacyStaffOrchestral || style == kLegacyStaffUpperGrand)
        staff.SetConnectBarsWithNext(true);
    }
  }
}

}  // namespace kvt
