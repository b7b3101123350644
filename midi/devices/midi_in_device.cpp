#include "midi/devices/midi_in_device.h"

#include <vector>

namespace kvt {

bool TMidiInDevice::OpenByName(const std::string& name) {
  Close();
  const std::vector<std::string> names = catalog.GetInputNames();
  for (size_t i = 0; i < names.size(); ++i)
    if (names[i] == name) return Open(static_cast<int>(i));
  return false;
}

bool TMidiInDevice::Open(int newId) {
  if (port && id == newId) return true;
  Close();
  port = catalog.OpenInput(newId, sink);
  id = port ? newId : -1;
  return port != nullptr;
}

void TMidiInDevice::Close() {
  port.reset();
  id = -1;
}

}  // namespace kvt
