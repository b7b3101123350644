#pragma once
// TScreenContextFactory: makes the temporary screen information context on which the music
// fonts measure when no sizing context is given. The window-system layer installs one that
// measures with the screen's faces; the null factory makes a 96-dpi recording context with
// fixed text advances, so headless runs and tests measure without a display.

#include <memory>

#include "draw/device_context.h"

namespace kvt {

class TScreenContextFactory {
public:
  virtual ~TScreenContextFactory() = default;
  // A new context, owned by the caller; never null.
  virtual std::unique_ptr<TDeviceContext> CreateScreenContext() = 0;
};

class TNullScreenContextFactory final : public TScreenContextFactory {
public:
  std::unique_ptr<TDeviceContext> CreateScreenContext() override;
};

// The process's null factory (stateless).
TScreenContextFactory& NullScreenContextFactory();

}  // namespace kvt
