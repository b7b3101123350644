#pragma once
// Test support: acts on the next modal dialog of a type once its run has started.

#include <QApplication>
#include <QTimer>

#include <functional>

namespace kvt::test {

// Calls act with the modal dialog of type T as soon as it is shown (checked every 10 ms);
// act must end the run.
template <class T>
void WhenModal(std::function<void(T&)> act) {
  auto* timer = new QTimer;
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, act] {
    auto* dialog = dynamic_cast<T*>(QApplication::activeModalWidget());
    if (!dialog || !dialog->isVisible()) return;
    timer->stop();
    timer->deleteLater();
    act(*dialog);
  });
  timer->start();
}

}  // namespace kvt::test
