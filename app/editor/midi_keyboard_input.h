#pragma once
// TMidiKeyboardInput: the program's one MIDI keyboard input to the editor: the input device,
// the dispatcher that gives incoming messages to the focused editing view, and whether input
// is active (command 215). Without a device set it is a machine without an input device.
//
// Contract: a device given to SetDevice outlives this object or is replaced before it goes
// (the destructor closes an active device). UI thread only.

#include "app/editor/midi_input_device.h"
#include "app/editor/midi_input_dispatcher.h"

namespace kvt {

class TMidiKeyboardInput {
public:
  TMidiKeyboardInput() = default;
  ~TMidiKeyboardInput() { Deactivate(); }
  TMidiKeyboardInput(const TMidiKeyboardInput&) = delete;
  TMidiKeyboardInput& operator=(const TMidiKeyboardInput&) = delete;

  // Deactivates, then uses the device.
  void SetDevice(TMidiInputDevice& newDevice) {
    Deactivate();
    device = &newDevice;
  }
  const TMidiInputDevice& Device() const { return *device; }
  TMidiInputDispatcher& Dispatcher() { return dispatcher; }

  bool IsActive() const { return active; }
  // Opens the device with the dispatcher as its receiver; false when it does not open.
  bool Activate() {
    if (!active) active = device->Open(dispatcher);
    return active;
  }
  // Closes the device: the dispatcher gets nothing more.
  void Deactivate() {
    if (active) device->Close();
    active = false;
  }

private:
  TNullMidiInputDevice nullDevice;
  TMidiInputDevice* device = &nullDevice;
  TMidiInputDispatcher dispatcher;
  bool active = false;
};

}  // namespace kvt
