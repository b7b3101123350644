#include "notation/audit/audit_walk_cache.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <random>
#include <string>

#include "notation/audit/staff_audit.h"
#include "notation/items/bar_line_data.h"
#include "notation/items/chord_data.h"
#include "notation/items/clef_data.h"
#include "notation/items/flow_direction.h"
#include "notation/items/key_data.h"
#include "notation/items/music_note.h"
#include "notation/items/repeat_ending.h"
#include "notation/items/rest_note.h"
#include "notation/items/tempo_data.h"
#include "notation/items/time_signature_data.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "tests/notation/score_text_fixture.h"

namespace kvt {
namespace {

using score_text_test::WriteScore;
using TItemPtr = std::unique_ptr<TNotatedItem>;

// Random items for the audit: notes with accidentals and ties, chords, rests, and the items
// that change the walk's context (keys, clefs, time signatures, endings, coda marks, tempi).
class TRandomItems {
public:
  explicit TRandomItems(unsigned seed) : rng(seed) {}
  int Uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }

  std::unique_ptr<TMusicNote> Note() {
    static constexpr int kAccidentals[] = {kAccNone, kAccNone, kAccSharp, kAccFlat, kAccNatural};
    const int flags = Uniform(0, 3) == 0 ? kMaskTieOut : 0;
    return std::make_unique<TMusicNote>(Uniform(-6, 6), Uniform(kDurHalf, kDurEighth), flags,
                                        kAccidentals[Uniform(0, 4)]);
  }
  TItemPtr ContextItem() {
    switch (Uniform(0, 7)) {
      case 0: return std::make_unique<TKeyData>(Uniform(0, 0x7F), 0, Uniform(0, 6));
      case 1: return std::make_unique<TKeyData>(0, Uniform(0, 0x7F), Uniform(0, 6));
      case 2: return std::make_unique<TClefData>(Uniform(0, 1) ? kClefBass : kClefTreble);
      case 3: return std::make_unique<TTimeSignatureData>(Uniform(2, 7), Uniform(1, 3));
      case 4: {
        auto ending = std::make_unique<TSpecialEnding>();
        ending->SetEnding(Uniform(1, 3), true);
        return ending;
      }
      case 5: return std::make_unique<TFlowDirection>(Uniform(0, 1) ? kFlowToCoda : kFlowCoda);
      case 6: return std::make_unique<TTempoData>(Uniform(40, 200));
      default: return std::make_unique<TBarLineData>(kBarSingle);
    }
  }
  TItemPtr AnyItem() {
    switch (Uniform(0, 5)) {
      case 0: return ContextItem();
      case 1: return std::make_unique<TBarLineData>(kBarSingle);
      case 2: return std::make_unique<TRestNote>(Uniform(kDurHalf, kDurEighth), 0);
      case 3: {
        auto chord = std::make_unique<TChordData>();
        for (int n = Uniform(2, 3); n > 0; --n) {
          std::unique_ptr<TMusicNote> note = Note();
          chord->AddNote(note);
        }
        return chord;
      }
      default: return Note();
    }
  }

private:
  std::mt19937 rng;
};

void FillStaff(TMusicStaff& staff, TRandomItems& random, int bars) {
  for (int b = 0; b < bars; ++b) {
    if (b > 0) staff.InsertItem(std::make_unique<TBarLineData>(kBarSingle), staff.GetLastIndex());
    if (random.Uniform(0, 9) == 0) staff.InsertItem(random.ContextItem(), staff.GetLastIndex());
    for (int n = random.Uniform(1, 4); n > 0; --n)
      staff.InsertItem(random.Note(), staff.GetLastIndex());
  }
}

// The same random score twice: one staff audited with its kept walks, one whose kept walks are
// all dropped before every edit, so each of its audits walks from item 0.
struct TTwinScores {
  explicit TTwinScores(unsigned seed, int bars) {
    for (TMusicScore* score : {&cached, &plain}) {
      TRandomItems random(seed);
      score->AddStaff(std::make_unique<TMusicStaff>());
      FillStaff(*score->GetStaff(0), random, bars);
      AuditStaffRange(*score->GetStaff(0));
    }
  }
  // Runs the edit on both staves, with the plain one's kept walks dropped first.
  void Edit(const std::function<void(TMusicStaff&)>& edit) {
    plain.GetStaff(0)->AuditWalkCache().DropFrom(0);
    edit(*cached.GetStaff(0));
    plain.GetStaff(0)->AuditWalkCache().DropFrom(0);
    edit(*plain.GetStaff(0));
  }
  TMusicScore cached;
  TMusicScore plain;
};

// One random edit through the staff's own paths or in place followed by an audit of where it
// changed, the way the editing commands make them; the index leans towards the staff's ends.
void RandomEdit(TTwinScores& twins, TRandomItems& random) {
  const int last = twins.cached.GetStaff(0)->GetLastIndex();
  const int third = std::max(1, last / 3);
  int i = 1;
  switch (random.Uniform(0, 2)) {
    case 0: i = random.Uniform(1, std::max(1, third)); break;
    case 1: i = random.Uniform(std::max(1, last - third), std::max(1, last - 1)); break;
    default: i = random.Uniform(1, std::max(1, last - 1)); break;
  }
  const int kind = random.Uniform(0, 6);
  const int count = random.Uniform(1, 6);
  // Both staves get equal items: made by equal generators.
  TRandomItems twin = random;
  TItemPtr made[2] = {kind == 3 ? random.ContextItem() : random.AnyItem(),
                      kind == 3 ? twin.ContextItem() : twin.AnyItem()};
  int use = 0;
  const int accidental = random.Uniform(0, 4);
  const int sharps = random.Uniform(0, 0x7F);
  twins.Edit([&](TMusicStaff& staff) {
    TItemPtr item = std::move(made[use++]);
    switch (kind) {
      case 0:
      case 1:
        staff.InsertItemAndAudit(std::move(item), i);
        break;
      case 2:
        staff.DetachItemAndAudit(i);
        break;
      case 3:  // a context item replaced by another
        staff.DetachItem(i);
        staff.InsertItemAndAudit(std::move(item), i);
        break;
      case 4: {  // a note's tie or accidental changed in place
        TNotatedItem* at = staff.GetItem(i);
        if (auto* note = dynamic_cast<TMusicNote*>(at)) {
          if (accidental == 0)
            note->SetFlags(note->GetFlags() ^ kMaskTieOut);
          else
            note->SetAccidental(accidental == 1 ? kAccSharp : accidental == 2 ? kAccFlat : kAccNone);
        }
        AuditStaffAround(staff, i);
        break;
      }
      case 5: {  // the next key signature changed in place
        int k = i;
        while (k < staff.GetLastIndex() && !dynamic_cast<TKeyData*>(staff.GetItem(k))) ++k;
        if (auto* key = dynamic_cast<TKeyData*>(staff.GetItem(k))) {
          key->SetFlatsMask(0);
          key->SetSharpsMask(sharps);
        }
        AuditStaffAround(staff, k);
        break;
      }
      default:
        staff.DeleteItems(i, i + count - 1);
        AuditStaffAround(staff, i);
        break;
    }
  });
}

// Equal audit walks: the same place, context, ties and counters.
void ExpectSameWalk(const TAuditNtnIdx& a, const TAuditNtnIdx& b) {
  EXPECT_EQ(a.GetIndex(), b.GetIndex());
  EXPECT_TRUE(a.GetRunningState() == b.GetRunningState());
  EXPECT_EQ(a.GetBarCount(true), b.GetBarCount(true));
  EXPECT_EQ(a.GetLeftOutBars(), b.GetLeftOutBars());
  EXPECT_EQ(a.GetSyllableCount(), b.GetSyllableCount());
  EXPECT_EQ(a.GetLastMultiBarRestIndex(), b.GetLastMultiBarRestIndex());
  EXPECT_EQ(a.GetOpenGroups(false), b.GetOpenGroups(false));
  EXPECT_EQ(a.GetSplitVoiceTicks(), b.GetSplitVoiceTicks());
  EXPECT_EQ(a.GetTicksSinceBar(), b.GetTicksSinceBar());
}

TEST(AuditWalkCacheTest, RandomEditsAuditAsWalksFromItemZero) {
  int keptSeen = 0;
  for (unsigned seed = 1; seed <= 24; ++seed) {
    SCOPED_TRACE(seed);
    TTwinScores twins(seed, 150);
    TRandomItems random(seed * 7919u);
    ASSERT_EQ(WriteScore(twins.cached), WriteScore(twins.plain));
    for (int step = 0; step < 60; ++step) {
      RandomEdit(twins, random);
      keptSeen = std::max(keptSeen, twins.cached.GetStaff(0)->AuditWalkCache().KeptCount());
      ASSERT_EQ(WriteScore(twins.cached), WriteScore(twins.plain)) << "after edit " << step;
      // The last kept walk still stands where a walk from item 0 does.
      TMusicStaff& staff = *twins.cached.GetStaff(0);
      const int kept = staff.AuditWalkCache().LastKeptIndex();
      if (kept >= 0) {
        SCOPED_TRACE(step);
        ExpectSameWalk(staff.AuditWalkCache().WalkTo(staff, kept), TAuditNtnIdx(&staff, kept));
      }
    }
  }
  // The edits did start from kept walks.
  EXPECT_GE(keptSeen, 3);
}

class AuditWalkCacheDropTest : public ::testing::Test {
protected:
  void SetUp() override {
    TRandomItems random(5);
    FillStaff(staff, random, 200);
    AuditStaffRange(staff);
    staff.AuditWalkCache().DropFrom(0);
    staff.AuditWalkCache().WalkTo(staff, staff.GetLastIndex());
    ASSERT_GE(staff.AuditWalkCache().KeptCount(), 5);
    // A bar line near the middle that a kept walk stands on.
    middle = staff.FindBarByNumber(100);
  }
  TMusicStaff staff;
  int middle = 0;
};

TEST_F(AuditWalkCacheDropTest, WalksGoOnFromKeptOnesAsFromItemZero) {
  for (int target : {0, 1, 2, middle, middle + 1, staff.GetLastIndex() - 1, staff.GetLastIndex(),
                     staff.GetLastIndex() + 5, -3}) {
    SCOPED_TRACE(target);
    ExpectSameWalk(staff.AuditWalkCache().WalkTo(staff, target), TAuditNtnIdx(&staff, target));
  }
}

// Each change of the staff's items forgets the kept walks from where it changed, and only them.
TEST_F(AuditWalkCacheDropTest, EveryChangeOfItemsDropsKeptWalksFromIt) {
  struct TCase {
    const char* name;
    std::function<void(TMusicStaff&, int)> change;
  };
  const TCase cases[] = {
      {"insert", [](TMusicStaff& s, int i) { s.InsertItem(std::make_unique<TKeyData>(1), i); }},
      {"insert and audit",
       [](TMusicStaff& s, int i) { s.InsertItemAndAudit(std::make_unique<TClefData>(kClefBass), i); }},
      {"detach", [](TMusicStaff& s, int i) { s.DetachItem(i); }},
      {"detach and audit", [](TMusicStaff& s, int i) { s.DetachItemAndAudit(i); }},
      {"delete", [](TMusicStaff& s, int i) { s.DeleteItem(i); }},
      {"delete range", [](TMusicStaff& s, int i) { s.DeleteItems(i, i + 3); }},
      {"audit around", [](TMusicStaff& s, int i) { AuditStaffAround(s, i); }},
      {"audit range", [](TMusicStaff& s, int i) { AuditStaffRange(s, i, i); }},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    const int before = staff.AuditWalkCache().KeptCount();
    const int keptEarlier = staff.FindBarByNumber(100 - TAuditWalkCache::kBarsPerWalk);
    c.change(staff, middle);
    EXPECT_LT(staff.AuditWalkCache().LastKeptIndex(), middle);
    EXPECT_LT(staff.AuditWalkCache().KeptCount(), before);
    EXPECT_GE(staff.AuditWalkCache().LastKeptIndex(), keptEarlier);
    ExpectSameWalk(staff.AuditWalkCache().WalkTo(staff, staff.GetLastIndex()),
                   TAuditNtnIdx(&staff, staff.GetLastIndex()));
  }
}

TEST_F(AuditWalkCacheDropTest, ClosingBarLineStyleDropsWalksAtTheEnd) {
  staff.AuditWalkCache().WalkTo(staff, staff.GetLastIndex());
  staff.SetEndingBar(kEndBarOpen);
  EXPECT_LT(staff.AuditWalkCache().LastKeptIndex(), staff.GetLastIndex());
}

// The start context comes from the staff's channel, port and instrument, which change without
// touching an item: kept walks from another start are not used.
TEST_F(AuditWalkCacheDropTest, ChangedStartContextIsNotTakenFromKeptWalks) {
  const std::function<void(TMusicStaff&)> changes[] = {
      [](TMusicStaff& s) { s.GetInstrument().SetTransposition(-2); },
      [](TMusicStaff& s) { s.SetChannel(5); },
      [](TMusicStaff& s) { s.SetDevice(1); },
  };
  for (const auto& change : changes) {
    SetUp();
    change(staff);
    ExpectSameWalk(staff.AuditWalkCache().WalkTo(staff, staff.GetLastIndex() - 1),
                   TAuditNtnIdx(&staff, staff.GetLastIndex() - 1));
  }
}

}  // namespace
}  // namespace kvt
