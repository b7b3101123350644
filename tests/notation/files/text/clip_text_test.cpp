#include "notation/files/text/clip_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "notation/services/long_task_cancel.h"
#include "notation/files/text/score_text_reader.h"
#include "notation/staff/staff_range.h"
#include "notation/services/services.h"
#include "tests/notation/score_text_fixture.h"

namespace kvt {
namespace {

using namespace score_text_test;

// The record lines of the staff's items between its boundary bar lines.
std::vector<std::string> ItemLines(const TMusicStaff& staff, int mode = kTextModeScore) {
  std::vector<std::string> lines;
  for (int i = 1; i < staff.GetLastIndex(); ++i) lines.push_back(FormatItemLine(*staff.GetItem(i), mode));
  return lines;
}

std::string WriteClip(TMusicStaff& staff, int first, int last, bool framed, bool context,
                      const TServices& services = TServices()) {
  TOutStream out;
  WriteClipText(staff, first, last, *out, framed, context, services);
  return out.Text();
}

struct TPasted {
  int result = 0;
  bool corrupt = false;
  std::unique_ptr<TMusicStaff> staff = std::make_unique<TMusicStaff>();
};

TPasted Paste(std::string_view text, bool bare = true, const TServices& services = TServices()) {
  TPasted pasted;
  TTextStream stream(text);
  TClipTextReader reader(*stream, *pasted.staff, bare, nullptr, services);
  const TClipLoadResult result = reader.Read();
  pasted.result = result.items;
  pasted.corrupt = result.status == TLoadStatus::kCorrupt;
  return pasted;
}

// A staff in Bass clef, D major, 3/4, with a tie into the second bar.
class ClipTextTest : public ::testing::Test {
protected:
  void SetUp() override {
    AddItem(staff, TItemPtr(new TClefData(kClefBass)));                 // 1
    AddItem(staff, TItemPtr(new TKeyData((1 << 5) | (1 << 2), 0, 3)));  // 2
    AddItem(staff, TItemPtr(new TTimeSignatureData(3, 2)));             // 3
    AddItem(staff, TItemPtr(NewNote(2, kDurHalf)));                     // 4
    auto tied = NewNote(-1, kDurQuarter, kStemAuto, kAccSharp);         // 5
    tied->SetNoteFlag(kFlagTieOut);
    AddItem(staff, std::move(tied));
    AddItem(staff, TItemPtr(new TBarLineData()));                       // 6
    AddItem(staff, TItemPtr(NewNote(-1, kDurQuarter, kStemAuto, kAccSharp)));  // 7
    AddItem(staff, TItemPtr(new TRestNote(kDurQuarter, 0)));            // 8
    AddItem(staff, TItemPtr(NewNote(0)));                                // 9
    AddItem(staff, TItemPtr(new TBarLineData(kBarDouble)));              // 10
  }

  TMusicStaff staff;
};

TEST_F(ClipTextTest, FramedClipReadsBackToItsItems) {
  const std::string clip = WriteClip(staff, 7, 10, false, false);
  const std::vector<std::string> lines = SplitLines(clip);
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines.front(), "!TarlowmedeRazadoveClip(2.75,Single)");
  EXPECT_EQ(lines.back(), "!TarlowmedeRazadoveClip-End");
  EXPECT_EQ(clip.substr(clip.size() - 2), "\r\n");
  TPasted pasted = Paste(clip);
  EXPECT_EQ(pasted.result, 4);
  EXPECT_FALSE(pasted.corrupt);
  EXPECT_EQ(ItemLines(*pasted.staff), std::vector<std::string>(lines.begin() + 1, lines.end() - 1));
}

TEST_F(ClipTextTest, ContextLinesDescribeTheBarAndChangeNothing) {
  const std::string clip = WriteClip(staff, 8, 9, false, true);
  const std::vector<std::string> lines = SplitLines(clip);
  const std::vector<std::string> expected = {
      "!TarlowmedeRazadoveClip(2.75,Single)",
      "|Fake|Clef|Type:Bass",
      "|Fake|Key|Signature:F#,C#|Tonic:D",
      "|Fake|TimeSig|Signature:3/4",
      "|Fake|Note|Dur:8th,Grace|Pos:#1^",
      "|Fake|Bar",
      "|Fake|Note|Dur:4th|Pos:#1",
      "|Context|Bar:2",
      "|Rest|Dur:4th",
      "|Note|Dur:4th|Pos:0",
      "!TarlowmedeRazadoveClip-End",
  };
  EXPECT_EQ(lines, expected);
  TPasted pasted = Paste(clip);
  EXPECT_EQ(pasted.result, 2);
  EXPECT_EQ(ItemLines(*pasted.staff), std::vector<std::string>({"|Rest|Dur:4th", "|Note|Dur:4th|Pos:0"}));
  // At the start of a bar the context says so.
  EXPECT_NE(WriteClip(staff, 7, 7, false, true).find("|Context|Bar:2,AtStart\r\n"), std::string::npos);
}

TEST_F(ClipTextTest, StaffRangeForm) {
  TOutStream out;
  WriteClipText(TStaffRange(&staff, 7, 9), *out, false, true);
  EXPECT_EQ(out.Text(), WriteClip(staff, 7, 9, false, true));
  TOutStream empty;
  WriteClipText(TStaffRange(), *empty, false, false);
  EXPECT_EQ(empty.Text(), "!TarlowmedeRazadoveClip(2.75,Single)\r\n!TarlowmedeRazadoveClip-End\r\n");
}

TEST_F(ClipTextTest, OneItemIsWrittenBareAndPastesBack) {
  const std::string bare = WriteClip(staff, 5, 5, false, false);
  EXPECT_EQ(bare, "|Note|Dur:4th|Pos:#1o^|Color:0|Visibility:Default");
  // Without its line end, as the clipboard holds it.
  TPasted pasted = Paste(bare);
  ASSERT_EQ(pasted.result, 1);
  EXPECT_EQ(FormatItemLine(*pasted.staff->GetItem(1), kTextModeLone), bare);
  // Framed on request.
  EXPECT_EQ(SplitLines(WriteClip(staff, 5, 5, true, false)).size(), 3u);
}

TEST(ClipTextReaderTest, PlainTextAndOddInput) {
  const struct {
    const char* name;
    std::string text;
    bool bare;
    int result;
    std::vector<std::string> lines;
  } cases[] = {
      {"two lines of text", "first words\r\nsecond\r\n", true, 1,
       {"|Text|Text:\"first words\"|Font:StaffBold|Pos:8|Wide:Y"}},
      {"one line without line end", "just this", true, 1, {"|Text|Text:\"just this\"|Font:StaffBold|Pos:8|Wide:Y"}},
      {"nothing", "", true, -1, {}},
      {"only blank lines", "\r\n\r\n", true, -1, {}},
      {"header without Single", "!TarlowmedeRazadoveClip(2.75)\r\n|Clef|Type:Bass\r\n", false, 1,
       {"|Text|Text:\"!TarlowmedeRazadoveClip(2.75)\"|Font:StaffBold|Pos:8|Wide:Y"}},
      {"item line when bare lines are refused", "|Clef|Type:Alto\r\ntext\r\n", false, 1, {"|Clef|Type:Alto"}},
      {"bare lines", "|Clef|Type:Alto\n|Bar\n", true, 2, {"|Clef|Type:Alto", "|Bar"}},
      {"other spelling", "!TarlowmedeVezerozaClip(2.75,Single)\r\n|Bar\r\n!TarlowmedeVezerozaClip-End\r\n", false,
       1, {"|Bar"}},
      {"last item line without line end", "!TarlowmedeRazadoveClip(2.75,Single)\r\n|Bar", false, 1, {"|Bar"}},
      {"fake user property survives",
       "!TarlowmedeRazadoveClip(2.75,Single)\r\n|Fake|Bar\r\n|User|Arrow|FakeSize:3|Context:1\r\n"
       "|Context|Bar:1\r\n!TarlowmedeRazadoveClip-End\r\n",
       false, 1, {"|User|Arrow|Pos:7|FakeSize:3|Context:1"}},
      {"comment and locale", "!TarlowmedeRazadoveClip(2.75,Single)\r\n# note\r\n|Locale|ACP:1252\r\n|Bar\r\n"
       "!TarlowmedeRazadoveClip-End\r\n", false, 1, {"|Bar"}},
  };
  for (const auto& c : cases) {
    TPasted pasted = Paste(c.text, c.bare);
    EXPECT_EQ(pasted.result, c.result) << c.name;
    EXPECT_EQ(ItemLines(*pasted.staff), c.lines) << c.name;
  }
}

TEST(ClipTextReaderTest, AClipWithoutItsEndLineKeepsItsItemsAndIsCorrupt) {
  TPasted pasted = Paste("!TarlowmedeRazadoveClip(2.75,Single)\r\n|Bar\r\n|Clef|Type:Bass\r\n", false);
  EXPECT_EQ(pasted.result, 2);
  EXPECT_TRUE(pasted.corrupt);
  TPasted empty = Paste("!TarlowmedeRazadoveClip(2.75,Single)\r\n", false);
  EXPECT_EQ(empty.result, -1);
}

TEST(ClipTextReaderTest, ScoreTextReaderTakesAClip) {
  TTextStream stream("!TarlowmedeRazadoveClip(2.75,Single)\r\n|Bar\r\n|Clef|Type:Bass\r\n!TarlowmedeRazadoveClip-End\r\n");
  TScoreLoadResult info = ReadScoreText(*stream, TServices{});
  std::unique_ptr<TMusicScore> score = std::move(info.score);
  ASSERT_TRUE(score);
  EXPECT_EQ(info.status, TLoadStatus::kLoaded);
  ASSERT_EQ(score->GetStaffCount(), 1);
  EXPECT_EQ(ItemLines(*score->GetStaff(0)), std::vector<std::string>({"|Bar", "|Clef|Type:Bass"}));
}

// Cancels after a number of polls.
class TCancelAfter final : public TLongTaskCancel {
public:
  explicit TCancelAfter(int polls) : left(polls) {}
  bool CheckCancel() override { return --left < 0; }

private:
  int left;
};

TEST_F(ClipTextTest, CancelStopsBothDirections) {
  TCancelAfter cancel(2);
  TServices writing;
  writing.longTaskCancel = &cancel;
  const std::string clip = WriteClip(staff, 1, 10, false, false, writing);
  const std::vector<std::string> lines = SplitLines(clip);
  ASSERT_EQ(lines.size(), 4u);  // header, two items, end line
  EXPECT_EQ(lines.back(), "!TarlowmedeRazadoveClip-End");

  const std::string whole = WriteClip(staff, 1, 10, false, false);
  TCancelAfter cancelRead(3);
  TServices reading;
  reading.longTaskCancel = &cancelRead;
  TPasted pasted = Paste(whole, true, reading);
  EXPECT_EQ(pasted.result, -1);
  EXPECT_EQ(pasted.staff->GetItemCount(), 2 + 3);
}

}  // namespace
}  // namespace kvt
