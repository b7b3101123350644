#include "app/editor/goto_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/editor/staff_commands.h"

namespace kvt {

TGotoDialog::TGotoDialog(QWidget* parent, const TGotoRequest& request)
    : TKVDlgBase(parent, kCmdGoto), bar(new QSpinBox(this)), selection(new QCheckBox(this)) {
  setWindowTitle(QStringLiteral("Goto Measure"));
  SetControlId(bar, kBarNumberId);
  SetControlId(selection, kMakeSelectionId);
  bar->setRange(request.firstBar, request.lastBar);
  bar->setValue(request.bar);
  selection->setText(QStringLiteral("Make &Selection"));
  selection->setChecked(request.makeSelection);
  auto* label = new QLabel(QStringLiteral("&Bar Number:"), this);
  label->setBuddy(bar);
  auto* form = new QFormLayout;
  form->addRow(label, bar);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &TGotoDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &TGotoDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(selection);
  layout->addWidget(buttons);
}

void TGotoDialog::Apply(TGotoRequest& request) const {
  request.bar = bar->value();
  request.makeSelection = selection->isChecked();
}

}  // namespace kvt
