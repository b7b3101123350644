#include "app/editor/staff_transpose_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

#include "app/editor/undo_snapshot.h"

namespace kvt {

namespace {
constexpr int kMaxSemitones = 12;
}  // namespace

TStaffTransposeDialog::TStaffTransposeDialog(QWidget* parent, const TTransposeChoice& choice)
    : TKVDlgBase(parent, kCmdTransposeStaff),
      semitones(new QSpinBox(this)),
      playback(new QCheckBox(QStringLiteral("&Update staff play back transposition"), this)) {
  setWindowTitle(QStringLiteral("Staff Transpose"));
  SetControlId(semitones, kSemitonesId);
  SetControlId(playback, kUpdatePlaybackId);
  semitones->setRange(-kMaxSemitones, kMaxSemitones);
  semitones->setValue(choice.semitones);
  playback->setChecked(choice.updatePlayback);
  auto* label = new QLabel(QStringLiteral("&Transpose by how many semitones:"), this);
  label->setBuddy(semitones);
  auto* form = new QFormLayout;
  form->addRow(label, semitones);

  auto* group = new QGroupBox(QStringLiteral("New Key Signature Preference"), this);
  auto* groupLayout = new QVBoxLayout(group);
  static const char* const kTexts[] = {"&Minimize sharp/flat count in key",
                                       "Favor &Flat Keys in Ambiguous Cases",
                                       "Favor &Sharp Keys in Ambiguous Cases"};
  for (int i = 0; i < 3; ++i) {
    preferences[i] = new QRadioButton(QString::fromUtf8(kTexts[i]), group);
    SetControlId(preferences[i], kMinimizeId + i);
    groupLayout->addWidget(preferences[i]);
  }
  preferences[std::clamp(choice.keyPreference, 0, 2)]->setChecked(true);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &TStaffTransposeDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &TStaffTransposeDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(playback);
  layout->addWidget(group);
  layout->addWidget(buttons);
}

QRadioButton& TStaffTransposeDialog::Preference(int keyPreference) const {
  return *preferences[std::clamp(keyPreference, 0, 2)];
}

TTransposeChoice TStaffTransposeDialog::Choice() const {
  TTransposeChoice choice;
  choice.semitones = semitones->value();
  choice.updatePlayback = playback->isChecked();
  for (int i = 0; i < 3; ++i)
    if (preferences[i]->isChecked()) choice.keyPreference = i;
  return choice;
}

}  // namespace kvt
