#include "app/editor/zoom_dialog.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/editor/editor_zoom.h"

namespace kvt {

TZoomDialog::TZoomDialog(QWidget* parent, int zoom, int normalSize)
    : TKVDlgBase(parent, kCmdZoomDialog), levels(new QListWidget(this)) {
  setWindowTitle(QStringLiteral("Editor Zoom"));
  SetControlId(levels, kLevelListId);
  for (int i = 1; i <= kZoomDialogLevels; ++i)
    levels->addItem(QString::fromStdString(ZoomLevelText(i, normalSize)));
  levels->setCurrentRow(std::clamp(ZoomDialogChoice(zoom), 0, kZoomDialogLevels - 1));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &TZoomDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &TZoomDialog::reject);
  connect(levels, &QListWidget::itemDoubleClicked, this, &TZoomDialog::accept);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(levels);
  layout->addWidget(buttons);
}

int TZoomDialog::ChosenZoom() const {
  return ZoomOfDialogChoice(std::max(0, levels->currentRow()));
}

}  // namespace kvt
