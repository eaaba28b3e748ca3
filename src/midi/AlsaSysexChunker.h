#pragma once

#include <cstddef>
#include <cstdint>

namespace kelvora::midi {

// Cuts outgoing SysEx bytes into sequencer events. alsa-lib refuses an event larger than the
// client's output buffer, and a kernel MIDI port has no more room than a few KiB, so a message
// goes out as events of at most kMaxEvent bytes. An event never runs past an End of Exclusive,
// so each event belongs to one message: its first event begins with F0, its last ends with F7.
class AlsaSysexChunker {
 public:
  static constexpr size_t kMaxEvent = 256;
  static constexpr uint8_t kEndOfExclusive = 0xF7;

  // Length of the event to take from the front of data[0, length): 0 only when length is 0.
  static size_t NextLength(const uint8_t* data, size_t length, size_t maxEvent = kMaxEvent);
  static size_t EventCount(const uint8_t* data, size_t length, size_t maxEvent = kMaxEvent);
};

}  // namespace kelvora::midi
