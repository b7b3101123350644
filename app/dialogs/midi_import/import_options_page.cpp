#include "app/dialogs/midi_import/import_options_page.h"

#include <QLabel>

#include "app/dialogs/midi_import/import_choice_lists.h"
#include "tools/combo_box.h"
#include "tools/edit_number.h"

namespace kvt {

TImportOptionsDlg::TImportOptionsDlg(TKVPropertyDialog* dialog, TSysInfo* settings)
    : TKVPropertyPage(dialog), settings(settings) {
  options.Load(settings);
}

void TImportOptionsDlg::CreateControls(QWidget& window) {
  static const char* const kTexts[4] = {"Notate Pedal Marks", "Insert Instrument Changes",
                                        "Automatic Beam", "Detect Compound Time"};
  for (int i = 0; i < 4; ++i) {
    flags[i] = new QCheckBox(QString::fromUtf8(kTexts[i]), &window);
    flags[i]->setGeometry(12, 12 + i * 26, 260, 24);
  }
  auto label = [&window](const char* text, int y) {
    auto* l = new QLabel(QString::fromUtf8(text), &window);
    l->setGeometry(12, y, 220, 24);
  };
  auto list = [&window](bool rests, int y) {
    auto* box = new TKRVComboBox(&window, false, 0);
    box->FillItems(ImportResolutionNames(rests));
    box->SetTransferMode(TKRVComboBox::kTransferIndex);
    box->setGeometry(240, y, 180, 24);
    return box;
  };
  label("Note Resolution:", 120);
  noteResolution = list(false, 120);
  label("Rest Resolution:", 152);
  restResolution = list(true, 152);
  extractChannels = new QCheckBox(QStringLiteral("Separate MIDI channels"), &window);
  extractChannels->setGeometry(12, 188, 260, 24);
  label("Maximum single track chord size:", 220);
  maxChordSize = new TEditNumber(&window, kImportMinChordSize, kImportMaxChordSize, 1);
  maxChordSize->setGeometry(240, 220, 60, 24);
}

void TImportOptionsDlg::TransferData(TTransferDirection direction) {
  if (!HasWindow() || !flags[0] || !maxChordSize) return;
  int32_t* const fields[4] = {&options.addPedalMarks, &options.addPatchChanges, &options.autoBeam,
                              &options.detectCompoundTime};
  if (direction == TTransferDirection::SetData) {
    for (int i = 0; i < 4; ++i) flags[i]->setChecked(*fields[i] != 0);
    noteResolution->setCurrentIndex(options.noteResolution);
    restResolution->setCurrentIndex(options.restResolution);
    extractChannels->setChecked(options.extractChannels != 0);
    maxChordSize->SetValue(options.maxChordSize);
    return;
  }
  for (int i = 0; i < 4; ++i) *fields[i] = flags[i]->isChecked() ? 1 : 0;
  options.noteResolution = noteResolution->currentIndex();
  options.restResolution = restResolution->currentIndex();
  options.extractChannels = extractChannels->isChecked() ? 1 : 0;
  options.maxChordSize = maxChordSize->GetValue();
  options.Clamp();
}

bool TImportOptionsDlg::ApplyPage() {
  TKVPropertyPage::ApplyPage();
  // A store that refuses a write keeps its old values; the options dialog still closes.
  options.Save(settings);
  return true;
}

std::unique_ptr<TImportOptionsDlg> CreateImportOptionsPage(TKVPropertyDialog* dialog,
                                                           TSysInfo* settings) {
  return std::make_unique<TImportOptionsDlg>(dialog, settings);
}

}  // namespace kvt
