#include "app/dialogs/midi_import/import_wizard_pages.h"

#include <QFontMetrics>
#include <QLabel>

#include "midi/import/import_data.h"
#include "app/dialogs/midi_import/import_choice_lists.h"
#include "tools/combo_box.h"
#include "tools/edit_number.h"

namespace kvt {

namespace {

constexpr int kPageWidth = 440;

TKRVComboBox* MakeResolutionList(QWidget& window, bool rests, int y) {
  auto* label = new QLabel(
      rests ? QStringLiteral("Rest Resolution:") : QStringLiteral("Note Resolution:"), &window);
  label->setGeometry(12, y, 130, 24);
  auto* box = new TKRVComboBox(&window, false, 0);
  box->FillItems(ImportResolutionNames(rests));
  box->SetTransferMode(TKRVComboBox::kTransferIndex);
  box->setGeometry(150, y, 180, 24);
  return box;
}

QCheckBox* MakeCheck(QWidget& window, const char* text, int y) {
  auto* box = new QCheckBox(QString::fromUtf8(text), &window);
  box->setGeometry(12, y, kPageWidth - 24, 24);
  return box;
}

}  // namespace

void AddImportPageHeading(QWidget& window, const char* text) {
  auto* label = new QLabel(QString::fromUtf8(text), &window);
  QFont font = label->font();
  font.setBold(true);
  label->setFont(font);
  label->setGeometry(12, 8, kPageWidth - 24, 24);
}

void AddImportPageText(QWidget& window, const char* text, int y, int height) {
  auto* label = new QLabel(QString::fromUtf8(text), &window);
  label->setWordWrap(true);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setGeometry(12, y, kPageWidth - 24, height);
}

TImportIntroPage::TImportIntroPage(TWizardDialog* dialog, std::string path)
    : TWizardPage(dialog), path(std::move(path)) {}

void TImportIntroPage::CreateControls(QWidget& window) {
  TWizardPage::CreateControls(window);
  AddImportPageHeading(window, "Welcome to the MIDI file import wizard!");
  AddImportPageText(window,
                    "This wizard reviews the import options and the list of import "
                    "instructions before the file is converted into a new score.",
                    40, 50);
  auto* name = new QLabel(&window);
  name->setObjectName(QStringLiteral("fileName"));
  name->setGeometry(12, 100, kPageWidth - 24, 24);
  // A long path is shortened in its middle, so the file name stays in view.
  name->setText(QFontMetrics(name->font())
                    .elidedText(QString::fromStdString(path), Qt::ElideMiddle, name->width()));
  name->setToolTip(QString::fromStdString(path));
}

TImportDefaultsPage::TImportDefaultsPage(TWizardDialog* dialog, TImportOptions& options)
    : TWizardPage(dialog), options(options) {}

void TImportDefaultsPage::CreateControls(QWidget& window) {
  TWizardPage::CreateControls(window);
  AddImportPageHeading(window, "Step 1: Define the default import options");
  static const char* const kTexts[4] = {"Notate Pedal Marks", "Insert Instrument Changes",
                                        "Automatic Beam", "Detect Compound Time"};
  for (int i = 0; i < 4; ++i) flags[i] = MakeCheck(window, kTexts[i], 40 + i * 26);
  noteResolution = MakeResolutionList(window, false, 152);
  restResolution = MakeResolutionList(window, true, 184);
}

bool TImportDefaultsPage::CanDeactivate() {
  if (!TWizardPage::CanDeactivate()) return false;
  TransferData(TTransferDirection::GetData);
  return true;
}

void TImportDefaultsPage::TransferData(TTransferDirection direction) {
  if (!HasWindow() || !flags[0]) return;
  int32_t* const fields[4] = {&options.addPedalMarks, &options.addPatchChanges, &options.autoBeam,
                              &options.detectCompoundTime};
  if (direction == TTransferDirection::SetData) {
    for (int i = 0; i < 4; ++i) flags[i]->setChecked(*fields[i] != 0);
    noteResolution->setCurrentIndex(options.noteResolution);
    restResolution->setCurrentIndex(options.restResolution);
  } else {
    for (int i = 0; i < 4; ++i) *fields[i] = flags[i]->isChecked() ? 1 : 0;
    options.noteResolution = noteResolution->currentIndex();
    options.restResolution = restResolution->currentIndex();
    options.Clamp();
  }
}

TImportScanPage::TImportScanPage(TWizardDialog* dialog, TImportOptions& options)
    : TWizardPage(dialog), options(options) {}

void TImportScanPage::CreateControls(QWidget& window) {
  TWizardPage::CreateControls(window);
  AddImportPageHeading(window, "Step 2: Scan the MIDI performance");
  extractChannels = MakeCheck(window, "Map each MIDI channel to a new staff", 40);
  auto* label = new QLabel(QStringLiteral("Maximum single track chord size:"), &window);
  label->setGeometry(12, 72, 230, 24);
  maxChordSize = new TEditNumber(&window, kImportMinChordSize, kImportMaxChordSize, 1);
  maxChordSize->setGeometry(250, 72, 60, 24);
}

bool TImportScanPage::CanDeactivate() {
  if (!TWizardPage::CanDeactivate()) return false;
  TransferData(TTransferDirection::GetData);
  return true;
}

void TImportScanPage::TransferData(TTransferDirection direction) {
  if (!HasWindow() || !extractChannels) return;
  if (direction == TTransferDirection::SetData) {
    extractChannels->setChecked(options.extractChannels != 0);
    maxChordSize->SetValue(options.maxChordSize);
  } else {
    options.extractChannels = extractChannels->isChecked() ? 1 : 0;
    options.maxChordSize = maxChordSize->GetValue();
    options.Clamp();
  }
}

void TImportFinishPage::CreateControls(QWidget& window) {
  TWizardPage::CreateControls(window);
  AddImportPageHeading(window, "Step 4: Proceed with the import process");
  AddImportPageText(window,
                    "Press Finish to convert the MIDI file with the instructions of Step 3 into a "
                    "new score, or Back to review them.",
                    40, 60);
}

}  // namespace kvt
