#pragma once
// TKVPropertyDialog: a dialog that shows named pages one at a time under a strip of tabs (the
// tab control TKVPropertyTab, which it owns). The base of the tabbed dialogs and of the wizard
// (tools/wizard_dialog.h).
//
// Use: construct, make the dialog's own controls (buttons registered with SetControlId; OK is
// IDOK, Cancel IDCANCEL) and connect each to EvCommand with BindCommand, add the pages with
// AddPage, then Execute (modal) or Create (modeless). The first show sets the dialog up: the
// page windows are made, the tab control is placed and the selected page shown. A dialog
// without pages drops its tab control then and behaves as a plain dialog.
//
// While a dialog with pages is set up, the keyboard hook (tools/property_key_hook.h) gives it
// Ctrl+Tab paging, its Tab order and Alt+letter mnemonics.
//
// Errors: a null name or page in AddPage, and an index outside the pages in GetPage, break a
// precondition with the messages "Invalid property page name supplied", "Invalid property
// page dialog supplied" and "GetPage: Invalid index".

#include <QPixmap>
#include <cstdint>
#include <functional>

#include "tools/dialog_transfer.h"
#include "tools/kv_dlg_base.h"

class QAbstractButton;

namespace kvt {

class TKVPropertyPage;
class TKVPropertyTab;

class TKVPropertyDialog : public TKVDlgBase {
public:
  TKVPropertyDialog(QWidget* parent, int32_t resourceId, uint32_t options);
  // With tab images (ptsTabImages is added): one cell of the strip per page.
  TKVPropertyDialog(QWidget* parent, int32_t resourceId, uint32_t options, const QPixmap& images,
                    bool maskedImages);
  ~TKVPropertyDialog() override;

  // Null once set-up found no pages.
  TKVPropertyTab* Tab() const { return tab; }
  uint32_t Options() const { return options; }

  // Appends a page (before the dialog is shown); the page's index becomes its position.
  virtual void AddPage(const char* name, TKVPropertyPage* page, bool enabled = true);
  // -1 is the selected page.
  TKVPropertyPage* GetPage(int index) const;
  TKVPropertyPage* GetCurrentPage() const { return GetPage(-1); }
  int GetPageCount() const;

  virtual bool SelectPage(int index);
  virtual bool NextPage();
  virtual bool PrevPage();

  // OK: the check and apply passes over the pages, then CloseDialog(IDOK).
  virtual void PressOk();
  virtual void PressCancel();
  // IDOK: the controls' CanClose checks, TransferData(GetData), then Destroy(IDOK); IDCANCEL:
  // Destroy(IDCANCEL); another kind: the checks, then Destroy(kind). Nothing when embedded.
  virtual void CloseDialog(int kind);
  // Ends the dialog with result: destroys the page windows, leaves the keyboard hook, hides.
  void Destroy(int result);

  // The area of the tab control, trimmed against the OK button.
  virtual void AdjustPageArea(QRect& area);
  virtual void PageChanged(int index) {}
  virtual bool CanChangePage(int index) { return true; }

  TKVPropertyPage* FirstPageThat(const std::function<bool(TKVPropertyPage&)>& test) const;
  void ForEachPage(const std::function<void(TKVPropertyPage&)>& action) const;

  void SetSelectedTabColor(QColor color);
  void SetMinTabWidth(int width);
  void SetTabPadding(int padding);

  // Modal run; answers the result given to Destroy (IDCANCEL when closed otherwise).
  int Execute();
  // Modeless: sets the dialog up and shows it.
  void Create();

  // A command of a button, menu or key: the selected page's handler first (for ids above 2),
  // then the dialog's (IDOK, IDCANCEL). True when handled.
  virtual bool EvCommand(int id);
  // Registers the button under id and sends its clicks to EvCommand(id).
  void BindCommand(QAbstractButton* button, int id);

  virtual bool CanClose() { return ControlsCanClose(*this); }
  virtual void TransferData(TTransferDirection direction) {}

  void setVisible(bool visible) override;
  void accept() override { PressOk(); }
  void reject() override { PressCancel(); }

protected:
  virtual void SetupWindow();
  // Places the tab control in the client area.
  void LayoutTab();
  void resizeEvent(QResizeEvent* event) override;
  // F1 asks for help with the shown page's help map.
  void keyPressEvent(QKeyEvent* event) override;

private:
  TKVPropertyTab* tab;
  uint32_t options;
  bool setUp = false;
};

}  // namespace kvt
