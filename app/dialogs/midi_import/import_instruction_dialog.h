#pragma once
// TImportInstructionDlg: the "Import Instruction" dialog (581). It shows the values of one
// import instruction: track number (101), pitch range (102 through 103), "Channel 1" to
// "Channel 16" (111 to 126), the four notate options (130 to 133) and the two resolutions
// (140, 141). The dialog only moves values between its controls and a TImportInstructionForm;
// EditImportInstruction writes them into the instruction on OK.

#include <QCheckBox>

#include "midi/import/import_wizard_logic.h"
#include "tools/kv_dlg_base.h"

namespace kvt {

class TEditNumber;
class TKRVComboBox;
struct TSMFImportInstructions;

inline constexpr int kImportInstructionDlgId = 581;

class TImportInstructionDlg : public TKVDlgBase {
public:
  // highestTrack: the largest track number the track field accepts (held to 0..255).
  TImportInstructionDlg(QWidget* parent, const TImportInstructionForm& form, int highestTrack);

  // The controls' values.
  TImportInstructionForm Form() const;

  // OK runs the fields' close checks first (an out-of-range track number stays open).
  void accept() override;

private:
  TEditNumber* track;
  TKRVComboBox* lowPitch;
  TKRVComboBox* highPitch;
  QCheckBox* channels[16];
  QCheckBox* options[4];
  TKRVComboBox* noteResolution;
  TKRVComboBox* restResolution;
};

// Runs the dialog modally over the instruction; true on OK, the instruction then holding the
// dialog's values (held to the controls' ranges). On Cancel the instruction is untouched.
bool EditImportInstruction(QWidget* parent, TSMFImportInstructions& instruction, int highestTrack,
                           bool recording);

}  // namespace kvt
