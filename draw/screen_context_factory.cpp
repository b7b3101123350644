#include "draw/screen_context_factory.h"

#include "draw/recording_context.h"

namespace kvt {

std::unique_ptr<TDeviceContext> TNullScreenContextFactory::CreateScreenContext() {
  return std::make_unique<TRecordingContext>(96, 96);
}

TScreenContextFactory& NullScreenContextFactory() {
  static TNullScreenContextFactory factory;
  return factory;
}

}  // namespace kvt
