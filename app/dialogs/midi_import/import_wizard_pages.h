#pragma once
// The plain pages of the MIDI import wizard: "Intro" (576, the file name), "Step 1" (577, the
// default import options), "Step 2" (578, the scan options) and "Finish" (580, text only).
// Steps 1 and 2 edit the import data's options: they write their controls back whenever the
// wizard leaves them (so Step 3 sees the current values) and on Finish. They never store the
// options in the settings.

#include <QCheckBox>
#include <string>

#include "tools/wizard_dialog.h"

namespace kvt {

class TEditNumber;
class TKRVComboBox;
struct TImportOptions;

class TImportIntroPage : public TWizardPage {
public:
  TImportIntroPage(TWizardDialog* dialog, std::string path);

protected:
  void CreateControls(QWidget& window) override;

private:
  std::string path;
};

class TImportDefaultsPage : public TWizardPage {
public:
  TImportDefaultsPage(TWizardDialog* dialog, TImportOptions& options);
  bool CanDeactivate() override;
  void TransferData(TTransferDirection direction) override;

protected:
  void CreateControls(QWidget& window) override;

private:
  TImportOptions& options;
  QCheckBox* flags[4] = {};
  TKRVComboBox* noteResolution = nullptr;
  TKRVComboBox* restResolution = nullptr;
};

class TImportScanPage : public TWizardPage {
public:
  TImportScanPage(TWizardDialog* dialog, TImportOptions& options);
  bool CanDeactivate() override;
  void TransferData(TTransferDirection direction) override;

protected:
  void CreateControls(QWidget& window) override;

private:
  TImportOptions& options;
  QCheckBox* extractChannels = nullptr;
  TEditNumber* maxChordSize = nullptr;
};

class TImportFinishPage : public TWizardPage {
public:
  using TWizardPage::TWizardPage;

protected:
  void CreateControls(QWidget& window) override;
};

// A bold heading at the top of a page, and a wrapped text below a given height.
void AddImportPageHeading(QWidget& window, const char* text);
void AddImportPageText(QWidget& window, const char* text, int y, int height);

}  // namespace kvt
