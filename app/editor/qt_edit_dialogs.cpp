#include "app/editor/qt_edit_dialogs.h"

#include "app/editor/goto_dialog.h"
#include "app/editor/respell_warn_dialog.h"
#include "app/editor/staff_transpose_dialog.h"
#include "tools/message_box_service.h"

namespace kvt {

bool TQtEditDialogs::IsAvailable(TEditDialog dialog) const {
  return dialog == TEditDialog::kGoto || dialog == TEditDialog::kTranspose ||
         dialog == TEditDialog::kRespellWarning;
}

bool TQtEditDialogs::Goto(QWidget* parent, TGotoRequest& request) {
  TGotoDialog dialog(parent, request);
  if (dialog.exec() != IDOK) return false;
  dialog.Apply(request);
  return true;
}

bool TQtEditDialogs::Transpose(QWidget* parent, TTransposeChoice& choice) {
  TStaffTransposeDialog dialog(parent, choice);
  if (dialog.exec() != IDOK) return false;
  choice = dialog.Choice();
  return true;
}

TRespellAnswer TQtEditDialogs::RespellWarning(QWidget* parent, TRespellWarnSteps& steps) {
  TRespellWarnDlg dialog(parent, steps);
  return dialog.exec() == IDOK ? TRespellAnswer::kProceed : TRespellAnswer::kGotoEditor;
}

}  // namespace kvt
