// The print preview frame: its status text, its commands and accelerators, the goto-page
// range, copying a page, and the placement it keeps between previews.

#include "print/preview_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "print/preview_copy_dialog.h"
#include "print/preview_goto_dialog.h"
#include "print/preview_show.h"
#include "tests/print/preview_fixture.h"
#include "tests/tools/recording_message_box.h"
#include "tools/command_table.h"
#include "tools/edit_number.h"

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
    services.exporter = &exporter;
    services.options = &options;
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
  TStubExporter exporter;
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
  auto frame = Open();
  frame->Commands().Execute(kCmPreviewNext);
  QTest::keyClick(frame.get(), Qt::Key_C, Qt::ControlModifier);
  ASSERT_EQ(exporter.calls.size(), 1u);
  EXPECT_EQ(exporter.calls[0].page, 2);
  EXPECT_TRUE(exporter.calls[0].file.isEmpty());  // the clipboard
}

TEST_F(PreviewWindowTest, AFailedCopyShowsTheBitmapCopyError) {
  TRecordingMessageBoxService boxes;
  exporter.succeed = false;
  auto frame = Open();
  frame->Commands().Execute(kCmPreviewCopy);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].caption, "Bitmap Copy Error");
  EXPECT_EQ(boxes.boxes[0].text,
            "Operation failed: Probably due to insufficient memory or no DIB.DRV file.");
  EXPECT_EQ(boxes.boxes[0].type & MB_ICONMASK, MB_ICONEXCLAMATION);
}

TEST_F(PreviewWindowTest, CopyAskingToAFileRemembersItsFolder) {
  auto frame = Open();
  frame->SetFileChooser([](QWidget*, const QString& folder) {
    EXPECT_TRUE(folder.isEmpty());
    return QString("/tmp/pictures/page");
  });
  QTimer::singleShot(0, [] {
    auto* dialog = dynamic_cast<TPreviewCopyDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    dialog->FileChoice()->setChecked(true);
    dialog->accept();
  });
  frame->Commands().Execute(kCmPreviewCopyAsk);
  ASSERT_EQ(exporter.calls.size(), 1u);
  EXPECT_EQ(exporter.calls[0].file, "/tmp/pictures/page.svg");
  EXPECT_EQ(options.exportFolder, "/tmp/pictures");
  // Cancelled in the choice: nothing is exported.
  QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
  frame->Commands().Execute(kCmPreviewCopyAsk);
  EXPECT_EQ(exporter.calls.size(), 1u);
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

TEST_F(PreviewWindowTest, WithoutAPrinterThereIsNoPreview) {
  TRecordingMessageBoxService boxes;
  TPreviewServices none;
  EXPECT_FALSE(ShowPrintPreview(nullptr, score, selection, alerts, none));
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].caption, "Error Detected");
  EXPECT_EQ(boxes.boxes[0].text,
            "There is no default printer.\n\nA printer must be installed before this operation "
            "can be performed.");
  EXPECT_EQ(boxes.boxes[0].type & MB_ICONMASK, MB_ICONINFORMATION);
}

}  // namespace
}  // namespace kvt::test
