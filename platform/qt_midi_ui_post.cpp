#include "platform/qt_midi_ui_post.h"

#include <QMetaObject>
#include <QObject>

namespace kvt {

TQtMidiUiPost::TQtMidiUiPost() : context(std::make_unique<QObject>()) {}

TQtMidiUiPost::~TQtMidiUiPost() = default;

void TQtMidiUiPost::Post(std::function<void()> call) {
  QMetaObject::invokeMethod(context.get(), std::move(call), Qt::QueuedConnection);
}

}  // namespace kvt
