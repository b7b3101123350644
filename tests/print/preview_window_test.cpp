// The print preview frame: its status text, its commands and accelerators, the goto-page
// range, copying a page, and the placement it keeps between previews.

#include "print/preview_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QRadioButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "print/kv_printer.h"
#include "print/page_picture.h"
#include "print/preview_copy_dialog.h"
#include "print/preview_goto_dialog.h"
#include "print/preview_show.h"
#include "tests/print/preview_fixture.h"
#include "tools/command_table.h"
#include "tools/edit_number.h"
#include "utils/ini_file_io.h"
#include "utils/ini_profile.h"
#include "utils/registry_key.h"

namespace kvt::test {
namespace {

TEST(PreviewStatusText, PageZoomAndTheJustifySuffix) {
  EXPECT_EQ(PreviewStatusText({3, 0, 5, true}), "Page 3, Zoom 1/5");
  EXPECT_EQ(PreviewStatusText({12, 4, 5, false}), "Page 12, Zoom 5/5, Justify Disabled");
}

class PreviewWindowTest : public PreviewTest {
protected:
  std::unique_ptr<TKVTPrintPreview> Open() {
    services.placement = &placements;
    services.options = &options;
    services.print.shell = &shell;
    auto frame = std::make_unique<TKVTPrintPreview>(nullptr, *print, services, 0);
    frame->show();
    QApplication::processEvents();
    frame->UpdateStatus();
    return frame;
  }
  void SetUp() override {
    AddStaves(4, 300);
    Print();
  }

  TMemoryPlacementStore placements;
  TPreviewShell shell;
  TPreviewOptions options;
  TPreviewServices services;
};

TEST_F(PreviewWindowTest, StatusFollowsPageZoomAndJustify) {
  auto frame = Open();
  const int levels = frame->Control().View().ZoomCount();
  EXPECT_EQ(frame->StatusText(), QString("Page 1, Zoom 1/%1").arg(levels));
  frame->Commands().Execute(kCmPreviewNext);
  frame->Commands().Execute(kCmPreviewZoomIn);
  EXPECT_EQ(frame->StatusText(), QString("Page 2, Zoom 2/%1").arg(levels));
  QTest::keyClick(frame.get(), Qt::Key_F11);
  EXPECT_EQ(frame->StatusText(), QString("Page 2, Zoom 2/%1, Justify Disabled").arg(levels));
  frame->Commands().Execute(kCmPreviewJustify);
  EXPECT_EQ(frame->StatusText(), QString("Page 2, Zoom 2/%1").arg(levels));
}

TEST_F(PreviewWindowTest, CommandsAreEnabledAtThePagesTheyCanReach) {
  auto frame = Open();
  TCommandTable& table = frame->Commands();
  EXPECT_FALSE(table.IsEnabled(kCmPreviewPrevious));
  EXPECT_TRUE(table.IsEnabled(kCmPreviewNext));
  table.Execute(kCmPreviewLastPage);
  EXPECT_TRUE(table.IsEnabled(kCmPreviewPrevious));
  EXPECT_FALSE(table.IsEnabled(kCmPreviewNext));
  table.Execute(kCmPreviewFirstPage);
  EXPECT_EQ(frame->Control().Page(), 1);
}

TEST_F(PreviewWindowTest, OptionsMenuHoldsTheItemsInOrder) {
  auto frame = Open();
  QStringList texts;
  for (QAction* a : frame->OptionsMenu().actions()) texts << a->text();
  EXPECT_EQ(texts,
            QStringList({"&Reset to Start Page\tHome", "Jump to &Last Page\tEnd", "Zoom &In\t+",
                         "Zoom &Out\t-", "&Goto Page...\tCtrl+G", "&Copy Page...\tCtrl+C",
                         "Disable &Justify\tF11", "&Unprintable Area Boundary"}));
  frame->Commands().Execute(kCmPreviewBoundary);
  frame->Commands().Refresh();
  EXPECT_TRUE(frame->OptionsMenu().actions()[7]->isChecked());
  EXPECT_TRUE(options.showBoundary);
}

TEST_F(PreviewWindowTest, GotoRangeStartsAtTheFirstPageNumber) {
  TPreviewGotoDialog plain(nullptr, 1, 4);
  EXPECT_EQ(plain.Field()->Minimum(), 1);
  EXPECT_EQ(plain.Field()->Maximum(), 30000);
  EXPECT_EQ(plain.Value(), 4);
  TPreviewGotoDialog numbered(nullptr, 5, 7);
  EXPECT_EQ(numbered.Field()->Minimum(), 5);
  numbered.Field()->SetValue(2);  // clamped by the field
  EXPECT_EQ(numbered.Value(), 5);
}

TEST_F(PreviewWindowTest, GotoPageGoesToThePrintedNumberChosen) {
  score.SetPageNumbers(3);
  Print();
  auto frame = Open();
  QTimer::singleShot(0, [] {
    auto* dialog = dynamic_cast<TPreviewGotoDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->Value(), 3);  // the printed number of page 1
    dialog->Field()->SetValue(5);
    dialog->accept();
  });
  frame->Commands().Execute(kCmPreviewGoto);
  EXPECT_EQ(frame->Control().Page(), 3);
  EXPECT_TRUE(frame->StatusText().startsWith("Page 5,"));
}

TEST_F(PreviewWindowTest, CtrlCCopiesThePageShownWithoutAsking) {
  score.SetBarNumbers(1);  // pages alike but for the bar numbers at their systems
  Print();
  auto frame = Open();
  frame->Commands().Execute(kCmPreviewNext);
  frame->Commands().Execute(kCmPreviewNext);
  QGuiApplication::clipboard()->clear();
  QTest::keyClick(frame.get(), Qt::Key_C, Qt::ControlModifier);
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  ASSERT_TRUE(data);
  EXPECT_TRUE(data->hasFormat("image/png"));
  const QByteArray shown = data->data("image/svg+xml");
  ASSERT_FALSE(shown.isEmpty());
  // The picture is the page shown: page 3 of a print data walked there apart.
  TKVTNTNPrintData other(dc, PreviewA4(), score, colors, selection, alerts);
  other.SetPageRange(1, 100);
  for (int n = 1; n < 3; ++n) {
    EXPECT_EQ(other.RenderPage(nullptr, n, false), kMorePages);
    if (n == 2) {
      EXPECT_NE(MakePagePicture(other, 600, 600, 2), shown);
    }
    other.AdvancePage();
  }
  EXPECT_EQ(MakePagePicture(other, 600, 600, 3), shown);
}

TEST_F(PreviewWindowTest, CopyAskingToAFileWritesThePictureThere) {
  QTemporaryDir dir;
  shell.folder = dir.path().toStdString();
  auto frame = Open();
  QTimer::singleShot(0, [&dir] {
    auto* dialog = dynamic_cast<TPreviewCopyDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->FileChoice()->text(), "&File (*.svg)");
    dialog->FileChoice()->setChecked(true);
    QTimer::singleShot(0, [&dir] {
      auto* files = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(files, nullptr);
      files->selectFile(dir.filePath("page"));
      static_cast<QDialog*>(files)->accept();
    });
    dialog->accept();
  });
  frame->Commands().Execute(kCmPreviewCopyAsk);
  QFile picture(dir.filePath("page.svg"));
  ASSERT_TRUE(picture.open(QIODevice::ReadOnly));
  EXPECT_TRUE(picture.readAll().contains("<svg"));
  EXPECT_EQ(shell.remembered, dir.filePath("page.svg").toStdString());
  // Cancelled in the choice: nothing more is written.
  picture.remove();
  QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
  frame->Commands().Execute(kCmPreviewCopyAsk);
  EXPECT_FALSE(QFile::exists(dir.filePath("page.svg")));
}

TEST_F(PreviewWindowTest, EscapeSavesThePlacementAndTheNextPreviewRestoresIt) {
  {
    auto frame = Open();
    frame->setGeometry(120, 90, 640, 480);
    QApplication::processEvents();
    QTest::keyClick(frame.get(), Qt::Key_Escape);
    EXPECT_FALSE(frame->isVisible());
  }
  TWindowPlacement stored;
  ASSERT_TRUE(placements.Load("Preview", stored));
  EXPECT_EQ(stored.normal.size(), QSize(640, 480));
  auto next = Open();
  EXPECT_EQ(next->geometry().size(), QSize(640, 480));
  EXPECT_EQ(next->geometry().topLeft(), stored.normal.topLeft());
}

TEST_F(PreviewWindowTest, AStoredPlacementOutOfSightOrOutOfSizeIsBounded) {
  placements.Save("Preview", {QRect(-90000, -90000, 500, 400), false});
  auto lost = Open();
  EXPECT_GT(lost->geometry().right(), -1000);  // the stored place is off every screen
  lost.reset();
  placements.Save("Preview", {QRect(10, 10, 1000000, 3), false});
  auto huge = Open();
  const QRect desktop = QGuiApplication::primaryScreen()->availableVirtualGeometry();
  EXPECT_LE(huge->geometry().width(), desktop.width());
  EXPECT_GE(huge->geometry().height(), 150);
}

class TNoPrinters final : public TPrinterCatalog {
public:
  QStringList PrinterNames() override { return {}; }
  QString DefaultPrinterName() override { return {}; }
};

TEST_F(PreviewWindowTest, ThePreviewCommandOpensAtTheCaretPageOnThePdfPrinter) {
  QTemporaryDir dir;
  auto profile = std::make_shared<TIniProfile>(dir.filePath("settings.ini").toStdString(),
                                               DefaultIniFileIo(), true);
  TNoPrinters catalog;
  TKVPrinter printer(TKey(profile, TKey::kCreate), &catalog);
  TFixedCaretTime caret;
  caret.ticks = int64_t{200} * 4 * kQuarter;  // bar 200 of 300
  services.caretTime = &caret;
  services.placement = &placements;
  services.print.shell = &shell;
  int shownPage = 0;
  QString status;
  QTimer::singleShot(50, [&] {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* frame = dynamic_cast<TKVTPrintPreview*>(w); frame && frame->isVisible()) {
        QApplication::processEvents();
        shownPage = frame->Control().Page();
        frame->UpdateStatus();
        status = frame->StatusText();
        frame->close();
      }
  });
  EXPECT_TRUE(ShowPrintPreview(nullptr, score, selection, printer, colors, services));
  EXPECT_GT(shownPage, 1);
  EXPECT_TRUE(status.startsWith(QString("Page %1, Zoom 1/").arg(shownPage)))
      << status.toStdString();
  TWindowPlacement stored;
  EXPECT_TRUE(placements.Load("Preview", stored));
}

}  // namespace
}  // namespace kvt::test
