#include "notation/files/binary/binary_score_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "notation/staff/music_staff.h"
#include "notation/files/older/older_score_export.h"
#include "notation/files/text/score_text_writer.h"
#include "notation/services/services.h"
#include "tests/notation/layout_bytes.h"
#include "tests/notation/older_layout_fixture.h"
#include "tests/notation/score_text_fixture.h"
#include "tests/utils/byte_vector_stream.h"
#include "tests/utils/linked_output.h"
#include "tests/utils/scoped_env.h"
#include "tests/utils/temp_folder.h"
#include "utils/text_encoding.h"
#include "utils/zlib_out_stream.h"

namespace kvt {
namespace {

using score_text_test::MakeLoadedSampleScore;
using score_text_test::SameText;
using score_text_test::WriteScore;
using test::TLayoutBytes;

// Every LF turned into CR LF, as a text-mode copy does.
std::string TextModeCopy(const std::string& bytes) {
  std::string out;
  for (char c : bytes) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

class BinaryScoreFile : public testing::Test {
protected:
  std::unique_ptr<TMusicScore> Load(const std::string& path) {
    return ReadScoreFromFile(path.c_str(), header, TServices{}).score;
  }
  std::string Saved(bool compressed, const std::string& name = "song.kvt") {
    const std::string path = folder / name;
    EXPECT_TRUE(WriteScoreToFile(path.c_str(), compressed, *sample));
    return path;
  }

  TTempFolder folder;
  TScoreFileHeader header;
  std::unique_ptr<TMusicScore> sample = MakeLoadedSampleScore();
};

class BinaryScoreRoundTrip : public BinaryScoreFile, public testing::WithParamInterface<bool> {};

TEST_P(BinaryScoreRoundTrip, ReadsBackToTheSameTextAndWritesTheSameBytes) {
  const bool compressed = GetParam();
  const std::string text = WriteScore(*sample);
  const std::string path = Saved(compressed);
  const std::string bytes = TTempFolder::ReadFile(path);
  EXPECT_EQ(bytes.compare(0, 6, std::string("[KVZ]") + '\0') == 0, compressed);
  if (!compressed) {
    // Plain: the header, then exactly the text writer's bytes.
    ASSERT_GT(bytes.size(), text.size());
    EXPECT_EQ(bytes.substr(bytes.size() - text.size()), text);
  }

  std::unique_ptr<TMusicScore> loaded = Load(path);
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(header.status, TLoadStatus::kLoaded);
  EXPECT_EQ(header.formatVersion, kScoreFormatVersion);
  EXPECT_EQ(loaded->GetCompressed(), compressed);
  EXPECT_TRUE(SameText(WriteScore(*loaded), text));

  const std::string again = folder / "again.kvt";
  ASSERT_TRUE(WriteScoreToFile(again.c_str(), compressed, *loaded));
  EXPECT_EQ(TTempFolder::ReadFile(again), bytes);
}

INSTANTIATE_TEST_SUITE_P(CompressedOrPlain, BinaryScoreRoundTrip, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) {
                           return std::string(info.param ? "Compressed" : "Plain");
                         });

TEST_F(BinaryScoreFile, ALinkedFileIsReplacedThroughItsLinks) {
  TLinkedOutput output(folder, "linked.kvt");
  ASSERT_TRUE(WriteScoreToFile(output.LinkPath().c_str(), true, *sample));
  output.ExpectWrittenThroughLinks();
  std::unique_ptr<TMusicScore> loaded = Load(output.RealPath());
  ASSERT_NE(loaded, nullptr);
  EXPECT_TRUE(SameText(WriteScore(*loaded), WriteScore(*sample)));
}

TEST_F(BinaryScoreFile, OneByteIsANewScoreWithOneStaff) {
  TByteVectorStream stream(std::string("x"));
  std::unique_ptr<TMusicScore> score = LoadScore(stream, header, TServices{}).score;
  ASSERT_NE(score, nullptr);
  EXPECT_EQ(header.status, TLoadStatus::kNew);
  EXPECT_EQ(score->GetStaffCount(), 1);
}

TEST_F(BinaryScoreFile, AnEmptyOrMissingFileIsNoScore) {
  const std::string empty = folder / "empty.kvt";
  TTempFolder::WriteFile(empty, "");
  EXPECT_EQ(Load(empty), nullptr);
  EXPECT_EQ(header.status, TLoadStatus::kNotScore);
  EXPECT_EQ(Load(folder / "missing.kvt"), nullptr);
  EXPECT_EQ(header.status, TLoadStatus::kNotScore);
}

TEST_F(BinaryScoreFile, AnOlderLayoutLoadsMarkedOlderWithTheHeadersDate) {
  TLayoutBytes bytes;
  bytes.Str("[Tarlowmede Sorbyle]").U16(0).Str("[Tarlowmede Razadove]").U16(0x014B).U16(2);
  bytes.U16(0).Str("N/A").Str("code").U16(0x5A42).U32(0).U16(0).U16(20);
  bytes.Raw(test::OneStaffBody(20, {test::NoteRecord(2, 1)}));
  TByteVectorStream stream(bytes.Bytes());
  std::unique_ptr<TMusicScore> score = LoadScore(stream, header, TServices{}).score;
  ASSERT_NE(score, nullptr);
  EXPECT_EQ(header.status, TLoadStatus::kOlder);
  EXPECT_TRUE(score->IsOldFormatVersion());
  EXPECT_EQ(score->GetDate().GetPacked(), 0x5A42);
  EXPECT_EQ(score->GetStaff(0)->GetItemCount(), 3);
}

TEST_F(BinaryScoreFile, ATextModeCopyIsRepaired) {
  // The repair works in memory: a temporary folder where nothing can be made does not stop it.
  TScopedEnv noTemporaryFolder("TMPDIR", (folder / "missing").c_str());
  for (bool compressed : {true, false}) {
    const std::string path = Saved(compressed);
    const std::string damaged = folder / "damaged.kvt";
    const std::string damagedBytes = TextModeCopy(TTempFolder::ReadFile(path));
    TTempFolder::WriteFile(damaged, damagedBytes);
    if (compressed) {
      Load(damaged);
      EXPECT_TRUE(header.status == TLoadStatus::kNotScore || header.status == TLoadStatus::kCorrupt)
          << static_cast<int>(header.status);
      EXPECT_TRUE(IsTextModeCopyDamage(damaged.c_str(), header.status));
    }
    std::unique_ptr<TMusicScore> repaired = ReadScoreFromFileRepairing(damaged.c_str(), header, TServices{}).score;
    ASSERT_NE(repaired, nullptr) << compressed;
    EXPECT_EQ(header.status, TLoadStatus::kLoaded) << compressed;
    EXPECT_TRUE(SameText(WriteScore(*repaired), WriteScore(*sample))) << compressed;
    EXPECT_EQ(TTempFolder::ReadFile(damaged), damagedBytes) << "the damaged file stays as it was";
  }
  // Nothing is left in the folder but the two files.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()),
                          std::filesystem::directory_iterator()),
            2);
}

// A cut file whose every line feed follows a carriage return (the score text body writes CR LF)
// looks like a text-mode copy. Here the header's date, written as CR LF, makes the repair
// give no score; the part the first load read is kept, with its status.
TEST_F(BinaryScoreFile, AFailedRepairKeepsThePartThatLoaded) {
  TByteVectorStream out(std::vector<uint8_t>{});
  TScoreHeaderFields fields;
  fields.date = 0x0A0D;  // written low byte first: CR LF
  WriteScoreHeader(out, fields);
  WriteScoreText(out, *sample);
  std::string bytes(out.Bytes().begin(), out.Bytes().end());
  bytes.resize(bytes.size() * 2 / 3);
  if (bytes.back() == '\r') bytes.pop_back();
  const std::string cut = folder / "cut.kvt";
  TTempFolder::WriteFile(cut, bytes);
  TScoreFileHeader firstHeader;
  const TScoreLoadResult first = ReadScoreFromFile(cut.c_str(), firstHeader, TServices{});
  ASSERT_NE(first.score, nullptr) << "the fixture must load in part";
  ASSERT_TRUE(IsTextModeCopyDamage(cut.c_str(), first.status));
  TScoreFileHeader repairHeader;
  ASSERT_EQ(ReadRepairedScoreFile(cut.c_str(), repairHeader, TServices{}).score, nullptr)
      << "the fixture's repair must fail";

  const TScoreLoadResult loaded = ReadScoreFromFileRepairing(cut.c_str(), header, TServices{});
  ASSERT_NE(loaded.score, nullptr);
  EXPECT_EQ(loaded.status, first.status);
  EXPECT_EQ(header.status, firstHeader.status);
  EXPECT_EQ(header.date, 0x0A0D);
  EXPECT_EQ(loaded.score->GetStaffCount(), first.score->GetStaffCount());
  EXPECT_FALSE(loaded.repaired.textModeDamage);
}

TEST_F(BinaryScoreFile, TextWithCrLfLinesIsStillNoScore) {
  const std::string path = folder / "letter.kvt";
  TTempFolder::WriteFile(path, "Dear reader,\r\nthis is no score.\r\n");
  EXPECT_EQ(ReadScoreFromFileRepairing(path.c_str(), header, TServices{}).score, nullptr);
  EXPECT_EQ(header.status, TLoadStatus::kNotScore);
}

TEST_F(BinaryScoreFile, AMissingFileIsNoTextModeCopy) {
  const std::string path = folder / "missing.kvt";
  EXPECT_FALSE(IsTextModeCopyDamage(path.c_str(), TLoadStatus::kNotScore));
  EXPECT_EQ(ReadScoreFromFileRepairing(path.c_str(), header, TServices{}).score, nullptr);
  EXPECT_EQ(header.status, TLoadStatus::kNotScore);
}

TEST_F(BinaryScoreFile, AnOlderExportDamagedByATextModeCopyIsRepaired) {
  const std::string path = folder / "old.kvt";
  ASSERT_TRUE(ExportScoreFile175(path, *sample));
  const std::string damaged = folder / "damaged.kvt";
  TTempFolder::WriteFile(damaged, TextModeCopy(TTempFolder::ReadFile(path)));
  std::unique_ptr<TMusicScore> original = Load(path);
  ASSERT_NE(original, nullptr);
  std::unique_ptr<TMusicScore> repaired = ReadScoreFromFileRepairing(damaged.c_str(), header, TServices{}).score;
  ASSERT_NE(repaired, nullptr);
  EXPECT_EQ(header.status, TLoadStatus::kOlder);
  EXPECT_TRUE(SameText(WriteScore(*repaired), WriteScore(*original)));
}

// Damaged files load as far as they are sound and say so; none passes for a whole one.
struct DamageCase {
  const char* name;
  std::string (*damage)(const std::string& bytes);
  bool scoreExpected;
  // Plain score text has no check sum: changed bytes inside it read as other text.
  bool plainToo = true;
};
void PrintTo(const DamageCase& c, std::ostream* os) { *os << c.name; }

class BinaryScoreDamage : public BinaryScoreFile, public testing::WithParamInterface<DamageCase> {};

TEST_P(BinaryScoreDamage, ReportsCorruptionNeverSuccess) {
  for (bool compressed : {true, false}) {
    if (!compressed && !GetParam().plainToo) continue;
    const std::string damaged = folder / "damaged.kvt";
    TTempFolder::WriteFile(damaged, GetParam().damage(TTempFolder::ReadFile(Saved(compressed))));
    std::unique_ptr<TMusicScore> score = Load(damaged);
    EXPECT_TRUE(header.status == TLoadStatus::kCorrupt || header.status == TLoadStatus::kNotScore)
        << (compressed ? "compressed: " : "plain: ") << static_cast<int>(header.status);
    if (GetParam().scoreExpected) EXPECT_NE(score, nullptr) << compressed;
    EXPECT_EQ(score != nullptr, header.status == TLoadStatus::kCorrupt) << compressed;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, BinaryScoreDamage,
    testing::Values(
        DamageCase{"CutInHalf", [](const std::string& b) { return b.substr(0, b.size() / 2); }, true},
        DamageCase{"CutBeforeTheLastBytes",
                   [](const std::string& b) { return b.substr(0, b.size() - 3); }, true},
        DamageCase{"CutInTheHeader", [](const std::string& b) { return b.substr(0, 30); }, false},
        DamageCase{"BytesChangedInTheMiddle",
                   [](const std::string& b) {
                     std::string d = b;
                     for (size_t i = d.size() / 2; i < d.size() / 2 + 8; ++i) d[i] = static_cast<char>(d[i] ^ 0x5A);
                     return d;
                   },
                   false, false}),
    [](const testing::TestParamInfo<DamageCase>& info) { return std::string(info.param.name); });

// Damaged bodies of the older layout: each loads what is sound and reports status 7.
std::string OlderFile(int version, const std::string& body) {
  return TLayoutBytes().Header(version).Raw(body).Bytes();
}

std::string StaffWith(const test::TOlderStaffFields& fields) { return test::OneStaffBody(16, {}, fields); }

TEST_F(BinaryScoreFile, DamagedOlderLayoutsLoadAsCorrupt) {
  test::TOlderStaffFields badColor;
  badColor.color = 40;
  test::TOlderStaffFields badChannel;
  badChannel.channel = 99;
  test::TOlderScorePart zeroStaffSize;
  zeroStaffSize.staffSize = 0;
  const std::string clef = TLayoutBytes().U16(0).U8(0).U16(9).U16(0).Bytes();
  const std::string nested =
      TLayoutBytes().U16(10).U8(0).U16(2).U16(0).U16(0).U16(0x0500).U16(2).Raw(test::NoteRecord(2, 1))
          .U16(10).U8(0).U16(2).U16(0).U16(0).U16(0x0500).U16(1).Raw(test::NoteRecord(2, 3)).Bytes();
  const std::string tempoZero = TLayoutBytes().U16(6).U8(0).U8(0).U8(0).U16(0).U8(2).Str("").Bytes();
  const std::string dynamic = TLayoutBytes().U16(7).U8(0).U8(0).U8(0).U8(14).U16(0).U16(0).Bytes();
  TLayoutBytes manyStaves;
  test::AppendScorePart(manyStaves, 16, {});
  manyStaves.U16(300);
  for (int i = 0; i < 300; ++i) {
    test::AppendStaffFields(manyStaves, 16, {});
    test::AppendStaffItems(manyStaves, 2, {});
  }
  const std::string whole = test::OneStaffBody(16, {test::NoteRecord(2, 1), test::BarRecord(0)});
  struct Case {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"StaffColour", OlderFile(16, StaffWith(badColor))},
      {"StaffChannel", OlderFile(16, StaffWith(badChannel))},
      {"StaffSizeZero", OlderFile(16, test::OneStaffBody(16, {}, {}, zeroStaffSize))},
      {"ClefType", OlderFile(16, test::OneStaffBody(16, {clef}))},
      {"ChordInAChord", OlderFile(16, test::OneStaffBody(16, {nested}))},
      {"TempoZero", OlderFile(24, test::OneStaffBody(24, {tempoZero}))},
      {"DynamicLevel", OlderFile(16, test::OneStaffBody(16, {dynamic}))},
      {"TooManyStaves", OlderFile(16, manyStaves.Bytes())},
      {"CutShort", OlderFile(16, whole.substr(0, whole.size() - 4))},
      {"UnknownItem", OlderFile(16, test::OneStaffBody(16, {TLayoutBytes().U16(77).Bytes()}))},
  };
  for (const Case& c : cases) {
    for (bool compressed : {false, true}) {
      std::string bytes = c.bytes;
      if (compressed) {
        TByteVectorStream packed;
        {
          TKRVZLibOutStream out(TKRVZLibInStream::kModeTagged, &packed);
          out.Write(bytes.data(), static_cast<int>(bytes.size()));
          ASSERT_TRUE(out.End());
        }
        bytes = packed.Text();
      }
      const std::string path = folder / "damaged.kvt";
      TTempFolder::WriteFile(path, bytes);
      std::unique_ptr<TMusicScore> score = Load(path);
      ASSERT_NE(score, nullptr) << c.name;
      EXPECT_EQ(header.status, TLoadStatus::kCorrupt) << c.name << (compressed ? " compressed" : "");
      EXPECT_GE(score->GetStaffCount(), 1) << c.name;
    }
  }
  // The same file undamaged loads as an older version.
  TTempFolder::WriteFile(folder / "whole.kvt", OlderFile(16, whole));
  ASSERT_NE(Load(folder / "whole.kvt"), nullptr);
  EXPECT_EQ(header.status, TLoadStatus::kOlder);
}

TEST_F(BinaryScoreFile, ATruncatedCompressedOlderExportIsCorrupt) {
  const std::string path = folder / "old.kvt";
  ASSERT_TRUE(ExportScoreFile175(path, *sample));
  const std::string bytes = TTempFolder::ReadFile(path);
  for (size_t keep : {bytes.size() / 2, bytes.size() - 5}) {
    TTempFolder::WriteFile(path, bytes.substr(0, keep));
    std::unique_ptr<TMusicScore> score = Load(path);
    ASSERT_NE(score, nullptr) << keep;
    EXPECT_EQ(header.status, TLoadStatus::kCorrupt) << keep;
  }
}

TEST_F(BinaryScoreFile, TheHeaderChecksRefuseWithTheirStatus) {
  struct Case {
    std::string bytes;
    TLoadStatus status;
  } cases[] = {
      {TLayoutBytes().Header(37).Raw("!TarlowmedeRazadove(2.75)\r\n").Bytes(), TLoadStatus::kTooNew},
      {TLayoutBytes().Header(36, "[Tarlowmede Sorbyle]", 3).Bytes(), TLoadStatus::kNewerApp},
      {TLayoutBytes().Header(36, "[Tarlowmede Sorbyle]", 0, "[Someone]").Bytes(), TLoadStatus::kRefused},
      {TLayoutBytes().Header(36).Raw("no score text here").Bytes(), TLoadStatus::kNotScore},
      {std::string("[KVZ]") + '\0' + std::string(40, 'z'), TLoadStatus::kNotScore},
  };
  for (const Case& c : cases) {
    const std::string path = folder / "refused.kvt";
    TTempFolder::WriteFile(path, c.bytes);
    EXPECT_EQ(Load(path), nullptr);
    EXPECT_EQ(header.status, c.status);
  }
}

TEST_F(BinaryScoreFile, ScoreTextWithoutItsEndLineIsCorrupt) {
  std::string text = WriteScore(*sample);
  text.resize(text.find("!TarlowmedeRazadove-End"));
  const std::string path = folder / "cut.kvt";
  TTempFolder::WriteFile(path, TLayoutBytes().Header(36).Raw(text).Bytes());
  std::unique_ptr<TMusicScore> score = Load(path);
  ASSERT_NE(score, nullptr);
  EXPECT_EQ(header.status, TLoadStatus::kCorrupt);
}

TEST_F(BinaryScoreFile, SavingKeepsABackupAndAFailedSaveKeepsTheOldFile) {
  const std::string path = Saved(true);
  const std::string before = TTempFolder::ReadFile(path);
  TMusicScore other;
  other.AddStaff(std::make_unique<TMusicStaff>());
  TSaveBackups backups;
  backups.enabled = true;
  backups.keep = 1;
  ASSERT_TRUE(WriteScoreToFile(path.c_str(), false, other, backups));
  EXPECT_EQ(TTempFolder::ReadFile(path + ".bak"), before);

  // A folder standing where the file should go: nothing in it changes.
  const std::string blocked = folder / "blocked.kvt";
  std::filesystem::create_directory(blocked);
  TTempFolder::WriteFile(blocked + "/keep", "kept");
  EXPECT_FALSE(WriteScoreToFile(blocked.c_str(), true, other));
  EXPECT_EQ(TTempFolder::ReadFile(blocked + "/keep"), "kept");
  EXPECT_FALSE(WriteScoreToFile((folder / "no/such/folder.kvt").c_str(), true, other));
}

TEST_F(BinaryScoreFile, SettingsOfCurrentAndOlderFiles) {
  const std::string current = Saved(true);
  const std::string older = folder / "old.kvt";
  ASSERT_TRUE(ExportScoreFile175(older, *sample));
  for (const std::string& path : {current, older}) {
    TScoreSettingsBlock settings;
    ASSERT_TRUE(ReadScoreSettings(path.c_str(), header, settings)) << path;
    EXPECT_EQ(std::u16string(settings.songInfo.title), sample->GetSongInfoText(kSongTitle));
    EXPECT_EQ(settings.startingBar, sample->GetStartingBar());
    EXPECT_EQ(settings.margins.mirror, sample->GetMargins().mirror);
  }
  TScoreSettingsBlock settings;
  TByteVectorStream tiny(std::string("x"));
  EXPECT_FALSE(ReadScoreSettings(tiny, header, settings));
  EXPECT_FALSE(ReadScoreSettings((folder / "missing.kvt").c_str(), header, settings));
}

}  // namespace
}  // namespace kvt
