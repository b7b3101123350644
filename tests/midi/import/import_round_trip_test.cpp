// A score exported as a MIDI file and imported again gives back its notes per staff, its
// programs, tempo, key and time signature.
#include <gtest/gtest.h>

#include "midi/import/import_midi_file.h"
#include "midi/smf/midi_export.h"
#include "notation/items/key_data.h"
#include "notation/items/tempo_data.h"
#include "notation/items/time_signature_data.h"
#include "tests/midi/score_builder.h"
#include "tests/midi/smf_dump_runner.h"

namespace kvt {
namespace {

using test::AddStaff;
using test::NoteOns;
using test::RenderForPlaying;
using test::TNoteOn;

std::vector<TNoteOn> Played(TMusicScore& score) {
  TMidiFileBuf buffer(8);
  RenderForPlaying(score, buffer);
  std::vector<TNoteOn> ons = NoteOns(buffer);
  for (TNoteOn& on : ons) on.velocity = 0;  // dynamics are not notated back
  return ons;
}

const TNotatedItem* FirstOfType(const TMusicStaff& staff, TNotatedItemType type) {
  for (int i = 0; i <= staff.GetLastIndex(); ++i)
    if (staff.GetItem(i)->GetType() == type) return staff.GetItem(i);
  return nullptr;
}

class ImportRoundTripTest : public test::SmfFileTest {};

TEST_F(ImportRoundTripTest, ExportThenImportGivesBackTheMusic) {
  TMusicScore score;
  AddStaff(score, "3/4 K2 T90 C D E | F G A~ | A B C | R C~ C |", 0);
  TMusicStaff& second = AddStaff(score, "3/4 K2 c d e f g a | C R R | R R B | A G F |", 1);
  second.GetInstrument().SetPatch(40);
  const std::string path = folder + "/round.mid";
  ASSERT_TRUE(ExportMidiFile(score, path, 1, TServices()));

  std::unique_ptr<TMusicScore> back = ImportMidiFile(nullptr, path, 0, nullptr);
  ASSERT_NE(back, nullptr);
  ASSERT_EQ(back->GetStaffCount(), 2);
  EXPECT_EQ(Played(*back), Played(score));
  EXPECT_EQ(back->GetStaff(1)->GetInstrument().GetPatch(), 40);
  EXPECT_EQ(back->GetStaff(1)->GetChannel(), 1);
  for (int s = 0; s < 2; ++s) {
    SCOPED_TRACE(s);
    const TMusicStaff& staff = *back->GetStaff(s);
    const auto* key = static_cast<const TKeyData*>(FirstOfType(staff, kItemKey));
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->GetSharpsMask(), (1 << 5) | (1 << 2));  // F and C sharp
    const auto* sig = static_cast<const TTimeSignatureData*>(FirstOfType(staff, kItemTimeSig));
    ASSERT_NE(sig, nullptr);
    EXPECT_EQ(sig->GetBeats(), 3);
    EXPECT_EQ(sig->GetBeatExponent(), 2);
  }
  const auto* tempo = static_cast<const TTempoData*>(FirstOfType(*back->GetStaff(0), kItemTempo));
  ASSERT_NE(tempo, nullptr);
  EXPECT_EQ(tempo->GetTempo(), 90);
}

}  // namespace
}  // namespace kvt
