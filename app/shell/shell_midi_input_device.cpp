#include "app/shell/shell_midi_input_device.h"

#include <filesystem>
#include <system_error>

#include "midi/devices/midi_manager.h"
#include "platform/midi/posix_midi_timer.h"
#include "platform/midi/steady_midi_clock.h"
#include "platform/midi/system_midi_catalog.h"
#include "platform/qt_midi_ui_post.h"

namespace kvt {

bool HasAlsaSequencer() {
  std::error_code error;
  return std::filesystem::exists("/dev/snd/seq", error);
}

TShellMidiInputDevice::TShellMidiInputDevice(TSysInfo& settings, TAlertLog& alerts,
                                             const TAppOptions& options)
    : options(options),
      clock(std::make_unique<TSteadyMidiClock>()),
      timer(std::make_unique<TPosixMidiTimer>()),
      post(std::make_unique<TQtMidiUiPost>()),
      catalog(std::make_unique<TSystemMidiCatalog>(*clock)),
      manager(std::make_unique<TMidiManager>(*catalog, settings, alerts, *clock, *timer, *post)) {
  manager->LoadSettings();
}

// The manager goes first: it stops the input thread before the post, timer and clock go.
TShellMidiInputDevice::~TShellMidiInputDevice() { manager.reset(); }

bool TShellMidiInputDevice::HasInputDevice() const {
  // The setting may have changed since the last look.
  manager->LoadSettings();
  return !manager->GetInPortName().empty();
}

bool TShellMidiInputDevice::IsPortShared() const { return options.Get(kOptMidiPortUsage) == 1; }

bool TShellMidiInputDevice::Open(TMidiInputReceiver& receiver) {
  manager->LoadSettings();
  manager->SetInputWindow(&receiver);
  manager->SetPortsOpen(true);
  if (!manager->InPortFailed()) return true;
  Close();
  return false;
}

void TShellMidiInputDevice::Close() {
  manager->SetInputWindow(nullptr);
  manager->SetPortsOpen(false);
}

}  // namespace kvt
