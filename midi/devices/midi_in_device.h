#pragma once
// TMidiInDevice: the manager's input port, open on a device of the catalog or closed. What
// arrives goes to the sink (the sequencer) on the input's thread until Close returns.

#include <memory>
#include <string>

#include "midi/devices/midi_ports.h"

namespace kvt {

class TMidiInDevice {
public:
  TMidiInDevice(TMidiDeviceCatalog& catalog, TMidiInputSink& sink)
      : catalog(catalog), sink(sink) {}

  // Closes, then opens the first input whose name equals name; false when none opens.
  bool OpenByName(const std::string& name);
  // True at once when already open on id; otherwise closes and opens id.
  bool Open(int id);
  void Close();
  bool IsOpen() const { return port != nullptr; }

private:
  TMidiDeviceCatalog& catalog;
  TMidiInputSink& sink;
  std::unique_ptr<TMidiInPort> port;
  int id = -1;
};

}  // namespace kvt
