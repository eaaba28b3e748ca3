#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace kelvora::sim {

// Splits a raw MIDI byte stream into complete SysEx messages (F0 .. F7) and channel messages
// (with running status). Real-time bytes are skipped wherever they appear. A SysEx cut short by
// another status byte, or longer than the limit, is dropped and counted.
class MidiStreamParser {
 public:
  using SysexHandler = std::function<void(const uint8_t* message, size_t size)>;
  using ChannelHandler = std::function<void(uint8_t status, uint8_t data1, uint8_t data2)>;

  MidiStreamParser(size_t maxSysex, SysexHandler onSysex, ChannelHandler onChannel);

  void Feed(const uint8_t* data, size_t size);
  int64_t Dropped() const { return dropped_; }
  // True when the bytes fed so far end inside a SysEx message.
  bool InSysex() const { return inSysex_; }

 private:
  void Status(uint8_t byte);
  void Data(uint8_t byte);
  void DropSysex();

  size_t maxSysex_;
  SysexHandler onSysex_;
  ChannelHandler onChannel_;
  std::vector<uint8_t> sysex_;
  bool inSysex_ = false;
  bool overflow_ = false;
  uint8_t running_ = 0;  // 0: no running status
  uint8_t data_[2] = {0, 0};
  int have_ = 0;
  int64_t dropped_ = 0;
};

}  // namespace kelvora::sim
