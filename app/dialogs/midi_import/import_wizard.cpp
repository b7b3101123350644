#include "app/dialogs/midi_import/import_wizard.h"

#include "midi/import/import_data.h"
#include "app/dialogs/midi_import/import_list_page.h"
#include "app/dialogs/midi_import/import_wizard_pages.h"
#include "tools/message_box_service.h"

namespace kvt {

TImportWizard::TImportWizard(QWidget* parent, TKVTImportData& data, const std::string& path,
                             TMidiImportShell& shell, ICursorService& cursor)
    : TWizardDialog(parent, kImportWizardId, 0) {
  setWindowTitle(QStringLiteral("MIDI Import Wizard"));
  resize(460, 320);
  static const struct {
    const char* text;
    int id;
  } kButtons[] = {{"< &Back", kWizardBackId},
                  {"&Next >", kWizardNextId},
                  {"&Finish", IDOK},
                  {"&Cancel", IDCANCEL}};
  int x = 112;
  for (const auto& b : kButtons) {
    auto* button = new QPushButton(QString::fromUtf8(b.text), this);
    button->setGeometry(x, 282, 80, 28);
    x += b.id == IDOK ? 92 : 84;
    BindCommand(button, b.id);
  }
  intro = std::make_unique<TImportIntroPage>(this, path);
  defaults = std::make_unique<TImportDefaultsPage>(this, data.GetOptions());
  scan = std::make_unique<TImportScanPage>(this, data.GetOptions());
  listPage = std::make_unique<TSMFImportWiz4>(this, data, shell, cursor);
  finish = std::make_unique<TImportFinishPage>(this);
  AddPage("Intro", intro.get());
  AddPage("Step 1", defaults.get());
  AddPage("Step 2", scan.get());
  AddPage("Step 3", listPage.get());
  AddPage("Finish", finish.get());
}

// Out of line: the page classes are complete here.
TImportWizard::~TImportWizard() = default;

QPushButton* TImportWizard::Button(int id) const { return qobject_cast<QPushButton*>(Control(id)); }

bool RunImportWizard(QWidget* parent, TKVTImportData& data, const std::string& path,
                     TMidiImportShell& shell, ICursorService& cursor) {
  TImportWizard wizard(parent, data, path, shell, cursor);
  return wizard.Execute() == IDOK;
}

}  // namespace kvt
