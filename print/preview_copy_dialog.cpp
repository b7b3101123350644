#include "print/preview_copy_dialog.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "print/page_picture_file.h"
#include "tools/message_box_service.h"

namespace kvt {

TPreviewCopyDialog::TPreviewCopyDialog(QWidget* parent) : TKVDlgBase(parent, kCopyPageDlgId) {
  setWindowTitle(QStringLiteral("Copy Printed Page Graphic"));
  auto* group = new QGroupBox(QStringLiteral("Copy to"), this);
  toClipboard = new QRadioButton(QStringLiteral("&Clipboard"), group);
  toFile = new QRadioButton(QString::fromLatin1(kPictureFileChoiceText), group);
  toClipboard->setChecked(true);
  SetControlId(toClipboard, kCopyToClipboardId);
  SetControlId(toFile, kCopyToFileId);
  auto* choices = new QVBoxLayout(group);
  choices->addWidget(toClipboard);
  choices->addWidget(toFile);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  SetControlId(buttons->button(QDialogButtonBox::Ok), IDOK);
  SetControlId(buttons->button(QDialogButtonBox::Cancel), IDCANCEL);
  connect(buttons, &QDialogButtonBox::accepted, this, [this] { accept(); });
  connect(buttons, &QDialogButtonBox::rejected, this, [this] { reject(); });
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addWidget(buttons);
}

bool TPreviewCopyDialog::ToFile() const { return toFile->isChecked(); }

}  // namespace kvt
