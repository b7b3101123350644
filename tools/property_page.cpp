#include "tools/property_page.h"

#include <cstdarg>

#include "tools/format_message_box.h"
#include "tools/message_box_service.h"
#include "tools/property_dialog.h"
#include "tools/property_styles.h"
#include "tools/property_tab.h"
#include "tools/text_utilities.h"
#include "utils/precondition.h"

namespace kvt {

namespace {

constexpr TCtrlHelpEntry kNoHelp[] = {{0, 0}};

}  // namespace

TKVPropertyPage::TKVPropertyPage(TKVPropertyDialog* dialog) : dialog(dialog), helpMap(kNoHelp) {}

void TKVPropertyPage::SetHelpMap(const TCtrlHelpEntry* map) { helpMap = map ? map : kNoHelp; }

TKVPropertyPage::~TKVPropertyPage() {
  if (TKVPropertyTab* tab = Tab()) tab->RemovePage(this);
  delete window.data();
}

TKVPropertyTab* TKVPropertyPage::Tab() const { return dialog ? dialog->Tab() : nullptr; }

bool TKVPropertyPage::Create() {
  if (HasWindow()) return true;
  TKVPropertyTab* tab = Tab();
  if (!tab) return false;
  window = new QWidget(tab);
  window->hide();
  CreateControls(*window);
  if (dialog->Options() & ptsAnsiVarFont) SetChildrenVarFont(*window);
  window->setGeometry(tab->PageRect());
  SetupWindow();
  return true;
}

void TKVPropertyPage::Destroy(int) { delete window.data(); }

void TKVPropertyPage::SetupWindow() { TransferData(TTransferDirection::SetData); }

bool TKVPropertyPage::SelectPage(int index) {
  TKVPropertyTab* tab = Tab();
  return tab && tab->SelectTab(Resolve(index));
}

bool TKVPropertyPage::NextPage() {
  TKVPropertyTab* tab = Tab();
  return tab && tab->StepTab(1);
}

bool TKVPropertyPage::PrevPage() {
  TKVPropertyTab* tab = Tab();
  return tab && tab->StepTab(-1);
}

void TKVPropertyPage::EnablePage(int index, bool enable) {
  if (TKVPropertyTab* tab = Tab()) tab->EnableTab(Resolve(index), enable);
}

bool TKVPropertyPage::IsPageEnabled(int index) const {
  TKVPropertyTab* tab = Tab();
  return tab && tab->IsTabEnabled(Resolve(index));
}

std::string TKVPropertyPage::GetPageTitle(int index) const {
  TKVPropertyTab* tab = Tab();
  return tab ? tab->GetTabText(Resolve(index)) : std::string();
}

void TKVPropertyPage::SetPageTitle(int index, const char* text) {
  if (TKVPropertyTab* tab = Tab()) tab->SetTabText(Resolve(index), text);
}

void TKVPropertyPage::ShowSelf() {
  TKVPropertyTab* tab = Tab();
  if (tab && tab->PageAt(tab->Selected()) != this) tab->SelectTab(pageIndex);
}

bool TKVPropertyPage::ApplyPage() {
  TransferData(TTransferDirection::GetData);
  return true;
}

bool TKVPropertyPage::EvCommand(int id) {
  if ((id == IDOK || id == IDCANCEL) && dialog) return dialog->EvCommand(id);
  return false;
}

bool TKVPropertyPage::CanClose() { return window ? ControlsCanClose(*window) : true; }

QWidget* TKVPropertyPage::GetOwnerWindow() const {
  if (dialog) return dialog;
  return window ? window->window() : nullptr;
}

int TKVPropertyPage::MessageBox(const char* text, const char* caption, uint32_t type) {
  return FormatMessageBox(GetOwnerWindow(), type, caption, "%s", text ? text : "");
}

void TKVPropertyPage::ProgramMessage(const char* format, ...) {
  if (!format) ThrowPrecondition("format", __FILE__, __LINE__);
  va_list args;
  va_start(args, format);
  FormatMessageBoxV(GetOwnerWindow(), MB_OK | MB_ICONINFORMATION, "Program Message", format, args);
  va_end(args);
}

}  // namespace kvt
