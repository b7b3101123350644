#include "midi/play/midi_playback_service.h"

namespace kvt {

TMidiPlaybackService& NullMidiPlaybackService() {
  static TNullMidiPlaybackService service;
  return service;
}

}  // namespace kvt
