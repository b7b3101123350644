#include "notation/items/sustain_pedal.h"

#include <gtest/gtest.h>

#include "midi/events/midi_file_buf.h"
#include "notation/context/staff_context_state.h"
#include "tests/notation/item_walk_fixture.h"

namespace kvt {
namespace {

TEST(SustainPedalTest, PerformsControllerSixtyFour) {
  struct Case {
    int status;
    int value;
    int glyph;
  };
  const Case cases[] = {{1, 127, 31}, {0, 0, 32}, {200, 127, 31}};
  for (const Case& c : cases) {
    TSustainPedal pedal;
    pedal.SetStatus(c.status);
    EXPECT_EQ(pedal.GetSymbol(), c.glyph);
    TStaffContextState state;
    state.SetPort(3);
    state.SetChannel(9);
    state.SetSongPosition(384);
    TMidiFileBuf buffer(4);
    pedal.Perform(state, &buffer);
    const auto events = test::Events(buffer);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0], test::ControlAt(384, 3, 9, 64, c.value)) << "status " << c.status;
  }
}

TEST(SustainPedalTest, LeavesTheStateAlone) {
  TStaffContextState before;
  TStaffContextState state;
  TSustainPedal(false).ApplyToContext(state);
  EXPECT_EQ(state, before);
}

}  // namespace
}  // namespace kvt
