#include "platform/midi/alsa_midi_codec.h"

namespace kvt {

TAlsaMidiCodec::TAlsaMidiCodec() {
  if (snd_midi_event_new(16, &parser) < 0) parser = nullptr;
  if (parser) snd_midi_event_no_status(parser, 1);
}

TAlsaMidiCodec::~TAlsaMidiCodec() {
  if (parser) snd_midi_event_free(parser);
}

int TAlsaMidiCodec::DataBytes(int status) {
  if (status < 0x80 || status > 0xFF) return -1;
  switch (status & 0xF0) {
    case 0xC0:
    case 0xD0: return 1;
    case 0xF0: break;
    default: return 2;
  }
  switch (status) {
    case 0xF1:
    case 0xF3: return 1;
    case 0xF2: return 2;
    case 0xF6:
    case 0xF8:
    case 0xFA:
    case 0xFB:
    case 0xFC:
    case 0xFE:
    case 0xFF: return 0;
    default: return -1;  // system exclusive and its end, undefined statuses
  }
}

bool TAlsaMidiCodec::Encode(uint32_t shortMsg, snd_seq_event_t& event) {
  if (!parser) return false;
  const int status = static_cast<int>(shortMsg & 0xFF);
  const int count = DataBytes(status);
  if (count < 0) return false;
  unsigned char bytes[3] = {static_cast<unsigned char>(status),
                            static_cast<unsigned char>((shortMsg >> 8) & 0xFF),
                            static_cast<unsigned char>((shortMsg >> 16) & 0xFF)};
  for (int i = 1; i <= count; ++i)
    if (bytes[i] > 0x7F) return false;
  snd_midi_event_reset_encode(parser);
  snd_seq_ev_clear(&event);
  const long used = snd_midi_event_encode(parser, bytes, count + 1, &event);
  return used == count + 1 && event.type != SND_SEQ_EVENT_NONE;
}

bool TAlsaMidiCodec::Decode(const snd_seq_event_t& event, uint32_t& shortMsg) {
  if (!parser) return false;
  unsigned char bytes[12] = {};
  snd_midi_event_reset_decode(parser);
  const long length = snd_midi_event_decode(parser, bytes, sizeof bytes, &event);
  if (length < 1 || length > 3) return false;
  if (DataBytes(bytes[0]) != length - 1) return false;
  shortMsg = 0;
  for (long i = 0; i < length; ++i) shortMsg |= static_cast<uint32_t>(bytes[i]) << (8 * i);
  return true;
}

}  // namespace kvt
