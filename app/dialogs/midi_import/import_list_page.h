#pragma once
// TSMFImportWiz4: the wizard's "Step 3" page (579), the review of the instruction list. The
// page's behaviour is TImportInstructionListPage's (rescan when the scan options changed since
// the last scan, then the default options applied to every instruction); the page only shows
// its rows and passes the buttons "Add.." (102), "Delete" (103) and "Edit.." (104) on, with the
// row selected in the list box (101). The dialogs it opens come from the shell.

#include <QListWidget>
#include <QPointer>
#include <QPushButton>

#include "midi/import/import_wizard_logic.h"
#include "tools/wizard_dialog.h"

namespace kvt {

class ICursorService;
class TMidiImportShell;

inline constexpr int kImportListId = 101;
inline constexpr int kImportAddId = 102;
inline constexpr int kImportDeleteId = 103;
inline constexpr int kImportEditId = 104;

class TSMFImportWiz4 : public TWizardPage {
public:
  // data, shell and cursor outlive the page.
  TSMFImportWiz4(TWizardDialog* dialog, TKVTImportData& data, TMidiImportShell& shell,
                 ICursorService& cursor);

  // Rescans under the wait cursor when the scan options changed, re-applies the default
  // options and refreshes the list.
  void PageActivated() override;
  bool EvCommand(int id) override;

  QListWidget* List() const { return list; }

protected:
  void CreateControls(QWidget& window) override;

private:
  void ShowRows();
  void TakeSelection();

  TImportInstructionListPage logic;
  TMidiImportShell& shell;
  ICursorService& cursor;
  QPointer<QListWidget> list;
};

}  // namespace kvt
