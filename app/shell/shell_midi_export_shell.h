#pragma once
// The MIDI export's view of the application: the export options "SMFExportHdrInfo" and
// "SMFExportTrkSigs" of the application object, progress texts on the services' status bar,
// problems in message boxes over the main frame. UI thread only; the options, the frame and
// the services outlive it.

#include "midi/smf/midi_export_shell.h"

class QWidget;

namespace kvt {

class TAppOptions;
struct TServices;

class TShellMidiExportShell final : public TMidiExportShell {
public:
  TShellMidiExportShell(const TAppOptions& options, QWidget* frame, const TServices& services)
      : options(options), frame(frame), services(services) {}
  TMidiHeaderPlacement GetHeaderPlacement() const override;
  bool GetExportPerTrackSignature() const override;
  void ShowStatus(const std::string& text) override;
  void ShowProblem(const std::string& text, const std::string& caption) override;

private:
  const TAppOptions& options;
  QWidget* frame;
  const TServices& services;
};

}  // namespace kvt
