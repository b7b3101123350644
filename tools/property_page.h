#pragma once
// TKVPropertyPage: one page of a property dialog (tools/property_dialog.h). The page object
// lives as long as its owner keeps it; its window, a child of the dialog's tab control, may be
// created and destroyed several times (pages made on demand), so the page's controls are made
// by CreateControls each time the window is created, and its data moves through TransferData.
//
// Ownership: the caller owns the page and keeps it alive while it is added to a dialog. Pages
// and dialog may be deleted in either order: a page removes its entries from the tab control,
// and a dialog detaches its pages before it goes.

#include <QPoint>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <string>

#include "tools/dialog_transfer.h"
#include "tools/kv_app_base.h"

namespace kvt {

class TKVPropertyDialog;
class TKVPropertyTab;

class TKVPropertyPage {
public:
  explicit TKVPropertyPage(TKVPropertyDialog* dialog);
  TKVPropertyPage(const TKVPropertyPage&) = delete;
  TKVPropertyPage& operator=(const TKVPropertyPage&) = delete;
  virtual ~TKVPropertyPage();

  TKVPropertyDialog* Dialog() const { return dialog; }
  int PageIndex() const { return pageIndex; }
  // The page window, null while it does not exist.
  QWidget* Window() const { return window.data(); }
  bool HasWindow() const { return !window.isNull(); }

  // Makes the window as a hidden child of the tab control: CreateControls, then SetupWindow.
  // True when the window exists afterwards (also when it existed already).
  bool Create();
  // Destroys the window (result as the dialog's result codes, unused by the base).
  void Destroy(int result);

  // -1 means this page.
  virtual bool SelectPage(int index = -1);
  virtual bool NextPage();
  virtual bool PrevPage();
  void EnablePage(int index, bool enable);
  bool IsPageEnabled(int index) const;
  std::string GetPageTitle(int index) const;
  void SetPageTitle(int index, const char* text);

  // Notifications and questions of the tab control; the defaults do nothing or agree.
  virtual void PageActivated() {}
  virtual void TabRightClicked(Qt::KeyboardModifiers modifiers, QPoint point) {}
  // Asked before the selection leaves this page: the controls' CanClose checks.
  virtual bool CanDeactivate() { return CanClose(); }
  virtual void PageChangeRefused() {}
  // Asked on OK.
  virtual bool IsPageValid() { return true; }
  // Selects this page unless it is selected already.
  virtual void ShowSelf();
  // Collects the controls' data; true when it may be kept.
  virtual bool ApplyPage();
  // A command of the page (a page button, or a key or menu command while the page is
  // selected); true when handled. IDOK and IDCANCEL go on to the dialog.
  virtual bool EvCommand(int id);

  // The CanClose checks of the window's controls in window order (true without a window).
  virtual bool CanClose();
  // Moves data between the controls and the page's own data; the default moves nothing.
  virtual void TransferData(TTransferDirection direction) {}

  // The help map of the page's controls (static storage, ending with control id 0), used for
  // F1 while the page is shown; an empty map by default, null restores it.
  void SetHelpMap(const TCtrlHelpEntry* map);
  const TCtrlHelpEntry* HelpMap() const { return helpMap; }

  // The window that owns message boxes and common dialogs opened from the page (the dialog).
  QWidget* GetOwnerWindow() const;
  // A message box owned by the dialog; answers the button picked.
  int MessageBox(const char* text, const char* caption, uint32_t type);
  // printf-style text (1024 bytes at most) in a box captioned "Program Message" with the
  // information icon. A null format breaks a precondition ("format").
  void ProgramMessage(const char* format, ...) __attribute__((format(printf, 2, 3)));

protected:
  // Makes the page's controls as children of window (stands in for the page's resource).
  virtual void CreateControls(QWidget& window) {}
  // After the controls exist: moves the page's data into them.
  virtual void SetupWindow();

private:
  friend class TKVPropertyDialog;
  TKVPropertyTab* Tab() const;
  int Resolve(int index) const { return index == -1 ? pageIndex : index; }

  TKVPropertyDialog* dialog;
  int pageIndex = 0;
  QPointer<QWidget> window;
  const TCtrlHelpEntry* helpMap;
};

}  // namespace kvt
