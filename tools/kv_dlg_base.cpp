#include "tools/kv_dlg_base.h"

#include "tools/message_box_service.h"
#include "tools/window_placement.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QShowEvent>

namespace kvt {

namespace {

constexpr TCtrlHelpEntry kEmptyHelpMap[] = {{0, 0}};

}  // namespace

TKVDlgBase::TKVDlgBase(QWidget* parent, int32_t resourceId)
    : QDialog(parent), resourceId(resourceId), helpMap(kEmptyHelpMap) {}

TKVDlgBase::~TKVDlgBase() = default;

void TKVDlgBase::SetHelpMap(const TCtrlHelpEntry* map) {
  helpMap = map != nullptr ? map : kEmptyHelpMap;
}

void TKVDlgBase::SetControlId(QWidget* control, int32_t id) {
  controls[id] = control;
  if (id == kHelpButtonId)
    if (auto* button = qobject_cast<QAbstractButton*>(control))
      connect(button, &QAbstractButton::clicked, this, &TKVDlgBase::RequestCommandHelp,
              Qt::UniqueConnection);
}

QWidget* TKVDlgBase::Control(int32_t id) const {
  auto it = controls.find(id);
  return it != controls.end() ? it->second.data() : nullptr;
}

int32_t TKVDlgBase::ControlId(const QWidget* control) const {
  for (const QWidget* w = control; w != nullptr && w != this; w = w->parentWidget())
    for (const auto& [id, registered] : controls)
      if (registered == w) return id;
  return 0;
}

void TKVDlgBase::RequestContextHelp() {
  TKVAppBase* app = GetKVAppBase();
  if (app == nullptr) return;
  TCtrlHelpRequest request;
  request.control = focusWidget();
  request.controlId = ControlId(request.control);
  request.globalPos = QCursor::pos();
  app->ShowContextHelp(request, helpMap, resourceId);
}

void TKVDlgBase::RequestCommandHelp() {
  if (TKVAppBase* app = GetKVAppBase()) app->ShowCommandHelp(resourceId);
}

void TKVDlgBase::accept() { done(IDOK); }

void TKVDlgBase::reject() { done(IDCANCEL); }

void TKVDlgBase::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (setUp || event->spontaneous()) return;
  setUp = true;
  if (!keepPosition) CenterWindowOnScreen(*this);
}

void TKVDlgBase::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
    RequestContextHelp();
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

int ExecuteDialogUncentered(TKVDlgBase& dialog) {
  dialog.SetKeepPosition(true);
  return dialog.exec();
}

}  // namespace kvt
