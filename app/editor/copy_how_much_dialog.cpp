#include "app/editor/copy_how_much_dialog.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/editor/clipboard_commands.h"

namespace kvt {

TCopyHowMuchDialog::TCopyHowMuchDialog(QWidget* parent)
    : TKVDlgBase(parent, kCmdCopySpecial),
      activeStaff(new QRadioButton(QStringLiteral("&Just the active staff"))),
      allStaves(new QRadioButton(QStringLiteral("&All open staves"))) {
  setWindowTitle(QStringLiteral("Copy Special"));
  SetControlId(activeStaff, kActiveStaffId);
  SetControlId(allStaves, kAllStavesId);
  activeStaff->setChecked(true);
  auto* group = new QGroupBox(QStringLiteral("Copy How Much"), this);
  auto* choices = new QVBoxLayout(group);
  choices->addWidget(activeStaff);
  choices->addWidget(allStaves);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &TCopyHowMuchDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &TCopyHowMuchDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addWidget(buttons);
}

TCopyHowMuch TCopyHowMuchDialog::Choice() const {
  return allStaves->isChecked() ? TCopyHowMuch::kAllStaves : TCopyHowMuch::kActiveStaff;
}

TCopyHowMuch AskCopyHowMuch(QWidget* parent) {
  TCopyHowMuchDialog dialog(parent);
  if (dialog.exec() != QDialog::Accepted) return TCopyHowMuch::kCancel;
  return dialog.Choice();
}

}  // namespace kvt
