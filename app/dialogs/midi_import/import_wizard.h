#pragma once
// TImportWizard: the "MIDI Import Wizard" (575) over one file's import data, with the pages
// "Intro" (576), "Step 1" (577, the default options), "Step 2" (578, the scan options),
// "Step 3" (TSMFImportWiz4, 579, the instruction list) and "Finish" (580), and the buttons
// "< &Back", "&Next >", "&Finish" and "&Cancel". The pages edit the data in place; the wizard
// stores nothing in the settings. The data, shell and cursor service outlive the wizard.

#include <QPushButton>
#include <memory>
#include <string>

#include "tools/wizard_dialog.h"

namespace kvt {

class ICursorService;
class TImportDefaultsPage;
class TImportFinishPage;
class TImportIntroPage;
class TImportScanPage;
class TKVTImportData;
class TMidiImportShell;
class TSMFImportWiz4;

inline constexpr int kImportWizardId = 575;

class TImportWizard : public TWizardDialog {
public:
  TImportWizard(QWidget* parent, TKVTImportData& data, const std::string& path,
                TMidiImportShell& shell, ICursorService& cursor);
  ~TImportWizard() override;

  QPushButton* Button(int id) const;
  TSMFImportWiz4& ListPage() const { return *listPage; }

private:
  std::unique_ptr<TImportIntroPage> intro;
  std::unique_ptr<TImportDefaultsPage> defaults;
  std::unique_ptr<TImportScanPage> scan;
  std::unique_ptr<TSMFImportWiz4> listPage;
  std::unique_ptr<TImportFinishPage> finish;
};

// Runs the wizard modally; true when it ended with Finish.
bool RunImportWizard(QWidget* parent, TKVTImportData& data, const std::string& path,
                     TMidiImportShell& shell, ICursorService& cursor);

}  // namespace kvt
