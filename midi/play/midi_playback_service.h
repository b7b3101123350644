#pragma once
// TMidiPlaybackService: what the score player and the score windows ask of the MIDI devices and
// the sequencer while a rendered score plays: where the sequencer stands, whether it plays,
// is paused or records, and the pause toggle. The device manager makes the real one
// and passes it in the services object (TServices::playback); the null service answers as if
// nothing plays (position 0), which is also what the converter, the tests and the benchmarks
// see.
//
// Calls come from the UI thread; an implementation reads the sequencer's position through
// whatever synchronisation the sequencer offers.

#include <cstdint>

namespace kvt {

struct TServices;

class TMidiPlaybackService {
public:
  virtual ~TMidiPlaybackService() = default;
  // The sequencer's position in ticks; 0 without a sequencer.
  virtual int32_t GetPlayTick() const = 0;
  // Milliseconds played since the start of the song; 0 without a sequencer.
  virtual int64_t GetSongTimeMs() const = 0;
  virtual bool IsPlaying() const = 0;
  virtual bool IsPaused() const = 0;
  virtual bool IsRecording() const = 0;
  // Pauses a playing sequencer, or resumes a paused one; nothing while nothing plays.
  virtual void TogglePause() = 0;
};

// Nothing plays: position 0, time 0, never paused or recording.
class TNullMidiPlaybackService final : public TMidiPlaybackService {
public:
  int32_t GetPlayTick() const override { return 0; }
  int64_t GetSongTimeMs() const override { return 0; }
  bool IsPlaying() const override { return false; }
  bool IsPaused() const override { return false; }
  bool IsRecording() const override { return false; }
  void TogglePause() override {}
};

// The services' playback service; the null service for a null member.
TMidiPlaybackService& MidiPlaybackServiceOf(const TServices& services);

}  // namespace kvt
