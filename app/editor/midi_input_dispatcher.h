#pragma once
// TMidiInputDispatcher: the one receiver of the program's MIDI keyboard input. It gives each
// message to the focused editing view; with no view focused the message is dropped. The held
// keys belong to the view that got the keys: when the focus moves to another view they are
// forgotten. A view that plays its score, cannot edit or has a selection ignores the message
// entirely (a key pressed then is not held).
//
// Contract: UI thread only. The finder answers the focused view or null; by default the
// application's focus widget or the nearest TScoreEdit above it. Views may be destroyed while
// the dispatcher lives.

#include <QPointer>
#include <cstdint>
#include <functional>

#include "midi/devices/kv_midi.h"
#include "midi/import/midi_entry_decoder.h"

namespace kvt {

class TScoreEdit;

class TMidiInputDispatcher final : public TMidiInputReceiver {
public:
  using TViewFinder = std::function<TScoreEdit*()>;

  TMidiInputDispatcher();
  void SetViewFinder(TViewFinder finder) { this->finder = std::move(finder); }
  void OnMidiInput(uint32_t shortMsg) override;

private:
  TViewFinder finder;
  TMidiEntryDecoder decoder;
  QPointer<TScoreEdit> lastView;
};

}  // namespace kvt
