#pragma once

#include <alsa/asoundlib.h>

#include <cstddef>
#include <cstdint>

namespace kelvora::midi {

// Translates packed short messages (status in bits 0-7, data 1 in bits 8-15, data 2 in bits
// 16-23) to and from sequencer events with alsa-lib's MIDI event parser. One codec serves one
// thread; its parser is allocated once.
class AlsaShortCodec {
 public:
  // The most messages one event can stand for: a 14-bit (N)RPN write is four controllers.
  static constexpr size_t kMaxMessages = 4;

  AlsaShortCodec();
  ~AlsaShortCodec();
  AlsaShortCodec(const AlsaShortCodec&) = delete;
  AlsaShortCodec& operator=(const AlsaShortCodec&) = delete;

  // Bytes a short message with this status takes on the wire: 1 to 3, or 0 for a data byte,
  // SysEx (F0, F7) and the undefined system codes F4, F5, F9, FD.
  static int MessageLength(uint8_t status);
  // A whole short message: a status byte that starts one, and data bytes below 0x80 (a data
  // byte of 0x80 and above would be taken for a status byte on the wire).
  static bool Valid(uint32_t packed);

  // Fills `event` (type and data only; addressing is the caller's). Returns 0, or EINVAL for
  // what is not Valid.
  int Encode(uint32_t packed, snd_seq_event_t& event);
  // Packed messages an incoming event stands for, into out[0..kMaxMessages); returns their
  // count, 0 for SysEx and for events that are no MIDI message. A note off event keeps its
  // own 0x80 status.
  size_t Decode(const snd_seq_event_t& event, uint32_t* out);

 private:
  snd_midi_event_t* parser_ = nullptr;
};

}  // namespace kelvora::midi
