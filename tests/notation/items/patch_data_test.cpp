#include "notation/items/patch_data.h"

#include <gtest/gtest.h>

#include <vector>

#include "midi/events/midi_file_buf.h"
#include "notation/context/staff_context_state.h"
#include "tests/notation/item_walk_fixture.h"

namespace kvt {
namespace {

std::vector<TMidiSongEvent> PerformPatch(const TPatchData& patch) {
  TStaffContextState state;
  state.SetPort(2);
  state.SetChannel(3);
  state.SetSongPosition(192);
  TMidiFileBuf buffer(4);
  patch.Perform(state, &buffer);
  return test::Events(buffer);
}

TEST(PatchDataTest, ConstructionCopiesOrResetsTheDefinition) {
  TInstrumentDef def;
  def.SetName(u"Oboe");
  def.SetPatch(68);
  def.SetTransposition(-2);
  TPatchData copy(&def);
  EXPECT_EQ(copy.GetInstrument(), def);
  EXPECT_EQ(copy.GetName(), u"Oboe");
  TPatchData blank;
  EXPECT_EQ(blank.GetInstrument(), TInstrumentDef());
  EXPECT_EQ(blank.GetName(), u"[Instr]");
}

TEST(PatchDataTest, SetPatchTakesThePatchBytePlusOne) {
  TPatchData patch;
  patch.SetPatch(1);
  EXPECT_TRUE(patch.GetInstrument().HasPatch());
  EXPECT_EQ(patch.GetInstrument().GetPatch(), 0);
  patch.SetPatch(0);
  EXPECT_FALSE(patch.GetInstrument().HasPatch());
  patch.SetPatch(250);
  EXPECT_EQ(patch.GetInstrument().GetPatch(), 127);
}

TEST(PatchDataTest, PerformsBankProgramAndBendRange) {
  TPatchData patch;
  patch.GetInstrument().SetBank(1, 5);
  patch.GetInstrument().SetPatch(40);
  patch.GetInstrument().SetBendRange(12);
  const auto events = PerformPatch(patch);
  const std::vector<TMidiSongEvent> expected = {
      test::ControlAt(192, 2, 3, 0, 1),
      test::ControlAt(192, 2, 3, 32, 5),
      TMidiSongEvent(192, TMidiMsg::Channel(kMidiProgramChange, 2, 3, 40, 0)),
      test::ControlAt(192, 2, 3, 101, 0),
      test::ControlAt(192, 2, 3, 100, 0),
      test::ControlAt(192, 2, 3, 6, 12),
      test::ControlAt(192, 2, 3, 38, 0),
      test::ControlAt(192, 2, 3, 101, 127),
      test::ControlAt(192, 2, 3, 100, 127),
  };
  EXPECT_EQ(events, expected);
}

TEST(PatchDataTest, BankWithoutPatchAndNothingSet) {
  TPatchData patch;
  EXPECT_TRUE(PerformPatch(patch).empty());
  patch.GetInstrument().SetBank(3, 3);
  EXPECT_TRUE(PerformPatch(patch).empty());  // a bank alone selects nothing
  patch.GetInstrument().SetPatch(0);
  EXPECT_EQ(PerformPatch(patch).size(), 3u);
}

TEST(PatchDataTest, OutOfRangeValuesStayValidMidiData) {
  TPatchData patch;
  patch.GetInstrument().SetBank(400, -9);
  patch.GetInstrument().SetPatch(900);
  patch.GetInstrument().SetBendRange(300);
  for (const TMidiSongEvent& e : PerformPatch(patch)) {
    EXPECT_LE(e.msg.GetData1(), 127);
    EXPECT_LE(e.msg.GetData2(), 127);
  }
}

TEST(PatchDataTest, ApplySetsTheTransposition) {
  TInstrumentDef def;
  def.SetTransposition(-9);
  TStaffContextState state;
  TPatchData(&def).ApplyToContext(state);
  EXPECT_EQ(state.GetTransposition(), -9);
}

}  // namespace
}  // namespace kvt
