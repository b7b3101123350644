#pragma once
// TAlsaMidiCodec: converts between short MIDI messages (status in the low byte, up to two data
// bytes above it) and ALSA sequencer events, through ALSA's own MIDI event parser. It needs no
// sequencer, so it works (and is tested) on a machine without /dev/snd/seq. Every conversion
// stands alone: no running status is kept or produced. One codec per thread.

#include <alsa/asoundlib.h>

#include <cstdint>

namespace kvt {

class TAlsaMidiCodec {
public:
  TAlsaMidiCodec();
  ~TAlsaMidiCodec();
  TAlsaMidiCodec(const TAlsaMidiCodec&) = delete;
  TAlsaMidiCodec& operator=(const TAlsaMidiCodec&) = delete;

  bool IsValid() const { return parser != nullptr; }
  // False for a word that is not one complete short message (no status byte, system
  // exclusive, a data byte above 127).
  bool Encode(uint32_t shortMsg, snd_seq_event_t& event);
  // False for an event that is no short message (system exclusive, queue control, ...).
  bool Decode(const snd_seq_event_t& event, uint32_t& shortMsg);

  // Data bytes that follow status; -1 for system exclusive and undefined statuses.
  static int DataBytes(int status);

private:
  snd_midi_event_t* parser = nullptr;
};

}  // namespace kvt
