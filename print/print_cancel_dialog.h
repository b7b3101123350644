#pragma once
// TPrintCancelDialog: the modeless "Score Print" window a print job shows while it runs
// (dialog 530): the document name (101) inside the group " Printing " and a "Cancel" button.
// Cancel (or Escape) only sets the cancel flag; the job polls it between pages and closes the
// window when it ends. The window cannot be closed from its frame.

#include <QString>

#include "tools/kv_dlg_base.h"
#include "tools/message_box_service.h"

class QPushButton;

namespace kvt {

class TPrintCancelDialog final : public TKVDlgBase {
public:
  static constexpr int kDialogId = 530;
  static constexpr int kDocumentNameId = 101;

  TPrintCancelDialog(QWidget* parent, const QString& documentName);

  bool IsCancelled() const { return cancelled; }
  QPushButton* CancelButton() const { return cancelButton; }

  // Escape: the same as the Cancel button.
  void reject() override { cancelled = true; }

protected:
  void closeEvent(QCloseEvent* event) override;

private:
  QPushButton* cancelButton = nullptr;
  bool cancelled = false;
};

}  // namespace kvt
