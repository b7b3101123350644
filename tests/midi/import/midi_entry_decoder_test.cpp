// MIDI keyboard messages into note-entry actions: held keys, releases, controllers, program
// change and the messages that must do nothing.

#include "midi/import/midi_entry_decoder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace kvt {
namespace {

constexpr uint32_t Msg(int status, int data1, int data2 = 0) {
  return static_cast<uint32_t>(status) | static_cast<uint32_t>(data1) << 8 |
         static_cast<uint32_t>(data2) << 16;
}

struct TDecodeCase {
  const char* name;
  std::vector<uint32_t> messages;
  // The action of the last message.
  TMidiEntryKind kind;
  int value;
  std::vector<int> keys;
};

class MidiEntryDecoderTest : public ::testing::TestWithParam<TDecodeCase> {};

TEST_P(MidiEntryDecoderTest, LastMessageGivesAction) {
  const TDecodeCase& c = GetParam();
  TMidiEntryDecoder decoder;
  TMidiEntryAction action;
  for (const uint32_t message : c.messages) action = decoder.Feed(message);
  EXPECT_EQ(action.kind, c.kind);
  EXPECT_EQ(action.value, c.value);
  EXPECT_EQ(action.keys, c.keys);
}

using K = TMidiEntryKind;

INSTANTIATE_TEST_SUITE_P(
    Cases, MidiEntryDecoderTest,
    ::testing::Values(
        TDecodeCase{"PressHoldsNothingYet", {Msg(0x90, 60, 100)}, K::kNone, 0, {}},
        TDecodeCase{
            "ReleaseEnters", {Msg(0x90, 60, 100), Msg(0x80, 60, 64)}, K::kEnterKeys, 0, {60}},
        TDecodeCase{
            "VelocityZeroReleases", {Msg(0x93, 60, 100), Msg(0x93, 60, 0)}, K::kEnterKeys, 0, {60}},
        TDecodeCase{"ChordAtFirstRelease",
                    {Msg(0x90, 67, 90), Msg(0x90, 60, 90), Msg(0x90, 64, 90), Msg(0x80, 64)},
                    K::kEnterKeys,
                    0,
                    {60, 64, 67}},
        TDecodeCase{"LaterReleasesOfTheChordEnterNothing",
                    {Msg(0x90, 60, 90), Msg(0x90, 64, 90), Msg(0x80, 60), Msg(0x80, 64)},
                    K::kNone,
                    0,
                    {}},
        TDecodeCase{"ReleaseOfKeyNotHeld", {Msg(0x90, 60, 90), Msg(0x80, 61)}, K::kNone, 0, {}},
        TDecodeCase{
            "DataBytesMasked", {Msg(0x90, 0xBC, 0xE4), Msg(0x80, 0x3C)}, K::kEnterKeys, 0, {60}},
        TDecodeCase{"SustainOn", {Msg(0xB0, 64, 64)}, K::kSetTie, 1, {}},
        TDecodeCase{"SustainOff", {Msg(0xB0, 64, 63)}, K::kSetTie, 0, {}},
        TDecodeCase{"ModWheelDurationWithoutKeys", {Msg(0xB0, 1, 127)}, K::kSetDuration, 6, {}},
        TDecodeCase{"Controller4Duration", {Msg(0xB0, 4, 39)}, K::kSetDuration, 1, {}},
        TDecodeCase{"Controller6Duration", {Msg(0xB5, 6, 40)}, K::kSetDuration, 2, {}},
        TDecodeCase{"Dots35", {Msg(0x90, 60, 1), Msg(0xB0, 1, 35)}, K::kSetDots, 0, {}},
        TDecodeCase{"Dots36", {Msg(0x90, 60, 1), Msg(0xB0, 5, 36)}, K::kSetDots, 1, {}},
        TDecodeCase{"Dots71", {Msg(0x90, 60, 1), Msg(0xB0, 1, 71)}, K::kSetDots, 1, {}},
        TDecodeCase{"Dots72", {Msg(0x90, 60, 1), Msg(0xB0, 1, 72)}, K::kSetDots, 2, {}},
        TDecodeCase{"Dots107", {Msg(0x90, 60, 1), Msg(0xB0, 1, 107)}, K::kSetDots, 2, {}},
        TDecodeCase{
            "Dots108ChangesNothing", {Msg(0x90, 60, 1), Msg(0xB0, 1, 108)}, K::kNone, 0, {}},
        TDecodeCase{"OtherControllerIgnored", {Msg(0xB0, 7, 100)}, K::kNone, 0, {}},
        TDecodeCase{"ProgramPlusOne", {Msg(0xC2, 40)}, K::kProgramChange, 41, {}},
        TDecodeCase{"ProgramMasked", {Msg(0xC0, 0xFF)}, K::kProgramChange, 128, {}},
        TDecodeCase{"SystemExclusive", {Msg(0xF0, 0x7E, 0x7F)}, K::kNone, 0, {}},
        TDecodeCase{"DataByteWithoutStatus", {Msg(0x3C, 0x40)}, K::kNone, 0, {}},
        TDecodeCase{"PitchBendIgnored", {Msg(0x90, 60, 1), Msg(0xE0, 0, 64)}, K::kNone, 0, {}},
        TDecodeCase{"RealTimeBetweenPressAndRelease",
                    {Msg(0x90, 62, 80), Msg(0xF8, 0), Msg(0xFE, 0), Msg(0x80, 62)},
                    K::kEnterKeys,
                    0,
                    {62}}),
    [](const ::testing::TestParamInfo<TDecodeCase>& info) { return std::string(info.param.name); });

TEST(MidiEntryDecoderResetTest, ResetForgetsHeldKeys) {
  TMidiEntryDecoder decoder;
  decoder.Feed(Msg(0x90, 60, 100));
  ASSERT_TRUE(decoder.HasHeldKeys());
  decoder.Reset();
  EXPECT_EQ(decoder.Feed(Msg(0x80, 60)).kind, TMidiEntryKind::kNone);
  // With no key held, a duration controller sets the duration again.
  EXPECT_EQ(decoder.Feed(Msg(0xB0, 1, 60)).kind, TMidiEntryKind::kSetDuration);
}

}  // namespace
}  // namespace kvt
