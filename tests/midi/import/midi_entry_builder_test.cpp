// Notes, chords, tied pieces and instrument changes a MIDI keyboard enters at a caret: played
// keys come back as the sounding pitches of the written notes under clefs, octave clefs, keys
// and transposition; spelling, folding, collisions and cuts at bar ends.

#include "midi/import/midi_entry_builder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "notation/files/text/score_text_reader.h"
#include "notation/items/chord_data.h"
#include "notation/items/item_cast.h"
#include "notation/items/music_note.h"
#include "notation/items/patch_data.h"
#include "notation/services/services.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "tests/notation/score_text_fixture.h"

namespace kvt {
namespace {

// A one-staff score: the header items, then `items` (score text lines).
std::unique_ptr<TMusicScore> MakeScore(const std::string& clef, const std::string& key,
                                       int transposition, const std::string& timeSig = "4/4",
                                       const std::string& items = "") {
  char header[512];
  std::snprintf(header, sizeof header,
                "!TarlowmedeRazadove(2.75)\r\n|AddStaff|Name:\"A\"\r\n"
                "|StaffInstrument|Name:\"P\"|Patch:0|Bank:N|Trans:%d\r\n|Clef|Type:%s\r\n"
                "|Key|Signature:%s|Tonic:C\r\n|TimeSig|Signature:%s\r\n",
                transposition, clef.c_str(), key.c_str(), timeSig.c_str());
  score_text_test::TTextStream in(std::string(header) + items);
  TScoreLoadResult loaded = ReadScoreText(*in, TServices());
  EXPECT_TRUE(loaded.score != nullptr);
  return std::move(loaded.score);
}

int EndCaret(const TMusicScore& score) { return score.GetStaff(0)->GetLastIndex(); }

struct TContextCase {
  const char* name;
  const char* clef;  // with its octave shift field when it has one
  const char* key;
  int transposition;
};

class MidiEntryPitchTest : public ::testing::TestWithParam<TContextCase> {};

// Every key that needs no folding sounds as played; ignoring the transposition writes the key
// as played, so it sounds transposed.
TEST_P(MidiEntryPitchTest, WrittenNoteSoundsAsPlayed) {
  const TContextCase& c = GetParam();
  const auto score = MakeScore(c.clef, c.key, c.transposition);
  const TMusicStaff& staff = *score->GetStaff(0);
  const TStaffContextState state = EntryStateAt(staff, EndCaret(*score));
  ASSERT_EQ(state.GetTransposition(), c.transposition);
  for (int key = 0; key < 128; ++key) {
    for (const bool ignore : {false, true}) {
      const int written = EntryPitchForKey(key, state, ignore);
      const int octave = state.GetClefOctaveShift() == 1   ? 12
                         : state.GetClefOctaveShift() == 2 ? -12
                                                           : 0;
      const int unfolded = key - (ignore ? 0 : c.transposition) - octave;
      const int sounding = ignore ? key + c.transposition : key;
      if (unfolded < 0 || unfolded > 127 || sounding < 0 || sounding > 127) continue;
      ASSERT_EQ(written, unfolded) << key;
      const auto note = BuildEntryItem({key}, TEntryNoteSettings(), state, ignore);
      ASSERT_TRUE(note != nullptr);
      EXPECT_EQ(note->GetType(), kItemNote);
      EXPECT_EQ(note->GetPitch(state), sounding)
          << "key " << key << (ignore ? " ignoring transposition" : "");
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Contexts, MidiEntryPitchTest,
    ::testing::Values(TContextCase{"Treble", "Treble", "C", 0},
                      TContextCase{"Bass", "Bass", "Bb,Eb,Ab", 0},
                      TContextCase{"Alto", "Alto", "F#,C#,G#,D#,A#,E#,B#", 0},
                      TContextCase{"Tenor", "Tenor", "Bb,Eb,Ab,Db,Gb,Cb,Fb", 0},
                      TContextCase{"TrebleOctaveDown", "Treble|OctaveShift:Octave Down", "C", 0},
                      TContextCase{"BassOctaveUp", "Bass|OctaveShift:Octave Up", "F#", 0},
                      TContextCase{"BFlatInstrument", "Treble", "C", -2},
                      TContextCase{"OctaveClefAndTransposition", "Treble|OctaveShift:Octave Up",
                                   "Bb", 3}),
    [](const ::testing::TestParamInfo<TContextCase>& info) {
      return std::string(info.param.name);
    });

TEST(MidiEntryFoldTest, KeysFoldIntoTheEndOctaves) {
  const auto score = MakeScore("Treble", "C", 0);
  const TStaffContextState state = EntryStateAt(*score->GetStaff(0), 1);
  const struct {
    int key, folded;
  } cases[] = {{127, 127}, {128, 116}, {139, 127}, {140, 116}, {200, 116},
               {0, 0},     {-1, 11},   {-12, 0},   {-13, 11}};
  for (const auto& c : cases) EXPECT_EQ(EntryPitchForKey(c.key, state, true), c.folded) << c.key;
}

// The written pitch leaves 0..127 only through the transposition: it folds, keeping its class.
TEST(MidiEntryFoldTest, TransposedBeyondTheRangeFolds) {
  const auto high = MakeScore("Treble", "C", -12);
  const TStaffContextState down = EntryStateAt(*high->GetStaff(0), 1);
  EXPECT_EQ(EntryPitchForKey(125, down, false), 125);  // 137 folds to 125
  EXPECT_EQ(EntryPitchForKey(120, down, false), 120);  // 132 folds to 120
  const auto low = MakeScore("Treble", "C", 12);
  const TStaffContextState up = EntryStateAt(*low->GetStaff(0), 1);
  EXPECT_EQ(EntryPitchForKey(5, up, false), 5);  // -7 folds to 5
  EXPECT_EQ(EntryPitchForKey(12, up, false), 0);
}

struct TSpellCase {
  const char* name;
  const char* key;
  const char* items;  // before the caret
  int midiKey;
  int position;
  int accidental;  // raw code, 5 none
};

class MidiEntrySpellTest : public ::testing::TestWithParam<TSpellCase> {};

TEST_P(MidiEntrySpellTest, KeyPreferenceAndImpliedAccidentals) {
  const TSpellCase& c = GetParam();
  const auto score = MakeScore("Treble", c.key, 0, "4/4", c.items);
  const TStaffContextState state = EntryStateAt(*score->GetStaff(0), EndCaret(*score));
  const auto note = BuildEntryItem({c.midiKey}, TEntryNoteSettings(), state, true);
  ASSERT_TRUE(note != nullptr);
  EXPECT_EQ(note->GetStaffPos(), c.position);
  EXPECT_EQ(note->GetRawAccidental(), c.accidental);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MidiEntrySpellTest,
    ::testing::Values(
        TSpellCase{"MiddleCNatural", "C", "", 60, 6, kAccNone},
        TSpellCase{"SharpInC", "C", "", 61, 6, kAccSharp},
        TSpellCase{"FlatKeyPrefersFlat", "Bb", "", 61, 5, kAccFlat},
        TSpellCase{"KeyImpliesSharp", "F#", "", 66, 3, kAccNone},
        TSpellCase{"NaturalAgainstKey", "F#", "", 65, 3, kAccNatural},
        TSpellCase{"KeyImpliesFlat", "Bb", "", 70, 0, kAccNone},
        // An earlier sharp in the bar: the natural must be shown, a second sharp need not.
        TSpellCase{"BarSharpImplied", "C", "|Note|Dur:4th|Pos:#-3\r\n", 66, 3, kAccNone},
        TSpellCase{"BarSharpThenNatural", "C", "|Note|Dur:4th|Pos:#-3\r\n", 65, 3, kAccNatural},
        TSpellCase{"BarLineEndsTheSharp", "C", "|Note|Dur:4th|Pos:#-3\r\n|Bar\r\n", 65, 3,
                   kAccNone}),
    [](const ::testing::TestParamInfo<TSpellCase>& info) { return std::string(info.param.name); });

TEST(MidiEntryChordTest, ChordTakesSettingsAndRespellsCollisions) {
  const auto score = MakeScore("Treble", "C", 0);
  const TStaffContextState state = EntryStateAt(*score->GetStaff(0), 1);
  TEntryNoteSettings settings;
  settings.duration = kDurHalf;
  settings.flags = kMaskTieOut | kMaskStaccato;
  settings.color = 3;
  // Unordered keys: C and C sharp share position 6, so C sharp becomes D flat.
  const auto item = BuildEntryItem({67, 61, 60}, settings, state, true);
  ASSERT_TRUE(item != nullptr);
  ASSERT_EQ(item->GetType(), kItemChord);
  ASSERT_EQ(item->GetMemberCount(), 3);
  std::multiset<int> pitches;
  std::set<int> positions;
  for (int i = 0; i < 3; ++i) {
    pitches.insert(item->GetMember(i)->GetPitch(state));
    positions.insert(item->GetMember(i)->GetStaffPos());
  }
  EXPECT_EQ(pitches, (std::multiset<int>{60, 61, 67}));
  EXPECT_EQ(positions, (std::set<int>{6, 5, 2}));
  const TMusicNote* dFlat = item->FindMemberAtPos(5);
  ASSERT_TRUE(dFlat != nullptr);
  EXPECT_EQ(dFlat->GetRawAccidental(), kAccFlat);
  EXPECT_EQ(item->GetDurationCode(), kDurHalf);
  EXPECT_TRUE(item->IsTieOut());
  EXPECT_EQ(item->GetColor(), 3);
}

// Four keys that fold onto one pitch: E, F flat and D double sharp fit; the fourth is dropped.
TEST(MidiEntryChordTest, NoteWithoutAFreeSpellingIsDropped) {
  const auto score = MakeScore("Treble", "C", -36);
  const TStaffContextState state = EntryStateAt(*score->GetStaff(0), 1);
  const auto item = BuildEntryItem({88, 100, 112, 124}, TEntryNoteSettings(), state, false);
  ASSERT_TRUE(item != nullptr);
  ASSERT_EQ(item->GetMemberCount(), 3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(item->GetMember(i)->GetPitch(state), 124 - 36);
}

TEST(MidiEntryChordTest, NoKeysNoItem) {
  const auto score = MakeScore("Treble", "C", 0);
  const TStaffContextState state = EntryStateAt(*score->GetStaff(0), 1);
  EXPECT_EQ(BuildEntryItem({}, TEntryNoteSettings(), state, true), nullptr);
}

struct TSplitCase {
  const char* name;
  const char* timeSig;
  const char* items;
  int duration;
  int flags;
  std::vector<int> pieces;  // ticks of each piece
};

class MidiEntrySplitTest : public ::testing::TestWithParam<TSplitCase> {};

TEST_P(MidiEntrySplitTest, CutAtBarEnds) {
  const TSplitCase& c = GetParam();
  const auto score = MakeScore("Treble", "C", 0, c.timeSig, c.items);
  const TMusicStaff& staff = *score->GetStaff(0);
  auto note = std::make_unique<TMusicNote>(4, c.duration, c.flags, kAccNone);
  const auto pieces = SplitEntryItem(std::move(note), staff, EndCaret(*score));
  std::vector<int> ticks;
  for (const auto& piece : pieces) ticks.push_back(piece->GetDuration());
  EXPECT_EQ(ticks, c.pieces);
  const bool tiedOn = (c.flags & kMaskTieOut) != 0;
  for (size_t i = 0; i < pieces.size(); ++i) {
    const auto* piece = ItemAs<TMusicNote>(pieces[i].get());
    ASSERT_TRUE(piece != nullptr);
    EXPECT_EQ(piece->GetStaffPos(), 4);
    EXPECT_EQ(piece->IsTieOut(), i + 1 < pieces.size() || tiedOn) << i;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MidiEntrySplitTest,
    ::testing::Values(
        TSplitCase{"FitsTheBar", "4/4", "", kDurHalf, 0, {384}},
        TSplitCase{"FillsTheBarExactly", "4/4", "|Note|Dur:Half|Pos:0\r\n", kDurHalf, 0, {384}},
        TSplitCase{"WholeOnTheLastBeat",
                   "4/4",
                   "|Note|Dur:Half,Dotted|Pos:0\r\n",
                   kDurWhole,
                   0,
                   {192, 576}},
        TSplitCase{"KeepsItsOwnTie",
                   "4/4",
                   "|Note|Dur:Half,Dotted|Pos:0\r\n",
                   kDurWhole,
                   kMaskTieOut,
                   {192, 576}},
        TSplitCase{"AfterABarLine",
                   "4/4",
                   "|Note|Dur:Whole|Pos:0\r\n|Bar\r\n|Note|Dur:Half|Pos:0\r\n",
                   kDurWhole,
                   0,
                   {384, 384}},
        TSplitCase{"OverfullBarCountsOn",
                   "2/4",
                   "|Note|Dur:Half,Dotted|Pos:0\r\n",
                   kDurHalf,
                   0,
                   {192, 192}},
        TSplitCase{"ManyBars", "2/4", "", kDurWhole, kMaskDotted, {384, 384, 384}},
        TSplitCase{"ThreeFour", "3/4", "", kDurWhole, 0, {576, 192}},
        TSplitCase{"GraceStaysWhole",
                   "4/4",
                   "|Note|Dur:Half,Dotted|Pos:0\r\n",
                   kDurHalf,
                   kMaskGrace,
                   {0}}),
    [](const ::testing::TestParamInfo<TSplitCase>& info) { return std::string(info.param.name); });

TEST(MidiEntryProgramTest, CarriesTheInstrumentInForce) {
  const auto score =
      MakeScore("Treble", "C", -2, "4/4",
                "|Note|Dur:4th|Pos:0\r\n|Instrument|Name:\"Horn\"|Patch:60|Bank:N|Trans:-7\r\n");
  const TMusicStaff& staff = *score->GetStaff(0);
  const auto fromStaff = BuildEntryProgramChange(staff, 1, 41);
  EXPECT_EQ(fromStaff->GetInstrument().GetPatch(), 40);
  EXPECT_EQ(fromStaff->GetInstrument().GetTransposition(), -2);
  const auto fromChange = BuildEntryProgramChange(staff, EndCaret(*score), 128);
  EXPECT_EQ(fromChange->GetInstrument().GetPatch(), 127);
  EXPECT_EQ(fromChange->GetInstrument().GetTransposition(), -7);
  EXPECT_EQ(EntryStateAt(staff, EndCaret(*score)).GetTransposition(), -7);
}

}  // namespace
}  // namespace kvt
