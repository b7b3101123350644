#include "tools/qt_message_box_service.h"

#include <QAbstractButton>
#include <QEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>

#include <utility>

namespace kvt {

namespace {

std::pair<QMessageBox::StandardButton, int> ButtonFor(int id) {
  switch (id) {
    case IDCANCEL: return {QMessageBox::Cancel, IDCANCEL};
    case IDABORT: return {QMessageBox::Abort, IDABORT};
    case IDRETRY: return {QMessageBox::Retry, IDRETRY};
    case IDIGNORE: return {QMessageBox::Ignore, IDIGNORE};
    case IDYES: return {QMessageBox::Yes, IDYES};
    case IDNO: return {QMessageBox::No, IDNO};
    default: return {QMessageBox::Ok, IDOK};
  }
}

QMessageBox::Icon IconFor(uint32_t type) {
  switch (type & MB_ICONMASK) {
    case MB_ICONHAND: return QMessageBox::Critical;
    case MB_ICONQUESTION: return QMessageBox::Question;
    case MB_ICONEXCLAMATION: return QMessageBox::Warning;
    case MB_ICONASTERISK: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
  }
}

// Keeps a box without a way out open: QMessageBox would otherwise take its No button for
// Escape and for the window's close.
class TNoEscapeFilter final : public QObject {
public:
  using QObject::QObject;

protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Close) {
      event->ignore();
      return true;
    }
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
      return true;
    return QObject::eventFilter(watched, event);
  }
};

}  // namespace

int TQtMessageBoxService::Show(QWidget* owner, uint32_t type, const QString& caption,
                               const QString& text) {
  QMessageBox box(owner);
  box.setTextFormat(Qt::PlainText);
  box.setWindowTitle(caption);
  box.setText(text);
  box.setIcon(IconFor(type));
  box.setWindowModality(owner != nullptr && (type & (MB_TASKMODAL | MB_SYSTEMMODAL)) == 0
                            ? Qt::WindowModal
                            : Qt::ApplicationModal);
  const int defaultId = MessageBoxDefaultResult(type);
  const int escapeId = MessageBoxEscapeResult(type);
  for (int id : MessageBoxButtons(type)) {
    QPushButton* button = box.addButton(ButtonFor(id).first);
    button->setProperty("kvtResult", id);
    if (id == defaultId) box.setDefaultButton(button);
    if (id == escapeId) box.setEscapeButton(button);
  }
  TNoEscapeFilter noEscape;
  if (escapeId == 0) box.installEventFilter(&noEscape);
  box.exec();
  QAbstractButton* clicked = box.clickedButton();
  // A box closed without a button (only possible where closing is allowed) answers its escape.
  if (clicked == nullptr) return escapeId != 0 ? escapeId : defaultId;
  return clicked->property("kvtResult").toInt();
}

TMessageBoxService& QtMessageBoxService() {
  static TQtMessageBoxService service;
  return service;
}

}  // namespace kvt
