#pragma once
// TImportOptionsDlg: the "Import" page (582) of the options dialog, the default import options
// kept in the settings section "Import": the four notate options (101 to 104), "Note
// Resolution:" (105), "Rest Resolution:" (106), "Separate MIDI channels" (107) and "Maximum
// single track chord size:" (108, 2 to 127). The page reads the eight settings when it is made
// and writes all eight back when the options dialog closes with OK.
//
// The settings store outlives the page (null: the defaults, nothing written).

#include <QCheckBox>
#include <QPointer>
#include <memory>

#include "midi/import/import_data.h"
#include "tools/property_page.h"

namespace kvt {

class TEditNumber;
class TKRVComboBox;
class TSysInfo;

class TImportOptionsDlg : public TKVPropertyPage {
public:
  TImportOptionsDlg(TKVPropertyDialog* dialog, TSysInfo* settings);

  const TImportOptions& Options() const { return options; }
  void TransferData(TTransferDirection direction) override;
  // Collects the controls and stores the eight settings.
  bool ApplyPage() override;

protected:
  void CreateControls(QWidget& window) override;

private:
  TSysInfo* settings;
  TImportOptions options;
  QPointer<QCheckBox> flags[4];
  QPointer<TKRVComboBox> noteResolution;
  QPointer<TKRVComboBox> restResolution;
  QPointer<QCheckBox> extractChannels;
  QPointer<TEditNumber> maxChordSize;
};

// The page for the options dialog (the caller adds it under "Import" and keeps it alive).
std::unique_ptr<TImportOptionsDlg> CreateImportOptionsPage(TKVPropertyDialog* dialog,
                                                           TSysInfo* settings);

}  // namespace kvt
