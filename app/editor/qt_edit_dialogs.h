#pragma once
// TQtEditDialogs: the program's dialog service for the editing commands: "Goto Measure",
// "Staff Transpose" and the respelling warning as Qt dialogs. The dialogs of later work (the
// notation property dialog, staff properties, move staff, lyrics, find, user tools and user
// objects, the selector menus) are not available yet, so their commands stay disabled.

#include "app/editor/edit_dialogs.h"

namespace kvt {

class TQtEditDialogs final : public TEditDialogs {
public:
  bool IsAvailable(TEditDialog dialog) const override;
  bool Goto(QWidget* parent, TGotoRequest& request) override;
  bool Transpose(QWidget* parent, TTransposeChoice& choice) override;
  TRespellAnswer RespellWarning(QWidget* parent, TRespellWarnSteps& steps) override;
  bool EditNewItem(QWidget*, TNotatedItem&, int) override { return false; }
  bool EditItems(QWidget*, TMusicStaff&, int, int) override { return false; }
  int ChooseSelectorEntry(QWidget*, const std::vector<std::u16string>&) override { return -1; }
};

}  // namespace kvt
