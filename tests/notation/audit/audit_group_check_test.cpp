// The staff audit's beam and triplet marks: groups that no longer hold together lose them.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "notation/items/item_cast.h"
#include "notation/audit/audit_item.h"
#include "notation/audit/audit_ntn_idx.h"
#include "notation/items/key_data.h"
#include "notation/index/simple_ntn_idx.h"
#include "tests/notation/audit_staff_fixture.h"

namespace kvt {
namespace {

using test::GroupLetter;
using test::TAuditStaff;

constexpr int kLowPos = 5;  // below the middle line: automatic stems go up

int DurationCode(int value) {
  switch (value) {
    case 4: return kDurQuarter;
    case 8: return kDurEighth;
    case 16: return kDur16th;
    default: return kDurHalf;
  }
}

int StateOf(char letter) {
  switch (letter) {
    case 'F': return kGroupFirst;
    case 'M': return kGroupMiddle;
    case 'E': return kGroupEnd;
    default: return kGroupNone;
  }
}

// Builds a staff from tokens separated by blanks: "|" a bar line, "k" a key signature, and
// song notes written [a][g][r]<4|8|16><F|M|E|->[d]: a automatic stem (else up, d down), g a
// grace note, r a rest, the duration, then the group state of `kind`. Returns the song notes.
std::vector<TSongNote*> Build(TAuditStaff& built, const std::string& tokens, int kind) {
  std::vector<TSongNote*> notes;
  std::istringstream in(tokens);
  std::string t;
  while (in >> t) {
    if (t == "|") {
      built.Bar();
      continue;
    }
    if (t == "k") {
      built.Add<TKeyData>();
      continue;
    }
    size_t i = 0;
    bool autoStem = false, grace = false, rest = false;
    for (; i < t.size() && !isdigit(static_cast<unsigned char>(t[i])); ++i) {
      autoStem |= t[i] == 'a';
      grace |= t[i] == 'g';
      rest |= t[i] == 'r';
    }
    size_t used = 0;
    const int value = std::stoi(t.substr(i), &used);
    i += used;
    const int state = i < t.size() ? StateOf(t[i]) : kGroupNone;
    const bool down = t.back() == 'd';
    const int flags = grace ? kMaskGrace : 0;
    TSongNote* note = rest ? ItemAs<TSongNote>(built.Rest(DurationCode(value), flags))
                           : built.Note(kLowPos, DurationCode(value), flags);
    if (!autoStem) note->SetStemDir(down ? kStemDown : kStemUp);
    note->SetGroupState(kind, state);
    notes.push_back(note);
  }
  return notes;
}

std::string States(const std::vector<TSongNote*>& notes, int kind) {
  std::string letters;
  for (const TSongNote* note : notes)
    letters += GroupLetter(kind == kGroupBeam ? note->GetBeamState() : note->GetTripletState());
  return letters;
}

struct TGroupCase {
  const char* name;
  int kind;
  const char* tokens;
  const char* expected;
};

const TGroupCase kGroupCases[] = {
    {"BeamOfEighthsHolds", kGroupBeam, "8F 8M 8E", "FME"},
    {"AQuarterBreaksABeam", kGroupBeam, "8F 4M 8E", "---"},
    {"ABarLineBreaksABeam", kGroupBeam, "8F 8M | 8E", "---"},
    {"AKeyBreaksABeam", kGroupBeam, "8F k 8E", "--"},
    {"ABeamNeedsItsEnd", kGroupBeam, "8F 8M | 8-", "---"},
    {"AMiddleWithoutFirstIsDropped", kGroupBeam, "8M 8E 8F 8E", "--FE"},
    {"AFirstInsideAnOpenBeamBreaksIt", kGroupBeam, "8F 8F 8M 8E", "-FME"},
    {"AnEndAfterTheBeamClosedIsDropped", kGroupBeam, "8F 8E 8E", "FE-"},
    {"ARestMayStandInsideABeam", kGroupBeam, "8F r8M 8E", "FME"},
    {"ARestCannotOpenABeam", kGroupBeam, "r8F 8M 8E", "---"},
    {"StemsOfABeamMustAgree", kGroupBeam, "8F 8Ed", "--"},
    {"GraceNotesPassThroughABeam", kGroupBeam, "8F g16- 8E", "F-E"},
    {"AGraceBeamIsItsOwnGroup", kGroupBeam, "g16F 8F g16E 8E", "FFEE"},
    {"TripletOfEighthsHolds", kGroupTriplet, "8F 8M 8E", "FME"},
    {"TripletOfSixteenthsHolds", kGroupTriplet, "16F 16M 16E", "FME"},
    {"TripletOfQuarterAndEighthHolds", kGroupTriplet, "4F 8E", "FE"},
    {"ARestCountsInATriplet", kGroupTriplet, "8F r8M 8E", "FME"},
    {"TwoTripletEighthsAreNoWholeUnit", kGroupTriplet, "8F 8E", "--"},
    {"AGraceNoteBreaksATriplet", kGroupTriplet, "8F g8- 8M 8E", "----"},
    {"ABarLineBreaksATriplet", kGroupTriplet, "8F 8M | 8E", "---"},
    {"AutomaticStemsAreBeamedAgain", kGroupBeam, "a8F a8M a8E", "FME"},
    {"AnAutomaticBeamThatCannotBeBeamedIsDropped", kGroupBeam, "a8F a4M a8E", "---"},
};

TEST(AuditGroupCheckTest, GroupMarks) {
  for (const TGroupCase& c : kGroupCases) {
    SCOPED_TRACE(c.name);
    TAuditStaff built;
    std::vector<TSongNote*> notes = Build(built, c.tokens, c.kind);
    built.AuditAll();
    EXPECT_EQ(States(notes, c.kind), c.expected);
  }
}

TEST(AuditGroupCheckTest, ReBeamingGivesAutomaticStemsOneDirection) {
  TAuditStaff built;
  // An upper note far above the middle line turns the whole group's stems down.
  std::vector<TSongNote*> notes = Build(built, "a8F a8M a8E", kGroupBeam);
  ItemAs<TMusicNote>(notes[1])->SetStaffPos(-9);
  built.AuditAll();
  ASSERT_EQ(States(notes, kGroupBeam), "FME");
  for (const TSongNote* note : notes) EXPECT_EQ(note->GetStemDir(), -1);
}

TEST(AuditGroupCheckTest, TheCheckAloneLeavesASoundExplicitGroupAsItIs) {
  TAuditStaff built;
  std::vector<TSongNote*> notes = Build(built, "8F 8M 8Ed", kGroupBeam);
  notes[2]->SetStemDir(kStemUp);
  const int first = built.IndexOf(notes[0]);
  TAuditNtnIdx idx(&built.staff);
  idx.SetIndex(first);
  EXPECT_TRUE(PassesGroupCheck(idx, kGroupBeam));
  EXPECT_EQ(States(notes, kGroupBeam), "FME");
  EXPECT_FALSE(PassesGroupCheck(idx, kGroupTriplet)) << "not a triplet";
}

}  // namespace
}  // namespace kvt
