#include "tools/property_dialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QResizeEvent>

#include "tools/message_box_service.h"
#include "tools/property_key_hook.h"
#include "tools/property_page.h"
#include "tools/property_styles.h"
#include "tools/property_tab.h"
#include "tools/text_utilities.h"
#include "utils/precondition.h"

namespace kvt {

TKVPropertyDialog::TKVPropertyDialog(QWidget* parent, int32_t resourceId, uint32_t options)
    : TKVDlgBase(parent, resourceId), tab(new TKVPropertyTab(this, options)), options(options) {
  SetKeepPosition(!(options & ptsCentered));
}

TKVPropertyDialog::TKVPropertyDialog(QWidget* parent, int32_t resourceId, uint32_t options,
                                     const QPixmap& images, bool maskedImages)
    : TKVPropertyDialog(parent, resourceId, options | ptsTabImages) {
  tab->SetTabImages(images, maskedImages);
}

TKVPropertyDialog::~TKVPropertyDialog() {
  if (!tab) return;
  TPropertyKeyHook::Withdraw(tab);
  // Pages outlive their dialog as plain objects; their windows go with the tab control.
  for (int i = 0; i < tab->Count(); ++i) tab->PageAt(i)->dialog = nullptr;
}

void TKVPropertyDialog::AddPage(const char* name, TKVPropertyPage* page, bool enabled) {
  if (!name) ThrowPrecondition("Invalid property page name supplied", __FILE__, __LINE__);
  if (!page) ThrowPrecondition("Invalid property page dialog supplied", __FILE__, __LINE__);
  if (!tab) return;
  page->dialog = this;
  page->pageIndex = tab->Count();
  tab->Append({name, page, 0, enabled});
}

TKVPropertyPage* TKVPropertyDialog::GetPage(int index) const {
  if (index == -1 && tab) index = tab->Selected();
  if (index < 0 || index >= GetPageCount())
    ThrowPrecondition("GetPage: Invalid index", __FILE__, __LINE__);
  return tab->PageAt(index);
}

int TKVPropertyDialog::GetPageCount() const { return tab ? tab->Count() : 0; }

bool TKVPropertyDialog::SelectPage(int index) { return tab && tab->SelectTab(index); }
bool TKVPropertyDialog::NextPage() { return tab && tab->StepTab(1); }
bool TKVPropertyDialog::PrevPage() { return tab && tab->StepTab(-1); }

void TKVPropertyDialog::PressOk() {
  if (options & ptsEmbedded) return;
  if (tab) {
    const QRect area = tab->PageRect();
    for (int i = 0; i < tab->Count(); ++i) {
      TKVPropertyPage* page = tab->PageAt(i);
      const bool hadWindow = page->HasWindow();
      const bool temporary = !hadWindow && (options & ptsPagesOnDemand) &&
                             (options & ptsValidateUncreated) && page->Create();
      if (temporary) page->Window()->setGeometry(area);
      if (hadWindow) page->ApplyPage();
      if (!page->IsPageValid()) {
        page->ShowSelf();
        return;
      }
      if (temporary) page->Destroy(IDCANCEL);
    }
    for (int i = 0; i < tab->Count(); ++i) {
      TKVPropertyPage* page = tab->PageAt(i);
      if (page->HasWindow() && !page->ApplyPage()) return;
    }
  }
  CloseDialog(IDOK);
}

void TKVPropertyDialog::PressCancel() { CloseDialog(IDCANCEL); }

void TKVPropertyDialog::CloseDialog(int kind) {
  if (options & ptsEmbedded) return;
  if (kind == IDCANCEL) {
    Destroy(IDCANCEL);
    return;
  }
  if (!CanClose()) return;
  if (kind == IDOK) TransferData(TTransferDirection::GetData);
  Destroy(kind);
}

void TKVPropertyDialog::Destroy(int result) {
  if (tab) {
    tab->DestroyPages();
    TPropertyKeyHook::Withdraw(tab);
  }
  setUp = false;
  QDialog::done(result);
}

void TKVPropertyDialog::AdjustPageArea(QRect& area) {
  const QWidget* ok = Control(IDOK);
  if (!ok) return;
  const QRect button = ok->geometry();
  if (options & ptsButtonsRight)
    area.setRight(button.left() - 8 - 1);
  else
    area.setBottom(button.top() - 6 - 1);
}

TKVPropertyPage* TKVPropertyDialog::FirstPageThat(
    const std::function<bool(TKVPropertyPage&)>& test) const {
  for (int i = 0; i < GetPageCount(); ++i)
    if (test(*tab->PageAt(i))) return tab->PageAt(i);
  return nullptr;
}

void TKVPropertyDialog::ForEachPage(const std::function<void(TKVPropertyPage&)>& action) const {
  for (int i = 0; i < GetPageCount(); ++i) action(*tab->PageAt(i));
}

void TKVPropertyDialog::SetSelectedTabColor(QColor color) {
  if (tab) tab->SetSelectedTabColor(color);
}

void TKVPropertyDialog::SetMinTabWidth(int width) {
  if (tab) tab->SetMinTabWidth(width);
}

void TKVPropertyDialog::SetTabPadding(int padding) {
  if (tab) tab->SetTabPadding(padding);
}

int TKVPropertyDialog::Execute() {
  setResult(IDCANCEL);
  return exec();
}

void TKVPropertyDialog::Create() { show(); }

bool TKVPropertyDialog::EvCommand(int id) {
  if (id > IDCANCEL && tab && tab->Count() > 0 && GetCurrentPage()->EvCommand(id)) return true;
  if (id == IDOK) {
    PressOk();
    return true;
  }
  if (id == IDCANCEL) {
    PressCancel();
    return true;
  }
  return false;
}

void TKVPropertyDialog::BindCommand(QAbstractButton* button, int id) {
  SetControlId(button, id);
  connect(button, &QAbstractButton::clicked, this, [this, id] { EvCommand(id); });
}

void TKVPropertyDialog::setVisible(bool visible) {
  if (visible && !setUp) {
    setUp = true;
    SetupWindow();
  }
  TKVDlgBase::setVisible(visible);
}

void TKVPropertyDialog::SetupWindow() {
  if (options & ptsAnsiVarFont) {
    for (QObject* child : children()) {
      auto* widget = qobject_cast<QWidget*>(child);
      if (!widget || widget == tab) continue;
      widget->setFont(QApplication::font());
      SetChildrenVarFont(*widget);
    }
  }
  if (!tab) return;
  if (tab->Count() == 0) {
    TPropertyKeyHook::Withdraw(tab);
    delete tab;
    tab = nullptr;
    return;
  }
  TPropertyKeyHook::Enlist(tab);
  LayoutTab();
  // First among the dialog's children, so that Tab reaches the strip before the buttons.
  tab->lower();
  tab->SetupPages();
  if (options & ptsFocusPageFirst)
    tab->FocusFirstPageControl();
  else
    tab->setFocus(Qt::OtherFocusReason);
}

void TKVPropertyDialog::LayoutTab() {
  if (!tab) return;
  QRect area = rect();
  if (options & ptsNoTabs)
    area.adjust(-2, -tab->RowHeight(), 2, 2);
  else
    area.adjust(8, 8, -8, -8);
  AdjustPageArea(area);
  tab->setGeometry(area);
  tab->update();
}

void TKVPropertyDialog::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1 && GetPageCount() > 0) SetHelpMap(GetCurrentPage()->HelpMap());
  TKVDlgBase::keyPressEvent(event);
}

void TKVPropertyDialog::resizeEvent(QResizeEvent* event) {
  TKVDlgBase::resizeEvent(event);
  if (setUp && (options & ptsResizable)) LayoutTab();
}

}  // namespace kvt
