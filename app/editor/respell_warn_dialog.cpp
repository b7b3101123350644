#include "app/editor/respell_warn_dialog.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "app/editor/staff_commands.h"

namespace kvt {

TRespellWarnDlg::TRespellWarnDlg(QWidget* parent, TRespellWarnSteps& steps)
    : TKVDlgBase(parent, kCmdAuditSpelling),
      steps(steps),
      next(new QPushButton(QStringLiteral("Show &Next Chord"), this)),
      gotoEditor(new QPushButton(QStringLiteral("&Goto Score Editor"), this)),
      proceed(new QPushButton(QStringLiteral("&Proceed with Audit"), this)) {
  setWindowTitle(QStringLiteral("Staff Audit Enharmonic Spelling Warning"));
  // The dialog stands beside the chord it talks about, not in the screen's middle.
  SetKeepPosition(true);
  SetControlId(next, kNextChordId);
  SetControlId(gotoEditor, kGotoEditorId);
  SetControlId(proceed, kProceedId);
  next->setEnabled(steps.HasNext());
  proceed->setDefault(true);
  connect(next, &QPushButton::clicked, this, &TRespellWarnDlg::ShowNextChord);
  connect(gotoEditor, &QPushButton::clicked, this, &TRespellWarnDlg::reject);
  connect(proceed, &QPushButton::clicked, this, &TRespellWarnDlg::accept);
  auto* text = new QLabel(
      QStringLiteral("The selected chord has intervals that the audit may not spell correctly."),
      this);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(next);
  buttons->addWidget(gotoEditor);
  buttons->addWidget(proceed);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text);
  layout->addLayout(buttons);
}

void TRespellWarnDlg::PlaceBesideCaret() {
  const QRect caret = steps.CaretRect();
  QScreen* screen = QGuiApplication::screenAt(caret.center());
  if (!screen)
    screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  move(PlaceRespellWarning(screen->availableGeometry(), frameGeometry().size(), caret));
}

void TRespellWarnDlg::showEvent(QShowEvent* event) {
  TKVDlgBase::showEvent(event);
  PlaceBesideCaret();
}

void TRespellWarnDlg::ShowNextChord() {
  steps.ShowNext();
  next->setEnabled(steps.HasNext());
  PlaceBesideCaret();
}

}  // namespace kvt
