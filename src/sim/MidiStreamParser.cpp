#include "sim/MidiStreamParser.h"

namespace kelvora::sim {

namespace {

constexpr uint8_t kSysexStart = 0xF0;
constexpr uint8_t kSysexEnd = 0xF7;

bool IsRealTime(uint8_t byte) { return byte >= 0xF8; }

// Data bytes a channel message carries: one for program change and channel pressure.
int DataBytesOf(uint8_t status) {
  const uint8_t kind = status & 0xF0;
  return kind == 0xC0 || kind == 0xD0 ? 1 : 2;
}

}  // namespace

MidiStreamParser::MidiStreamParser(size_t maxSysex, SysexHandler onSysex, ChannelHandler onChannel)
    : maxSysex_(maxSysex), onSysex_(std::move(onSysex)), onChannel_(std::move(onChannel)) {}

void MidiStreamParser::Feed(const uint8_t* data, size_t size) {
  for (size_t i = 0; i < size; ++i) {
    const uint8_t byte = data[i];
    if (IsRealTime(byte)) continue;
    if (byte & 0x80) {
      Status(byte);
    } else {
      Data(byte);
    }
  }
}

void MidiStreamParser::Status(uint8_t byte) {
  if (byte == kSysexEnd) {
    if (!inSysex_) return;
    inSysex_ = false;
    if (overflow_) {
      ++dropped_;
      return;
    }
    sysex_.push_back(byte);
    onSysex_(sysex_.data(), sysex_.size());
    return;
  }
  if (inSysex_) DropSysex();
  running_ = 0;
  have_ = 0;
  if (byte == kSysexStart) {
    inSysex_ = true;
    overflow_ = false;
    sysex_.assign(1, byte);
  } else if (byte < 0xF0) {
    running_ = byte;
  }
}

void MidiStreamParser::Data(uint8_t byte) {
  if (inSysex_) {
    if (sysex_.size() + 1 >= maxSysex_) {
      overflow_ = true;
    } else {
      sysex_.push_back(byte);
    }
    return;
  }
  if (running_ == 0) return;
  data_[have_++] = byte;
  if (have_ < DataBytesOf(running_)) return;
  have_ = 0;
  onChannel_(running_, data_[0], DataBytesOf(running_) == 2 ? data_[1] : 0);
}

void MidiStreamParser::DropSysex() {
  inSysex_ = false;
  ++dropped_;
}

}  // namespace kelvora::sim
