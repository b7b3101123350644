#pragma once
// The message boxes on QMessageBox: the type word's buttons in their order, its icon and
// default button; Escape and the window's close answer as MessageBoxEscapeResult says (a box
// that offers no way out cannot be closed without a choice).

#include "tools/message_box_service.h"

namespace kvt {

class TQtMessageBoxService final : public TMessageBoxService {
public:
  int Show(QWidget* owner, uint32_t type, const QString& caption, const QString& text) override;
};

// The process's Qt message boxes (stateless).
TMessageBoxService& QtMessageBoxService();

}  // namespace kvt
