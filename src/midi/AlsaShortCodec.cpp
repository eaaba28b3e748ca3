#include "midi/AlsaShortCodec.h"

#include <cerrno>

namespace kelvora::midi {

AlsaShortCodec::AlsaShortCodec() {
  if (snd_midi_event_new(16, &parser_) < 0) parser_ = nullptr;
  if (parser_) snd_midi_event_no_status(parser_, 1);
}

AlsaShortCodec::~AlsaShortCodec() {
  if (parser_) snd_midi_event_free(parser_);
}

int AlsaShortCodec::MessageLength(uint8_t status) {
  if (status < 0x80) return 0;
  if (status < 0xF0) return (status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0 ? 2 : 3;
  switch (status) {
    case 0xF1:
    case 0xF3:
      return 2;
    case 0xF2:
      return 3;
    case 0xF6:
    case 0xF8:
    case 0xFA:
    case 0xFB:
    case 0xFC:
    case 0xFE:
    case 0xFF:
      return 1;
    default:
      return 0;
  }
}

bool AlsaShortCodec::Valid(uint32_t packed) {
  const int length = MessageLength(static_cast<uint8_t>(packed));
  for (int i = 1; i < length; ++i) {
    if ((packed >> (8 * i)) & 0x80) return false;
  }
  return length > 0;
}

int AlsaShortCodec::Encode(uint32_t packed, snd_seq_event_t& event) {
  if (!Valid(packed) || !parser_) return EINVAL;
  const unsigned char bytes[3] = {static_cast<unsigned char>(packed),
                                  static_cast<unsigned char>(packed >> 8),
                                  static_cast<unsigned char>(packed >> 16)};
  const int length = MessageLength(bytes[0]);
  snd_seq_ev_clear(&event);
  snd_midi_event_reset_encode(parser_);
  const long used = snd_midi_event_encode(parser_, bytes, length, &event);
  if (used != length || event.type == SND_SEQ_EVENT_NONE) return EINVAL;
  return 0;
}

size_t AlsaShortCodec::Decode(const snd_seq_event_t& event, uint32_t* out) {
  if (!parser_ || snd_seq_ev_is_variable(&event)) return 0;
  unsigned char bytes[kMaxMessages * 3];
  snd_midi_event_reset_decode(parser_);
  const long length = snd_midi_event_decode(parser_, bytes, sizeof bytes, &event);
  size_t count = 0;
  for (long at = 0; at < length && count < kMaxMessages;) {
    const int size = MessageLength(bytes[at]);
    if (size == 0 || at + size > length) break;
    uint32_t packed = 0;
    for (int i = 0; i < size; ++i) packed |= static_cast<uint32_t>(bytes[at + i]) << (8 * i);
    out[count++] = packed;
    at += size;
  }
  return count;
}

}  // namespace kelvora::midi
