#pragma once
// What dialogs and property pages need of their controls at close: the data transfer
// direction, and the close check that controls with their own rules (the number fields) take
// part in.

#include <QWidget>

namespace kvt {

enum class TTransferDirection { GetData, SetData };

// A control that may refuse the closing of its dialog (and tells the user why).
class TClosableControl {
public:
  virtual ~TClosableControl() = default;
  virtual bool CanClose() = 0;
};

// The CanClose checks of the closable controls among the container's descendants, in window
// order; the first refusal stops the walk. True when none refuses.
bool ControlsCanClose(QWidget& container);

}  // namespace kvt
