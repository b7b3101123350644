#include "midi/import/import_midi_file.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "midi/import/import_convert.h"
#include "midi/import/import_converter.h"
#include "midi/import/import_wizard_logic.h"
#include "notation/items/key_data.h"
#include "notation/items/music_note.h"
#include "notation/items/tempo_data.h"
#include "notation/items/time_signature_data.h"
#include "notation/services/long_task_cancel.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "notation/staff/staff_lyrics.h"
#include "tests/midi/import/auto_beam_compare.h"
#include "tests/midi/import/import_test_shell.h"
#include "tests/utils/ini_test_env.h"
#include "utils/sys_info.h"

namespace kvt {
namespace {

using test::TRecordingImportShell;

// The files written by data/make_import_fixtures.py, made once for the suite.
class ImportMidiFileTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    char pattern[] = "/tmp/kvt-midi-import-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder = new std::string(pattern);
    const std::string command =
        "/usr/bin/python3 '" KVT_TEST_DATA_DIR "/make_import_fixtures.py' '" + *folder + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << "is python3-mido installed?";
  }
  static void TearDownTestSuite() {
    std::error_code ec;
    std::filesystem::remove_all(*folder, ec);
    delete folder;
  }
  static std::string Path(const char* name) { return *folder + "/" + name; }

  std::unique_ptr<TMusicScore> Import(const char* name, int mode = 0) {
    return ImportMidiFile(&shell, Path(name), mode, nullptr);
  }

  static std::vector<const TMusicNote*> Notes(const TMusicStaff& staff) {
    std::vector<const TMusicNote*> notes;
    for (int i = 0; i <= staff.GetLastIndex(); ++i) {
      const TNotatedItem* item = staff.GetItem(i);
      if (item->GetType() == kItemNote || item->GetType() == kItemChord)
        notes.push_back(static_cast<const TMusicNote*>(item));
    }
    return notes;
  }
  static int Count(const TMusicStaff& staff, TNotatedItemType type) {
    return staff.CountItemsOfType(type);
  }
  static int CountTies(const TMusicStaff& staff) {
    int ties = 0;
    for (const TMusicNote* note : Notes(staff)) ties += note->IsTieOut() ? 1 : 0;
    return ties;
  }

  static std::string* folder;
  TRecordingImportShell shell;
};
std::string* ImportMidiFileTest::folder = nullptr;

TEST_F(ImportMidiFileTest, TypeZeroFileGivesItsStaffWithKeyTimeAndTempo) {
  auto score = Import("type0.mid");
  ASSERT_NE(score, nullptr);
  EXPECT_TRUE(shell.questions.empty());
  ASSERT_EQ(score->GetStaffCount(), 1);
  const TMusicStaff& staff = *score->GetStaff(0);
  EXPECT_EQ(std::u16string(staff.GetName()), u"Solo");
  const auto notes = Notes(staff);
  ASSERT_GE(notes.size(), 2u);
  EXPECT_EQ(notes[0]->GetType(), kItemChord);
  EXPECT_EQ(notes[0]->GetMemberCount(), 3);
  EXPECT_EQ(notes[0]->GetDuration(), 192);  // a quarter at 96 per quarter in the file
  EXPECT_GE(Count(staff, kItemRest), 1);    // the gap before the D
  EXPECT_GE(CountTies(staff), 1);           // the D crosses the bar line of 3/4
  ASSERT_EQ(Count(staff, kItemKey), 1);
  for (int i = 0; i <= staff.GetLastIndex(); ++i) {
    const TNotatedItem* item = staff.GetItem(i);
    if (item->GetType() == kItemKey)
      EXPECT_EQ(static_cast<const TKeyData&>(*item).GetSharpsMask(), 1 << 5);
    if (item->GetType() == kItemTimeSig)
      EXPECT_EQ(static_cast<const TTimeSignatureData&>(*item).GetBeats(), 3);
    if (item->GetType() == kItemTempo)
      EXPECT_EQ(static_cast<const TTempoData&>(*item).GetTempo(), 100);
  }
}

TEST_F(ImportMidiFileTest, TypeOneFileWithChannelsLyricsAndATempoMap) {
  auto score = Import("type1.mid");
  ASSERT_NE(score, nullptr);
  // Violin (channel 1), its lyrics, drums (channel 10), and the conductor for the second tempo.
  ASSERT_EQ(score->GetStaffCount(), 4);
  const TMusicStaff& violin = *score->GetStaff(0);
  EXPECT_EQ(std::u16string(violin.GetName()), u"Violin");
  EXPECT_EQ(violin.GetInstrument().GetPatch(), 40);
  EXPECT_EQ(Notes(violin).size(), 4u);
  EXPECT_TRUE(violin.GetLayerWithNext());
  const TMusicStaff& lyrics = *score->GetStaff(1);
  ASSERT_NE(lyrics.GetLyrics(), nullptr);
  EXPECT_EQ(lyrics.GetLyrics()->GetLine(0)->GetFileText(65001), "Hel-lo dear world");
  EXPECT_EQ(score->GetStaff(2)->GetChannel(), 9);
  EXPECT_EQ(std::u16string(score->GetStaff(3)->GetName()), u"Tempo Track");
  EXPECT_EQ(Count(*score->GetStaff(3), kItemTempo), 1);
  // The key of the conductor reached the staves without their own.
  EXPECT_EQ(Count(violin, kItemKey), 1);
}

TEST_F(ImportMidiFileTest, KarFilesTakeTheirKaraokeTexts) {
  EXPECT_EQ(LyricModeForPath("/a/b/song.KAR"), kImportKaraoke);
  EXPECT_EQ(LyricModeForPath("/a/b.kar/song.mid"), kImportLyricEvents);
  auto score = Import("song.KAR");
  ASSERT_NE(score, nullptr);
  ASSERT_EQ(score->GetStaffCount(), 2);
  const TStaffLyrics* lyrics = score->GetStaff(1)->GetLyrics();
  ASSERT_NE(lyrics, nullptr);
  EXPECT_EQ(lyrics->GetLine(0)->GetFileText(65001), "Twin-kle twin-kle\nlit-tle star");
}

TEST_F(ImportMidiFileTest, TheQuestionComesOnlyWithWarningsAndNoLeavesNothing) {
  // A file that reads with a warning: one stray byte before the track tag.
  std::ifstream in(Path("type0.mid"), std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  bytes.insert(14, 1, '\x07');
  std::ofstream(Path("stray.mid"), std::ios::binary) << bytes;

  shell.answer = false;
  EXPECT_EQ(Import("stray.mid"), nullptr);
  ASSERT_EQ(shell.questions.size(), 1u);
  EXPECT_EQ(shell.questions[0].rfind("Import Warnings/Errors Excerpt - Continue?|Warning[", 0), 0u);
  shell.answer = true;
  EXPECT_NE(Import("stray.mid"), nullptr);
  EXPECT_EQ(shell.questions.size(), 2u);
}

TEST_F(ImportMidiFileTest, TheWarningExcerptIsCutTo510Bytes) {
  // Many data bytes without a status: one warning each.
  std::string bytes("MThd\0\0\0\6\0\1\0\1\0\xC0MTrk\0\0\x10\0", 22);
  for (int i = 0; i < 2048; ++i) bytes += std::string("\0\x40", 2);
  std::ofstream(Path("noisy.mid"), std::ios::binary) << bytes;
  EXPECT_NE(Import("noisy.mid"), nullptr);
  ASSERT_EQ(shell.questions.size(), 1u);
  const std::string text = shell.questions[0].substr(shell.questions[0].find('|') + 1);
  EXPECT_LE(text.size(), 510u);
  EXPECT_GT(text.size(), 400u);
}

TEST_F(ImportMidiFileTest, AMissingFileGivesTheMessageAndNull) {
  EXPECT_EQ(Import("absent.mid"), nullptr);
  ASSERT_EQ(shell.messages.size(), 1u);
  EXPECT_EQ(shell.messages[0],
            "File: " + Path("absent.mid") +
                "\nThis file failed to open. It either does not exist, is in use "
                "by another program, or is protected by the operating system.");
}

TEST_F(ImportMidiFileTest, TheWizardRunsInModeFiveOrByOptionAndItsCancelLeavesNothing) {
  EXPECT_NE(Import("type0.mid"), nullptr);
  EXPECT_EQ(shell.wizardRuns, 0);
  EXPECT_NE(Import("type0.mid", kImportModeWizard), nullptr);
  EXPECT_EQ(shell.wizardRuns, 1);
  shell.useWizard = true;
  shell.wizardOk = false;
  EXPECT_EQ(Import("type0.mid"), nullptr);
  EXPECT_EQ(shell.wizardRuns, 2);
}

TEST_F(ImportMidiFileTest, ACancelledConversionLeavesNothing) {
  struct TCancelNow : TLongTaskCancel {
    bool CheckCancel() override { return true; }
  } cancel;
  TServices services;
  services.longTaskCancel = &cancel;
  EXPECT_EQ(ImportMidiFile(&shell, Path("type1.mid"), 0, nullptr, services), nullptr);
}

TEST_F(ImportMidiFileTest, AJitteredPerformanceNotatesAlmostLikeTheCleanOne) {
  shell.useWizard = true;
  shell.wizardGrid = 4;  // sixteenth
  auto clean = Import("clean.mid");
  auto jittered = Import("jittered.mid");
  ASSERT_NE(clean, nullptr);
  ASSERT_NE(jittered, nullptr);
  const TMusicStaff& a = *clean->GetStaff(0);
  const TMusicStaff& b = *jittered->GetStaff(0);
  const int cleanCount = Count(a, kItemRest) + CountTies(a);
  const int jitterCount = Count(b, kItemRest) + CountTies(b);
  EXPECT_LE(jitterCount, cleanCount * 105 / 100) << cleanCount << " " << jitterCount;
  // Every syllable once, in order.
  for (const auto* score : {clean.get(), jittered.get()}) {
    const TStaffLyrics* lyrics = score->GetStaff(1)->GetLyrics();
    ASSERT_NE(lyrics, nullptr);
    const std::string text = lyrics->GetLine(0)->GetFileText(65001);
    std::vector<std::string> words;
    std::string word;
    for (char c : text + " ") {
      if (c == ' ' || c == '\n' || c == '-') {
        if (!word.empty()) words.push_back(word);
        word.clear();
      } else {
        word += c;
      }
    }
    ASSERT_EQ(words.size(), 300u);
    for (int i = 0; i < 300; ++i) EXPECT_EQ(words[static_cast<size_t>(i)], "w" + std::to_string(i));
  }
}

TEST(ImportOptions, SettingsAreReadWithinTheirRangesAndWrittenBack) {
  TTempFolder folder;
  testing::TScopedEnv config("XDG_CONFIG_HOME", folder.Path().c_str());
  TSysInfo store;
  store.SetProfileLocation("Tarlowmede Software", "Import Test");
  TImportOptions defaults;
  defaults.Load(&store);
  EXPECT_EQ(defaults, TImportOptions());
  store.WriteProfileInt("Import", "NoteResolution", 9);
  store.WriteProfileInt("Import", "RestResolution", -1);
  store.WriteProfileInt("Import", "MaxChordSize", 1000);
  store.WriteProfileInt("Import", "AutoBeam", 7);
  TKVTImportData data(&store);
  EXPECT_EQ(data.GetOptions().noteResolution, 6);
  EXPECT_EQ(data.GetOptions().restResolution, 0);
  EXPECT_EQ(data.GetOptions().maxChordSize, 127);
  EXPECT_EQ(data.GetOptions().autoBeam, 1);
  data.GetOptions().addPedalMarks = 1;
  ASSERT_TRUE(data.GetOptions().Save(&store));
  EXPECT_EQ(store.GetProfileInt("import", "addpedalmarks", 0), 1);
  EXPECT_EQ(store.GetProfileInt("Import", "NoteResolution", 0), 6);
}

TEST(ImportInstructions, ChannelTextsAndInstructionLines) {
  EXPECT_EQ(FormatChannelList(0), "-");
  EXPECT_EQ(FormatChannelList(0b11010111), "1-3,5,7,8");
  EXPECT_EQ(FormatChannelList(0xFFFF), "1-16");
  EXPECT_EQ(FormatChannelList(1u << 15), "16");
  TSMFImportInstructions instruction;
  instruction.track = 3;
  instruction.channelMask = 0b11;
  EXPECT_EQ(FormatInstructionText(instruction), "Track=03  channel=1,2");
  instruction.lowPitch = 60;
  instruction.highPitch = 61;
  EXPECT_EQ(FormatInstructionText(instruction), "Track=03  channel=1,2  pitch=C 4 through C#4");
}

TEST(ImportWizardLogic, HighestTrackAndChannelBoxes) {
  EXPECT_EQ(ImportHighestTrackNumber(0), 0);
  EXPECT_EQ(ImportHighestTrackNumber(5), 4);
  EXPECT_EQ(ImportHighestTrackNumber(1000), 255);
  TSMFImportInstructions instruction;
  instruction.channelMask = 0b1000000001;
  TImportInstructionForm form = TImportInstructionForm::From(instruction);
  EXPECT_TRUE(form.channels[0]);
  EXPECT_TRUE(form.channels[9]);
  EXPECT_FALSE(form.channels[1]);
  form.channels[15] = true;
  form.track = 300;
  form.noteResolution = 12;
  form.WriteTo(instruction, 4);
  EXPECT_EQ(instruction.channelMask, 0b1000001000000001);
  EXPECT_EQ(instruction.track, 4);
  EXPECT_EQ(instruction.noteResolution, 6);
}

TEST(ImportWizardLogic, TheInstructionListRescansOnlyWhenTheScanOptionsChanged) {
  TKVTImportData data;
  data.Reset(1);
  TMidiFileBuf& events = data.GetTrack(0)->GetEvents();
  events.AddEvent(0, TMidiMsg::Channel(kMidiNoteOn, 0, 0, 48, 90));
  events.AddEvent(0, TMidiMsg::Channel(kMidiNoteOn, 0, 1, 70, 90));
  ScanImportInstructions(data, true, 18);
  TImportInstructionListPage page(data);
  TRecordingImportShell shell;
  page.OnActivate();
  ASSERT_EQ(page.GetRows().size(), 2u);
  // A manual edit survives a return without changes, but the default options are applied again.
  page.Select(1);
  ASSERT_TRUE(page.Delete(shell));
  data.GetOptions().noteResolution = 3;
  page.OnActivate();
  ASSERT_EQ(page.GetRows().size(), 1u);
  EXPECT_EQ(data.GetInstructions()[0].noteResolution, 3);
  EXPECT_EQ(page.GetSelected(), 0);
  // A changed chord size rescans and loses the edit.
  data.GetOptions().maxChordSize = 30;
  page.OnActivate();
  EXPECT_EQ(page.GetRows().size(), 2u);
  // Deleting without a selection does nothing; No keeps the row.
  page.Select(-1);
  EXPECT_FALSE(page.Delete(shell));
  page.Select(0);
  shell.answer = false;
  EXPECT_FALSE(page.Delete(shell));
  EXPECT_EQ(page.GetRows().size(), 2u);
  // Add takes the default options and the file's highest track.
  ASSERT_TRUE(page.Add(shell));
  EXPECT_EQ(page.GetRows().size(), 3u);
  EXPECT_EQ(data.GetInstructions().back().noteResolution, 3);
  EXPECT_EQ(shell.edits.back(), 0);
}

TEST(ImportRecording, ScoreAndStaffFromTheRecording) {
  TRecordingImportShell shell;
  EXPECT_EQ(ConvertRecordingToScore(&shell, nullptr), nullptr);
  EXPECT_EQ(ConvertRecordingToStaff(&shell, nullptr), nullptr);
  TKVTImportData recording;
  recording.Reset(1);
  shell.recordingData = &recording;
  // Nothing recorded yet.
  EXPECT_EQ(ConvertRecordingToScore(&shell, nullptr), nullptr);
  EXPECT_EQ(ConvertRecordingToStaff(&shell, nullptr), nullptr);
  EXPECT_TRUE(shell.edits.empty());
  TMidiFileBuf& take = recording.GetTrack(0)->GetEvents();
  take.AddEvent(0, TMidiMsg::Channel(kMidiNoteOn, 0, 2, 64, 90));
  take.AddEvent(190, TMidiMsg::Channel(kMidiNoteOff, 0, 2, 64, 0));
  auto score = ConvertRecordingToScore(&shell, nullptr);
  ASSERT_NE(score, nullptr);
  EXPECT_EQ(score->GetStaff(0)->GetChannel(), 2);
  auto staff = ConvertRecordingToStaff(&shell, nullptr);
  ASSERT_NE(staff, nullptr);
  EXPECT_EQ(shell.edits.back(), 0);
  EXPECT_EQ(staff->GetChannel(), 2);
  EXPECT_GE(staff->GetBoundaryTop(), -10);
  // The user clears every channel: an empty staff on the first channel.
  shell.editChannels = 0;
  staff = ConvertRecordingToStaff(&shell, nullptr);
  ASSERT_NE(staff, nullptr);
  EXPECT_EQ(staff->GetChannel(), 0);
  shell.editOk = false;
  EXPECT_EQ(ConvertRecordingToStaff(&shell, nullptr), nullptr);
}

// Every fixture imported without beaming gives the same staves beamed either way.
TEST_F(ImportMidiFileTest, FixturesBeamTheSameWithOneAuditAsWithAnAuditPerGroup) {
  class TUnbeamedShell : public TRecordingImportShell {
  public:
    bool RunImportWizard(TKVTImportData& data) override {
      data.GetOptions().autoBeam = 0;
      data.ApplyOptionsToInstructions();
      return true;
    }
  };
  int beamed = 0;
  for (const char* name : {"type0.mid", "type1.mid", "song.KAR", "clean.mid", "jittered.mid"}) {
    SCOPED_TRACE(name);
    TUnbeamedShell unbeamed;
    auto once = ImportMidiFile(&unbeamed, Path(name), kImportModeWizard, nullptr);
    auto each = ImportMidiFile(&unbeamed, Path(name), kImportModeWizard, nullptr);
    ASSERT_TRUE(once && each);
    beamed += test::ExpectSameBeamingBothWays(*once, *each, true);
  }
  EXPECT_GE(beamed, 2);
}

}  // namespace
}  // namespace kvt
