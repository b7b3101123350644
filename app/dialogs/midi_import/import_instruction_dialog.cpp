#include "app/dialogs/midi_import/import_instruction_dialog.h"

#include <QLabel>
#include <QPushButton>
#include <algorithm>

#include "midi/import/import_instructions.h"
#include "app/dialogs/midi_import/import_choice_lists.h"
#include "tools/combo_box.h"
#include "tools/dialog_transfer.h"
#include "tools/edit_number.h"
#include "tools/message_box_service.h"

namespace kvt {

namespace {

TKRVComboBox* MakeList(QWidget* parent, const std::vector<std::string>& items, int x, int y,
                       int width) {
  auto* box = new TKRVComboBox(parent, false, 0);
  box->FillItems(items);
  box->SetTransferMode(TKRVComboBox::kTransferIndex);
  box->setGeometry(x, y, width, 24);
  return box;
}

QLabel* MakeLabel(QWidget* parent, const char* text, int x, int y, int width) {
  auto* label = new QLabel(QString::fromUtf8(text), parent);
  label->setGeometry(x, y, width, 24);
  return label;
}

}  // namespace

TImportInstructionDlg::TImportInstructionDlg(QWidget* parent, const TImportInstructionForm& form,
                                             int highestTrack)
    : TKVDlgBase(parent, kImportInstructionDlgId) {
  setWindowTitle(QStringLiteral("Import Instruction"));
  resize(470, 400);

  MakeLabel(this, "Track Number:", 12, 12, 110);
  track = new TEditNumber(this, 0, std::clamp(highestTrack, 0, kImportMaxTrack), 1);
  track->setGeometry(130, 12, 70, 24);
  SetControlId(track, 101);

  const std::vector<std::string> pitches = ImportPitchNames();
  MakeLabel(this, "Range:", 12, 44, 110);
  lowPitch = MakeList(this, pitches, 130, 44, 90);
  MakeLabel(this, "through", 230, 44, 60);
  highPitch = MakeList(this, pitches, 296, 44, 90);
  SetControlId(lowPitch, 102);
  SetControlId(highPitch, 103);

  for (int c = 0; c < 16; ++c) {
    channels[c] = new QCheckBox(QStringLiteral("Channel %1").arg(c + 1), this);
    channels[c]->setGeometry(12 + (c % 4) * 112, 80 + (c / 4) * 26, 108, 24);
    SetControlId(channels[c], 111 + c);
  }

  static const char* const kOptionTexts[4] = {"Notate Pedal Marks", "Insert Instrument Changes",
                                              "Automatic Beam", "Detect Compound Time"};
  for (int i = 0; i < 4; ++i) {
    options[i] = new QCheckBox(QString::fromUtf8(kOptionTexts[i]), this);
    options[i]->setGeometry(12 + (i % 2) * 224, 192 + (i / 2) * 26, 220, 24);
    SetControlId(options[i], 130 + i);
  }

  MakeLabel(this, "Note Resolution:", 12, 252, 120);
  noteResolution = MakeList(this, ImportResolutionNames(false), 140, 252, 180);
  MakeLabel(this, "Rest Resolution:", 12, 284, 120);
  restResolution = MakeList(this, ImportResolutionNames(true), 140, 284, 180);
  SetControlId(noteResolution, 140);
  SetControlId(restResolution, 141);

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setGeometry(290, 360, 80, 28);
  ok->setDefault(true);
  SetControlId(ok, IDOK);
  connect(ok, &QPushButton::clicked, this, [this] { accept(); });
  auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
  cancel->setGeometry(378, 360, 80, 28);
  SetControlId(cancel, IDCANCEL);
  connect(cancel, &QPushButton::clicked, this, [this] { reject(); });

  track->SetValue(form.track);
  lowPitch->setCurrentIndex(std::clamp(form.lowPitch, 0, 127));
  highPitch->setCurrentIndex(std::clamp(form.highPitch, 0, 127));
  for (int c = 0; c < 16; ++c) channels[c]->setChecked(form.channels[c]);
  options[0]->setChecked(form.pedalMarks);
  options[1]->setChecked(form.patchChanges);
  options[2]->setChecked(form.autoBeam);
  options[3]->setChecked(form.compoundTime);
  noteResolution->setCurrentIndex(std::clamp(form.noteResolution, 0, kImportMaxDurationCode));
  restResolution->setCurrentIndex(std::clamp(form.restResolution, 0, kImportMaxDurationCode));
}

TImportInstructionForm TImportInstructionDlg::Form() const {
  TImportInstructionForm form;
  form.track = track->GetValue();
  form.lowPitch = lowPitch->currentIndex();
  form.highPitch = highPitch->currentIndex();
  for (int c = 0; c < 16; ++c) form.channels[c] = channels[c]->isChecked();
  form.pedalMarks = options[0]->isChecked();
  form.patchChanges = options[1]->isChecked();
  form.autoBeam = options[2]->isChecked();
  form.compoundTime = options[3]->isChecked();
  form.noteResolution = noteResolution->currentIndex();
  form.restResolution = restResolution->currentIndex();
  return form;
}

void TImportInstructionDlg::accept() {
  if (!ControlsCanClose(*this)) return;
  TKVDlgBase::accept();
}

bool EditImportInstruction(QWidget* parent, TSMFImportInstructions& instruction, int highestTrack,
                           bool /*recording*/) {
  TImportInstructionDlg dialog(parent, TImportInstructionForm::From(instruction), highestTrack);
  if (dialog.exec() != IDOK) return false;
  dialog.Form().WriteTo(instruction, highestTrack);
  return true;
}

}  // namespace kvt
