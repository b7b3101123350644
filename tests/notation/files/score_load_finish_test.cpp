#include "notation/files/score_load_finish.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "notation/files/binary/binary_score_file.h"
#include "notation/files/older/older_score_export.h"
#include "notation/files/older/older_score_writer.h"
#include "notation/files/score_load_result.h"
#include "notation/files/text/score_text_reader.h"
#include "notation/files/text/score_text_writer.h"
#include "notation/services/services.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "tests/utils/byte_vector_stream.h"
#include "utils/text_encoding.h"

namespace kvt {
namespace {

// The last format version of the older layout; it stores the editor state.
constexpr int kLastOlderVersion = 34;

// Two staves named alike and one without a name; the caret and selection far past the
// items of the active staff (the second).
std::unique_ptr<TMusicScore> ScoreToLoad() {
  auto score = std::make_unique<TMusicScore>();
  for (const char16_t* name : {u"Piano", u"Piano", u""}) {
    auto staff = std::make_unique<TMusicStaff>();
    staff->SetName(name);
    score->AddStaff(std::move(staff));
    score->SetStaffIncluded(score->GetLastIndex(), true);
  }
  score->SetEditorState(1, 40, 45, 0);
  return score;
}

// The score as a binary file in the older layout at version 34, made with that layout's own
// writers: header, score part with the editor state, staves without items.
std::string OlderLayoutFile(const TMusicScore& score) {
  TByteVectorStream out;
  TScoreHeaderFields fields;
  fields.formatVersion = kLastOlderVersion;
  WriteScoreHeader(out, fields);
  WriteScoreProperties(out, score, kLastOlderVersion);
  out.WriteShort(score.GetStaffCount());
  for (int i = 0; i < score.GetStaffCount(); ++i) {
    WriteStaffProperties(out, *score.GetStaff(i), &score.GetFonts(), kLastOlderVersion);
    out.WriteShort(0);  // no lyrics
    out.WriteShort(0);
    out.WriteShort(0);
    out.WriteShort(2);  // the two enclosing bar lines
  }
  EXPECT_FALSE(out.IsError());
  return out.Text();
}

std::string ScoreTextOf(const TMusicScore& score) {
  TByteVectorStream out;
  WriteScoreText(out, score);
  return out.Text();
}

std::string WrittenBy(bool (*write)(TKRVStream&, const TMusicScore&), const TMusicScore& score) {
  TByteVectorStream out;
  EXPECT_TRUE(write(out, score));
  return out.Text();
}

TScoreLoadResult LoadBinary(const std::string& bytes) {
  TByteVectorStream in(bytes);
  TScoreFileHeader header;
  return LoadScore(in, header, TServices{});
}

TScoreLoadResult LoadText(const std::string& text) {
  TByteVectorStream in(text);
  return ReadScoreText(in, TServices{});
}

std::vector<std::string> StaffNames(const TMusicScore& score) {
  std::vector<std::string> names;
  for (int i = 0; i < score.GetStaffCount(); ++i) names.push_back(Utf16ToUtf8(score.GetStaff(i)->GetName()));
  return names;
}

struct TReaderCase {
  const char* name;
  std::function<TScoreLoadResult(const TMusicScore&)> load;
  bool storesEditorState;
};

const TReaderCase kReaders[] = {
    {"score text", [](const TMusicScore& s) { return LoadText(ScoreTextOf(s)); }, true},
    {"binary file", [](const TMusicScore& s) { return LoadBinary(WrittenBy(WriteScoreFile, s)); }, true},
    {"older layout", [](const TMusicScore& s) { return LoadBinary(OlderLayoutFile(s)); }, true},
    {"1.75 export", [](const TMusicScore& s) { return LoadBinary(WrittenBy(WriteScoreFile175, s)); }, false},
};

TEST(ScoreLoadFinish, EveryReaderGivesTheSameStaffNamesAndABoundedEditorState) {
  const std::unique_ptr<TMusicScore> source = ScoreToLoad();
  for (const TReaderCase& reader : kReaders) {
    TScoreLoadResult result = reader.load(*source);
    ASSERT_NE(result.score, nullptr) << reader.name;
    const TMusicScore& score = *result.score;
    EXPECT_EQ(StaffNames(score), (std::vector<std::string>{"Piano", "Piano-2", "Staff"})) << reader.name;
    EXPECT_GE(score.GetActiveStaff(), -1) << reader.name;
    EXPECT_LE(score.GetActiveStaff(), score.GetLastIndex()) << reader.name;
    if (reader.storesEditorState) {
      ASSERT_EQ(score.GetActiveStaff(), 1) << reader.name;
      const int last = score.GetStaff(1)->GetLastIndex();
      EXPECT_EQ(score.GetCaretIndex(), last) << reader.name;
      EXPECT_EQ(score.GetSelectIndex(), last) << reader.name;
      EXPECT_TRUE(result.repaired.editorStateBounded) << reader.name;
    }
  }
}

TEST(ScoreLoadFinish, OlderLayoutCaretPastTheStaffIsBoundedSoTheConvertedTextLoadsWhole) {
  TScoreLoadResult older = LoadBinary(OlderLayoutFile(*ScoreToLoad()));
  ASSERT_NE(older.score, nullptr);
  // A bounded editor state is no damage of the older layout: the status stays.
  EXPECT_EQ(older.status, TLoadStatus::kLoaded);
  EXPECT_EQ(older.score->GetCaretIndex(), older.score->GetStaff(1)->GetLastIndex());
  // The conversion writes score text; reading that back must find nothing to mend.
  TScoreLoadResult converted = LoadText(ScoreTextOf(*older.score));
  ASSERT_NE(converted.score, nullptr);
  EXPECT_EQ(converted.status, TLoadStatus::kLoaded);
  EXPECT_FALSE(converted.repaired.editorStateBounded);
}

TEST(ScoreLoadFinish, NamesAreMadeUniqueAgainstTheStavesBeforeInOrder) {
  TMusicScore score;
  for (const char16_t* name : {u"A-2", u"A", u"A", u"A"}) {
    auto staff = std::make_unique<TMusicStaff>();
    staff->SetName(name);
    score.AddStaff(std::move(staff));
  }
  EXPECT_TRUE(FinishLoadedScore(score, TServices{}).staffNamesChanged);
  EXPECT_EQ(StaffNames(score), (std::vector<std::string>{"A-2", "A", "A-3", "A-4"}));
  EXPECT_FALSE(FinishLoadedScore(score, TServices{}).staffNamesChanged);
}

TEST(ScoreLoadFinish, ANegativeCaretOrActiveStaffBecomesNone) {
  TMusicScore score;
  score.AddStaff(std::make_unique<TMusicStaff>());
  score.SetEditorState(-7, -5, -9, 3);
  EXPECT_TRUE(FinishLoadedScore(score, TServices{}).editorStateBounded);
  EXPECT_EQ(score.GetActiveStaff(), -1);
  EXPECT_EQ(score.GetCaretIndex(), -1);
  EXPECT_EQ(score.GetSelectIndex(), -1);
  EXPECT_EQ(score.GetCaretPos(), 3);
}

}  // namespace
}  // namespace kvt
