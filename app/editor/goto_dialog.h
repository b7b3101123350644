#pragma once
// The "Goto Measure" dialog of command 38: "&Bar Number:" (the request's bar range, preset to
// its bar) and "Make &Selection". The request is changed only by Apply, after OK.

#include "app/editor/edit_dialogs.h"
#include "tools/kv_dlg_base.h"

class QCheckBox;
class QSpinBox;

namespace kvt {

class TGotoDialog : public TKVDlgBase {
public:
  static constexpr int32_t kBarNumberId = 101;
  static constexpr int32_t kMakeSelectionId = 102;

  TGotoDialog(QWidget* parent, const TGotoRequest& request);
  // The chosen bar (inside the range) and the Make Selection box into the request.
  void Apply(TGotoRequest& request) const;
  QSpinBox& BarNumber() const { return *bar; }
  QCheckBox& MakeSelection() const { return *selection; }

private:
  QSpinBox* bar;
  QCheckBox* selection;
};

}  // namespace kvt
