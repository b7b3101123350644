#include "tools/message_box_service.h"

#include "tools/qt_message_box_service.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <vector>

namespace kvt {
namespace {

struct TButtonCase {
  uint32_t type;
  std::vector<int> buttons;
  int defaultResult;
  int escapeResult;
};

TEST(MessageBoxServiceTest, TypeWordGivesButtonsDefaultAndEscape) {
  const TButtonCase cases[] = {
      {MB_OK, {IDOK}, IDOK, IDOK},
      {MB_OKCANCEL | MB_ICONQUESTION, {IDOK, IDCANCEL}, IDOK, IDCANCEL},
      {MB_OKCANCEL | MB_DEFBUTTON2, {IDOK, IDCANCEL}, IDCANCEL, IDCANCEL},
      {MB_ABORTRETRYIGNORE | MB_DEFBUTTON3, {IDABORT, IDRETRY, IDIGNORE}, IDIGNORE, 0},
      {MB_YESNOCANCEL | MB_DEFBUTTON2, {IDYES, IDNO, IDCANCEL}, IDNO, IDCANCEL},
      {MB_YESNO | MB_ICONEXCLAMATION, {IDYES, IDNO}, IDYES, 0},
      {MB_YESNO | MB_DEFBUTTON3, {IDYES, IDNO}, IDYES, 0},  // no third button: the first
      {MB_RETRYCANCEL, {IDRETRY, IDCANCEL}, IDRETRY, IDCANCEL},
      {0x9, {IDOK}, IDOK, IDOK},  // an unknown set shows OK
  };
  for (const TButtonCase& c : cases) {
    SCOPED_TRACE(c.type);
    EXPECT_EQ(MessageBoxButtons(c.type), c.buttons);
    EXPECT_EQ(MessageBoxDefaultResult(c.type), c.defaultResult);
    EXPECT_EQ(MessageBoxEscapeResult(c.type), c.escapeResult);
  }
}

TEST(MessageBoxServiceTest, NullServiceAnswersTheDefaultButton) {
  TNullMessageBoxService service;
  EXPECT_EQ(service.Show(nullptr, MB_YESNO | MB_DEFBUTTON2, "c", "t"), IDNO);
  EXPECT_EQ(service.Show(nullptr, MB_OK, "c", "t"), IDOK);
}

// Runs the Qt box of type and lets act drive it once it is up; answers the box's result and
// the box as it was seen.
struct TQtBoxRun {
  int result = -1;
  QString caption, text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QStringList buttons;
  QString defaultButton;
};

TQtBoxRun RunQtBox(uint32_t type, const std::function<void(QMessageBox&)>& act) {
  TQtBoxRun run;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    run.caption = box->windowTitle();
    run.text = box->text();
    run.icon = box->icon();
    for (QAbstractButton* b : box->buttons()) run.buttons << b->text().remove('&');
    if (box->defaultButton() != nullptr)
      run.defaultButton = box->defaultButton()->text().remove('&');
    act(*box);
  });
  run.result = QtMessageBoxService().Show(nullptr, type, "Caption <b>", "Text <i>x</i>");
  return run;
}

TEST(MessageBoxServiceTest, QtBoxShowsPlainTextIconAndAnswersTheDefaultOnEnter) {
  const TQtBoxRun run = RunQtBox(MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2,
                                 [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Return); });
  EXPECT_EQ(run.result, IDNO);
  EXPECT_EQ(run.caption, "Caption <b>");
  EXPECT_EQ(run.text, "Text <i>x</i>");
  EXPECT_EQ(run.icon, QMessageBox::Question);
  EXPECT_EQ(run.buttons.size(), 3);
  EXPECT_EQ(run.defaultButton, "No");
}

TEST(MessageBoxServiceTest, QtBoxEscapeAnswersCancel) {
  const TQtBoxRun run = RunQtBox(MB_OKCANCEL | MB_ICONEXCLAMATION,
                                 [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); });
  EXPECT_EQ(run.result, IDCANCEL);
  EXPECT_EQ(run.icon, QMessageBox::Warning);
}

TEST(MessageBoxServiceTest, QtYesNoBoxIgnoresEscapeAndCloseUntilAButtonIsPicked) {
  const TQtBoxRun run = RunQtBox(MB_YESNO, [](QMessageBox& box) {
    QTest::keyClick(&box, Qt::Key_Escape);
    box.close();
    ASSERT_TRUE(box.isVisible());
    for (QAbstractButton* b : box.buttons())
      if (box.buttonRole(b) == QMessageBox::NoRole) b->click();
  });
  EXPECT_EQ(run.result, IDNO);
}

TEST(MessageBoxServiceTest, QtOkBoxClosedByEscapeAnswersOk) {
  const TQtBoxRun run = RunQtBox(MB_OK | MB_ICONHAND,
                                 [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); });
  EXPECT_EQ(run.result, IDOK);
  EXPECT_EQ(run.icon, QMessageBox::Critical);
}

}  // namespace
}  // namespace kvt
