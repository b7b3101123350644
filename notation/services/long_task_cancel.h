#pragma once
// TLongTaskCancel: the cancel test of the long-task progress dialog, as the notation model's
// long loops (writing and reading clips) poll it once per item. The user-interface library
// installs the real one at start-up; until then, and in headless runs, the null version
// answers that nothing was cancelled.
//
// Calls come from the UI thread (and from the converter's one thread); the provider is
// installed before any of them and stays installed until shutdown.

namespace kvt {

class TLongTaskCancel {
public:
  virtual ~TLongTaskCancel() = default;
  // True when a long-task progress dialog is open and its user asked to cancel (pending window
  // events are handled first); false otherwise, also when no such dialog is open.
  virtual bool CheckCancel() = 0;
};

// The installed provider; the null provider (never cancelled) when none is installed.
TLongTaskCancel& GetLongTaskCancel();
// Installs a provider (not owned; it must outlive its installation). Null restores the null
// provider.
void InstallLongTaskCancel(TLongTaskCancel* provider);

}  // namespace kvt
