// The print job on the PDF printer: page counts and paper, ranges with page numbering, copies,
// cancelling and failing outputs, checked with poppler's tools.

#include "print/print_job.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <csignal>
#include <filesystem>

#include "print/print_cancel_dialog.h"
#include "tests/print/print_fixture.h"
#include "tests/tools/recording_message_box.h"

namespace kvt::test {
namespace {

class PrintJobTest : public PrintFixture {
protected:
  int Print(TMusicScore& score, const std::string& file, TPrintRange range = {},
            QPageSize::PageSizeId paper = QPageSize::A4, int copies = 1) {
    auto device = PdfPrinter(file, paper);
    device->Printer().setCopyCount(copies);
    auto data = Data(*device, score);
    return PrintPages(*data, *device, range, "/scores/Song.kvt", services);
  }
  int Count(TMusicScore& score, QPageSize::PageSizeId paper = QPageSize::A4) {
    auto device = PdfPrinter(Path("count.pdf"), paper);
    return Data(*device, score)->CountPages();
  }
  // Clicks the cancel dialog's button when the status shows page `page`.
  void CancelOnPage(int page) {
    status.onText = [page](const std::string& text) {
      if (text != "Printing Page " + std::to_string(page)) return;
      for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* dialog = dynamic_cast<TPrintCancelDialog*>(w)) dialog->CancelButton()->click();
    };
  }
};

TEST_F(PrintJobTest, EveryPageOnTheChosenPaper) {
  struct Case {
    const char* score;
    QPageSize::PageSizeId paper;
    const char* size;
  };
  const Case cases[] = {{"example", QPageSize::A4, "(A4)"},
                        {"example", QPageSize::Letter, "(letter)"},
                        {"five", QPageSize::A4, "(A4)"},
                        {"five", QPageSize::Letter, "(letter)"}};
  auto five = ScoreOfPages(5);
  ASSERT_TRUE(five);
  auto example = LoadExample();
  ASSERT_TRUE(example);
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.score) + " " + c.size);
    TMusicScore& score = std::string(c.score) == "five" ? *five : *example;
    const std::string file = Path("out.pdf");
    const int pages = Count(score, c.paper);
    ASSERT_GE(pages, 1);
    EXPECT_EQ(Print(score, file, {}, c.paper), 1);
    EXPECT_EQ(PdfPageCount(file), pages);
    EXPECT_NE(PdfPageSize(file).find(c.size), std::string::npos) << PdfPageSize(file);
  }
  EXPECT_EQ(status.texts.back(), "Printing Page 5");
}

TEST_F(PrintJobTest, RangeAndCopiesPrintTheirPagesWithTheirNumbers) {
  auto score = ScoreOfPages(5);
  ASSERT_TRUE(score);
  score->SetPageNumbers(3);  // printed numbers 3..7
  const std::string file = Path("range.pdf");
  // Page indexes 2 and 3 carry the numbers 4 and 5; two copies hold the range twice.
  ASSERT_EQ(Print(*score, file, {2, 3}, QPageSize::A4, 2), 1);
  ASSERT_EQ(PdfPageCount(file), 4);
  const char* expected[] = {"4", "5", "4", "5"};
  for (int page = 1; page <= 4; ++page) {
    const std::vector<std::string> words = PdfWords(file, page);
    SCOPED_TRACE(page);
    EXPECT_NE(std::find(words.begin(), words.end(), expected[page - 1]), words.end());
    for (const char* other : {"3", "6", "7"})
      EXPECT_EQ(std::find(words.begin(), words.end(), other), words.end());
  }
}

TEST_F(PrintJobTest, ARangeBeyondTheScorePrintsNothing) {
  auto score = MakeScore(1, 4);
  const std::string file = Path("beyond.pdf");
  EXPECT_EQ(Print(*score, file, {3, 9}), 0);
  EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(PrintJobTest, CancelOnPageTwoOfFiveLeavesNoFileAndKeepsAnOlderOne) {
  auto score = ScoreOfPages(5);
  ASSERT_TRUE(score);
  for (bool older : {false, true}) {
    SCOPED_TRACE(older);
    const std::string file = Path(older ? "older.pdf" : "new.pdf");
    if (older) WriteAll(file, "older contents");
    status.texts.clear();
    CancelOnPage(2);
    EXPECT_EQ(Print(*score, file), 0);
    EXPECT_EQ(status.texts.back(), "Printing Page 2");  // stopped after the current page
    if (older)
      EXPECT_EQ(ReadAll(file), "older contents");
    else
      EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path().toStdString()), {}),
              older ? 1 : 0);  // the older file alone: no temporary file is left
  }
  for (QWidget* w : QApplication::topLevelWidgets())
    EXPECT_EQ(dynamic_cast<TPrintCancelDialog*>(w), nullptr);
}

// The main window of a test: the job disables it while the cancel dialog shows.
class TWindowShell final : public TPrintShell {
public:
  QWidget* MainWindow() override { return &window; }
  std::string FileDialogFolder(int) override { return {}; }
  void RememberFileDialogFolder(int, const std::string&) override {}
  QWidget window;
};

TEST_F(PrintJobTest, TheMainWindowWaitsWhileTheCancelDialogShowsTheDocument) {
  TWindowShell shell;
  shell.window.show();
  services.shell = &shell;
  auto score = ScoreOfPages(2);
  ASSERT_TRUE(score);
  int seen = 0;
  status.onText = [&](const std::string&) {
    EXPECT_FALSE(shell.window.isEnabled());
    TPrintCancelDialog* dialog = shell.window.findChild<TPrintCancelDialog*>();
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(dialog->isEnabled());
    EXPECT_EQ(dialog->windowTitle(), "Score Print");
    auto* name = qobject_cast<QLabel*>(dialog->Control(TPrintCancelDialog::kDocumentNameId));
    ASSERT_TRUE(name);
    EXPECT_EQ(name->text(), "Song.kvt");
    ++seen;
  };
  EXPECT_EQ(Print(*score, Path("windows.pdf")), 1);
  EXPECT_EQ(seen, 2);
  EXPECT_TRUE(shell.window.isEnabled());
  EXPECT_EQ(shell.window.findChild<TPrintCancelDialog*>(), nullptr);
}

TEST_F(PrintJobTest, EscapeInTheCancelDialogCancels) {
  auto score = ScoreOfPages(3);
  ASSERT_TRUE(score);
  status.onText = [](const std::string& text) {
    if (text != "Printing Page 1") return;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* dialog = dynamic_cast<TPrintCancelDialog*>(w))
        QTest::keyClick(dialog, Qt::Key_Escape);
  };
  EXPECT_EQ(Print(*score, Path("escape.pdf")), 0);
  EXPECT_EQ(status.texts.back(), "Printing Page 1");
  EXPECT_FALSE(std::filesystem::exists(Path("escape.pdf")));
}

TEST_F(PrintJobTest, AMissingFolderIsReportedAndReturnsZero) {
  TRecordingMessageBoxService boxes;
  auto score = MakeScore(2, 8);
  EXPECT_EQ(Print(*score, Path("missing/out.pdf")), 0);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].caption, "Error Detected");
  EXPECT_TRUE(boxes.boxes[0].text.contains("Song.kvt"));
  ASSERT_FALSE(alerts.lines.empty());
  EXPECT_NE(alerts.lines.back().find("missing/out.pdf"), std::string::npos);
}

TEST_F(PrintJobTest, AFileSizeLimitKeepsTheOlderFile) {
  TRecordingMessageBoxService boxes;
  auto score = ScoreOfPages(5);
  ASSERT_TRUE(score);
  const std::string file = Path("limited.pdf");
  WriteAll(file, "older contents");
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  auto* previous = std::signal(SIGXFSZ, SIG_IGN);
  rlimit limited = saved;
  limited.rlim_cur = 16 * 1024;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
  const int result = Print(*score, file);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previous);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(ReadAll(file), "older contents");
  EXPECT_EQ(boxes.boxes.size(), 1u);
}

TEST(PrintDocumentName, FileNamePartOrUntitled) {
  EXPECT_EQ(PrintDocumentName(""), "Untitled");
  EXPECT_EQ(PrintDocumentName("/scores/"), "Untitled");
  EXPECT_EQ(PrintDocumentName("/scores/Song.kvt"), "Song.kvt");
  // 130 two-byte characters and one more: cut at 260 bytes, on a character boundary.
  std::string name;
  for (int i = 0; i < 131; ++i) name += "\xC3\xA9";
  EXPECT_EQ(PrintDocumentName("/s/" + name), name.substr(0, 260));
  EXPECT_EQ(PrintDocumentName("/s/x" + name).size(), 259u);
}

}  // namespace
}  // namespace kvt::test
