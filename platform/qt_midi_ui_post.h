#pragma once
// TQtMidiUiPost: the sequencer's messages and incoming MIDI reach the UI thread as queued calls
// (QMetaObject::invokeMethod with Qt::QueuedConnection) on a context object of the thread that
// made the post object. Calls still queued when the post object is destroyed are dropped. Make
// it on the UI thread, after the application object, and keep it until the MIDI manager ends.

#include <memory>

#include "midi/devices/midi_clock.h"

class QObject;

namespace kvt {

class TQtMidiUiPost final : public TMidiUiPost {
public:
  TQtMidiUiPost();
  ~TQtMidiUiPost() override;
  void Post(std::function<void()> call) override;

private:
  std::unique_ptr<QObject> context;
};

}  // namespace kvt
