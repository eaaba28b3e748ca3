#include "sim/OutputFaults.h"

#include "protocol/Sysex.h"

namespace kelvora::sim {

void OutputFaults::Arm(const FaultPlan& plan) {
  sent_ = 0;
  byteIndex_ = plan.byteIndex;
  dropByte_ = plan.dropByte;
  replacement_ = plan.replacementByte;
  wrongChannelMessages_ = plan.wrongChannelMessages;
  cutAfter_ = plan.cutMessageAfter;
}

std::vector<uint8_t> OutputFaults::Apply(std::vector<uint8_t> message, int channel) {
  constexpr size_t kChannelByte = 3;
  if (wrongChannelMessages_ > 0 && message.size() > kChannelByte &&
      message[0] == protocol::kSysexStart) {
    --wrongChannelMessages_;
    message[kChannelByte] = static_cast<uint8_t>(channel & 0x0F);  // base channel + 1
  }
  if (cutAfter_ >= 0 && message.size() > static_cast<size_t>(cutAfter_)) {
    message.resize(cutAfter_);
    cutAfter_ = -1;
  }
  DamageByte(message);
  sent_ += static_cast<int64_t>(message.size());
  return message;
}

void OutputFaults::DamageByte(std::vector<uint8_t>& message) {
  const int64_t size = static_cast<int64_t>(message.size());
  if (byteIndex_ < sent_ || byteIndex_ >= sent_ + size) return;
  const size_t at = static_cast<size_t>(byteIndex_ - sent_);
  byteIndex_ = -1;
  if (dropByte_) {
    message.erase(message.begin() + static_cast<std::ptrdiff_t>(at));
  } else {
    message[at] = replacement_;
  }
}

}  // namespace kelvora::sim
