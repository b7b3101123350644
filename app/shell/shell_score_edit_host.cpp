#include "app/shell/shell_score_edit_host.h"

#include <QApplication>

#include "tools/message_box_service.h"

namespace kvt {

void TShellScoreEditHost::Beep() { QApplication::beep(); }

int TShellScoreEditHost::MessageBox(uint32_t type, const std::string& caption,
                                    const std::string& text) {
  return MessageBoxServiceOf().Show(owner.data(), type, QString::fromStdString(caption),
                                    QString::fromStdString(text));
}

}  // namespace kvt
