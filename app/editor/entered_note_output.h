#pragma once
// TEnteredNoteOutput: where a note entered in the editor sounds briefly, so the user hears what
// went in. The program sends it to the MIDI output; TNullEnteredNoteOutput records the calls
// for tests and sounds nothing.
//
// Contract: device and channel are the staff's (0..15), key and velocity 0..127; the note stops
// by itself after the milliseconds. UI thread only.

#include <vector>

namespace kvt {

class TEnteredNoteOutput {
public:
  virtual ~TEnteredNoteOutput() = default;
  virtual void PlayEnteredNote(int device, int channel, int key, int velocity,
                               int milliseconds) = 0;
};

class TNullEnteredNoteOutput : public TEnteredNoteOutput {
public:
  struct TCall {
    int device, channel, key, velocity, milliseconds;
    bool operator==(const TCall&) const = default;
  };
  void PlayEnteredNote(int device, int channel, int key, int velocity, int milliseconds) override {
    calls.push_back({device, channel, key, velocity, milliseconds});
  }
  std::vector<TCall> calls;
};

}  // namespace kvt
