#pragma once
// TShellMidiInputDevice: the program's MIDI input for the editor: the input port of a MIDI
// manager over the system's catalog (ALSA sequencer ports), named by the "MIDI In Ports"
// setting. The port's reader thread hands each message to the sequencer, which queues it to the
// UI thread (TQtMidiUiPost) for the receiver. Port sharing is the "MidiPortUsage" option 1
// (ports open only while playing).
//
// Made only where the ALSA sequencer exists (HasAlsaSequencer); elsewhere the editor keeps the
// null device. Make on the UI thread after the application object; the settings, options and
// alert log outlive it.

#include <memory>

#include "app/editor/midi_input_device.h"
#include "app/shell/app_options.h"
#include "utils/alert_log.h"
#include "utils/sys_info.h"

namespace kvt {

class TMidiManager;
class TPosixMidiTimer;
class TQtMidiUiPost;
class TSteadyMidiClock;
class TSystemMidiCatalog;

// /dev/snd/seq is there.
bool HasAlsaSequencer();

class TShellMidiInputDevice final : public TMidiInputDevice {
public:
  TShellMidiInputDevice(TSysInfo& settings, TAlertLog& alerts, const TAppOptions& options);
  ~TShellMidiInputDevice() override;

  // An input port is named in the settings (read again now).
  bool HasInputDevice() const override;
  bool IsPortShared() const override;
  // Reads the settings again and opens the ports; false when the input port stays closed.
  bool Open(TMidiInputReceiver& receiver) override;
  void Close() override;

private:
  const TAppOptions& options;
  std::unique_ptr<TSteadyMidiClock> clock;
  std::unique_ptr<TPosixMidiTimer> timer;
  std::unique_ptr<TQtMidiUiPost> post;
  std::unique_ptr<TSystemMidiCatalog> catalog;
  std::unique_ptr<TMidiManager> manager;
};

}  // namespace kvt
