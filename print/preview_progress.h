#pragma once
// The preview's page walks report through the frame's long-task dialog (template 571: one
// status line, no bar), made when a walk begins and closed when it ends. UI thread only.

#include <QPointer>
#include <QWidget>

#include <memory>

#include "print/preview_services.h"

namespace kvt {

class TLongTaskDlg;

class TLongTaskPreviewProgress final : public TPreviewProgress {
public:
  // The dialog's owner; it must outlive the walks.
  explicit TLongTaskPreviewProgress(QWidget* owner);
  ~TLongTaskPreviewProgress() override;
  void Begin(const char* text) override;
  bool IsCancelled() override;
  void End() override;

private:
  QPointer<QWidget> owner;
  std::unique_ptr<TLongTaskDlg> dialog;
};

}  // namespace kvt
