#include <gtest/gtest.h>

#include <set>

#include "midi/import/import_converter.h"
#include "notation/context/staff_context_state.h"
#include "notation/items/chord_data.h"
#include "notation/items/clef_data.h"
#include "notation/items/key_data.h"
#include "notation/items/tempo_data.h"
#include "notation/items/time_signature_data.h"
#include "notation/services/long_task_cancel.h"
#include "notation/staff/staff_lyrics.h"
#include "tests/midi/import/import_fixture.h"
#include "tests/midi/import/import_test_shell.h"

namespace kvt {
namespace {

using test::ImportFixture;

class ImportConverterTest : public ImportFixture {};

TEST_F(ImportConverterTest, NotesStartingInOneCellFormAChordAndALaterOneEndsIt) {
  Tracks(1);
  Note(0, 0, 60, 0, 400);
  Note(0, 0, 64, 5, 400);   // the same 24-tick cell
  Note(0, 0, 67, 24, 400);  // a cell later
  TMusicScore& s = Convert();
  ASSERT_EQ(s.GetStaffCount(), 1);
  const auto notes = Notes(*s.GetStaff(0));
  ASSERT_GE(notes.size(), 2u);
  EXPECT_EQ(notes[0]->GetType(), kItemChord);
  EXPECT_EQ(notes[0]->GetMemberCount(), 2);
  EXPECT_EQ(TimeOf(*s.GetStaff(0), notes[0]), 0);
  EXPECT_EQ(TimeOf(*s.GetStaff(0), notes[1]), 24);
}

TEST_F(ImportConverterTest, ALongNoteBecomesTiedNotesWithTheLastUntied) {
  Tracks(1);
  Note(0, 0, 60, 192, 192 + 768 * 2);  // from the second beat across two bar lines
  TMusicScore& s = Convert();
  const auto notes = Notes(*s.GetStaff(0));
  ASSERT_GE(notes.size(), 3u);
  for (size_t i = 0; i + 1 < notes.size(); ++i) EXPECT_TRUE(notes[i]->IsTieOut()) << i;
  EXPECT_FALSE(notes.back()->IsTieOut());
  int32_t total = 0;
  for (auto* n : notes) total += n->GetDuration();
  EXPECT_EQ(total, 768 * 2);
  EXPECT_EQ(OfType(*s.GetStaff(0), kItemBarLine).size(), 4u);  // the ends and two bar lines
}

TEST_F(ImportConverterTest, ANoteShorterThanTheGridLastsTwelveTicks) {
  Tracks(1);
  Note(0, 0, 60, 0, 2);
  Note(0, 0, 62, 192, 384);
  ScanImportInstructions(data, true, 18);
  // The shortest rest kept: the note is not stretched over the rest after it.
  data.GetInstructions()[0].restResolution = 6;
  TMusicScore& s = ConvertInstructions();
  const auto notes = Notes(*s.GetStaff(0));
  ASSERT_EQ(notes.size(), 2u);
  EXPECT_EQ(notes[0]->GetDuration(), 12);
}

TEST_F(ImportConverterTest, CollidingSpellingsInAChordTakeTheOtherSpelling) {
  Tracks(1);
  Add(0, 0, TMidiMsg::KeySignature(2, false));
  Note(0, 0, 60, 0, 192);
  Note(0, 0, 61, 0, 192);
  TMusicScore& s = Convert();
  const auto notes = Notes(*s.GetStaff(0));
  ASSERT_EQ(notes.size(), 1u);
  ASSERT_EQ(notes[0]->GetMemberCount(), 2);
  std::set<int> positions;
  for (int m = 0; m < 2; ++m) positions.insert(notes[0]->GetMember(m)->GetStaffPos());
  EXPECT_EQ(positions, (std::set<int>{6, 5}));  // C and D flat
}

TEST_F(ImportConverterTest, ScanSplitsWideChordsAboveTheMaximum) {
  struct Case {
    int span;
    size_t instructions;
  };
  for (const Case c : {Case{19, 2}, Case{18, 1}}) {
    SCOPED_TRACE(c.span);
    Tracks(1);
    Note(0, 0, 48, 0, 192);
    Note(0, 0, 48 + c.span, 0, 192);
    ScanImportInstructions(data, true, 18);
    ASSERT_EQ(data.GetInstructions().size(), c.instructions);
    if (c.instructions == 2) {
      EXPECT_EQ(data.GetInstructions()[0].lowPitch, 48 + 9);
      EXPECT_EQ(data.GetInstructions()[0].highPitch, 127);
      EXPECT_EQ(data.GetInstructions()[1].lowPitch, 0);
      EXPECT_EQ(data.GetInstructions()[1].highPitch, 48 + 8);
    }
  }
}

TEST_F(ImportConverterTest, KeyCountsAboveSevenWrap) {
  struct Case {
    int count;
    bool minor;
    int sharps;
    int flats;
    int tonic;
  };
  const Case cases[] = {
      {9, false, 1 << 5, 0, 6},                            // one sharp: G major
      {-9, false, 0, 1 << 1, 5},                           // one flat: F major
      {-3, true, (0), (1 << 1) | (1 << 4) | (1 << 0), 2},  // C minor
      {0, false, 0, 0, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.count);
    Tracks(1);
    Add(0, 0, TMidiMsg::KeySignature(c.count, c.minor));
    Note(0, 0, 60, 0, 192);
    TMusicScore& s = Convert();
    const auto keys = OfType(*s.GetStaff(0), kItemKey);
    ASSERT_EQ(keys.size(), 1u);
    const auto& key = static_cast<const TKeyData&>(*keys[0]);
    EXPECT_EQ(key.GetSharpsMask(), c.sharps);
    EXPECT_EQ(key.GetFlatsMask(), c.flats);
    EXPECT_EQ(key.GetTonic(), c.tonic);
  }
}

TEST_F(ImportConverterTest, ChannelsOneAndTenGiveTwoStavesTheDrumsWithTheirClef) {
  struct Case {
    int drumPitch;
    int clef;
  };
  for (const Case c : {Case{36, kClefDrum}, Case{79, kClefTreble}}) {
    SCOPED_TRACE(c.drumPitch);
    Tracks(1);
    Note(0, 0, 72, 0, 192);
    Note(0, 9, c.drumPitch, 0, 192);
    Note(0, 9, c.drumPitch, 192, 384);
    TMusicScore& s = Convert();
    ASSERT_EQ(s.GetStaffCount(), 2);
    EXPECT_EQ(s.GetStaff(0)->GetChannel(), 0);
    const TMusicStaff& drums = *s.GetStaff(1);
    EXPECT_EQ(drums.GetChannel(), 9);
    const auto clefs = OfType(drums, kItemClef);
    ASSERT_EQ(clefs.size(), 1u);
    EXPECT_EQ(static_cast<const TClefData&>(*clefs[0]).GetClefType(), c.clef);
    const auto notes = Notes(drums);
    ASSERT_FALSE(notes.empty());
    EXPECT_EQ(notes[0]->GetMember(0)->GetHeadShape() == 4, c.clef == kClefDrum);
  }
}

TEST_F(ImportConverterTest, ATempoAtTheStartMovesToTheFirstStaffAndNoConductorStays) {
  Tracks(2);
  Add(0, 0, TMidiMsg::TempoFromBpm(90));
  Note(1, 0, 60, 0, 192);
  TMusicScore& s = Convert();
  ASSERT_EQ(s.GetStaffCount(), 1);
  const auto tempos = OfType(*s.GetStaff(0), kItemTempo);
  ASSERT_EQ(tempos.size(), 1u);
  EXPECT_EQ(static_cast<const TTempoData&>(*tempos[0]).GetTempo(), 90);
  EXPECT_EQ(tempos[0]->GetStaffPos(), -10);
}

TEST_F(ImportConverterTest, LaterTemposKeepAHiddenConductorStaffLast) {
  Tracks(2);
  Add(0, 0, TMidiMsg::TempoFromBpm(90));
  Add(0, 768, TMidiMsg::TempoFromBpm(60));
  Add(0, 0, TMidiMsg::TimeSignature(3, 2));
  Note(1, 0, 60, 0, 768 * 2);
  TMusicScore& s = Convert();
  ASSERT_EQ(s.GetStaffCount(), 2);
  const TMusicStaff& conductor = *s.GetStaff(1);
  EXPECT_EQ(std::u16string(conductor.GetName()), u"Tempo Track");
  EXPECT_EQ(conductor.GetLines(), 0);
  const auto tempos = OfType(conductor, kItemTempo);
  ASSERT_EQ(tempos.size(), 1u);
  EXPECT_EQ(TimeOf(conductor, tempos[0]), 768);
  EXPECT_EQ(tempos[0]->GetVisibility(), kVisNever);
  // The conductor's 3/4 reached the instrument staff.
  const auto sigs = OfType(*s.GetStaff(0), kItemTimeSig);
  ASSERT_FALSE(sigs.empty());
  EXPECT_EQ(static_cast<const TTimeSignatureData&>(*sigs[0]).GetBeats(), 3);
}

TEST_F(ImportConverterTest, LyricsGetAStaffLayeredAfterTheirInstrument) {
  Tracks(1);
  const char* syllables[] = {"Hel", "lo ", "world"};
  for (int i = 0; i < 3; ++i) {
    Note(0, 0, 60 + i, static_cast<uint32_t>(i * 192 + 192), static_cast<uint32_t>(i * 192 + 380));
    data.GetTrack(0)->AddText(static_cast<uint32_t>(i * 192 + 192), 5, syllables[i]);
  }
  TMusicScore& s = Convert();
  ASSERT_EQ(s.GetStaffCount(), 2);
  EXPECT_TRUE(s.GetStaff(0)->GetLayerWithNext());
  const TMusicStaff& lyrics = *s.GetStaff(1);
  EXPECT_EQ(std::u16string(lyrics.GetGroup()), u"Lyrics");
  ASSERT_NE(lyrics.GetLyrics(), nullptr);
  ASSERT_EQ(lyrics.GetLyrics()->GetCount(), 1);
  EXPECT_EQ(lyrics.GetLyrics()->GetLine(0)->GetFileText(65001), "Hel-lo world");
  EXPECT_EQ(Notes(lyrics).size(), 3u);
}

TEST_F(ImportConverterTest, KaraokeTextsJoinWithTheDefaultSeparator) {
  struct Case {
    std::vector<const char*> texts;
    const char* lyric;
  };
  const Case cases[] = {
      // Dashes rarer than blanks among the marked texts: "-" joins the bare ones.
      {{"\\Twin", "kle ", "twin", "kle ", "lit", "tle ", "star"}, "Twin-kle twin-kle lit-tle star"},
      // A text beginning with "\" after a syllable starts a new paragraph.
      {{"one ", "two ", "\\three"}, "one two\n\nthree"},
      {{"/a", "b"}, "a-b"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lyric);
    Tracks(1);
    uint32_t t = 96;
    for (const char* text : c.texts) {
      data.GetTrack(0)->AddText(t, 1, text);
      t += 96;
    }
    TMusicScore& s = Convert(kImportKaraoke);
    ASSERT_EQ(s.GetStaffCount(), 1);
    const TStaffLyrics* lyrics = s.GetStaff(0)->GetLyrics();
    ASSERT_NE(lyrics, nullptr);
    EXPECT_EQ(lyrics->GetLine(0)->GetFileText(65001), c.lyric);
  }
}

TEST_F(ImportConverterTest, AFileWithoutUsableTracksGivesOneEmptyStaff) {
  Tracks(0);
  TMusicScore& s = Convert();
  ASSERT_EQ(s.GetStaffCount(), 1);
  EXPECT_TRUE(Notes(*s.GetStaff(0)).empty());
}

TEST_F(ImportConverterTest, AnInstructionWithoutChannelsGivesAnEmptyStaffOnTheFirstChannel) {
  Tracks(1);
  Note(0, 3, 60, 0, 192);
  TSMFImportInstructions none;
  none.channelMask = 0;
  data.GetInstructions().assign(1, none);
  TMusicScore& s = ConvertInstructions();
  ASSERT_EQ(s.GetStaffCount(), 1);
  EXPECT_EQ(s.GetStaff(0)->GetChannel(), 0);
  EXPECT_TRUE(Notes(*s.GetStaff(0)).empty());
}

TEST_F(ImportConverterTest, StavesBeyondTheScoresLimitAreLeftOutAndReported) {
  Tracks(1);
  Note(0, 0, 60, 0, 192);
  TSMFImportInstructions one;
  data.GetInstructions().assign(300, one);
  test::TRecordingImportShell shell;
  bool cancelled = true;
  score = ConvertImportToScore(data, 1, TServices(), &shell, &cancelled);
  EXPECT_FALSE(cancelled);
  // The conductor's place stays free until it leaves the score.
  EXPECT_EQ(score->GetStaffCount(), TMusicScore::MaxScoreStaffs - 1);
  ASSERT_EQ(shell.alerts.lines.size(), 1u);
  EXPECT_NE(shell.alerts.lines[0].find("no more staves"), std::string::npos);
}

TEST_F(ImportConverterTest, ACancelledConversionSaysSo) {
  struct TCancelAfter : TLongTaskCancel {
    int left;
    explicit TCancelAfter(int n) : left(n) {}
    bool CheckCancel() override { return --left < 0; }
  };
  for (int after : {0, 3, 40}) {
    SCOPED_TRACE(after);
    Tracks(2);
    Add(0, 0, TMidiMsg::TempoFromBpm(90));
    for (uint32_t i = 0; i < 20; ++i) Note(1, 0, 60, i * 192, i * 192 + 96);
    ScanImportInstructions(data, true, 18);
    TCancelAfter cancel(after);
    TServices services;
    services.longTaskCancel = &cancel;
    bool cancelled = false;
    score = ConvertImportToScore(data, 1, services, nullptr, &cancelled);
    EXPECT_TRUE(cancelled);
  }
}

TEST_F(ImportConverterTest, AFullStaffStopsItsTrackAndSaysSo) {
  Tracks(1);
  // 20,000 separate notes and rests: more than a staff holds.
  for (uint32_t i = 0; i < 20000; ++i)
    Note(0, 0, 60 + static_cast<int>(i % 12), i * 96, i * 96 + 48);
  TSMFImportInstructions instruction;
  TMidiImportConverter converter{TServices()};
  std::unique_ptr<TMusicStaff> staff =
      converter.BuildInstructionStaff(instruction, data.GetTrack(0));
  EXPECT_TRUE(converter.WasCut());
  EXPECT_GE(staff->GetFreeItemCount(), kImportFreeSlots - 1);
  EXPECT_LT(staff->GetFreeItemCount(), kImportFreeSlots + 2);
}

}  // namespace
}  // namespace kvt
