#include "print/preview_progress.h"

#include "tools/long_task_dialog.h"

namespace kvt {

namespace {

constexpr int kPreviewProgressTemplate = 571;

}  // namespace

TLongTaskPreviewProgress::TLongTaskPreviewProgress(QWidget* owner) : owner(owner) {}

TLongTaskPreviewProgress::~TLongTaskPreviewProgress() { End(); }

void TLongTaskPreviewProgress::Begin(const char* text) {
  if (!dialog) {
    dialog = std::make_unique<TLongTaskDlg>(owner.data(), kPreviewProgressTemplate, 1, 0);
    dialog->SetStatus("Initializing...");
    dialog->show();
  }
  dialog->SetStatus(text);
}

bool TLongTaskPreviewProgress::IsCancelled() { return dialog && dialog->IsCancelled(); }

void TLongTaskPreviewProgress::End() {
  if (!dialog) return;
  dialog->Close();
  dialog.reset();
}

}  // namespace kvt
