#pragma once
// TLongTaskCancel: the cancel test of the long-task progress dialog, as the notation model's
// long loops (writing and reading clips) poll it once per item. The user-interface library
// makes the real one and passes it down in the services object (TServices::longTaskCancel);
// headless runs leave that member null, and the null version answers that nothing was
// cancelled.
//
// Calls come from the UI thread (and from the converter's one thread).

namespace kvt {

struct TServices;

class TLongTaskCancel {
public:
  virtual ~TLongTaskCancel() = default;
  // True when a long-task progress dialog is open and its user asked to cancel (pending window
  // events are handled first); false otherwise, also when no such dialog is open.
  virtual bool CheckCancel() = 0;
};

// The services' provider; the null provider (never cancelled) for a null member.
TLongTaskCancel& LongTaskCancelOf(const TServices& services);

}  // namespace kvt
