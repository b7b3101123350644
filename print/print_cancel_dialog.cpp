#include "print/print_cancel_dialog.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kvt {

TPrintCancelDialog::TPrintCancelDialog(QWidget* parent, const QString& documentName)
    : TKVDlgBase(parent, kDialogId) {
  setWindowTitle(QStringLiteral("Score Print"));
  setWindowFlag(Qt::WindowCloseButtonHint, false);
  setModal(false);
  auto* group = new QGroupBox(QStringLiteral(" Printing "), this);
  auto* name = new QLabel(documentName, group);
  name->setTextFormat(Qt::PlainText);
  SetControlId(name, kDocumentNameId);
  auto* groupLayout = new QVBoxLayout(group);
  groupLayout->addWidget(name);
  cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
  cancelButton->setDefault(true);
  SetControlId(cancelButton, IDCANCEL);
  connect(cancelButton, &QPushButton::clicked, this, [this] { cancelled = true; });
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addWidget(cancelButton, 0, Qt::AlignHCenter);
}

void TPrintCancelDialog::closeEvent(QCloseEvent* event) {
  // Only the job closes the window; a close from the frame is a cancel.
  cancelled = true;
  event->ignore();
}

}  // namespace kvt
