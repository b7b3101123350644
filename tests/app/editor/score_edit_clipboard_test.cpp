// The editing view's cut, copy, paste, clear and copy special through an in-memory clipboard:
// commands by id on small score texts, the item lines of the text writer as the oracle, each
// edit undone and redone.

#include <gtest/gtest.h>

#include <QRadioButton>
#include <memory>
#include <string>
#include <vector>

#include "app/editor/clipboard_commands.h"
#include "app/editor/clipboard_service.h"
#include "app/editor/copy_how_much_dialog.h"
#include "app/editor/score_edit.h"
#include "app/editor/score_edit_host.h"
#include "app/editor/selection_picture.h"
#include "app/editor/undo_action_mgr.h"
#include "notation/files/text/clip_exchange.h"
#include "notation/files/text/score_text_reader.h"
#include "notation/files/text/score_text_writer.h"
#include "notation/items/rest_note.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "platform/clipboard_stream.h"
#include "print/page_picture.h"
#include "tools/command_table.h"
#include "utils/flat_ram_stream.h"
#include "utils/zlib_out_stream.h"

namespace kvt {
namespace {

// Two staves of one group (both shown); the first: clef, four notes over a bar line, a rest.
constexpr char kScoreText[] =
    "!TarlowmedeRazadove(2.75)\r\n"
    "|AddStaff|Name:\"Upper\"|Group:\"Standard\"\r\n"
    "|Clef|Type:Treble\r\n"
    "|Note|Dur:4th|Pos:0\r\n"
    "|Note|Dur:4th|Pos:1\r\n"
    "|Note|Dur:Half|Pos:2\r\n"
    "|Bar\r\n"
    "|Note|Dur:Half|Pos:3\r\n"
    "|Rest|Dur:Half\r\n"
    "|AddStaff|Name:\"Lower\"|Group:\"Standard\"\r\n"
    "|Clef|Type:Bass\r\n"
    "|Rest|Dur:Whole\r\n"
    "!TarlowmedeRazadove-End\r\n";

std::vector<uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

std::vector<uint8_t> Gzip(std::string_view text) {
  TKRVFlatRamStream packed(0, 64 * 1024);
  {
    TKRVZLibOutStream out(TKRVZLibOutStream::kModeGzip, &packed);
    out.Write(text.data(), static_cast<int>(text.size()));
    EXPECT_TRUE(out.End());
  }
  std::vector<uint8_t> bytes(static_cast<size_t>(packed.Size()));
  packed.Rewind();
  packed.Read(bytes.data(), static_cast<int>(bytes.size()));
  return bytes;
}

class ScoreEditClipboardTest : public ::testing::Test {
protected:
  void SetUp() override {
    std::string text = kScoreText;
    TKRVFlatRamStream in(text.data(), static_cast<int>(text.size()), static_cast<int>(text.size()));
    score = ReadScoreText(in, TServices{}).score;
    ASSERT_TRUE(score);
    ASSERT_EQ(score->GetStaffCount(), 2);
    score->SetEditorState(0, 1, 1, 0);
    view = std::make_unique<TScoreEdit>(nullptr, *score, undo, host);
    view->resize(900, 500);
    view->SetActive(true);
    ASSERT_EQ(view->ShownStaffCount(), 2);
  }
  TMusicStaff& Staff() const { return *score->GetStaff(0); }
  // The item lines of the first staff between its boundary bar lines, as the writer gives them.
  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    for (int i = 1; i < Staff().GetLastIndex(); ++i)
      lines.push_back(FormatItemLine(*Staff().GetItem(i), kTextModeScore));
    return lines;
  }
  // Selects items first..last of the first staff (first == last + 1: just the caret there).
  void Select(int first, int last) {
    view->SetCaretIndex(first, false);
    // The selection ends before the caret.
    if (last >= first) view->SetCaretIndex(last + 1, true);
  }
  bool Run(int id) { return view->ExecuteCommand(id); }
  TMemoryClipboard& Clipboard() { return host.clipboard; }
  // The lines with rows first..last (1-based item indexes) removed.
  std::vector<std::string> Without(std::vector<std::string> lines, int first, int last) {
    lines.erase(lines.begin() + (first - 1), lines.begin() + last);
    return lines;
  }

  std::unique_ptr<TMusicScore> score;
  TNullScoreEditHost host;
  TUndoActionMgr undo{20, 1000};
  std::unique_ptr<TScoreEdit> view;
};

TEST_F(ScoreEditClipboardTest, CopyOffersTheGzipClipAndItsText) {
  Select(2, 3);
  const std::vector<std::string> before = Lines();
  ASSERT_TRUE(Run(kCmdCopy));
  EXPECT_EQ(Lines(), before);
  EXPECT_EQ(undo.Top(), 0);
  ASSERT_TRUE(Clipboard().owned);
  const std::vector<uint8_t>& clip = Clipboard().formats[std::string(kClipboardFormatScore)];
  ASSERT_GT(clip.size(), 2u);
  EXPECT_EQ(clip[0], 0x1F);
  EXPECT_EQ(clip[1], 0x8B);
  const std::vector<uint8_t>& text = Clipboard().formats[std::string(kClipboardFormatText)];
  const std::string clipText(text.begin(), text.end());
  EXPECT_EQ(clipText.rfind("!TarlowmedeRazadoveClip(2.75,Single)\r\n", 0), 0u) << clipText;
  EXPECT_NE(clipText.find(before[1] + "\r\n"), std::string::npos);
  EXPECT_NE(clipText.find(before[2] + "\r\n"), std::string::npos);
}

// A copy that cannot reach the clipboard says so; the cut then deletes nothing.
TEST_F(ScoreEditClipboardTest, AFailedCopyReportsAndCutKeepsTheItems) {
  Clipboard().accepts = false;
  Select(2, 3);
  const std::vector<std::string> before = Lines();
  Run(kCmdCut);
  EXPECT_EQ(host.messages, std::vector<std::string>{"Operation Error"});
  EXPECT_EQ(Lines(), before);
  EXPECT_EQ(undo.Top(), 0);
}

TEST_F(ScoreEditClipboardTest, CopyThenPasteReadsTheOwnClipNeverTheRenderedText) {
  Select(2, 3);
  const std::vector<std::string> copied = {Lines()[1], Lines()[2]};
  ASSERT_TRUE(Run(kCmdCopy));
  // The clipboard's renderings differ from the copy: only the stored clip gives the notes.
  Clipboard().ReplaceFormat(kClipboardFormatText, Bytes("rendered text"));
  Clipboard().ReplaceFormat(kClipboardFormatScore, Gzip("rendered clip"));
  Clipboard().reads.clear();
  Select(6, 5);
  ASSERT_TRUE(Run(kCmdPaste));
  EXPECT_TRUE(Clipboard().reads.empty());
  EXPECT_EQ(Lines()[5], copied[0]);
  EXPECT_EQ(Lines()[6], copied[1]);
}

TEST_F(ScoreEditClipboardTest, PasteByOwnClipAndByRenderedTextGiveTheSameItems) {
  Select(2, 4);
  ASSERT_TRUE(Run(kCmdCopy));
  const std::vector<uint8_t> text = Clipboard().formats[std::string(kClipboardFormatText)];
  Select(7, 6);
  ASSERT_TRUE(Run(kCmdPaste));
  const std::vector<std::string> byOwnClip = Lines();
  ASSERT_TRUE(view->Undo());
  // Another program offers only the text it got from us.
  Clipboard().SetFormat(kClipboardFormatText, text);
  Select(7, 6);
  ASSERT_TRUE(Run(kCmdPaste));
  EXPECT_EQ(Clipboard().reads[std::string(kClipboardFormatText)], 1);
  EXPECT_EQ(Lines(), byOwnClip);
}

struct TEditCase {
  const char* name;
  int command;
  int first, last;  // the selection; first == last + 1: the caret alone at first
  int wantCaret;
};

class ScoreEditClipboardEditTest : public ScoreEditClipboardTest,
                                   public ::testing::WithParamInterface<TEditCase> {};

// Each edit against the lines it should give, then undone (the lines before) and redone.
TEST_P(ScoreEditClipboardEditTest, EditUndoneAndRedone) {
  const TEditCase& c = GetParam();
  // The clipboard holds items 2..3 of the staff, copied first.
  Select(2, 3);
  ASSERT_TRUE(Run(kCmdCopy));
  const std::vector<std::string> before = Lines();
  std::vector<std::string> want = Without(before, c.first, c.last);
  if (c.command == kCmdPaste)
    want.insert(want.begin() + (c.first - 1), before.begin() + 1, before.begin() + 3);
  Select(c.first, c.last);
  ASSERT_TRUE(Run(c.command));
  EXPECT_EQ(Lines(), want);
  EXPECT_EQ(view->Caret().caret, c.wantCaret);
  EXPECT_EQ(view->Caret().anchor, c.wantCaret);
  EXPECT_EQ(undo.Top(), 1);
  EXPECT_TRUE(host.messages.empty());
  ASSERT_TRUE(view->Undo());
  EXPECT_EQ(Lines(), before);
  ASSERT_TRUE(view->Redo());
  EXPECT_EQ(Lines(), want);
}

INSTANTIATE_TEST_SUITE_P(Cases, ScoreEditClipboardEditTest,
                         ::testing::Values(TEditCase{"Cut", kCmdCut, 3, 5, 3},
                                           TEditCase{"Clear", kCmdClear, 2, 2, 2},
                                           TEditCase{"PasteAtTheCaret", kCmdPaste, 6, 5, 6},
                                           TEditCase{"PasteOverTheSelection", kCmdPaste, 4, 6, 4},
                                           TEditCase{"PasteAtTheStart", kCmdPaste, 1, 0, 1}),
                         [](const ::testing::TestParamInfo<TEditCase>& info) {
                           return std::string(info.param.name);
                         });

TEST_F(ScoreEditClipboardTest, CutPutsTheItemsOnTheClipboard) {
  Select(3, 4);
  const std::vector<std::string> cut = {Lines()[2], Lines()[3]};
  ASSERT_TRUE(Run(kCmdCut));
  Select(1, 0);
  ASSERT_TRUE(Run(kCmdPaste));
  EXPECT_EQ(Lines()[0], cut[0]);
  EXPECT_EQ(Lines()[1], cut[1]);
}

TEST_F(ScoreEditClipboardTest, TextOfAnotherProgramPastesAsItsItems) {
  Clipboard().SetFormat(kClipboardFormatText, Bytes("|Note|Dur:8th|Pos:-3\n|Rest|Dur:8th\n"));
  Select(2, 1);
  ASSERT_TRUE(Run(kCmdPaste));
  EXPECT_EQ(Lines()[1], "|Note|Dur:8th|Pos:-3");
  EXPECT_EQ(Lines()[2].rfind("|Rest|Dur:8th", 0), 0u) << Lines()[2];
  EXPECT_EQ(undo.Top(), 1);
}

// Data that gives no items shows "Paste Error" and changes nothing, without an undo entry.
TEST_F(ScoreEditClipboardTest, UnreadableClipboardDataIsAPasteError) {
  const std::vector<uint8_t> gzip = Gzip("|Note|Dur:4th|Pos:0\r\n|Note|Dur:4th|Pos:1\r\n");
  struct {
    const char* name;
    std::string_view format;
    std::vector<uint8_t> bytes;
  } cases[] = {
      {"empty text", kClipboardFormatText, {}},
      {"cut gzip", kClipboardFormatScore, {gzip.begin(), gzip.begin() + 12}},
      {"framed clip without items", kClipboardFormatScore,
       Bytes("!TarlowmedeRazadoveClip(2.75,Single)\r\n")},
      {"a bomb", kClipboardFormatScore, Gzip(std::string(kMaxPastedClipBytes + 10, '|'))},
  };
  Select(3, 4);
  const std::vector<std::string> before = Lines();
  for (const auto& c : cases) {
    host.messages.clear();
    Clipboard().SetFormat(c.format, c.bytes);
    EXPECT_FALSE(PasteClip(*view)) << c.name;
    EXPECT_EQ(host.messages, std::vector<std::string>{"Paste Error"}) << c.name;
    EXPECT_EQ(Lines(), before) << c.name;
    EXPECT_EQ(undo.Top(), 0) << c.name;
    EXPECT_TRUE(view->HasSelection()) << c.name;
  }
}

TEST_F(ScoreEditClipboardTest, PasteIntoANearlyFullStaffIsACapacityError) {
  Select(2, 3);
  ASSERT_TRUE(Run(kCmdCopy));
  // Room for one more item only: the two copied ones do not fit.
  while (HasRoomForClip(Staff(), 2, 0))
    Staff().InsertItem(std::make_unique<TRestNote>(kDurQuarter, 0), Staff().GetLastIndex());
  view->RelayoutShown();
  const std::vector<std::string> before = Lines();
  Select(2, 1);
  EXPECT_FALSE(PasteClip(*view));
  EXPECT_EQ(host.messages, std::vector<std::string>{"Staff Capacity Test"});
  EXPECT_EQ(Lines(), before);
  EXPECT_EQ(undo.Top(), 0);
  // Over a selection of one item the two fit.
  host.messages.clear();
  Select(2, 2);
  EXPECT_TRUE(PasteClip(*view));
  EXPECT_TRUE(host.messages.empty());
  EXPECT_FALSE(HasRoomForClip(Staff(), 1, 0));
}

TEST_F(ScoreEditClipboardTest, Enablers) {
  Select(2, 1);
  for (int id : {kCmdCut, kCmdCopy, kCmdClear, kCmdCopySpecial, kCmdPaste})
    EXPECT_FALSE(view->Commands().IsEnabled(id)) << id;
  Select(2, 3);
  for (int id : {kCmdCut, kCmdCopy, kCmdClear, kCmdCopySpecial})
    EXPECT_TRUE(view->Commands().IsEnabled(id)) << id;
  EXPECT_FALSE(view->Commands().IsEnabled(kCmdPaste));
  Clipboard().SetFormat(kClipboardFormatText, Bytes("x"));
  EXPECT_TRUE(view->Commands().IsEnabled(kCmdPaste));
  Clipboard().SetFormat("image/png", Bytes("x"));
  EXPECT_FALSE(view->Commands().IsEnabled(kCmdPaste));
  // A view that may not edit offers none of them.
  Clipboard().SetFormat(kClipboardFormatText, Bytes("x"));
  view->SetActive(false);
  for (int id : {kCmdCut, kCmdCopy, kCmdClear, kCmdCopySpecial, kCmdPaste})
    EXPECT_FALSE(view->Commands().IsEnabled(id)) << id;
}

// The SVG's width and height attributes in millimetres.
double SvgLength(const std::string& svg, const std::string& name) {
  const size_t at = svg.find(" " + name + "=\"");
  if (at == std::string::npos) return -1;
  const size_t start = at + name.size() + 3;
  const size_t end = svg.find("mm\"", start);
  if (end == std::string::npos) return -1;
  return std::stod(svg.substr(start, end - start));
}

TEST_F(ScoreEditClipboardTest, CopySpecialPutsAnSvgInMillimetresWithItsPng) {
  Select(2, 4);
  Clipboard().howMuch = TCopyHowMuch::kActiveStaff;
  ASSERT_TRUE(Run(kCmdCopySpecial));
  EXPECT_EQ(Clipboard().questions, 1);
  ASSERT_TRUE(Clipboard().HasFormat(kPictureSvgFormat));
  ASSERT_TRUE(Clipboard().HasFormat(kPicturePngFormat));
  const std::vector<uint8_t>& svgBytes = Clipboard().formats[kPictureSvgFormat];
  const std::string svg(svgBytes.begin(), svgBytes.end());
  const auto picture = MakeSelectionPicture(*view, false);
  ASSERT_TRUE(picture);
  const int dpi = ScreenPictureDpi(*view);
  EXPECT_NEAR(SvgLength(svg, "width"), picture->widthPx * 25.4 / dpi, 0.01);
  EXPECT_NEAR(SvgLength(svg, "height"), picture->heightPx * 25.4 / dpi, 0.01);
  EXPECT_EQ(picture->heightPx, view->StaffRect(view->ActiveStaffIndex()).height());
  const std::vector<uint8_t>& png = Clipboard().formats[kPicturePngFormat];
  ASSERT_GT(png.size(), 8u);
  EXPECT_EQ(std::string(png.begin() + 1, png.begin() + 4), "PNG");
  EXPECT_TRUE(host.messages.empty());

  // All open staves: the picture is as high as the shown staves together.
  Clipboard().howMuch = TCopyHowMuch::kAllStaves;
  const auto all = MakeSelectionPicture(*view, true);
  ASSERT_TRUE(all);
  EXPECT_EQ(all->heightPx, view->StaffRect(0).united(view->StaffRect(1)).height());
  EXPECT_GT(all->heightPx, picture->heightPx);
  EXPECT_EQ(all->widthPx, picture->widthPx);
}

TEST_F(ScoreEditClipboardTest, CopySpecialCancelledLeavesTheClipboard) {
  Clipboard().SetFormat(kClipboardFormatText, Bytes("kept"));
  Clipboard().howMuch = TCopyHowMuch::kCancel;
  Select(2, 4);
  Run(kCmdCopySpecial);
  EXPECT_EQ(Clipboard().questions, 1);
  EXPECT_TRUE(Clipboard().HasFormat(kClipboardFormatText));
  EXPECT_FALSE(Clipboard().HasFormat(kPictureSvgFormat));
}

TEST(CopyHowMuchDialogTest, JustTheActiveStaffIsTheDefault) {
  TCopyHowMuchDialog dialog(nullptr);
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Copy Special"));
  EXPECT_TRUE(dialog.ActiveStaffButton().isChecked());
  EXPECT_EQ(dialog.Choice(), TCopyHowMuch::kActiveStaff);
  dialog.AllStavesButton().setChecked(true);
  EXPECT_EQ(dialog.Choice(), TCopyHowMuch::kAllStaves);
  EXPECT_EQ(dialog.ActiveStaffButton().text(), QStringLiteral("&Just the active staff"));
  EXPECT_EQ(dialog.AllStavesButton().text(), QStringLiteral("&All open staves"));
}

}  // namespace
}  // namespace kvt
