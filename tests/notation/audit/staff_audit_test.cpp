#include "notation/audit/staff_audit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "notation/items/flow_direction.h"
#include "notation/staff/music_score.h"
#include "notation/index/simple_ntn_idx.h"
#include "notation/items/user_object.h"
#include "notation/services/services.h"
#include "notation/services/user_object_host.h"
#include "tests/notation/audit_staff_fixture.h"
#include "tests/utils/recording_cursor_service.h"

namespace kvt {
namespace {

using test::TAuditStaff;

// A staff of one quarter note per bar. Every note carries a stale TieIn (no note ties into
// it), which an audit clears: the notes an audit reached show as '.' and the others as 'x'.
class StaffAuditSpanTest : public ::testing::Test {
protected:
  static constexpr int kBars = 30;

  void SetUp() override {
    for (int b = 0; b < kBars; ++b) {
      if (b > 0) built.Bar();
      notes.push_back(built.Note(0));
    }
    for (TMusicNote* note : notes) note->SetTieIn(true);
  }
  // Item index of the note of bar b (0-based): bar line 0, note, bar line, note ...
  static int NoteIndex(int b) { return 2 * b + 1; }
  std::string Reached() const {
    std::string marks;
    for (const TMusicNote* note : notes) marks += note->IsTieIn() ? 'x' : '.';
    return marks;
  }
  // The marks expected when the notes of bars first..last were reached.
  static std::string Expected(int first, int last) {
    std::string marks(kBars, 'x');
    for (int b = std::max(first, 0); b <= last && b < kBars; ++b)
      marks[static_cast<size_t>(b)] = '.';
    return marks;
  }

  TAuditStaff built;
  std::vector<TMusicNote*> notes;
};

struct TSpanCase {
  const char* name;
  void (*audit)(TMusicStaff& staff);
  int firstBar;  // notes of these bars are reached; -1: none
  int lastBar;
};

// Note of bar b at item 2b + 1, bar line b at item 2b; the closing bar line is item 60.
const TSpanCase kSpanCases[] = {
    // Bar lines two before the note of bar 10 (items 20, 18) and two after (22, 24); the
    // tenth bar line after item 24 closes bar 21.
    {"PointEditTwoBarLinesEachSideTenPast",
     [](TMusicStaff& s) { AuditStaffAround(s, 21); }, 9, 21},
    {"PointEditRangeWidensFromItsLastItem",
     [](TMusicStaff& s) { AuditStaffAround(s, 21, 25); }, 9, 23},
    // Whole bars 10..12, then to the tenth bar line after them.
    {"RangeTakesWholeBarsTenBarLinesPast",
     [](TMusicStaff& s) { AuditStaffRange(s, 21, 25); }, 10, 21},
    {"RangeFromABarLineStartsThere",
     [](TMusicStaff& s) { AuditStaffRange(s, 20, 20); }, 10, 19},
    {"SpanRunsToTheTenthBarLineAfterItsEnd",
     [](TMusicStaff& s) { AuditStaffSpan(s, 7, 7); }, 3, 12},
    {"PointEditAtTheStartStopsAtItemZero",
     [](TMusicStaff& s) { AuditStaffAround(s, 1); }, 0, 11},
    {"PointEditAtTheEndStopsAtTheClosingBar",
     [](TMusicStaff& s) { AuditStaffAround(s, 59); }, 28, 29},
    {"NegativeAndHugeIndicesAreTheWholeStaff",
     [](TMusicStaff& s) { AuditStaffAround(s, -50, 1000000); }, 0, 29},
    {"ARangeBeyondTheEndIsBoundedToIt",
     [](TMusicStaff& s) { AuditStaffRange(s, 1000000, 57); }, 28, 29},
    {"ASpanBeyondTheEndReachesNoNote",
     [](TMusicStaff& s) { AuditStaffSpan(s, 1000000, -7); }, -1, -1},
};

TEST_F(StaffAuditSpanTest, SpanRules) {
  for (const TSpanCase& c : kSpanCases) {
    SCOPED_TRACE(c.name);
    for (TMusicNote* note : notes) note->SetTieIn(true);
    c.audit(built.staff);
    EXPECT_EQ(Reached(), Expected(c.firstBar, c.lastBar));
  }
}

TEST_F(StaffAuditSpanTest, OnlyWholeStaffAuditsClearTheNeedsAuditMark) {
  built.staff.SetNeedsAudit(true);
  AuditStaffRange(built.staff, NoteIndex(5), NoteIndex(5));
  EXPECT_TRUE(built.staff.GetNeedsAudit());
  AuditStaffAround(built.staff, NoteIndex(20));
  EXPECT_TRUE(built.staff.GetNeedsAudit());

  AuditStaffRange(built.staff);
  EXPECT_FALSE(built.staff.GetNeedsAudit());
  EXPECT_EQ(Reached(), Expected(0, kBars - 1));

  built.staff.SetNeedsAudit(true);
  RefreshAndAuditStaff(built.staff, TServices());
  EXPECT_FALSE(built.staff.GetNeedsAudit());
}

TEST_F(StaffAuditSpanTest, RefreshWithLastBelowFirstAuditsAroundFirst) {
  RefreshAndAuditStaff(built.staff, TServices(), NoteIndex(10), 3);
  EXPECT_EQ(Reached(), Expected(9, 21));
}

TEST(StaffAuditWalkTest, RepeatsAndJumpsAreWalkedOnceInItemOrder) {
  // Played, this staff loops back many times; the audit passes each item once.
  TAuditStaff built;
  built.Bar(kBarLocalRepeatOpen);
  TMusicNote* inRepeat = built.Note(0);
  built.Add<TBarLineData>(kBarLocalRepeatClose, 255);
  built.Add<TFlowDirection>(kFlowDaCapo);
  TMusicNote* afterJump = built.Note(0);
  inRepeat->SetTieIn(true);
  afterJump->SetTieIn(true);
  built.AuditAll();
  EXPECT_FALSE(inRepeat->IsTieIn());
  EXPECT_FALSE(afterJump->IsTieIn());
}

// A staff holding stale marks, owned by a score.
std::unique_ptr<TMusicStaff> StaleStaff(bool needsAudit, TMusicNote*& note) {
  auto staff = std::make_unique<TMusicStaff>();
  auto item = std::make_unique<TMusicNote>(0, kDurQuarter, 0, kAccNone);
  note = item.get();
  note->SetTieIn(true);
  staff->InsertItem(std::move(item), 1);
  staff->SetNeedsAudit(needsAudit);
  return staff;
}

TEST(StaffAuditScoreTest, WithoutRefreshOnlyMarkedStavesAreAudited) {
  TMusicScore score;
  TMusicNote* marked = nullptr;
  TMusicNote* unmarked = nullptr;
  score.AddStaff(StaleStaff(true, marked));
  score.AddStaff(StaleStaff(false, unmarked));

  AuditScore(score, false, TServices());
  EXPECT_FALSE(marked->IsTieIn());
  EXPECT_FALSE(score.GetStaff(0)->GetNeedsAudit());
  EXPECT_TRUE(unmarked->IsTieIn());
}

TEST(StaffAuditScoreTest, RefreshAuditsEveryStaffAsLoadingDoes) {
  TMusicScore score;
  TMusicNote* first = nullptr;
  TMusicNote* second = nullptr;
  score.AddStaff(StaleStaff(false, first));
  score.AddStaff(StaleStaff(true, second));

  AuditScore(score, true, TServices());
  EXPECT_FALSE(first->IsTieIn());
  EXPECT_FALSE(second->IsTieIn());
  EXPECT_FALSE(score.GetStaff(1)->GetNeedsAudit());
}

// Records the user objects it audits, whether the staff audit had already reached the note
// after each, and what a nested audit asked for from inside the script does.
class TRecordingHost : public TUserObjectHost {
public:
  bool IsUserObjectTypeLoaded(const char*) override { return true; }
  void PlayUserObject(TSimpleNtnIdx&, TStaffContextState&, TMidiFileBuf*) override {}
  void RunUserObjectAudit(TSimpleNtnIdx& index) override {
    audited.push_back(index.GetIndex());
    staleAtCall.push_back(watched && watched->IsTieIn());
    if (nestedAudit) {
      AuditStaffRange(*index.GetStaff());
      staleAfterNested.push_back(watched && watched->IsTieIn());
    }
  }
  void SpinUserObject(TSimpleNtnIdx&, int) override {}
  void TransposeUserObject(TSimpleNtnIdx&, const TStaffContextState&, int, int, bool) override {}

  const TMusicNote* watched = nullptr;
  bool nestedAudit = false;
  std::vector<int> audited;
  std::vector<bool> staleAtCall;
  std::vector<bool> staleAfterNested;
};

class StaffAuditUserObjectTest : public ::testing::Test {
protected:
  void SetUp() override {
    built.Add<TKVTUserObject>("Arrow");
    note = built.Note(0);
    note->SetTieIn(true);
    built.Add<TKVTUserObject>("Arrow");
    host.watched = note;
    services.userObjectHost = &host;
  }

  TAuditStaff built;
  TMusicNote* note = nullptr;
  TRecordingHost host;
  TServices services;
};

TEST_F(StaffAuditUserObjectTest, UserObjectsAreAuditedBeforeTheirRange) {
  RefreshAndAuditStaff(built.staff, services);
  EXPECT_EQ(host.audited, (std::vector<int>{1, 3}));
  EXPECT_EQ(host.staleAtCall, (std::vector<bool>{true, true}));
  EXPECT_FALSE(note->IsTieIn());
}

TEST_F(StaffAuditUserObjectTest, OnlyUserObjectsInsideTheRangeAreAudited) {
  RefreshAndAuditStaff(built.staff, services, 2, 3);
  EXPECT_EQ(host.audited, (std::vector<int>{3}));
}

TEST_F(StaffAuditUserObjectTest, AnAuditAskedForDuringTheAuditOfTheStaffDoesNothing) {
  host.nestedAudit = true;
  RefreshAndAuditStaff(built.staff, services);
  EXPECT_EQ(host.staleAfterNested, (std::vector<bool>{true, true}));
  EXPECT_FALSE(note->IsTieIn());
  // Once the audit is over, audits run again.
  note->SetTieIn(true);
  AuditStaffRange(built.staff);
  EXPECT_FALSE(note->IsTieIn());
}

TEST(StaffAuditScoreServicesTest, TheScoreAuditHandsItsServicesOn) {
  TMusicScore score;
  TMusicNote* note = nullptr;
  score.AddStaff(StaleStaff(false, note));
  score.GetStaff(0)->InsertItem(std::make_unique<TKVTUserObject>("Arrow"), 1);
  TRecordingHost host;
  test::TRecordingCursorService cursor;
  TServices services;
  services.userObjectHost = &host;
  services.cursor = &cursor;
  AuditScore(score, true, services);
  EXPECT_EQ(host.audited, std::vector<int>{1});
  EXPECT_EQ(cursor.calls, "SR");  // the wait cursor for the whole audit
  EXPECT_FALSE(note->IsTieIn());
}

TEST(StaffAuditNullHostTest, RefreshWithoutAHostStillAudits) {
  TAuditStaff built;
  built.Add<TKVTUserObject>("Arrow");
  TMusicNote* note = built.Note(0);
  note->SetTieIn(true);
  RefreshAndAuditStaff(built.staff, TServices());
  EXPECT_FALSE(note->IsTieIn());
}

}  // namespace
}  // namespace kvt
