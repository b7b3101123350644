#pragma once
// TMidiInputDevice: the MIDI input device as the editor's MIDI input command needs it: whether
// one is selected, whether the application shares its ports (then the editor gets no direct
// input), and opening it with a receiver. The program's is in app/shell; TNullMidiInputDevice
// is a machine without an input device.
//
// Contract: the receiver gets each message on the UI thread from Open until Close returns;
// it must outlive that span. UI thread only.

#include "midi/devices/kv_midi.h"

namespace kvt {

class TMidiInputDevice {
public:
  virtual ~TMidiInputDevice() = default;
  virtual bool HasInputDevice() const = 0;
  virtual bool IsPortShared() const = 0;
  // False when the device does not open (the receiver then gets nothing).
  virtual bool Open(TMidiInputReceiver& receiver) = 0;
  virtual void Close() = 0;
};

class TNullMidiInputDevice final : public TMidiInputDevice {
public:
  bool HasInputDevice() const override { return false; }
  bool IsPortShared() const override { return false; }
  bool Open(TMidiInputReceiver&) override { return false; }
  void Close() override {}
};

}  // namespace kvt
