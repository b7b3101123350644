#pragma once
// Text measures of the window system's faces (fontconfig through Qt) for recording contexts,
// and the screen-context factory of the program: 96-dpi recording contexts that measure with
// them. Needs a QGuiApplication; use from the UI thread.

#include "draw/recording_context.h"
#include "draw/screen_context_factory.h"

namespace kvt {

class TQtTextMeasure final : public TTextMeasure {
public:
  TTextMetrics Measure(const TDcFont& font, std::u16string_view text) override;
};

class TQtScreenContextFactory final : public TScreenContextFactory {
public:
  std::unique_ptr<TDeviceContext> CreateScreenContext() override;

private:
  TQtTextMeasure measure;
};

}  // namespace kvt
