#pragma once
// TEnteredNoteOutput: where a note entered in the editor sounds briefly (the "PlayAddedNotes"
// option), so the user hears what was written. The shell routes it to the MIDI output; the null
// version records the calls, for tests and headless runs.
//
// Contract: UI thread only; the call returns at once (the note ends by itself after
// `milliseconds`).

#include <vector>

namespace kvt {

class TEnteredNoteOutput {
public:
  virtual ~TEnteredNoteOutput() = default;
  virtual void PlayEnteredNote(int device, int channel, int key, int velocity, int milliseconds) = 0;
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
