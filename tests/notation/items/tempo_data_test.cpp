#include "notation/items/tempo_data.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "midi/events/midi_file_buf.h"
#include "notation/context/staff_context_state.h"
#include "tests/notation/item_walk_fixture.h"

namespace kvt {
namespace {

TEST(TempoDataTest, TempoIsAtLeastFour) {
  TTempoData tempo(2, kTempoQuarter);
  EXPECT_EQ(tempo.GetTempo(), 4);
  tempo.SetTempo(-100, kTempoHalf);
  EXPECT_EQ(tempo.GetTempo(), 4);
  EXPECT_EQ(tempo.GetBase(), kTempoHalf);
}

TEST(TempoDataTest, QuarterTempoByBase) {
  struct Case {
    int tempo, base, quarter;
  };
  const Case cases[] = {
      {120, kTempoEighth, 60},        {100, kTempoEighthDotted, 75}, {90, kTempoQuarter, 90},
      {60, kTempoQuarterDotted, 90},  {50, kTempoHalf, 100},         {40, kTempoHalfDotted, 120},
      {5, kTempoEighth, 4},           // at least 4
      {7, kTempoEighthDotted, 5},     // truncating
      {100, 77, 100},                 // unknown base plays as quarter
      {INT_MAX, kTempoHalfDotted, INT_MAX},  // saturates
  };
  for (const Case& c : cases)
    EXPECT_EQ(TTempoData(c.tempo, c.base).GetQuarterTempo(), c.quarter)
        << c.tempo << " base " << c.base;
}

TEST(TempoDataTest, FromQuarterTempoAndConversion) {
  const int expected[kTempoBaseCount] = {180, 120, 90, 60, 45, 30};
  for (int base = 0; base < kTempoBaseCount; ++base)
    EXPECT_EQ(TTempoData::FromQuarterTempo(90, base), expected[base]) << base;
  EXPECT_EQ(TTempoData::ConvertTempo(60, kTempoQuarterDotted, kTempoEighth), 180);
  EXPECT_EQ(TTempoData::ConvertTempo(120, kTempoQuarter, kTempoHalf), 60);
  EXPECT_EQ(TTempoData::FromQuarterTempo(INT_MAX, kTempoEighth), INT_MAX);
}

TEST(TempoDataTest, PerformsTheQuarterTempo) {
  TStaffContextState state;
  state.SetSongPosition(1536);
  TMidiFileBuf buffer(4);
  TTempoData(60, kTempoQuarterDotted).Perform(state, &buffer);
  const auto events = test::Events(buffer);
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].time, 1536u);
  EXPECT_EQ(events[0].msg.GetKind(), kMidiKindTempo);
  EXPECT_EQ(events[0].msg.GetTempoMicros(), 60000000u / 90);
  // A tempo leaves the running state alone.
  TStaffContextState fresh;
  TStaffContextState applied;
  TTempoData(200).ApplyToContext(applied);
  EXPECT_EQ(applied, fresh);
}

TEST(TempoDataTest, TextIsCutAt254Units) {
  TTempoData tempo;
  tempo.SetText(std::u16string(300, u'L'));
  EXPECT_EQ(tempo.GetText().size(), 254u);
  std::u16string pair(253, u'L');
  pair += u"\U0001D15F";  // a quarter note symbol, two units: the cut falls inside it
  tempo.SetText(pair);
  EXPECT_EQ(tempo.GetText(), std::u16string(253, u'L'));
  tempo.SetText(u"Allegro");
  EXPECT_EQ(tempo.GetText(), u"Allegro");
}

}  // namespace
}  // namespace kvt
