#include "platform/qt_cursor_service.h"

#include <QCursor>
#include <QGuiApplication>

namespace kvt {

namespace {

bool HasGuiApplication() {
  return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

}  // namespace

bool TQtCursorService::ShowWaitCursor() {
  if (!HasGuiApplication()) return false;
  QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
  return true;
}

void TQtCursorService::RestoreCursor() {
  if (HasGuiApplication()) QGuiApplication::restoreOverrideCursor();
}

}  // namespace kvt
