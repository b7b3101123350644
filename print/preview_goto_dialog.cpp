#include "print/preview_goto_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

#include "tools/dialog_transfer.h"
#include "tools/edit_number.h"
#include "tools/message_box_service.h"

namespace kvt {

TPreviewGotoDialog::TPreviewGotoDialog(QWidget* parent, int32_t minimum, int32_t current)
    : TKVDlgBase(parent, kGotoPageDlgId) {
  setWindowTitle(QStringLiteral("Goto Page"));
  minimum = std::clamp(minimum, 1, kGotoPageMaximum);
  field = new TEditNumber(this, minimum, kGotoPageMaximum, 1);
  SetControlId(field, kGotoPageFieldId);
  auto* label = new QLabel(QStringLiteral("&Page:"), this);
  label->setBuddy(field);
  auto* form = new QFormLayout;
  form->addRow(label, field);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  SetControlId(buttons->button(QDialogButtonBox::Ok), IDOK);
  SetControlId(buttons->button(QDialogButtonBox::Cancel), IDCANCEL);
  connect(buttons, &QDialogButtonBox::accepted, this, [this] { accept(); });
  connect(buttons, &QDialogButtonBox::rejected, this, [this] { reject(); });
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);
  field->SetValue(current);
}

int32_t TPreviewGotoDialog::Value() const { return field->GetValue(); }

void TPreviewGotoDialog::accept() {
  if (!ControlsCanClose(*this)) return;
  TKVDlgBase::accept();
}

}  // namespace kvt
