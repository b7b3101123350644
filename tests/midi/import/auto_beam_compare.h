#pragma once
// Test support: beams every staff of two copies of an unbeamed import, one by AutoBeam (an
// audit after each group), the other by AutoBeamAuditedStaff (one audit after all groups),
// each staff audited first as the import leaves it, and expects the same score text.

#include <gtest/gtest.h>

#include <string>

#include "notation/audit/staff_audit.h"
#include "notation/edits/staff_edits.h"
#include "notation/files/text/score_text_writer.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"

namespace kvt::test {

inline std::string StaffItemsText(const TMusicStaff& staff) {
  std::string text;
  for (int i = 0; i <= staff.GetLastIndex(); ++i) {
    AppendItemLine(text, *staff.GetItem(i), kTextModeLone);
    text += '\n';
  }
  return text;
}

// The number of staves the beaming changed.
inline int ExpectSameBeamingBothWays(TMusicScore& once, TMusicScore& each, bool compound) {
  EXPECT_EQ(once.GetStaffCount(), each.GetStaffCount());
  int beamed = 0;
  for (int s = 0; s < once.GetStaffCount() && s < each.GetStaffCount(); ++s) {
    TMusicStaff& a = *once.GetStaff(s);
    TMusicStaff& b = *each.GetStaff(s);
    AuditStaffRange(a);
    AuditStaffRange(b);
    const std::string before = StaffItemsText(a);
    AutoBeam(b, compound);
    AutoBeamAuditedStaff(a, compound);
    const std::string after = StaffItemsText(a);
    if (after != before) ++beamed;
    EXPECT_EQ(after, StaffItemsText(b)) << "staff " << s;
  }
  return beamed;
}

}  // namespace kvt::test
