#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "notation/items/item_cast.h"
#include "notation/staff/music_staff.h"
#include "notation/items/text_expression.h"
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

// An item inserted at a tick off the note grid lands exactly there, and the pieces of the note
// it splits add up to the note's whole length in as few tied pieces as note values allow.
TEST(MusicStaffInsertTest, InsertAtAnyTickIsExactAndKeepsTheWholeLength) {
  const struct {
    const char* name;
    int wholeBarRestTicks;  // 0: a half note (384 ticks) is split instead
    int32_t tick;
    int32_t landsAt;
    std::vector<int> pieces;  // the split item's pieces, before and after the new item
  } cases[] = {
      {"on a dotted value", 0, 144, 144, {144, 192, 48}},
      {"off the plain grid", 0, 100, 100, {64, 36, 256, 16, 12}},
      {"a sixty-fourth triplet in", 0, 8, 8, {8, 288, 72, 16}},
      {"an odd tick goes to the nearest exact one", 0, 101, 100, {64, 36, 256, 16, 12}},
      // A whole-bar rest of 9/4 reaches past two whole notes: it is split all the same.
      {"deep inside a long rest", 1728, 1700, 1700, {1152, 512, 36, 16, 12}},
  };
  for (const auto& c : cases) {
    TMusicStaff staff;
    TStaffBuilder build(staff);
    if (c.wholeBarRestTicks)
      build.Rest(kDurWhole).SetTickLength(c.wholeBarRestTicks / 192, 2);
    else
      build.Note(0, kDurHalf);
    const int at = staff.InsertItemAtTime(std::make_unique<TTextExpression>(), c.tick);
    EXPECT_EQ(staff.GetItem(at)->GetType(), kItemText) << c.name;
    EXPECT_EQ(staff.GetDurationBetween(at, 0, 0), c.landsAt) << c.name;
    std::vector<int> pieces;
    for (int d : Durations(staff))
      if (d) pieces.push_back(d);
    EXPECT_EQ(pieces, c.pieces) << c.name;
  }
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
