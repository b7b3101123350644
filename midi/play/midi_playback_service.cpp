#include "midi/play/midi_playback_service.h"

#include "notation/services/services.h"

namespace kvt {

TMidiPlaybackService& MidiPlaybackServiceOf(const TServices& services) {
  static TNullMidiPlaybackService nullService;
  return services.playback ? *services.playback : nullService;
}

}  // namespace kvt
