#pragma once
// TMidiPlaybackService: what the score player asks of the MIDI devices and the sequencer while
// a rendered score plays: where the sequencer stands. The device manager makes the real one
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
};

// Nothing plays: position 0, time 0.
class TNullMidiPlaybackService final : public TMidiPlaybackService {
public:
  int32_t GetPlayTick() const override { return 0; }
  int64_t GetSongTimeMs() const override { return 0; }
};

// The services' playback service; the null service for a null member.
TMidiPlaybackService& MidiPlaybackServiceOf(const TServices& services);

}  // namespace kvt
