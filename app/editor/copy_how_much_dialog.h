#pragma once
// The "Copy Special" dialog of command 221: the group "Copy How Much" with the choices
// "&Just the active staff" (preselected) and "&All open staves", OK and Cancel.

#include "app/editor/clipboard_service.h"
#include "tools/kv_dlg_base.h"

class QRadioButton;

namespace kvt {

class TCopyHowMuchDialog : public TKVDlgBase {
public:
  static constexpr int32_t kActiveStaffId = 101;
  static constexpr int32_t kAllStavesId = 102;

  explicit TCopyHowMuchDialog(QWidget* parent);
  // The choice shown now (never kCancel).
  TCopyHowMuch Choice() const;
  QRadioButton& ActiveStaffButton() const { return *activeStaff; }
  QRadioButton& AllStavesButton() const { return *allStaves; }

private:
  QRadioButton* activeStaff;
  QRadioButton* allStaves;
};

// Runs the dialog modally over the parent; kCancel when it was cancelled.
TCopyHowMuch AskCopyHowMuch(QWidget* parent);

}  // namespace kvt
