#pragma once
// A message-box service for tests: it records every box and answers with the scripted result
// (the default button when none is scripted). Installed on the running application for its
// scope, and the previous service restored afterwards.

#include "tools/kv_app_base.h"
#include "tools/message_box_service.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <deque>
#include <vector>

namespace kvt::test {

struct TRecordedBox {
  QPointer<QWidget> owner;
  bool hadOwner = false;
  uint32_t type = 0;
  QString caption;
  QString text;
};

class TRecordingMessageBoxService final : public TMessageBoxService {
public:
  TRecordingMessageBoxService() { GetKVAppBase()->SetMessageBoxService(this); }
  ~TRecordingMessageBoxService() override { GetKVAppBase()->SetMessageBoxService(nullptr); }

  // The next box answers result (in the order scripted).
  void Answer(int result) { answers.push_back(result); }

  int Show(QWidget* owner, uint32_t type, const QString& caption, const QString& text) override {
    boxes.push_back({owner, owner != nullptr, type, caption, text});
    if (answers.empty()) return MessageBoxDefaultResult(type);
    const int result = answers.front();
    answers.pop_front();
    return result;
  }

  std::vector<TRecordedBox> boxes;

private:
  std::deque<int> answers;
};

}  // namespace kvt::test
