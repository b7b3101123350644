#include "notation/items/time_signature_data.h"

#include <gtest/gtest.h>

#include <climits>

#include "midi/events/midi_file_buf.h"
#include "notation/context/staff_context_state.h"
#include "tests/notation/item_walk_fixture.h"

namespace kvt {
namespace {

TEST(TimeSignatureDataTest, SignatureIsClampedToItsRanges) {
  struct Case {
    int beats, exponent;
    int storedBeats, storedExponent;
  };
  const Case cases[] = {
      {0, 0, 1, 0},       {300, 9, 128, 5},   {3, 2, 3, 2},     {-6, -3, 6, 3},
      {127, 4, 127, 4},   {128, 5, 128, 5},   {INT_MIN, INT_MIN, 128, 5},
  };
  for (const Case& c : cases) {
    TTimeSignatureData sig(c.beats, c.exponent);
    EXPECT_EQ(sig.GetBeats(), c.storedBeats) << c.beats << "/" << c.exponent;
    EXPECT_EQ(sig.GetBeatExponent(), c.storedExponent) << c.beats << "/" << c.exponent;
  }
  EXPECT_EQ(TTimeSignatureData(300, 9).GetBeatValue(), 32);
  EXPECT_EQ(TTimeSignatureData(3, 2).GetBarTicks(), 576);
  EXPECT_EQ(TTimeSignatureData(128, 0).GetBarTicks(), 98304);
}

TEST(TimeSignatureDataTest, StylesSetTheirSignature) {
  TTimeSignatureData sig(7, 3);
  sig.SetStyle(kTimeSigCommon);
  EXPECT_EQ(sig.GetBeats(), 4);
  EXPECT_EQ(sig.GetBeatExponent(), 2);
  sig.SetStyle(kTimeSigAllaBreve);
  EXPECT_EQ(sig.GetBeats(), 2);
  EXPECT_EQ(sig.GetBeatExponent(), 1);
  sig.SetSignature(5, 3);
  sig.SetStyle(kTimeSigStandard);
  EXPECT_EQ(sig.GetBeats(), 5);
  sig.SetStyle(0x12);
  EXPECT_EQ(sig.GetStyle(), 2);
}

TEST(TimeSignatureDataTest, ExponentOfDenominators) {
  const int denominators[] = {1, 2, 4, 8, 16, 32, 3, 0, 64, -4};
  const int exponents[] = {0, 1, 2, 3, 4, 5, 2, 2, 2, 2};
  for (size_t i = 0; i < std::size(denominators); ++i)
    EXPECT_EQ(TTimeSignatureData::ExponentOf(denominators[i]), exponents[i]) << denominators[i];
}

TEST(TimeSignatureDataTest, ApplySetsBeatsAndExponent) {
  TStaffContextState state;
  TTimeSignatureData(6, 3).ApplyToContext(state);
  EXPECT_EQ(state.GetTimeSigBeats(), 6);
  EXPECT_EQ(state.GetTimeSigBeatExponent(), 3);
  EXPECT_EQ(state.GetBarLength(), 576);
}

TEST(TimeSignatureDataTest, PerformEmitsOnlyAtStartOrOnChange) {
  struct Case {
    int position;
    int stateBeats, stateExponent;
    bool emits;
  };
  const Case cases[] = {{0, 3, 2, true}, {384, 3, 2, false}, {384, 4, 2, true}, {384, 3, 3, true}};
  for (const Case& c : cases) {
    TStaffContextState state;
    state.SetTimeSig(c.stateBeats, c.stateExponent);
    state.SetSongPosition(c.position);
    TMidiFileBuf buffer(4);
    TTimeSignatureData(3, 2).Perform(state, &buffer);
    const auto events = test::Events(buffer);
    ASSERT_EQ(events.size(), c.emits ? 1u : 0u) << "case at " << c.position;
    if (!c.emits) continue;
    EXPECT_EQ(events[0].time, static_cast<uint32_t>(c.position));
    EXPECT_EQ(events[0].msg.GetKind(), kMidiKindTimeSig);
    EXPECT_EQ(events[0].msg.GetTimeSigNumerator(), 3);
    EXPECT_EQ(events[0].msg.GetTimeSigDenominatorPower(), 2);
  }
}

}  // namespace
}  // namespace kvt
