#include "app/dialogs/midi_import/instrument_page.h"

#include <QLabel>

#include "midi/import/instrument_values.h"
#include "app/dialogs/midi_import/patch_list_dialog.h"
#include "notation/context/instrument_def.h"
#include "tools/edit_number.h"
#include "tools/krv_edit.h"
#include "tools/message_box_service.h"
#include "tools/property_dialog.h"
#include "utils/text_encoding.h"

namespace kvt {

namespace {

TEditNumber* MakeNumber(QWidget& window, int minimum, int maximum, int x, int y) {
  auto* field = new TEditNumber(&window, minimum, maximum, 1);
  // An empty field stands for a mixed value.
  field->SetAllowEmpty(true);
  field->setGeometry(x, y, 56, 24);
  return field;
}

void MakeLabel(QWidget& window, const char* text, int x, int y, int width) {
  auto* label = new QLabel(QString::fromUtf8(text), &window);
  label->setGeometry(x, y, width, 24);
}

void SetNumber(TEditNumber& field, int32_t value) {
  field.SetValue(value == kInstrumentMixed ? kEmptyIntValue : value);
}

int32_t GetNumber(const TEditNumber& field) {
  const int32_t value = field.GetValue();
  return value == kEmptyIntValue ? kInstrumentMixed : value;
}

void SetState(QCheckBox& box, int32_t state) {
  box.setTristate(state == 2);
  box.setCheckState(state == 2 ? Qt::PartiallyChecked : state ? Qt::Checked : Qt::Unchecked);
}

int32_t GetState(const QCheckBox& box) {
  switch (box.checkState()) {
    case Qt::Checked: return 1;
    case Qt::PartiallyChecked: return 2;
    default: return 0;
  }
}

}  // namespace

TNtnPropInstrumentPage::TNtnPropInstrumentPage(TKVPropertyDialog* dialog, TInstrumentValues& values,
                                               TInstrumentTreeStore* store)
    : TKVPropertyPage(dialog), values(values), store(store) {}

void TNtnPropInstrumentPage::CreateControls(QWidget& window) {
  MakeLabel(window, "Name:", 12, 12, 60);
  name = new TKRVEdit(&window, kInstrumentNameUnits - 1);
  name->setGeometry(80, 12, 240, 24);
  sendPatch = new QCheckBox(QStringLiteral("Send &Patch"), &window);
  sendPatch->setGeometry(12, 44, 160, 24);
  patch = MakeNumber(window, 0, 127, 180, 44);
  sendBank = new QCheckBox(QStringLiteral("Send &Bank Select"), &window);
  sendBank->setGeometry(12, 76, 160, 24);
  bankMSB = MakeNumber(window, 0, 127, 180, 76);
  bankLSB = MakeNumber(window, 0, 127, 244, 76);
  static const char* const kLevels[8] = {"ppp", "pp", "p", "mp", "mf", "f", "ff", "fff"};
  for (int i = 0; i < 8; ++i) {
    const int x = 12 + (i % 4) * 90;
    const int y = 112 + (i / 4) * 30;
    MakeLabel(window, kLevels[i], x, y, 28);
    velocities[i] = MakeNumber(window, 0, 127, x + 30, y);
  }
  MakeLabel(window, "Transposition:", 12, 180, 160);
  transposition = MakeNumber(window, -120, 120, 180, 180);
  bendState = new QCheckBox(QStringLiteral("Set Pitch Bend &Range:"), &window);
  bendState->setGeometry(12, 212, 160, 24);
  bendRange = MakeNumber(window, 0, 24, 180, 212);
  auto* predefined = new QPushButton(QStringLiteral("&Predefined instruments..."), &window);
  predefined->setGeometry(12, 250, 200, 28);
  predefined->setEnabled(store != nullptr);
  QObject::connect(predefined, &QPushButton::clicked, predefined, [this] { PickPredefined(); });
}

void TNtnPropInstrumentPage::TransferData(TTransferDirection direction) {
  if (!HasWindow() || !name || !bendRange) return;
  if (direction == TTransferDirection::SetData) {
    name->setText(QString::fromStdU16String(values.name));
    SetState(*sendPatch, values.sendPatch);
    SetNumber(*patch, values.patch);
    SetState(*sendBank, values.sendBank);
    SetNumber(*bankMSB, values.bankMSB);
    SetNumber(*bankLSB, values.bankLSB);
    for (int i = 0; i < 8; ++i) SetNumber(*velocities[i], values.velocities[i]);
    SetNumber(*transposition, values.transposition);
    SetState(*bendState, values.bendState);
    SetNumber(*bendRange, values.bendRange);
    return;
  }
  values.name = Utf8ToUtf16(name->GetText(4 * (kInstrumentNameUnits - 1)));
  values.sendPatch = GetState(*sendPatch);
  values.patch = GetNumber(*patch);
  values.sendBank = GetState(*sendBank);
  values.bankMSB = GetNumber(*bankMSB);
  values.bankLSB = GetNumber(*bankLSB);
  for (int i = 0; i < 8; ++i) values.velocities[i] = GetNumber(*velocities[i]);
  values.transposition = GetNumber(*transposition);
  values.bendState = GetState(*bendState);
  values.bendRange = GetNumber(*bendRange);
}

bool TNtnPropInstrumentPage::RunTreeDialog(TInstrumentValues& picked) {
  TKVPatchListDlg dialog(GetOwnerWindow(), picked, *store);
  return ExecuteDialogUncentered(dialog) == IDOK;
}

void TNtnPropInstrumentPage::PickPredefined() {
  if (!store) return;
  TransferData(TTransferDirection::GetData);
  if (RunTreeDialog(values)) TransferData(TTransferDirection::SetData);
}

std::unique_ptr<TNtnPropInstrumentPage> AddInstrumentPropPage(TKVPropertyDialog& dialog,
                                                              TInstrumentValues& values,
                                                              TInstrumentTreeStore* store) {
  if (values.count < 1) return nullptr;
  auto page = std::make_unique<TNtnPropInstrumentPage>(&dialog, values, store);
  dialog.AddPage("Instrument", page.get());
  return page;
}

}  // namespace kvt
