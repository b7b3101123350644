#include "tools/wizard_dialog.h"

#include <QLabel>
#include <QPushButton>

#include "tools/message_box_service.h"
#include "tools/property_styles.h"
#include "tools/property_tab.h"
#include "tools/tab_stops.h"

namespace kvt {

namespace {

// Whether an enabled page lies before (direction -1) or after (+1) the index.
bool EnabledPageBeyond(const TKVPropertyTab& tab, int index, int direction) {
  for (int i = index + direction; i >= 0 && i < tab.Count(); i += direction)
    if (tab.Entry(i).enabled) return true;
  return false;
}

void SetButtonEnabled(QWidget* button, bool enable) {
  if (button) button->setEnabled(enable);
}

}  // namespace

TWizardDialog::TWizardDialog(QWidget* parent, int32_t resourceId, uint32_t options)
    : TKVPropertyDialog(parent, resourceId, options | ptsNoTabs) {}

void TWizardDialog::SetupWindow() {
  TKVPropertyDialog::SetupWindow();
  if (QWidget* next = Control(kWizardNextId);
      next && next->isEnabled() && !(Options() & ptsFocusPageFirst))
    next->setFocus(Qt::OtherFocusReason);
}

bool TWizardDialog::NextPage() { return nextEnabled && TKVPropertyDialog::NextPage(); }

bool TWizardDialog::PrevPage() { return backEnabled && TKVPropertyDialog::PrevPage(); }

void TWizardDialog::PageChanged(int index) {
  const TKVPropertyTab* tab = Tab();
  if (!tab) return;
  const bool first = !EnabledPageBeyond(*tab, index, -1);
  const bool last = !EnabledPageBeyond(*tab, index, 1);
  backEnabled = !first;
  SetButtonEnabled(Control(kWizardBackId), backEnabled);
  auto* next = qobject_cast<QPushButton*>(Control(kWizardNextId));
  auto* finish = qobject_cast<QPushButton*>(Control(IDOK));
  QPushButton* defaultButton = nullptr;
  if (!last && next) defaultButton = next;
  nextEnabled = !last;
  SetButtonEnabled(next, nextEnabled);
  SetButtonEnabled(finish, last);
  if (last && finish) defaultButton = finish;
  for (QPushButton* button : {next, finish})
    if (button) button->setDefault(button == defaultButton);
  if (defaultButton && !(Options() & ptsFocusPageFirst)) {
    defaultButton->setFocus(Qt::OtherFocusReason);
  } else if (QWidget* first = Tab()->FirstPageControl()) {
    first->setFocus(Qt::TabFocusReason);
    SelectAllIfEdit(*first);
  }
}

bool TWizardDialog::EvCommand(int id) {
  if (id == kWizardBackId) return PrevPage(), true;
  if (id == kWizardNextId) return NextPage(), true;
  return TKVPropertyDialog::EvCommand(id);
}

TWizardPage::TWizardPage(TWizardDialog* dialog, const QPixmap& picture)
    : TKVPropertyPage(dialog), pictureImage(picture) {}

void TWizardPage::CreateControls(QWidget& window) {
  if (pictureImage.isNull()) return;
  picture = new QLabel(&window);
  picture->setPixmap(pictureImage);
  picture->setObjectName(QStringLiteral("picture502"));
  picture->adjustSize();
}

void TWizardPage::PageActivated() {
  if (keepDefaultButton || !Dialog() || !Dialog()->Tab()) return;
  defaultId = EnabledPageBeyond(*Dialog()->Tab(), PageIndex(), 1) ? kWizardNextId : IDOK;
}

bool TWizardPage::EvCommand(int id) {
  if (id == kWizardNextId) return NextPage(), true;
  return TKVPropertyPage::EvCommand(id);
}

}  // namespace kvt
