#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "notation/items/item_cast.h"
#include "notation/staff/music_staff.h"
#include "tests/notation/staff_builder.h"

namespace kvt {
namespace {

using test::TStaffBuilder;

std::vector<int> Durations(const TMusicStaff& staff) {
  std::vector<int> out;
  for (int i = 1; i < staff.GetLastIndex(); ++i) out.push_back(staff.GetItem(i)->GetDuration());
  return out;
}

TEST(MusicStaffInsertTest, InsertAtTimeSplitsTheNoteThatSpansTheTime) {
  TMusicStaff staff;
  TStaffBuilder build(staff);
  build.TimeSig(4, 2);
  build.Note(0, kDurWhole);
  // A quarter rest aimed at beat 2 lands between the tied pieces of the whole note.
  int at = staff.InsertItemAtTime(std::make_unique<TRestNote>(kDurQuarter, 0), 192);
  EXPECT_EQ(staff.GetItem(at)->GetType(), kItemRest);
  EXPECT_EQ(staff.GetDurationBetween(at, 0, 0), 192);
  int32_t total = 0;
  for (int d : Durations(staff)) total += d;
  EXPECT_EQ(total, 768 + 192) << "the whole note keeps its length around the rest";
}

TEST(MusicStaffInsertTest, InsertAtTimePastTheEndGoesBeforeTheClosingBarLine) {
  TMusicStaff staff;
  TStaffBuilder build(staff);
  build.Note(0, kDurQuarter);
  int at = staff.InsertItemAtTime(std::make_unique<TRestNote>(kDurQuarter, 0), 10000);
  EXPECT_EQ(at, staff.GetLastIndex() - 1);
  EXPECT_EQ(staff.GetItem(staff.GetLastIndex())->GetType(), kItemBarLine);
}

TEST(MusicStaffInsertTest, DetachAndAuditRefusesTheBoundaryBarLines) {
  TMusicStaff staff;
  TStaffBuilder build(staff);
  build.Note(0, kDurQuarter);
  EXPECT_EQ(staff.DetachItemAndAudit(0), nullptr);
  EXPECT_EQ(staff.DetachItemAndAudit(staff.GetLastIndex()), nullptr);
  std::unique_ptr<TNotatedItem> note = staff.DetachItemAndAudit(1);
  ASSERT_NE(note, nullptr);
  EXPECT_EQ(note->GetType(), kItemNote);
  EXPECT_EQ(staff.GetItemCount(), 2);
}

TEST(MusicStaffInsertTest, InsertAndAuditGivesAutomaticStemsToTheNewNote) {
  TMusicStaff staff;
  TStaffBuilder build(staff);
  build.Note(-6, kDurQuarter);
  int at = staff.InsertItemAndAudit(std::make_unique<TMusicNote>(-6, kDurQuarter, 0, kAccNone), 2);
  auto* note = ItemAs<TMusicNote>(staff.GetItem(at));
  // High on the staff: the audited stem points down.
  EXPECT_LT(note->GetStemDir(), 0);
}

}  // namespace
}  // namespace kvt
